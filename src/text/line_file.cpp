#include "text/line_file.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#include "text/app_error.h"

namespace kazuban::text {

namespace {

std::atomic<WriteFaultHook> g_faultHook{nullptr};

bool allAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

// Length of the valid UTF-8 sequence at s[i], or 0 when it is malformed
// (overlong forms, surrogates and values above U+10FFFF are malformed).
std::size_t utf8SequenceLength(std::string_view s, std::size_t i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = at(i);
    if (c < 0x80) return 1;
    std::size_t n;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) n = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    if (at(i + 1) < lo || at(i + 1) > hi) return 0;
    for (std::size_t k = 2; k < n; ++k)
        if ((at(i + k) & 0xC0) != 0x80) return 0;
    return n;
}

// Valid UTF-8 with every malformed byte replaced by U+FFFD.
std::string sanitizeUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t n = utf8SequenceLength(s, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(s, i, n);
            i += n;
        }
    }
    return out;
}

struct IconvHandle {
    iconv_t cd;
    IconvHandle(const char* to, const char* from) : cd(iconv_open(to, from)) {
        if (cd == reinterpret_cast<iconv_t>(-1))
            throw AppError(kInvalidCall, std::string("文字コード変換（") + from + "→" + to + "）を利用できません。");
    }
    ~IconvHandle() { iconv_close(cd); }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
};

// Converts `in` with iconv, appending to `out`. Returns the number of input
// bytes consumed: less than in.size() when iconv stopped at a byte sequence
// it cannot convert (EILSEQ / EINVAL).
std::size_t convert(iconv_t cd, std::string_view in, std::string& out) {
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buf[16384];
    while (srcLeft > 0) {
        char* dst = buf;
        std::size_t dstLeft = sizeof buf;
        const std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, static_cast<std::size_t>(dst - buf));
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) continue;
            break;
        }
    }
    return in.size() - srcLeft;
}

// Characters that Japanese texts commonly hold in another Unicode form than
// the one cp932 decodes to; they are saved as the cp932 character that looks
// the same instead of failing.
const char* cp932Substitute(std::string_view ch) {
    static const struct {
        const char* utf8;
        const char* cp932;
    } kMap[] = {
        {"\xE3\x80\x9C", "\x81\x60"},   // WAVE DASH → 〜 (FULLWIDTH TILDE)
        {"\xE2\x80\x96", "\x81\x61"},   // DOUBLE VERTICAL LINE → ∥
        {"\xE2\x88\x92", "\x81\x7C"},   // MINUS SIGN → －
        {"\xC2\xA2", "\x81\x91"},       // CENT SIGN → ￠
        {"\xC2\xA3", "\x81\x92"},       // POUND SIGN → ￡
        {"\xC2\xAC", "\x81\xCA"},       // NOT SIGN → ￢
        {"\xE2\x80\x94", "\x81\x5C"},   // EM DASH → ―
    };
    for (const auto& m : kMap)
        if (ch == m.utf8) return m.cp932;
    return nullptr;
}

std::string pathText(const std::filesystem::path& p) { return p.string(); }

[[noreturn]] void throwFileError(int err, const std::filesystem::path& path, bool writing) {
    const std::string p = pathText(path);
    const std::string reason = std::strerror(err);
    switch (err) {
    case ENOENT:
        if (writing)
            throw AppError(kPathNotFound, "パスが見つかりません。ファイル「" + p + "」を書き込めません（" + reason + "）。");
        throw AppError(kFileNotFound, "ファイルが見つかりません。" + p);
    case ENOTDIR:
        throw AppError(kPathNotFound, "パスが見つかりません。" + p);
    case EACCES:
    case EPERM:
    case EROFS:
        if (writing)
            throw AppError(kPermissionDenied, "ファイル「" + p + "」に書き込めません（" + reason + "）。");
        throw AppError(kPermissionDenied, "ファイル「" + p + "」を読み込めません（" + reason + "）。");
    default:
        if (writing)
            throw AppError(kPathFileAccess, "ファイル「" + p + "」に書き込めません（" + reason + "）。");
        throw AppError(kPathFileAccess, "ファイル「" + p + "」を読み込めません（" + reason + "）。");
    }
}

