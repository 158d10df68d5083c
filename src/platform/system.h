#pragma once
// Everything the program asks of the operating system, behind one small
// interface: system_posix.cpp implements it on Linux and macOS,
// system_windows.cpp on Windows. No other file of the program includes an
// operating-system header. Paths are std::filesystem::path (wide on
// Windows); texts are UTF-8. Failures throw AppError with the kind the
// callers tell apart and a Japanese text naming the file.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kazuban::platform {

// ---- reading ------------------------------------------------------------------

// Far beyond any history, settings or combination file; a bigger file is
// refused instead of exhausting memory.
inline constexpr unsigned long long kMaxReadBytes = 1ull << 30;

// An ordinary file opened for reading, closed with the object. Opening throws
// kFileNotFound, kPermissionDenied or kPathFileAccess (a folder, anything but
// an ordinary file such as a pipe or a device, a file above kMaxReadBytes).
// A pipe never blocks the open.
class InputFile {
public:
    explicit InputFile(const std::filesystem::path& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // The size when the file was opened.
    std::size_t size() const { return size_; }
    // The next bytes into buf; 0 at the end of the file. Throws on a read
    // error, or when the file grew past kMaxReadBytes while it was read.
    std::size_t read(char* buf, std::size_t n);

private:
    std::filesystem::path path_;
    std::intptr_t handle_ = -1;  // a file descriptor or a HANDLE
    std::size_t size_ = 0;
    unsigned long long total_ = 0;
};

// Bytes that InputFile objects have read since the program started, so a
// test can tell how much of a file a reader took.
unsigned long long bytesReadFromFiles();

// ---- writing ------------------------------------------------------------------

// Called with the temporary file's path just before it replaces the target;
// throwing from it simulates a failing disk (tests only).
using WriteFaultHook = void (*)(const std::filesystem::path& tempPath);

// Writes bytes to a temporary file in the target's folder, makes them durable
// and puts the file in the target's place in one step, so a failure leaves the
// old file whole. Only an ordinary file or a missing one is ever replaced.
// Throws kPathNotFound (no such folder), kPermissionDenied, kPathFileAccess
// (the target is a folder, a device, a pipe or a socket, the disk is full, the
// target was changed or replaced by another program meanwhile: that file is
// left as it is). The new file keeps the old one's permissions; a symbolic
// link is kept and the file it points to is replaced, in that file's folder.
void replaceFileAtomically(const std::filesystem::path& path, std::string_view bytes, WriteFaultHook hook);

// The steps of replaceFileAtomically that decide what survives a crash. The
// new bytes must be on the disk before the rename, or a crash right after
// it leaves an empty target; the folder is synced after it (POSIX; Windows
// renames write-through).
enum class WriteStep { Written, FileSynced, Renamed, FolderSynced };
using WriteStepRecorder = void (*)(WriteStep step);
// Test seam: when set, told each step of every atomic replace as it is done.
void setWriteStepRecorder(WriteStepRecorder recorder);

// The two halves of replaceFileAtomically, so that several files can be
// written first and put in place after: the constructor writes the bytes to a
// temporary file in the target's folder and makes them durable without
// touching the target; install() puts that file in the target's place in one
// step. The temporary file goes with the object unless it was installed.
class StagedFile {
public:
    // Throws as replaceFileAtomically does before its rename.
    StagedFile(const std::filesystem::path& path, std::string_view bytes);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Calls `hook` (when set) with the temporary path, then replaces the
    // target. With `checkTarget`, a target that was changed or replaced since
    // the constructor is left as it is (kPathFileAccess); without it the
    // target is replaced whatever it holds (putting an old file back).
    void install(WriteFaultHook hook, bool checkTarget = true);

private:
    std::filesystem::path requested_, path_, temp_;
    bool existed_ = false;                  // the target existed when the object was made
    std::array<std::uint64_t, 8> stamp_{};  // which file it was then: identity, size, times
    bool installed_ = false;
};

// ---- files and folders --------------------------------------------------------

// Which file a path names, links followed: the device and inode, or the
// volume and the file id on Windows. Two paths, links or hard links of one
// file give the same identity.
struct FileIdentity {
    std::uint64_t volume = 0, fileHigh = 0, fileLow = 0;
    bool operator==(const FileIdentity&) const = default;
};
// The identity of what the path names (a folder too); nullopt when nothing is there.
std::optional<FileIdentity> fileIdentity(const std::filesystem::path& path);
// Something is at the path (links followed) and it is not an ordinary file:
// a folder, a device, a pipe, a socket.
bool isSpecialFile(const std::filesystem::path& path);

// The path names a file (links followed; hidden files count; a folder is no file).
bool isFile(const std::filesystem::path& path);
// Deletes a file (a link itself, not its target). Throws kFileNotFound,
// kPermissionDenied or kPathFileAccess (a folder, another failure).
void removeFile(const std::filesystem::path& path);
// Sets or clears the hidden attribute where the system has one (Windows);
// elsewhere hidden files are named with a dot and nothing changes. The
// read-only attribute is cleared with it. Never throws.
void setHidden(const std::filesystem::path& path, bool hidden);
// The sub-folders of a folder that the user sees (hidden ones left out), in
// no particular order. An unreadable or missing folder gives none; never throws.
std::vector<std::filesystem::path> visibleSubFolders(const std::filesystem::path& folder);
// The drives or mounted volumes a folder may be picked from: on Windows the
// drive roots ("C:\"), on Linux "/" first and the mounted volumes that are
// real folders after it, sorted; on macOS "/" and the folders under /Volumes.
// Never throws.
std::vector<std::string> driveList();
// The current folder, "" when it is unknown.
std::filesystem::path currentFolder();

// ---- programs -----------------------------------------------------------------

// Starts argv[0] with the arguments argv[1..] detached, without a shell, and
// does not wait. Throws kPermissionDenied, kFileNotFound or kPathFileAccess.
void startDetached(const std::vector<std::string>& argv);
// The program that opens a URL or a file with the user's own choice
// ("xdg-open", "open"); "" on Windows, where the fallbacks exist themselves.
const char* systemOpener();
// A number that differs between two running programs (the process id).
unsigned long long processNumber();

// ---- text ---------------------------------------------------------------------

// Converts between cp932 and UTF-8 (iconv on POSIX, code page 932 on Windows).
class Cp932Converter {
public:
    enum class Direction { ToUtf8, FromUtf8 };
    explicit Cp932Converter(Direction direction);  // throws kInvalidCall when unavailable
    ~Cp932Converter();
    Cp932Converter(const Cp932Converter&) = delete;
    Cp932Converter& operator=(const Cp932Converter&) = delete;

    // Appends the conversion of the longest convertible start of `in` to
    // `out` and returns its length in bytes: less than in.size() when the
    // next character cannot be converted (or is cut off at the end).
    std::size_t convert(std::string_view in, std::string& out);

private:
    Direction direction_;
    void* handle_ = nullptr;
};

// The reason a system error number (errno, or GetLastError() on Windows)
// gives inside a message: Japanese for the common ones (no permission, disk
// full, read-only, in use, path too long, not found), else the system's text.
std::string systemErrorReason(unsigned long code);

// Standard output takes bytes as they are (no CR added before LF on Windows).
void useBinaryStandardOutput();

// The program's arguments as UTF-8 texts, argv[0] first. On Windows the
// narrow argv holds the ANSI code page and loses what it cannot hold (a
// Japanese memo), so they are taken from the wide command line; elsewhere
// argv is UTF-8 already.
std::vector<std::string> utf8Arguments(int argc, char** argv);

}  // namespace kazuban::platform
