#pragma once
// Test data: draw texts, synthetic histories and a temporary data folder that
// holds an atarimgrp.txt and a Kazuban.ini, as the program finds them.
#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kazuban::testing {

using Draw = std::array<int, 6>;  // five main numbers, then the bonus

// Two-character field of a number: " 5", "12".
std::string numberField(int n);
// " 1, 5,12,20,28,30" (17 characters).
std::string makeDrawText(const Draw& d);
// " 1, 5,12,20,28" (14 characters).
std::string makeComboText(const std::array<int, 5>& c);

// Repeatable pseudo-random draws: five distinct ascending main numbers and a
// bonus distinct from them, all in 1..31. Same seed, same draws everywhere.
std::vector<Draw> syntheticDraws(int draws, unsigned seed);

// The header line "回=本数字,ボーナス" and one line "第k回=<draw text>" per draw.
inline constexpr std::string_view kHistoryHeader = "回=本数字,ボーナス";
std::vector<std::string> historyLines(const std::vector<Draw>& draws);
std::vector<std::string> syntheticHistoryLines(int draws, unsigned seed);

// The environment file's lines: header, four path lines, and `links` (nine
// or fewer link lines; none gives the five-line file).
std::vector<std::string> environmentLines(const std::vector<std::string>& links = {}, const std::string& editor = {},
                                          const std::string& data = {}, const std::string& calc = {},
                                          const std::string& browser = {});

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    std::filesystem::path file(std::string_view name) const;  // path() / name (UTF-8 name)

    // Writes bytes exactly as given; returns the file's path.
    std::filesystem::path write(std::string_view name, std::string_view bytes) const;
    // Lines (UTF-8 texts) each followed by `eol`, stored as cp932 or UTF-8.
    std::filesystem::path writeLines(std::string_view name, const std::vector<std::string>& lines, bool cp932 = true,
                                     std::string_view eol = "\r\n") const;
    // The file's bytes ("" when it does not exist).
    std::string read(std::string_view name) const;
    // The file's lines as UTF-8 texts (read as the program reads line files).
    std::vector<std::string> readLines(std::string_view name) const;
    bool exists(std::string_view name) const;

private:
    std::filesystem::path path_;
};

// atarimgrp.txt of the demo history (1400 draws) and its Kazuban.ini.
void copyDemo(const TempDir& dir);
// Only the demo's atarimgrp.txt.
void copyDemoHistory(const TempDir& dir);
// A synthetic atarimgrp.txt of `draws` draws (cp932, CR LF).
void writeSyntheticHistory(const TempDir& dir, int draws, unsigned seed);
// atarimgrp.txt from the given draws (cp932, CR LF).
void writeHistory(const TempDir& dir, const std::vector<Draw>& draws);
// The five-line Kazuban.ini (header and four empty paths).
void writeMinimalEnvironment(const TempDir& dir);
// A data folder ready to start in: synthetic history and the five-line ini.
void prepareDataFolder(const TempDir& dir, int draws, unsigned seed);

// Path of the demo folder of the source tree.
std::filesystem::path demoDir();

}  // namespace kazuban::testing
