// The operating-system calls on Windows (see system.h): wide paths, the
// Win32 code-page functions for cp932, ReplaceFileW/MoveFileExW for the
// atomic write, CreateProcessW for program start.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <cstdio>
#include <random>
#include <system_error>

#include "platform/command_line.h"
#include "platform/system.h"
#include "platform/system_failures.h"
#include "text/app_error.h"
#include "text/line_text.h"
#include "text/path_text.h"

namespace kazuban::platform {

namespace fs = std::filesystem;

namespace {

std::wstring widen(std::string_view s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string narrow(std::wstring_view w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

// The system's own text of an error, without its final line end.
std::string systemReasonOf(DWORD err) {
    wchar_t* buf = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, err, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
    std::wstring text = n && buf ? std::wstring(buf, n) : L"";
    if (buf) LocalFree(buf);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    if (text.empty()) return "エラー " + std::to_string(err);
    return narrow(text);
}

Reason reasonKind(DWORD err) {
    switch (err) {
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD: return Reason::NoPermission;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case 1295:  // ERROR_DISK_QUOTA_EXCEEDED, which not every SDK names
        return Reason::DiskFull;
    case ERROR_WRITE_PROTECT: return Reason::ReadOnly;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE: return Reason::InUse;
    case ERROR_FILENAME_EXCED_RANGE: return Reason::PathTooLong;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return Reason::NotFound;
    default: return Reason::Other;
    }
}

// The reason as messages give it: Japanese for the common ones.
std::string reasonOf(DWORD err) { return reasonText(reasonKind(err), systemReasonOf(err)); }

Failure failureOf(DWORD err) {
    switch (err) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE: return Failure::NotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return Failure::AccessDenied;
    default: return Failure::Other;
    }
}

[[noreturn]] void throwFileError(DWORD err, const fs::path& path, bool writing) {
    throwFileFailure(failureOf(err), reasonOf(err), path, writing);
}

[[noreturn]] void throwIsFolder(const fs::path& path, bool writing) {
    throwFileFailure(Failure::Other, "フォルダーです", path, writing);
}

HANDLE handleOf(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

struct Identity {
    bool exists = false;
    bool folder = false;
    bool regular = true;  // an ordinary file: no folder, device or pipe (taken as one when it cannot be opened)
    bool known = false;   // volume and index were read
    DWORD volume = 0, indexHigh = 0, indexLow = 0, sizeHigh = 0, sizeLow = 0;
    FILETIME written{};
};

// Which file is at `path` now, without opening it for reading or writing.
Identity identityOf(const fs::path& path) {
    Identity id;
    const HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            id.exists = true;
            id.folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            id.regular = !id.folder;
        }
        return id;
    }
    // A device (NUL, CON, COM1) or a pipe is no file on a disk.
    if (GetFileType(h) != FILE_TYPE_DISK) {
        id.exists = true;
        id.regular = false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(h, &info)) {
        id.exists = true;
        id.folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (id.folder) id.regular = false;
        id.known = true;
        id.volume = info.dwVolumeSerialNumber;
        id.indexHigh = info.nFileIndexHigh;
        id.indexLow = info.nFileIndexLow;
        id.sizeHigh = info.nFileSizeHigh;
        id.sizeLow = info.nFileSizeLow;
        id.written = info.ftLastWriteTime;
    }
    CloseHandle(h);
    return id;
}

// The calls of an atomic replace whose order matters, each noted for the
// tests as it is made. GetLastError() stays that of the call.
void writeAll(HANDLE h, std::string_view bytes, const fs::path& path) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 1u << 30));
        if (!WriteFile(h, p, chunk, &written, nullptr)) throwFileError(GetLastError(), path, true);
        p += written;
        left -= written;
    }
    noteWriteStep(WriteStep::Written);
}

bool flushNoted(HANDLE h) {
    const BOOL ok = FlushFileBuffers(h);
    const DWORD err = GetLastError();
    noteWriteStep(WriteStep::FileSynced);
    SetLastError(err);
    return ok != 0;
}

}  // namespace

// ---- reading ------------------------------------------------------------------

InputFile::InputFile(const fs::path& path) : path_(path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) throwIsFolder(path, false);
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throwFileError(GetLastError(), path, false);
    auto fail = [&](auto&& thrower) {
        CloseHandle(h);
        thrower();
    };
    // Only ordinary files: a device or a pipe may never end.
    if (GetFileType(h) != FILE_TYPE_DISK) fail([&] { throwNotOrdinaryFile(path); });
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h, &size)) {
        const DWORD err = GetLastError();
        fail([&] { throwFileError(err, path, false); });
    }
    if (static_cast<unsigned long long>(size.QuadPart) > kMaxReadBytes) fail([&] { throwTooLarge(path); });
    handle_ = reinterpret_cast<std::intptr_t>(h);
    size_ = static_cast<std::size_t>(size.QuadPart);
}

InputFile::~InputFile() { CloseHandle(handleOf(handle_)); }

