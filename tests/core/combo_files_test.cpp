#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "app/form1.h"
#include "combos/combination_table.h"
#include "combos/combo_files.h"
#include "output/layouts.h"
#include "platform/line_file.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"

namespace kazuban::combos {
namespace {

using testing::FakePlatform;

class ComboFiles : public ::testing::Test {
protected:
    void SetUp() override {
        testing::prepareDataFolder(dir, 120, 3);
        ASSERT_TRUE(form.Form_Load(dir.str()));
        p.messages.clear();
    }
    void open(const std::string& name, const std::vector<std::string>& lines) {
        p.openAnswers = {dir.writeLines(name, lines).string()};
        form.mnudopen_Click();
    }
    std::string cell(int r, int c = 1) { return form.combinationTable().cell(r, c); }
    std::string combo(int draw) { return form.state().history.entry(draw).substr(0, 14); }

    testing::TempDir dir;
    FakePlatform p;
    app::Form1 form{p};
};

TEST_F(ComboFiles, OpenPlacesLinesEvaluatesAndShowsTheFirstTab) {
    form.state().datadir = "/data";
    form.state().SSTab1 = app::kTabTotals;
    open("c.txt", {combo(120), "", combo(50)});
    EXPECT_EQ(p.openDialogs[0].filter, "ﾃｷｽﾄ(*.txt)|*.txt|全て|*.*");
    EXPECT_EQ(p.openDialogs[0].defaultExtension, "txt");
    EXPECT_EQ(p.openDialogs[0].initialFolder, "/data");
    EXPECT_EQ(cell(2), "");  // an empty line keeps its empty row
    EXPECT_EQ(cell(3), combo(50));
    EXPECT_EQ(form.frame().Label3()[0], "120");
    EXPECT_EQ(form.frame().Label3()[1], " 1");  // row 1 won draw 120
    EXPECT_EQ(form.state().SSTab1, app::kTabWins);

    // Appending after No fills the empty rows from the first one on: a
    // filled row is never written over, and the lines that found no empty
    // row are dropped and counted afterwards, in one message with the lines
    // past the file's 1000th, which are never read.
    p.answers = {platform::kNo};
    std::vector<std::string> lines(1002, " 1, 2, 3, 4, 5");
    lines[997] = " 6, 7, 8, 9,10";
    lines[1001] = "not read";
    open("big.txt", lines);
    EXPECT_EQ(cell(1), combo(120));
    EXPECT_EQ(cell(2), " 1, 2, 3, 4, 5");
    EXPECT_EQ(cell(3), combo(50));
    EXPECT_EQ(cell(1000), " 6, 7, 8, 9,10");
    ASSERT_EQ(p.messages.size(), 2u);
    EXPECT_EQ(p.messages[1].text,
              "1000 行を超えた 2 行は読み込みませんでした。\n2 行は空きがないため追加しませんでした。");
    EXPECT_EQ(p.messages[1].icon, platform::Icon::Exclamation);
}

// The lines past the 1000th that hold text, against a plain split of the
// whole file, over files of every line end, blank lines and a last line with
// or without its end.
TEST(ComboFileLines, TheUnreadLinesAreThoseWithTextPastTheThousandth) {
    testing::TempDir dir;
    std::mt19937 rng(7);
    const char* const ends[] = {"\r\n", "\n", "\r"};
    const char* const texts[] = {"", " \t", "x", " 1, 2, 3, 4, 5", "\x82\xa0"};
    for (int round = 0; round < 120; ++round) {
        const int count = 995 + static_cast<int>(rng() % 12);
        std::string bytes;
        std::vector<std::string> expected;
        bool ended = true;
        for (int i = 0; i < count; ++i) {
            const std::string text = texts[rng() % 5];
            std::string end = ends[rng() % 3];
            // A lone CR, an empty line and an LF would be one CR LF.
            if (text.empty() && end == "\n" && bytes.ends_with("\r")) end = "\r\n";
            expected.push_back(text);
            bytes += text;
            ended = i + 1 < count || rng() % 2 == 0;
            if (ended) bytes += end;
        }
        // A last line that is empty and has no end is no line at all.
        if (!ended && expected.back().empty()) expected.pop_back();
        std::size_t unread = 0;
        for (std::size_t i = kDataRows; i < expected.size(); ++i)
            unread += expected[i].find_first_not_of(" \t") != std::string::npos ? 1 : 0;
        const ComboFileLines read = readCombinationFile(dir.write("c.txt", bytes));
        SCOPED_TRACE(round);
        ASSERT_EQ(read.unread, unread);
        ASSERT_EQ(read.lines.size(), std::min<std::size_t>(expected.size(), kDataRows));
        EXPECT_EQ(read.lines.back(), platform::decodeFileBytes(expected[read.lines.size() - 1]));
    }
    EXPECT_EQ(unreadLinesMessage(3), "1000 行を超えた 3 行は読み込みませんでした。");
}

TEST_F(ComboFiles, OpenRefusalsAndFailures) {
    // Validation stops, but the first tab is shown all the same.
    form.state().SSTab1 = app::kTabPredraw;
    open("bad.txt", {"3,9,14,22,30"});
    EXPECT_EQ(p.messages.back().text, " データ番号 1 に、入力ミスがあります。");
    EXPECT_EQ(form.state().SSTab1, app::kTabWins);

    const std::string missing = dir.file("nothere.txt").string();
    p.answers = {platform::kYes};
    p.openAnswers = {missing};
    form.mnudopen_Click();
    EXPECT_EQ(p.messages.back().text, missing + " は存在しないﾌｧｲﾙです。");
    EXPECT_EQ(p.messages.back().icon, platform::Icon::Exclamation);

    // A file that exists but cannot be read: its error text, nothing placed.
    struct AlwaysThere : FakePlatform {
        bool fileExists(const std::filesystem::path&) override { return true; }
    } q;
    app::Form1 other(q);
    std::filesystem::create_directory(dir.file("folder.txt"));
    q.openAnswers = {dir.file("folder.txt").string()};
    other.mnudopen_Click();
    ASSERT_EQ(q.messages.size(), 1u);
    EXPECT_FALSE(q.messages[0].text.empty());
    EXPECT_EQ(other.wins().hasCombinationData(), 0);
}

TEST_F(ComboFiles, SaveWritesFilledRowsAndKeepsTheOldFileOnFailure) {
    form.mnudsave_Click();  // an empty table: no dialog
    EXPECT_TRUE(p.saveDialogs.empty());
    form.combinationTable().setCell(1, 1, " 1, 2, 3, 4, 5");
    form.combinationTable().setCell(2, 1, " 6, 7, 8, 9,10");
    form.combinationTable().setCell(5, 1, "11,12,13,14,15");
    form.combinationTable().setCell(5, 2, "3=4");
    p.saveAnswers = {dir.file("saved.txt").string()};
    form.mnudsave_Click();
    EXPECT_TRUE(p.saveDialogs[0].confirmOverwrite);
    EXPECT_EQ(dir.read("saved.txt"), " 1, 2, 3, 4, 5\r\n 6, 7, 8, 9,10\r\n11,12,13,14,15\r\n");

    form.combinationTable().setCell(2, 1, "😀");  // cp932 cannot hold it
    p.saveAnswers = {dir.file("saved.txt").string()};
    form.mnudsave_Click();
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_NE(p.messages[0].text.find("😀"), std::string::npos) << p.messages[0].text;
    EXPECT_EQ(dir.read("saved.txt"), " 1, 2, 3, 4, 5\r\n 6, 7, 8, 9,10\r\n11,12,13,14,15\r\n");
    EXPECT_FALSE(form.state().msgIsOne());
}

TEST(LayoutA, RecordsRunToTheFirstEmptyCell) {
    grid::TextGrid t;
    layoutTable(t, 50);
    t.setCell(1, 1, " 1, 2, 3, 4, 5");
    t.setCell(1, 2, "3=4");
    t.setCell(3, 1, "say \"hi\"");
    t.setCell(4, 0, "");  // no row number: nothing at all in the saved CSV
    const std::string print = output::layoutA(t, 2);
    EXPECT_EQ(print.substr(0, 48), "\" 1, 2, 3, 4, 5\",\"3=4\",\"\"\n\"\",\"\"\n\"say \"\"hi\"\"\",\"\"\n");
    EXPECT_EQ(std::count(print.begin(), print.end(), '\n'), 1000);
    const std::string saved = output::layoutA(t, 0);
    EXPECT_EQ(saved.substr(0, 45), "\" 1, 2, 3, 4, 5\",\"3=4\",\"\"\n\"\"\n\"say \"\"hi\"\"\",\"\"\n");
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 999);
}

// Row 1000 is the table's last row, and it is saved like any other: in the
// combination file and in the CSV.
TEST_F(ComboFiles, TheLastRowIsSavedToo) {
    form.combinationTable().setCell(1, 1, " 1, 2, 3, 4, 5");
    form.combinationTable().setCell(999, 1, " 6, 7, 8, 9,10");
    form.combinationTable().setCell(1000, 1, "27,28,29,30,31");
    EXPECT_EQ(tableLines(form.combinationTable()),
              (std::vector<std::string>{" 1, 2, 3, 4, 5", " 6, 7, 8, 9,10", "27,28,29,30,31"}));
    p.saveAnswers = {dir.file("saved.txt").string()};
    form.mnudsave_Click();
    EXPECT_EQ(dir.read("saved.txt"), " 1, 2, 3, 4, 5\r\n 6, 7, 8, 9,10\r\n27,28,29,30,31\r\n");
    const std::string csv = output::layoutA(form.combinationTable(), 0);
    EXPECT_TRUE(csv.ends_with("\" 6, 7, 8, 9,10\",\"\"\n\"27,28,29,30,31\",\"\"\n")) << csv.substr(csv.size() - 60);
}

}  // namespace
}  // namespace kazuban::combos
