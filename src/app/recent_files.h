#pragma once
// The combination files loaded or saved last, newest first, at most five.
// The window keeps them between runs (in its own settings, never in the data
// folder) and offers them under ◇ファイル → 最近使ったファイル.
#include <cstddef>
#include <filesystem>
#include <vector>

namespace kazuban::app {

class RecentFiles {
public:
    static constexpr std::size_t kMax = 5;

    const std::vector<std::filesystem::path>& list() const { return files_; }
    // The file goes to the front; an earlier place of the same file goes.
    void add(const std::filesystem::path& file);
    void remove(const std::filesystem::path& file);
    // The list as the window kept it: empty names and repeats are dropped,
    // and no more than five are taken.
    void set(const std::vector<std::filesystem::path>& files);
    // Rises with every change of the list, so the window knows when to store it.
    unsigned revision() const { return revision_; }

private:
    std::vector<std::filesystem::path> files_;
    unsigned revision_ = 0;
};

}  // namespace kazuban::app
