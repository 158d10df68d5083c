#include "app/recent_files.h"

#include <algorithm>
#include <system_error>

namespace kazuban::app {

namespace {

// One spelling per file, so that "./a.txt" and "/data/a.txt" are one entry.
std::filesystem::path canonicalName(const std::filesystem::path& file) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(file, ec);
    if (ec) p = file;
    return p.lexically_normal();
}

}  // namespace

void RecentFiles::add(const std::filesystem::path& file) {
    if (file.empty()) return;
    const std::filesystem::path name = canonicalName(file);
    std::erase(files_, name);
    files_.insert(files_.begin(), name);
    if (files_.size() > kMax) files_.resize(kMax);
    ++revision_;
}

void RecentFiles::remove(const std::filesystem::path& file) {
    if (std::erase(files_, canonicalName(file)) > 0) ++revision_;
}

void RecentFiles::set(const std::vector<std::filesystem::path>& files) {
    files_.clear();
    for (const std::filesystem::path& f : files) {
        if (f.empty()) continue;
        const std::filesystem::path name = canonicalName(f);
        if (std::find(files_.begin(), files_.end(), name) != files_.end()) continue;
        files_.push_back(name);
        if (files_.size() == kMax) break;
    }
    ++revision_;
}

}  // namespace kazuban::app