// The same file, unchanged: same inode, size, modification and change times.
bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

// Far beyond any history, settings or combination file; a bigger file is
// refused instead of exhausting memory.
constexpr unsigned long long kMaxReadBytes = 1ull << 30;

[[noreturn]] void throwTooLarge(const std::filesystem::path& path) {
    throw AppError(kPathFileAccess, "ファイル「" + pathText(path) + "」は大きすぎるため読み込めません（上限 1GB）。");
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size) {
        if (p[i] < 0x80) {
            // Runs of ASCII go eight bytes at a time.
            std::uint64_t w = 0;
            while (i + 8 <= size && (std::memcpy(&w, p + i, 8), (w & 0x8080808080808080ull) == 0)) i += 8;
            while (i < size && p[i] < 0x80) ++i;
            continue;
        }
        const std::size_t n = utf8SequenceLength(bytes, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string decodeCp932(std::string_view bytes) {
    if (allAscii(bytes)) return std::string(bytes);
    IconvHandle h("UTF-8", "CP932");
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    while (!bytes.empty()) {
        const std::size_t used = convert(h.cd, bytes, out);
        bytes.remove_prefix(used);
        if (bytes.empty()) break;
        // A byte cp932 does not define (or a lead byte cut off at the end).
        out += "\xEF\xBF\xBD";
        bytes.remove_prefix(1);
        iconv(h.cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

std::string encodeCp932(std::string_view utf8) {
    if (allAscii(utf8)) return std::string(utf8);
    IconvHandle h("CP932", "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const std::size_t used = convert(h.cd, utf8, out);
        utf8.remove_prefix(used);
        if (utf8.empty()) break;
        const std::size_t n = utf8SequenceLength(utf8, 0);
        if (n == 0)
            throw AppError(kInvalidCall, "文字コードが正しくない文字を含むため、シフトJIS(cp932)で保存できません。");
        const std::string_view ch = utf8.substr(0, n);
        if (const char* sub = cp932Substitute(ch)) {
            out += sub;
            utf8.remove_prefix(n);
            iconv(h.cd, nullptr, nullptr, nullptr, nullptr);
            continue;
        }
        throw AppError(kInvalidCall, "文字「" + std::string(ch) + "」はシフトJIS(cp932)で保存できません。");
    }
    return out;
}

std::string decodeFileBytes(std::string_view bytes) {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return sanitizeUtf8(bytes.substr(3));
    if (isValidUtf8(bytes)) return std::string(bytes);
    return decodeCp932(bytes);
}

namespace {

// The line ends (CR or LF) of a text in order, found with memchr; each kind's
// next position is remembered until it is passed, so a text of only LF (or
// only CR) line ends is still searched once.
class LineEnds {
public:
    explicit LineEnds(std::string_view text) : text_(text), cr_(find(0, '\r')), lf_(find(0, '\n')) {}
    // The first line end at or after `from`; text.size() when there is none.
    std::size_t next(std::size_t from) {
        if (cr_ < from) cr_ = find(from, '\r');
        if (lf_ < from) lf_ = find(from, '\n');
        return cr_ < lf_ ? cr_ : lf_;
    }

private:
    std::size_t find(std::size_t from, char c) const {
        if (from >= text_.size()) return text_.size();
        const void* hit = std::memchr(text_.data() + from, c, text_.size() - from);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data()) : text_.size();
    }
    std::string_view text_;
    std::size_t cr_, lf_;
};

// Splits as splitLines does; a line longer than maxBytes keeps its first
// maxBytes bytes, cut at a character boundary (the text is UTF-8).
std::vector<std::string> splitLinesCapped(std::string_view text, std::size_t maxBytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    const char* t = text.data();
    const std::size_t n = text.size();
    LineEnds ends(text);
    while (start < n) {
        const std::size_t i = ends.next(start);
        std::size_t len = i - start;
        if (len > maxBytes) {
            len = maxBytes;
            while (len > 0 && (static_cast<unsigned char>(t[start + len]) & 0xC0) == 0x80) --len;
        }
        lines.emplace_back(text.substr(start, len));
        if (i >= n) break;
        start = t[i] == '\r' && i + 1 < n && t[i + 1] == '\n' ? i + 2 : i + 1;
    }
    return lines;
}

}  // namespace

std::vector<std::string> splitLines(std::string_view text) { return splitLinesCapped(text, std::string_view::npos); }

namespace {

// An ordinary file opened for reading, with its size; closed with the object.
class ReadableFile {
public:
    explicit ReadableFile(const std::filesystem::path& path) : path_(path) {
        do {
            // Non-blocking, so that naming a pipe cannot hang the program.
            fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        } while (fd_ < 0 && errno == EINTR);
        if (fd_ < 0) throwFileError(errno, path, false);
        struct stat st {};
        if (::fstat(fd_, &st) != 0) fail(errno);
        if (S_ISDIR(st.st_mode)) fail(EISDIR);
        // Only ordinary files: a device or a pipe may never end.
        if (!S_ISREG(st.st_mode)) {
            ::close(fd_);
            throw AppError(kPathFileAccess, "「" + pathText(path) + "」は通常のファイルではないため読み込めません。");
        }
        if (static_cast<unsigned long long>(st.st_size) > kMaxReadBytes) {
            ::close(fd_);
            throwTooLarge(path);
        }
        size_ = static_cast<std::size_t>(st.st_size);
    }
    ~ReadableFile() { ::close(fd_); }
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;

    std::size_t size() const { return size_; }
    // The next bytes into buf; 0 at the end of the file.
    std::size_t read(char* buf, std::size_t n) {
        for (;;) {
            const ssize_t r = ::read(fd_, buf, n);
            if (r >= 0) {
                total_ += static_cast<unsigned long long>(r);
                if (total_ > kMaxReadBytes) throwTooLarge(path_);   // grew while read
                return static_cast<std::size_t>(r);
            }
            if (errno != EINTR) throwFileError(errno, path_, false);
        }
    }

private:
    [[noreturn]] void fail(int err) {
        ::close(fd_);
        throwFileError(err, path_, false);
    }
    std::filesystem::path path_;
    int fd_ = -1;
    std::size_t size_ = 0;
    unsigned long long total_ = 0;
};

}  // namespace

std::string readFileBytes(const std::filesystem::path& path) {
    ReadableFile file(path);
    std::string data;
    data.reserve(file.size());
    char buf[65536];
    while (const std::size_t n = file.read(buf, sizeof buf)) data.append(buf, n);
    return data;
}

std::vector<std::string> readLines(const std::filesystem::path& path) {
    return splitLines(decodeFileBytes(readFileBytes(path)));
}

FirstLines readFirstLines(const std::filesystem::path& path, std::size_t maxLines) {
    // Line ends are counted on the bytes: CR and LF are never part of a
    // cp932 or UTF-8 character. A CR LF counts once, at its CR; the LF that
    // may follow the last wanted line end is then part of the rest.
    ReadableFile file(path);
    FirstLines out;
    std::string prefix;
    std::size_t ends = 0;
    bool afterCr = false;
    bool inPrefix = maxLines > 0;
    char buf[65536];
    while (const std::size_t n = file.read(buf, sizeof buf)) {
        std::size_t i = 0;
        if (inPrefix) {
            LineEnds lineEnds(std::string_view(buf, n));
            while (inPrefix) {
                const std::size_t e = lineEnds.next(i);
                if (e == n) {
                    i = n;
                    break;
                }
                // An LF right after a CR (perhaps the last byte read before) ends the same line.
                const bool sameEnd = buf[e] == '\n' && (e > 0 ? buf[e - 1] == '\r' : afterCr);
                if (!sameEnd) inPrefix = ++ends < maxLines;
                i = e + 1;
            }
            if (i > 0) afterCr = buf[i - 1] == '\r';
            prefix.append(buf, i);
        }
        for (; i < n && out.restIsBlank; ++i) {
            const char b = buf[i];
            out.restIsBlank = b == ' ' || b == '\t' || b == '\r' || b == '\n';
        }
        // Nothing more to learn once the rest holds text.
        if (!inPrefix && !out.restIsBlank) break;
    }
    // Valid UTF-8 is split as it stands, without a decoded copy.
    if (!prefix.starts_with("\xEF\xBB\xBF") && isValidUtf8(prefix)) {
        out.lines = splitLinesCapped(prefix, kMaxLineBytes);
    } else {
        out.lines = splitLinesCapped(decodeFileBytes(prefix), kMaxLineBytes);
    }
    return out;
}

void setWriteFaultHook(WriteFaultHook hook) { g_faultHook.store(hook); }

void writeFileAtomic(const std::filesystem::path& requested, std::string_view bytes) {
    if (requested.empty()) throw AppError(kPathNotFound, "パスが見つかりません。ファイル名が空です。");
    // Writing through a symbolic link replaces the file it points to, not the link.
    std::filesystem::path path = requested;
    {
        std::error_code ec;
        if (std::filesystem::is_symlink(requested, ec)) {
            const auto real = std::filesystem::canonical(requested, ec);
            if (!ec) path = real;
        }
    }
    // The target itself must not be a folder.
    struct stat target {};
    const bool targetExists = ::stat(path.c_str(), &target) == 0;
    if (targetExists && S_ISDIR(target.st_mode)) throwFileError(EISDIR, requested, true);

    std::filesystem::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    const std::string name = path.filename().string();
    std::string tmpl = (folder / ("." + name + ".tmp-XXXXXX")).string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR) {
            throw AppError(kPathNotFound, "パスが見つかりません。フォルダー「" + folder.string() +
                                              "」に書き込めません（" + std::strerror(err) + "）。");
        }
        throwFileError(err, requested, true);
    }
    const std::filesystem::path tempPath = tmpl;
    bool open = true;
    try {
        const char* p = bytes.data();
        std::size_t left = bytes.size();
        while (left > 0) {
            const ssize_t w = ::write(fd, p, left);
            if (w < 0) {
                if (errno == EINTR) continue;
                throwFileError(errno, requested, true);
            }
            p += w;
            left -= static_cast<std::size_t>(w);
        }
        // The new file keeps the old one's permission bits; a new file gets
        // the usual ones for the user's umask.
        mode_t mode;
        if (targetExists) {
            mode = target.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        if (::fchmod(fd, mode) != 0 && errno != EPERM) throwFileError(errno, requested, true);
        if (::fsync(fd) != 0 && errno != EINVAL) throwFileError(errno, requested, true);
        open = false;
        if (::close(fd) != 0) throwFileError(errno, requested, true);
        if (WriteFaultHook hook = g_faultHook.load()) hook(tempPath);
        // A file that another program put in the target's place (or changed)
        // while the new one was being written is not overwritten unseen.
        struct stat now {};
        const bool existsNow = ::stat(path.c_str(), &now) == 0;
        if (existsNow != targetExists || (existsNow && !sameFile(target, now)))
            throw AppError(kPathFileAccess, "ファイル「" + pathText(requested) +
                                                "」は書き込み中に他のプログラムによって変更されたため、上書きしませんでした。");
        if (::rename(tempPath.c_str(), path.c_str()) != 0) throwFileError(errno, requested, true);
    } catch (...) {
        // Whatever failed, no temporary file stays behind and the old file is whole.
        if (open) ::close(fd);
        ::unlink(tempPath.c_str());
        throw;
    }
    // Make the rename itself durable.
    const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

void writeTextCp932(const std::filesystem::path& path, std::string_view utf8) {
    const std::string bytes = encodeCp932(utf8);
    writeFileAtomic(path, bytes);
}

void writeLinesCp932(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    std::string text;
    std::size_t size = 0;
    for (const auto& l : lines) size += l.size() + 2;
    text.reserve(size);
    for (const auto& l : lines) {
        text += l;
        text += "\r\n";
    }
    writeTextCp932(path, text);
}

}  // namespace kazuban::text
