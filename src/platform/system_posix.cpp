// The operating-system calls on Linux and macOS (see system.h).
#include <fcntl.h>
#include <iconv.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/magic.h>
#include <sys/vfs.h>
#endif

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <system_error>

#include "platform/system.h"
#include "platform/system_failures.h"
#include "text/app_error.h"
#include "text/path_text.h"

extern char** environ;

namespace kazuban::platform {

namespace fs = std::filesystem;

namespace {

Reason reasonKind(int err) {
    switch (err) {
    case EACCES:
    case EPERM: return Reason::NoPermission;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return Reason::DiskFull;
    case EROFS: return Reason::ReadOnly;
    case ETXTBSY:
    case EBUSY: return Reason::InUse;
    case ENAMETOOLONG: return Reason::PathTooLong;
    case ENOENT: return Reason::NotFound;
    default: return Reason::Other;
    }
}

std::string reasonOf(int err) { return reasonText(reasonKind(err), std::strerror(err)); }

Failure fileFailure(int err) {
    switch (err) {
    case ENOENT: return Failure::NotFound;
    case ENOTDIR: return Failure::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return Failure::AccessDenied;
    default: return Failure::Other;
    }
}

[[noreturn]] void throwFileError(int err, const fs::path& path, bool writing) {
    throwFileFailure(fileFailure(err), reasonOf(err), path, writing);
}

int fd(std::intptr_t handle) { return static_cast<int>(handle); }

// A file of a file system that the kernel makes up as it is read (/proc,
// /sys and their kin): its size says 0, and a read may block (/proc/kmsg)
// or take away what it returns.
bool onKernelFileSystem(int f) {
#ifdef __linux__
    struct statfs s {};
    if (::fstatfs(f, &s) != 0) return false;
    switch (s.f_type) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC: return true;
    default: return false;
    }
#else
    (void)f;
    return false;
#endif
}

// The calls of an atomic replace whose order matters, each noted for the
// tests as it is made. errno stays that of the call.
void writeAll(int f, std::string_view bytes, const fs::path& path) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t w = ::write(f, p, left);
        if (w < 0) {
            if (errno == EINTR) continue;
            throwFileError(errno, path, true);
        }
        p += w;
        left -= static_cast<std::size_t>(w);
    }
    noteWriteStep(WriteStep::Written);
}

int syncNoted(int f, WriteStep step) {
    const int r = ::fsync(f);
    const int err = errno;
    noteWriteStep(step);
    errno = err;
    return r;
}

int renameNoted(const fs::path& from, const fs::path& to) {
    const int r = ::rename(from.c_str(), to.c_str());
    const int err = errno;
    noteWriteStep(WriteStep::Renamed);
    errno = err;
    return r;
}

}  // namespace

// ---- reading ------------------------------------------------------------------

