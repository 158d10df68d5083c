#include "platform/platform.h"

#include <chrono>

#include "platform/command_line.h"
#include "platform/system.h"
#include "text/text.h"

namespace kazuban::platform {

std::vector<FileFilter> parseFilter(const std::string& filter) {
    std::vector<FileFilter> out;
    if (filter.empty()) return out;
    const std::vector<std::string> parts = text::Split(filter, '|');
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

std::vector<std::filesystem::path> Platform::openFilesDialog(const FileDialogOptions& options) {
    std::vector<std::filesystem::path> files;
    if (auto file = openFileDialog(options)) files.push_back(std::move(*file));
    return files;
}

bool Platform::runDownloads(DownloadSession& session) {
    while (!session.nextUrl().empty()) session.answer(DownloadAnswer{0, {}, kNoNetwork});
    return true;
}

std::filesystem::path Platform::currentDirectory() { return currentFolder(); }

bool Platform::fileExists(const std::filesystem::path& path) { return !path.empty() && isFile(path); }

void Platform::deleteFile(const std::filesystem::path& path) { removeFile(path); }

void Platform::setNormalAttributes(const std::filesystem::path& path) { setHidden(path, false); }

void Platform::setHiddenAttribute(const std::filesystem::path& path) { setHidden(path, true); }

void Platform::startProgram(const std::string& commandLine) { startCommandLine(commandLine); }

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
    state_ = static_cast<unsigned long long>(now) ^ (static_cast<unsigned long long>(tick) << 17) ^ processNumber();
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