std::size_t InputFile::read(char* buf, std::size_t n) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(n, 1u << 30));
    if (!ReadFile(handleOf(handle_), buf, want, &got, nullptr)) throwFileError(GetLastError(), path_, false);
    total_ += got;
    countBytesRead(got);
    if (total_ > kMaxReadBytes) throwTooLarge(path_);  // grew while read
    return got;
}

// ---- writing ------------------------------------------------------------------

namespace {

std::array<std::uint64_t, 8> stampOf(const Identity& id) {
    return {id.volume,
            id.indexHigh,
            id.indexLow,
            id.sizeHigh,
            id.sizeLow,
            id.written.dwLowDateTime,
            id.written.dwHighDateTime,
            id.folder ? 1u : 0u};
}

}  // namespace

StagedFile::StagedFile(const fs::path& requested, std::string_view bytes) : requested_(requested), path_(requested) {
    // Writing through a symbolic link replaces the file it points to, not the link.
    {
        std::error_code ec;
        if (fs::is_symlink(requested, ec)) {
            const auto real = fs::canonical(requested, ec);
            if (!ec) path_ = real;
        }
    }
    // Only an ordinary file is replaced: a folder, a device or a pipe in the
    // target's place stays as it is.
    const Identity before = identityOf(path_);
    if (before.exists && !before.regular) throwNotOrdinaryTarget(requested);
    existed_ = before.exists;
    stamp_ = stampOf(before);

    fs::path folder = path_.parent_path();
    if (folder.empty()) folder = L".";
    // A new name in the same folder, so the rename stays on one volume.
    std::random_device seed;
    std::mt19937 rng(seed());
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
        temp_ = folder / (L"." + path_.filename().wstring() + L".tmp-" + std::to_wstring(rng() % 1000000u));
        h = CreateFileW(temp_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD err = GetLastError();
            if (err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS) continue;
            temp_.clear();
            throwFolderFailure(failureOf(err), reasonOf(err), folder, requested);
        }
    }
    if (h == INVALID_HANDLE_VALUE) {
        temp_.clear();
        throwFileError(ERROR_FILE_EXISTS, requested, true);
    }
    bool open = true;
    try {
        writeAll(h, bytes, requested);
        if (!flushNoted(h)) throwFileError(GetLastError(), requested, true);
        open = false;
        if (!CloseHandle(h)) throwFileError(GetLastError(), requested, true);
    } catch (...) {
        // Whatever failed, no temporary file stays behind.
        if (open) CloseHandle(h);
        DeleteFileW(temp_.c_str());
        throw;
    }
}

StagedFile::~StagedFile() {
    if (!installed_ && !temp_.empty()) DeleteFileW(temp_.c_str());
}

void StagedFile::install(WriteFaultHook hook, bool checkTarget) {
    if (hook) hook(temp_);
    const Identity now = identityOf(path_);
    // A file that another program put in the target's place (or changed)
    // while the new one was being written is not overwritten unseen.
    if (checkTarget && (now.exists != existed_ || stampOf(now) != stamp_)) throwChangedMeanwhile(requested_);
    if (now.exists) {
        // The old file's attributes and rights carry over to the new one.
        if (!ReplaceFileW(path_.c_str(), temp_.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) &&
            !MoveFileExW(temp_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            throwFileError(GetLastError(), requested_, true);
    } else if (!MoveFileExW(temp_.c_str(), path_.c_str(), MOVEFILE_WRITE_THROUGH)) {
        const DWORD err = GetLastError();
        if (err == ERROR_ALREADY_EXISTS || err == ERROR_FILE_EXISTS) throwChangedMeanwhile(requested_);
        throwFileError(err, requested_, true);
    }
    noteWriteStep(WriteStep::Renamed);
    installed_ = true;
}

void replaceFileAtomically(const fs::path& path, std::string_view bytes, WriteFaultHook hook) {
    StagedFile staged(path, bytes);
    staged.install(hook);
}

// ---- files and folders --------------------------------------------------------

std::optional<FileIdentity> fileIdentity(const fs::path& path) {
    if (path.empty()) return std::nullopt;
    const Identity id = identityOf(path);
    if (!id.known) return std::nullopt;
    return FileIdentity{id.volume, id.indexHigh, id.indexLow};
}

bool isSpecialFile(const fs::path& path) {
    if (path.empty()) return false;
    const Identity id = identityOf(path);
    return id.exists && !id.regular;
}

bool isFile(const fs::path& path) {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void removeFile(const fs::path& path) {
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD err = path.empty() ? ERROR_FILE_NOT_FOUND : GetLastError();
        throwDeleteFailure(failureOf(err), reasonOf(err), path);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) throwDeleteFolder(path);
    if (!DeleteFileW(path.c_str())) {
        const DWORD err = GetLastError();
        throwDeleteFailure(failureOf(err), reasonOf(err), path);
    }
}

void setHidden(const fs::path& path, bool hidden) {
    SetFileAttributesW(path.c_str(), hidden ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL);
}

std::vector<fs::path> visibleSubFolders(const fs::path& folder) {
    std::vector<fs::path> found;
    if (folder.empty()) return found;
    std::error_code ec;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const DWORD attributes = GetFileAttributesW(it->path().c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        if (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
        found.push_back(it->path());
    }
    return found;
}

std::vector<std::string> driveList() {
    std::vector<std::string> drives;
    wchar_t buf[512];
    const DWORD n = GetLogicalDriveStringsW(static_cast<DWORD>(std::size(buf)), buf);
    if (n == 0 || n >= std::size(buf)) return drives;
    // "C:\<NUL>D:\<NUL><NUL>"
    for (const wchar_t* p = buf; *p; p += wcslen(p) + 1) drives.push_back(narrow(p));
    return drives;
}

fs::path currentFolder() {
    std::error_code ec;
    fs::path p = fs::current_path(ec);
    return ec ? fs::path() : p;
}

// ---- programs -----------------------------------------------------------------

void startDetached(const std::vector<std::string>& argv) {
    if (argv.empty()) throw AppError(kInvalidCall, "起動するプログラムが指定されていません。");
    std::wstring line = widen(windowsCommandLine(argv));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr, &si, &pi)) {
        const DWORD err = GetLastError();
        // A file that is no program may not be run, as on the other systems.
        const Failure kind = err == ERROR_BAD_EXE_FORMAT || err == ERROR_EXE_MACHINE_TYPE_MISMATCH
                                 ? Failure::AccessDenied
                                 : failureOf(err);
        throwStartFailure(kind, reasonOf(err), argv.front());
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

const char* systemOpener() { return ""; }

unsigned long long processNumber() { return GetCurrentProcessId(); }

// ---- text ---------------------------------------------------------------------

namespace {

constexpr UINT kCp932 = 932;

// Length of the cp932 character at s[i] by its bytes' form alone; 0 for a
// byte that starts no character (or a lead byte cut off at the end).
std::size_t cp932Length(std::string_view s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) return 1;
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    if (!lead || i + 1 >= s.size()) return 0;
    const auto t = static_cast<unsigned char>(s[i + 1]);
    return (t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC) ? 2 : 0;
}

// cp932 bytes to UTF-16; false when a character has no Unicode form.
bool cp932ToWide(std::string_view in, std::wstring& out) {
    if (in.empty()) return true;
    const int n = MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, in.data(), static_cast<int>(in.size()), nullptr, 0);
    if (n <= 0) return false;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(n));
    MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, in.data(), static_cast<int>(in.size()), out.data() + at, n);
    return true;
}