InputFile::InputFile(const fs::path& path) : path_(path) {
    int f;
    do {
        // Non-blocking, so that naming a pipe cannot hang the program.
        f = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (f < 0 && errno == EINTR);
    if (f < 0) throwFileError(errno, path, false);
    auto fail = [&](auto&& thrower) {
        ::close(f);
        thrower();
    };
    struct stat st {};
    if (::fstat(f, &st) != 0) {
        const int err = errno;
        fail([&] { throwFileError(err, path, false); });
    }
    if (S_ISDIR(st.st_mode)) fail([&] { throwFileError(EISDIR, path, false); });
    // Only ordinary files: a device or a pipe may never end.
    if (!S_ISREG(st.st_mode) || onKernelFileSystem(f)) fail([&] { throwNotOrdinaryFile(path); });
    if (static_cast<unsigned long long>(st.st_size) > kMaxReadBytes) fail([&] { throwTooLarge(path); });
    handle_ = f;
    size_ = static_cast<std::size_t>(st.st_size);
}

InputFile::~InputFile() { ::close(fd(handle_)); }

std::size_t InputFile::read(char* buf, std::size_t n) {
    for (;;) {
        const ssize_t r = ::read(fd(handle_), buf, n);
        if (r >= 0) {
            total_ += static_cast<unsigned long long>(r);
            countBytesRead(static_cast<unsigned long long>(r));
            if (total_ > kMaxReadBytes) throwTooLarge(path_);  // grew while read
            return static_cast<std::size_t>(r);
        }
        if (errno != EINTR) throwFileError(errno, path_, false);
    }
}

// ---- writing ------------------------------------------------------------------

namespace {

// Which file a stat names and how it stood: device, inode, size, modification and change times.
std::array<std::uint64_t, 8> stampOf(const struct stat& st) {
#ifdef __APPLE__
    const auto& m = st.st_mtimespec;
    const auto& c = st.st_ctimespec;
#else
    const auto& m = st.st_mtim;
    const auto& c = st.st_ctim;
#endif
    return {static_cast<std::uint64_t>(st.st_dev),  static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size), static_cast<std::uint64_t>(m.tv_sec),
            static_cast<std::uint64_t>(m.tv_nsec),  static_cast<std::uint64_t>(c.tv_sec),
            static_cast<std::uint64_t>(c.tv_nsec),  0};
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
    // Only an ordinary file is replaced: a folder, a device, a pipe or a
    // socket in the target's place stays as it is (and no temporary file is
    // made beside a device).
    struct stat target {};
    existed_ = ::stat(path_.c_str(), &target) == 0;
    if (existed_ && !S_ISREG(target.st_mode)) throwNotOrdinaryTarget(requested);
    if (existed_) stamp_ = stampOf(target);

    fs::path folder = path_.parent_path();
    if (folder.empty()) folder = ".";
    // Built by appending: "." + string trips GCC 12's -Wrestrict in a release build.
    std::string name = ".";
    name += path_.filename().string();
    name += ".tmp-XXXXXX";
    std::string tmpl = (folder / name).string();
    const int f = ::mkstemp(tmpl.data());
    if (f < 0) {
        const int err = errno;
        throwFolderFailure(fileFailure(err), reasonOf(err), folder, requested);
    }
    temp_ = tmpl;
    bool open = true;
    try {
        writeAll(f, bytes, requested);
        // The new file keeps the old one's permission bits; a new file gets
        // the usual ones for the user's umask.
        mode_t mode;
        if (existed_) {
            mode = target.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        if (::fchmod(f, mode) != 0 && errno != EPERM) throwFileError(errno, requested, true);
        if (syncNoted(f, WriteStep::FileSynced) != 0 && errno != EINVAL) throwFileError(errno, requested, true);
        open = false;
        if (::close(f) != 0) throwFileError(errno, requested, true);
    } catch (...) {
        // Whatever failed, no temporary file stays behind.
        if (open) ::close(f);
        ::unlink(temp_.c_str());
        throw;
    }
}

StagedFile::~StagedFile() {
    if (!installed_) ::unlink(temp_.c_str());
}

void StagedFile::install(WriteFaultHook hook, bool checkTarget) {
    if (hook) hook(temp_);
    if (checkTarget) {
        // A file that another program put in the target's place (or changed)
        // while the new one was being written is not overwritten unseen.
        struct stat now {};
        const bool existsNow = ::stat(path_.c_str(), &now) == 0;
        if (existsNow != existed_ || (existsNow && stampOf(now) != stamp_)) throwChangedMeanwhile(requested_);
    }
    if (renameNoted(temp_, path_) != 0) throwFileError(errno, requested_, true);
    installed_ = true;
    // Make the rename itself durable.
    fs::path folder = path_.parent_path();
    if (folder.empty()) folder = ".";
    const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        syncNoted(dfd, WriteStep::FolderSynced);
        ::close(dfd);
    }
}

void replaceFileAtomically(const fs::path& path, std::string_view bytes, WriteFaultHook hook) {
    StagedFile staged(path, bytes);
    staged.install(hook);
}

// ---- files and folders --------------------------------------------------------

std::optional<FileIdentity> fileIdentity(const fs::path& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(st.st_dev), 0, static_cast<std::uint64_t>(st.st_ino)};
}

