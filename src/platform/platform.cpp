#include "platform/platform.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>

#include "output/launcher.h"
#include "text/app_error.h"

namespace kazuban::platform {

std::vector<FileFilter> parseFilter(const std::string& filter) {
    std::vector<FileFilter> out;
    if (filter.empty()) return out;
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = filter.find('|', start);
        parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    // A label without its pattern (an odd count) is shown with the pattern "*.*".
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        FileFilter f;
        f.label = parts[i];
        f.pattern = i + 1 < parts.size() ? parts[i + 1] : std::string("*.*");
        if (f.label.empty() && f.pattern.empty()) continue;
        if (f.pattern.empty()) f.pattern = "*.*";
        out.push_back(std::move(f));
    }
    return out;
}

std::string Platform::currentDirectory() {
    std::error_code ec;
    const auto p = std::filesystem::current_path(ec);
    return ec ? std::string() : p.string();
}

bool Platform::fileExists(const std::string& path) {
    if (path.empty()) return false;
    // Hidden (dot) files count like any other; folders are not files.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    return !S_ISDIR(st.st_mode);
}

void Platform::deleteFile(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::lstat(path.c_str(), &st) != 0) {
        const int err = path.empty() ? ENOENT : errno;
        if (err == ENOENT || err == ENOTDIR) throw AppError(kFileNotFound, "ファイルが見つかりません。" + path);
        if (err == EACCES || err == EPERM)
            throw AppError(kPermissionDenied, "ファイル「" + path + "」を削除できません（" + std::strerror(err) + "）。");
        throw AppError(kPathFileAccess, "ファイル「" + path + "」を削除できません（" + std::strerror(err) + "）。");
    }
    if (S_ISDIR(st.st_mode))
        throw AppError(kPathFileAccess, "「" + path + "」はフォルダーのため削除できません。");
    if (::unlink(path.c_str()) != 0) {
        const int err = errno;
        if (err == ENOENT) throw AppError(kFileNotFound, "ファイルが見つかりません。" + path);
        if (err == EACCES || err == EPERM || err == EROFS)
            throw AppError(kPermissionDenied, "ファイル「" + path + "」を削除できません（" + std::strerror(err) + "）。");
        throw AppError(kPathFileAccess, "ファイル「" + path + "」を削除できません（" + std::strerror(err) + "）。");
    }
}

// File attributes other than read-only and hidden do not exist here, and
// hidden files are named with a dot: both calls leave the file as it is.
void Platform::setNormalAttributes(const std::string& path) { (void)path; }
void Platform::setHiddenAttribute(const std::string& path) { (void)path; }

void Platform::startProgram(const std::string& commandLine) { output::startCommandLine(commandLine); }

namespace {

// splitmix64: every state gives a well-mixed sequence, seed 0 included.
unsigned long long nextRandom(unsigned long long& state) {
    unsigned long long z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}  // namespace

void Platform::seedFromClock() {
    if (fixedSeed_) return;
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    state_ = static_cast<unsigned long long>(now) ^ (static_cast<unsigned long long>(tick) << 17) ^
             static_cast<unsigned long long>(::getpid());
}

void Platform::seed(unsigned long long s) {
    state_ = s;
    fixedSeed_ = true;
}

double Platform::random() {
    // 53 random bits: a double in [0, 1).
    return static_cast<double>(nextRandom(state_) >> 11) * 0x1.0p-53;
}

}  // namespace kazuban::platform