// UTF-16 to cp932 bytes; false when a character has no cp932 form (no
// "best fit" look-alikes: those are the caller's choice).
bool wideToCp932(std::wstring_view in, std::string& out) {
    if (in.empty()) return true;
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, in.data(), static_cast<int>(in.size()), nullptr, 0,
                                      nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return false;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(n));
    WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, in.data(), static_cast<int>(in.size()), out.data() + at, n,
                        nullptr, nullptr);
    return true;
}

// Code page 932 also gives U+0080 and U+F8F0..U+F8F3 the single bytes 0x80,
// 0xA0 and 0xFD..0xFF, which are no characters of cp932 anywhere else (and
// which reading never yields): they are refused, as on the other systems.
bool onlyCodePage932Has(std::string_view ch) {
    return ch == "\xC2\x80" || ch == "\xEF\xA3\xB0" || ch == "\xEF\xA3\xB1" || ch == "\xEF\xA3\xB2" ||
           ch == "\xEF\xA3\xB3";
}

}  // namespace

Cp932Converter::Cp932Converter(Direction direction) : direction_(direction) {}

Cp932Converter::~Cp932Converter() = default;

std::size_t Cp932Converter::convert(std::string_view in, std::string& out) {
    // The whole run at once when it converts; otherwise character by
    // character up to the first that does not.
    if (direction_ == Direction::ToUtf8) {
        std::size_t end = 0;
        while (end < in.size()) {
            const std::size_t n = cp932Length(in, end);
            if (n == 0) break;
            end += n;
        }
        std::wstring wide;
        if (cp932ToWide(in.substr(0, end), wide)) {
            out += narrow(wide);
            return end;
        }
        std::size_t i = 0;
        while (i < end) {
            const std::size_t n = cp932Length(in, i);
            wide.clear();
            if (!cp932ToWide(in.substr(i, n), wide)) break;
            out += narrow(wide);
            i += n;
        }
        return i;
    }
    std::size_t end = 0;
    while (end < in.size()) {
        const std::size_t n = text::utf8SequenceLength(in, end);
        if (n == 0 || onlyCodePage932Has(in.substr(end, n))) break;
        end += n;
    }
    if (wideToCp932(widen(in.substr(0, end)), out)) return end;
    std::size_t i = 0;
    while (i < end) {
        const std::size_t n = text::utf8SequenceLength(in, i);
        if (!wideToCp932(widen(in.substr(i, n)), out)) break;
        i += n;
    }
    return i;
}

std::string systemErrorReason(unsigned long code) { return reasonOf(static_cast<DWORD>(code)); }

void useBinaryStandardOutput() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    int n = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &n);
    if (!wide) return {argv, argv + argc};
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) out.push_back(narrow(wide[i]));
    LocalFree(wide);
    return out;
}

}  // namespace kazuban::platform