bool isSpecialFile(const fs::path& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

bool isFile(const fs::path& path) {
    if (path.empty()) return false;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    return !S_ISDIR(st.st_mode);
}

void removeFile(const fs::path& path) {
    struct stat st {};
    if (path.empty() || ::lstat(path.c_str(), &st) != 0) {
        const int err = path.empty() ? ENOENT : errno;
        const Failure kind = err == ENOENT || err == ENOTDIR ? Failure::NotFound
                             : err == EACCES || err == EPERM ? Failure::AccessDenied
                                                             : Failure::Other;
        throwDeleteFailure(kind, reasonOf(err), path);
    }
    if (S_ISDIR(st.st_mode)) throwDeleteFolder(path);
    if (::unlink(path.c_str()) != 0) {
        const int err = errno;
        const Failure kind = err == ENOENT                                   ? Failure::NotFound
                             : err == EACCES || err == EPERM || err == EROFS ? Failure::AccessDenied
                                                                             : Failure::Other;
        throwDeleteFailure(kind, reasonOf(err), path);
    }
}

// File attributes other than read-only and hidden do not exist here, and
// hidden files are named with a dot: the file stays as it is.
void setHidden(const fs::path& path, bool hidden) {
    (void)path;
    (void)hidden;
}

std::vector<fs::path> visibleSubFolders(const fs::path& folder) {
    std::vector<fs::path> found;
    if (folder.empty()) return found;
    std::error_code ec;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        // Dot folders are the hidden folders of this system.
        if (name.empty() || name.front() == '.') continue;
        std::error_code ec2;
        if (it->is_directory(ec2)) found.push_back(it->path());
    }
    return found;
}

namespace {

#ifndef __APPLE__
// /proc/mounts writes blanks, tabs, newlines and backslashes as \ooo.
std::string unescapeMountField(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        auto octal = [&](std::size_t k) { return s[k] >= '0' && s[k] <= '7'; };
        if (s[i] == '\\' && i + 3 < s.size() && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
            out += static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

bool isSystemMount(const std::string& type, const std::string& dir) {
    static const char* const kPseudoTypes[] = {"proc",       "sysfs",           "devtmpfs",   "devpts",
                                               "cgroup",     "cgroup2",         "mqueue",     "debugfs",
                                               "tracefs",    "securityfs",      "pstore",     "bpf",
                                               "configfs",   "fusectl",         "hugetlbfs",  "binfmt_misc",
                                               "autofs",     "efivarfs",        "selinuxfs",  "nsfs",
                                               "rpc_pipefs", "tmpfs",           "ramfs",      "squashfs",
                                               "overlay",    "fuse.gvfsd-fuse", "fuse.portal"};
    if (dir == "/") return false;
    for (const char* t : kPseudoTypes)
        if (type == t) return true;
    for (const char* prefix : {"/proc", "/sys", "/dev", "/run", "/boot", "/snap", "/var/lib"}) {
        const std::string p = prefix;
        if (dir == p || dir.starts_with(p + "/")) {
            // Removable media are mounted under /run/media.
            if (dir.starts_with("/run/media/")) return false;
            return true;
        }
    }
    return false;
}
#endif

bool isFolder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(fs::path(path), ec);
}

}  // namespace

std::vector<std::string> driveList() {
    std::vector<std::string> drives;
#ifdef __APPLE__
    drives.push_back("/");
    std::error_code ec;
    for (fs::directory_iterator it("/Volumes", ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ec2;
        if (it->is_directory(ec2) && !it->is_symlink(ec2)) drives.push_back(it->path().string());
    }
    std::sort(drives.begin() + 1, drives.end());
#else
    std::vector<std::string> others;
    std::ifstream mounts("/proc/mounts");
    std::string device, dir, type, rest;
    // Bounded by the file's size: one entry per line.
    while (mounts >> device >> dir >> type) {
        std::getline(mounts, rest);
        dir = unescapeMountField(dir);
        if (dir == "/" || isSystemMount(type, dir) || !isFolder(dir)) continue;
        others.push_back(dir);
    }
    std::sort(others.begin(), others.end());
    others.erase(std::unique(others.begin(), others.end()), others.end());
    drives.push_back("/");
    drives.insert(drives.end(), others.begin(), others.end());
#endif
    return drives;
}

fs::path currentFolder() {
    std::error_code ec;
    fs::path p = fs::current_path(ec);
    return ec ? fs::path() : p;
}

// ---- programs -----------------------------------------------------------------

// Starts argv detached: an intermediate child spawns the program and exits at
// once, so the program is adopted by init and never stays a zombie of ours.
// The spawn's result comes back through a pipe.
void startDetached(const std::vector<std::string>& argv) {
    if (argv.empty()) throw AppError(kInvalidCall, "起動するプログラムが指定されていません。");
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    // Everything that allocates is prepared before fork().
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#ifdef POSIX_SPAWN_SETSID
    flags |= POSIX_SPAWN_SETSID;
#endif
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGQUIT);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, flags);

