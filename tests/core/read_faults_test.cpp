// Every file the program reads, as users' disks hand it over: missing, a
// folder in its place, unreadable, empty, huge, binary, and changed while the
// program runs. Nothing crashes or hangs, each failure is told, and a failed
// reload keeps what the program had.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "app/form1.h"
#include "config/dialog.h"
#include "config/env_file.h"
#include "history/draw_history.h"
#include "platform/line_file.h"
#include "platform/system.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"
#include "support/os.h"
#include "text/app_error.h"

namespace kazuban::app {
namespace {

namespace fs = std::filesystem;
using testing::FakePlatform;
using testing::TempDir;

constexpr const char* kHistoryGone = "atarimgrp.txt ﾌｧｲﾙを Kazuban と同じﾌｫﾙﾀﾞｰに置いて下さい";
constexpr std::size_t kHuge = 100u << 20;

void writeBytes(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

// A 100 MB file made once per run by repeating a block.
fs::path hugeFile(const char* name, const std::string& block) {
    static TempDir store;
    const fs::path p = store.path() / name;
    if (!fs::exists(p)) {
        std::ofstream out(p, std::ios::binary);
        for (std::size_t n = 0; n < kHuge; n += block.size()) out << block;
    }
    return p;
}

// About 3.4 million well-formed draw lines.
fs::path hugeDraws() {
    std::string block;
    for (const auto& l : testing::syntheticHistoryLines(20000, 5)) block += platform::encodeCp932(l) + "\r\n";
    return hugeFile("draws.txt", block);
}

// One line of 100 MB.
fs::path hugeLine() { return hugeFile("line.txt", std::string(1 << 20, '7')); }

// The ways a file can reach the program. Each puts its file at `p`.
struct Shape {
    const char* name;
    std::function<void(const fs::path&)> put;
};

std::string randomBytes(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(rng() & 0xFF);
    return s;
}

void linkOrCopy(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::remove(to, ec);
    fs::create_hard_link(from, to, ec);
    if (ec) fs::copy_file(from, to);
}

const Shape kMissing{"missing", [](const fs::path& p) { fs::remove_all(p); }};
const Shape kFolder{"folder", [](const fs::path& p) {
                        fs::remove_all(p);
                        fs::create_directory(p);
                        writeBytes(p / "inside.txt", " 1, 2, 3, 4, 5\r\n");
                    }};
const Shape kEmpty{"empty", [](const fs::path& p) { writeBytes(p, ""); }};
const Shape kHugeDraws{"100 MB of draws", [](const fs::path& p) { linkOrCopy(hugeDraws(), p); }};
const Shape kHugeLine{"one 100 MB line", [](const fs::path& p) { linkOrCopy(hugeLine(), p); }};
const Shape kRandom{"random bytes", [](const fs::path& p) { writeBytes(p, randomBytes(1 << 16, 3)); }};
const Shape kNul{"NUL bytes", [](const fs::path& p) {
                     writeBytes(p, std::string("\0\0=\0\r\n", 6) + std::string(4096, '\0') +
                                       "\r\n第2回= 1, 2, 3,\0 5, 6\r\n");
                 }};
const Shape kUnreadable{"unreadable", [](const fs::path& p) {
                            writeBytes(p, " 1, 2, 3, 4, 5\r\n");
                            fs::permissions(p, fs::perms::none);
                        }};

std::vector<Shape> shapes() {
    std::vector<Shape> out{kMissing, kFolder, kEmpty, kHugeDraws, kHugeLine, kRandom, kNul};
    if (testing::rightsBindThisUser()) out.push_back(kUnreadable);
    return out;
}

bool is(const Shape& s, const Shape& which) { return std::string(s.name) == which.name; }

// Bytes read from files while `action` runs: a reader that stops early
// reads little of a huge file, however slow the machine.
unsigned long long bytesReadBy(const std::function<void()>& action) {
    const unsigned long long before = platform::bytesReadFromFiles();
    action();
    return platform::bytesReadFromFiles() - before;
}

unsigned long long sizeOf(const fs::path& p) {
    std::error_code ec;
    const auto n = fs::is_regular_file(p, ec) ? fs::file_size(p, ec) : 0;
    return ec ? 0 : n;
}

constexpr unsigned long long kMegabyte = 1u << 20;

// Runs what a user does next with whatever history was loaded.
void useEverything(Form1& f) {
    f.combinationTable().setCell(1, 1, " 1, 2, 3, 4, 5");
    f.Command5_Click();
    for (int tab : {kTabTotals, kTabMarkSheet, kTabLinks, kTabPredraw, kTabWins}) {
        f.SSTab1_Click(tab);
    }
    f.MSFlexGrid3_Click();
    f.pmnuprt_click();
    f.pmnuprt2_click();
    f.pmnuprt3_click();
    f.HScroll1_Change(f.frame().HScroll1().value);
    f.mnu5mk_Click();
}

TEST(ReadFaults, ReadersTakeOnlyTheLinesTheyUse) {
    TempDir dir;
    using Lines = std::vector<std::string>;
    // A CR LF split between two reads of the file is one line end.
    const std::string a(65535, 'a');
    const fs::path p = dir.write("split.txt", a + "\r\nb\r\n\r\n \t\n");
    auto first = platform::readFirstLines(p, 1);
    EXPECT_EQ(first.lines, Lines{a});
    EXPECT_FALSE(first.restIsBlank);
    first = platform::readFirstLines(p, 2);
    EXPECT_EQ(first.lines, (Lines{a, "b"}));
    EXPECT_TRUE(first.restIsBlank);
    EXPECT_EQ(platform::readFirstLines(p, 9).lines, (Lines{a, "b", "", " \t"}));
    EXPECT_EQ(platform::readFirstLines(dir.write("lf.txt", "x\ny\rz"), 2).lines, (Lines{"x", "y"}));
    // The encoding is judged on the lines read: a cp932 tail does not change them.
    EXPECT_EQ(platform::readFirstLines(dir.write("mixed.txt", "第1回\r\n\x82\xA0"), 1).lines, Lines{"第1回"});
    // A line far too long keeps its first part, cut between characters.
    const std::string longLine = "あ" + std::string(text::kMaxLineBytes, 'x');
    first = platform::readFirstLines(dir.write("long.txt", longLine + "\r\nnext"), 5);
    ASSERT_EQ(first.lines.size(), 2u);
    EXPECT_EQ(first.lines[0], longLine.substr(0, text::kMaxLineBytes));
    const std::string straddling = std::string(text::kMaxLineBytes - 2, 'x') + "あyy";
    EXPECT_EQ(platform::readFirstLines(dir.write("cut.txt", straddling), 1).lines[0],
              straddling.substr(0, text::kMaxLineBytes - 2));

    // The history takes 32,767 draws and blank lines after them, not one draw more.
    auto lines = testing::syntheticHistoryLines(history::kMaxDraws, 2);
    lines.push_back("");
    lines.push_back("  ");
    dir.writeLines("atarimgrp.txt", lines);
    EXPECT_EQ(history::readWinningNumbers(dir.file("atarimgrp.txt")).history.maxn(), history::kMaxDraws);
    lines.push_back("第32768回= 1, 2, 3, 4, 5, 6");
    dir.writeLines("atarimgrp.txt", lines);
    EXPECT_THROW(history::readWinningNumbers(dir.file("atarimgrp.txt")), AppError);
}

TEST(ReadFaults, HistoryAtStartUp) {
    for (const Shape& shape : shapes()) {
        SCOPED_TRACE(shape.name);
        TempDir dir;
        testing::writeMinimalEnvironment(dir);
        shape.put(dir.file("atarimgrp.txt"));
        FakePlatform fake;
        Form1 f(fake);
        bool started = false;
        const auto read = bytesReadBy([&] { started = f.Form_Load(dir.str()); });
        // Each file is read once at most; more draws than the program takes end the reading.
        EXPECT_LE(read, sizeOf(dir.file("atarimgrp.txt")) + sizeOf(dir.file("Kazuban.ini")));
        if (is(shape, kHugeDraws)) {
            EXPECT_LT(read, 4 * kMegabyte);
        }
        if (is(shape, kMissing) || is(shape, kFolder)) {
            EXPECT_FALSE(started);
            EXPECT_EQ(fake.messageTexts(),
                      std::vector<std::string>{missingDataFileMessage("atarimgrp.txt", dir.path())});
        } else if (is(shape, kEmpty) || is(shape, kHugeDraws) || is(shape, kUnreadable)) {
            EXPECT_FALSE(started);
            ASSERT_EQ(fake.messages.size(), 1u);
            if (is(shape, kHugeDraws)) {
                EXPECT_NE(fake.messages[0].text.find("第32767回まで"), std::string::npos);
            }
        } else {
            // Junk is read as draws that count for nothing; the program works on.
            ASSERT_TRUE(started);
            EXPECT_EQ(f.state().tdataon, 1);
            useEverything(f);
            EXPECT_FALSE(f.closeRequested());
            if (is(shape, kHugeLine)) {
                EXPECT_EQ(f.state().maxn, 0);
                EXPECT_EQ(f.state().history.entry(0).size(), text::kMaxLineBytes);
            }
        }
    }
}

TEST(ReadFaults, HistoryReloadKeepsWhatItHadWhenTheFileFails) {
    TempDir dir;
    testing::prepareDataFolder(dir, 60, 8);
    const std::string good = dir.read("atarimgrp.txt");
    FakePlatform fake;
    Form1 f(fake);
    ASSERT_TRUE(f.Form_Load(dir.str()));
    f.combinationTable().setCell(1, 1, f.state().history.entry(60).substr(0, 14));
    f.wins().recalculateCombinationTable();
    ASSERT_EQ(f.combinationTable().cell(1, 2), "60=1");

    for (const Shape& shape : shapes()) {
        SCOPED_TRACE(shape.name);
        fake.messages.clear();
        shape.put(dir.file("atarimgrp.txt"));
        f.HScroll1_Change(f.frame().HScroll1().value);
        f.wins().recalculateCombinationTable();
        EXPECT_FALSE(f.closeRequested());
        const bool fails = !(is(shape, kHugeLine) || is(shape, kRandom) || is(shape, kNul));
        if (fails) {
            // Told at each reload; the history, the table and its entries stay.
            ASSERT_EQ(fake.messages.size(), 2u);
            EXPECT_EQ(fake.messages[1].text, kHistoryGone);
            EXPECT_EQ(f.state().maxn, 60);
            EXPECT_EQ(f.combinationTable().cell(1, 2), "60=1");
            EXPECT_EQ(f.frame().HScroll1().max, 60);
        }
        // Back to the good file: everything works as before.
        fs::remove_all(dir.file("atarimgrp.txt"));
        writeBytes(dir.file("atarimgrp.txt"), good);
        f.wins().recalculateCombinationTable();
        EXPECT_EQ(f.state().maxn, 60);
        EXPECT_EQ(f.combinationTable().cell(1, 2), "60=1");
    }
}

TEST(ReadFaults, DrawsAddedWhileRunningAreSeen) {
    TempDir dir;
    testing::prepareDataFolder(dir, 69, 8);
    FakePlatform fake;
    Form1 f(fake);
    ASSERT_TRUE(f.Form_Load(dir.str()));
    const std::string combo = " 4,11,17,23,29";
    f.combinationTable().setCell(1, 1, combo);
    f.wins().recalculateCombinationTable();
    const int entries = f.combinationTable().storedCells(1);

    // The user adds draws 70 and 71 in the editor; 71 is the combination
    // itself, and the history now needs one more win-entry column.
    std::ofstream(dir.file("atarimgrp.txt"), std::ios::binary | std::ios::app)
        << "70= 1, 2, 3, 5, 6, 7\r\n71=" << combo << ",30\r\n";
    f.HScroll1_Change(1);
    EXPECT_EQ(f.state().maxn, 71);
    EXPECT_EQ(f.frame().HScroll1().max, 71);
    EXPECT_EQ(f.frame().Label1(), "第71回:" + combo + ",30");

    f.wins().recalculateCombinationTable();
    EXPECT_EQ(f.combinationTable().storedCells(1), entries + 1);
    EXPECT_EQ(f.combinationTable().cell(1, entries), "71=1");
    EXPECT_EQ(f.combinationTable().cols(), 71 / 10 + 21);
    EXPECT_EQ(f.combinationTable().cell(0, 27), "26");
    f.HScroll1_Change(f.frame().HScroll1().value);
    EXPECT_EQ(f.frame().Label3()[1], " 1");  // the combination won grade 1 in draw 71
    EXPECT_TRUE(fake.messages.empty());
}

TEST(ReadFaults, EnvironmentFileAtStartUpAndInTheDialog) {
    for (const Shape& shape : shapes()) {
        SCOPED_TRACE(shape.name);
        TempDir dir;
        testing::writeSyntheticHistory(dir, 30, 4);
        shape.put(dir.file("Kazuban.ini"));
        FakePlatform fake;
        Form1 f(fake);
        bool started = false;
        const auto read = bytesReadBy([&] { started = f.Form_Load(dir.str()); });
        // The environment file's lines after the 21st are never read.
        EXPECT_LE(read, sizeOf(dir.file("atarimgrp.txt")) + sizeOf(dir.file("Kazuban.ini")));
        if (is(shape, kHugeDraws)) {
            EXPECT_LT(read, kMegabyte);
        }
        if (is(shape, kMissing) || is(shape, kFolder)) {
            EXPECT_FALSE(started);
            EXPECT_EQ(fake.messageTexts(), std::vector<std::string>{missingDataFileMessage("Kazuban.ini", dir.path())});
        } else if (!is(shape, kUnreadable)) {
            ASSERT_TRUE(started);
            EXPECT_TRUE(fake.messages.empty());
            EXPECT_LE(f.state().editdir.size(), text::kMaxLineBytes);
            if (is(shape, kHugeDraws)) {
                EXPECT_EQ(f.state().editdir, testing::makeDrawText(testing::syntheticDraws(1, 5)[0]));
                EXPECT_EQ(f.links().controls().Text1[8],
                          "第13回=" + testing::makeDrawText(testing::syntheticDraws(13, 5)[12]));
            }
            f.SSTab1_Click(kTabLinks);
        }

        // The settings dialog reads the same file.
        fake.messages.clear();
        config::Dialog d(fake);
        d.Form_Load(dir.str());
        const bool unreadable = is(shape, kMissing) || is(shape, kFolder) || is(shape, kUnreadable);
        EXPECT_EQ(fake.messages.size(), unreadable ? 1u : 0u);
        if (unreadable) {
            EXPECT_EQ(d.Text1, config::exampleEditorPath());
        } else if (is(shape, kEmpty)) {
            EXPECT_EQ(d.Text1, "");
        }
        EXPECT_FALSE(d.closed);
    }
}

TEST(ReadFaults, CombinationFiles) {
    TempDir data;
    testing::prepareDataFolder(data, 60, 8);
    for (const Shape& shape : shapes()) {
        SCOPED_TRACE(shape.name);
        FakePlatform fake;
        Form1 f(fake);
        ASSERT_TRUE(f.Form_Load(data.str()));
        const fs::path file = data.file("combos.txt");
        shape.put(file);
        fake.openAnswers.push_back(file.string());
        const auto read = bytesReadBy([&] { f.mnudopen_Click(); });
        // The file once at most (its first 1000 lines kept, the later ones
        // only counted) and the history once.
        EXPECT_LE(read, sizeOf(file) + sizeOf(data.file("atarimgrp.txt")));
        EXPECT_FALSE(f.closeRequested());
        if (is(shape, kMissing) || is(shape, kFolder)) {
            EXPECT_EQ(fake.messageTexts(), std::vector<std::string>{file.string() + " は存在しないﾌｧｲﾙです。"});
        } else if (is(shape, kEmpty) || is(shape, kUnreadable)) {
            EXPECT_EQ(f.wins().hasCombinationData(), 0);
            EXPECT_EQ(fake.messages.size(), is(shape, kEmpty) ? 0u : 1u);
        } else {
            // Junk rows are kept as read and named by the input check; the
            // lines past the 1000th are counted (every draw line holds text).
            EXPECT_EQ(fake.messages.size(), is(shape, kHugeDraws) ? 2u : 1u);
            EXPECT_NE(fake.messages.at(0).text.find("入力ミス"), std::string::npos);
            if (is(shape, kHugeDraws)) {
                EXPECT_FALSE(f.combinationTable().cell(1000, 1).empty());
                std::ifstream in(file, std::ios::binary);
                const auto lines = std::count(std::istreambuf_iterator<char>(in), {}, '\n');
                EXPECT_EQ(fake.messages.at(1).text,
                          "1000 行を超えた " + std::to_string(lines - 1000) + " 行は読み込みませんでした。");
            }
            if (is(shape, kHugeLine)) {
                EXPECT_EQ(f.combinationTable().cell(1, 1).size(), text::kMaxLineBytes);
            }
            useEverything(f);
            EXPECT_FALSE(f.closeRequested());
        }
        fs::remove_all(file);
    }
}

}  // namespace
}  // namespace kazuban::app
