#include "support/history_gen.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "platform/line_file.h"

namespace fs = std::filesystem;

namespace kazuban::testing {

std::string numberField(int n) {
    std::string s = std::to_string(n);
    return s.size() < 2 ? " " + s : s;
}

std::string makeDrawText(const Draw& d) {
    std::string s;
    for (int i = 0; i < 6; ++i) {
        if (i) s += ',';
        s += numberField(d[i]);
    }
    return s;
}

std::string makeComboText(const std::array<int, 5>& c) {
    std::string s;
    for (int i = 0; i < 5; ++i) {
        if (i) s += ',';
        s += numberField(c[i]);
    }
    return s;
}

std::vector<Draw> syntheticDraws(int draws, unsigned seed) {
    // mt19937 is defined bit for bit by the standard; the distributions are
    // not, so values are taken by plain modulo.
    std::mt19937 rng(seed);
    std::vector<Draw> out;
    out.reserve(draws > 0 ? draws : 0);
    for (int k = 0; k < draws; ++k) {
        std::array<int, 31> pool{};
        for (int i = 0; i < 31; ++i) pool[i] = i + 1;
        for (int i = 0; i < 6; ++i) {  // partial Fisher-Yates: six distinct numbers
            int j = i + static_cast<int>(rng() % static_cast<unsigned>(31 - i));
            std::swap(pool[i], pool[j]);
        }
        Draw d{};
        std::copy(pool.begin(), pool.begin() + 6, d.begin());
        std::sort(d.begin(), d.begin() + 5);
        out.push_back(d);
    }
    return out;
}

std::vector<std::string> historyLines(const std::vector<Draw>& draws) {
    std::vector<std::string> lines;
    lines.reserve(draws.size() + 1);
    lines.emplace_back(kHistoryHeader);
    for (std::size_t k = 0; k < draws.size(); ++k)
        lines.push_back("第" + std::to_string(k + 1) + "回=" + makeDrawText(draws[k]));
    return lines;
}

std::vector<std::string> syntheticHistoryLines(int draws, unsigned seed) {
    return historyLines(syntheticDraws(draws, seed));
}

std::vector<std::string> environmentLines(const std::vector<std::string>& links, const std::string& editor,
                                          const std::string& data, const std::string& calc,
                                          const std::string& browser) {
    std::vector<std::string> lines{"[ Kazuban の環境ﾌｧｲﾙ ]", "Your editor=" + editor, "Your data dirctory=" + data,
                                   "Your calcsoft=" + calc, "Your browser=" + browser};
    lines.insert(lines.end(), links.begin(), links.end());
    return lines;
}

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::ostringstream name;
        name << "kazuban-test-" << std::hex << rd() << '-' << counter++;
        fs::path p = base / name.str();
        std::error_code ec;
        if (fs::create_directory(p, ec)) {
            path_ = p;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    // Files made read-only by a test must not keep the folder alive.
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

fs::path TempDir::file(std::string_view name) const {
    return path_ / fs::path(std::u8string(name.begin(), name.end()));
}

fs::path TempDir::write(std::string_view name, std::string_view bytes) const {
    fs::path p = file(name);
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + p.string());
    return p;
}

fs::path TempDir::writeLines(std::string_view name, const std::vector<std::string>& lines, bool cp932,
                             std::string_view eol) const {
    std::string textUtf8;
    for (const auto& l : lines) {
        textUtf8 += l;
        textUtf8 += eol;
    }
    return write(name, cp932 ? platform::encodeCp932(textUtf8) : textUtf8);
}

std::string TempDir::read(std::string_view name) const {
    std::ifstream in(file(name), std::ios::binary);
    if (!in) return {};
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<std::string> TempDir::readLines(std::string_view name) const {
    return text::splitLines(platform::decodeFileBytes(read(name)));
}

bool TempDir::exists(std::string_view name) const {
    std::error_code ec;
    return fs::exists(file(name), ec);
}

fs::path demoDir() { return fs::path(KAZUBAN_DEMO_DIR); }

void copyDemoHistory(const TempDir& dir) {
    fs::copy_file(demoDir() / "atarimgrp.txt", dir.file("atarimgrp.txt"), fs::copy_options::overwrite_existing);
}

void copyDemo(const TempDir& dir) {
    copyDemoHistory(dir);
    fs::copy_file(demoDir() / "Kazuban.ini", dir.file("Kazuban.ini"), fs::copy_options::overwrite_existing);
}

void writeHistory(const TempDir& dir, const std::vector<Draw>& draws) {
    dir.writeLines("atarimgrp.txt", historyLines(draws));
}

void writeSyntheticHistory(const TempDir& dir, int draws, unsigned seed) {
    dir.writeLines("atarimgrp.txt", syntheticHistoryLines(draws, seed));
}

void writeMinimalEnvironment(const TempDir& dir) { dir.writeLines("Kazuban.ini", environmentLines()); }

void prepareDataFolder(const TempDir& dir, int draws, unsigned seed) {
    writeSyntheticHistory(dir, draws, seed);
    writeMinimalEnvironment(dir);
}

}  // namespace kazuban::testing