    auto release = [&] {
        posix_spawnattr_destroy(&attr);
        posix_spawn_file_actions_destroy(&actions);
    };
    auto fail = [&](int err) {
        const Failure kind = err == EACCES || err == EPERM ? Failure::AccessDenied
                             : err == ENOENT               ? Failure::NotFound
                                                           : Failure::Other;
        throwStartFailure(kind, reasonOf(err), argv.front());
    };

    int fds[2];
    if (pipe(fds) != 0) {
        const int err = errno;
        release();
        fail(err);
    }
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    fcntl(fds[1], F_SETFD, FD_CLOEXEC);

    const pid_t middle = fork();
    if (middle == 0) {
        close(fds[0]);
        pid_t pid = 0;
        int rc = posix_spawnp(&pid, args[0], &actions, &attr, args.data(), environ);
        ssize_t ignored = write(fds[1], &rc, sizeof rc);
        (void)ignored;
        _exit(0);
    }
    const int forkErr = errno;
    close(fds[1]);
    int rc = 0;
    if (middle < 0) {
        rc = forkErr;
    } else {
        std::size_t got = 0;
        auto* bytes = reinterpret_cast<char*>(&rc);
        while (got < sizeof rc) {
            const ssize_t r = read(fds[0], bytes + got, sizeof rc - got);
            if (r > 0) {
                got += static_cast<std::size_t>(r);
            } else if (r < 0 && errno == EINTR) {
                continue;
            } else {
                rc = EIO;  // the intermediate child died before reporting
                break;
            }
        }
        while (waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {}
    }
    close(fds[0]);
    release();
    if (rc != 0) fail(rc);
}

const char* systemOpener() {
#ifdef __APPLE__
    return "open";
#else
    return "xdg-open";
#endif
}

unsigned long long processNumber() { return static_cast<unsigned long long>(::getpid()); }

// ---- text ---------------------------------------------------------------------

namespace {

iconv_t cd(void* handle) { return static_cast<iconv_t>(handle); }

}  // namespace

Cp932Converter::Cp932Converter(Direction direction) : direction_(direction) {
    const char* to = direction == Direction::ToUtf8 ? "UTF-8" : "CP932";
    const char* from = direction == Direction::ToUtf8 ? "CP932" : "UTF-8";
    const iconv_t h = iconv_open(to, from);
    if (h == reinterpret_cast<iconv_t>(-1))
        throw AppError(kInvalidCall, std::string("文字コード変換（") + from + "→" + to + "）を利用できません。");
    handle_ = h;
}

Cp932Converter::~Cp932Converter() { iconv_close(cd(handle_)); }

std::size_t Cp932Converter::convert(std::string_view in, std::string& out) {
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buf[16384];
    while (srcLeft > 0) {
        char* dst = buf;
        std::size_t dstLeft = sizeof buf;
        const std::size_t r = iconv(cd(handle_), &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, static_cast<std::size_t>(dst - buf));
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) continue;
            break;  // EILSEQ or EINVAL: the next character cannot be converted
        }
    }
    // The next conversion starts afresh after the character that stopped this one.
    iconv(cd(handle_), nullptr, nullptr, nullptr, nullptr);
    return in.size() - srcLeft;
}

std::string systemErrorReason(unsigned long code) { return reasonOf(static_cast<int>(code)); }

void useBinaryStandardOutput() {}

std::vector<std::string> utf8Arguments(int argc, char** argv) { return {argv, argv + argc}; }

}  // namespace kazuban::platform
