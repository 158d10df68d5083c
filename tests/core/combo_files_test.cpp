#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/form1.h"
#include "combos/combination_table.h"
#include "output/layouts.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"
#include "text/app_error.h"
#include "text/line_file.h"

namespace kazuban::combos {
namespace {

using testing::FakePlatform;
using testing::TempDir;

class ComboFiles : public ::testing::Test {
protected:
    void SetUp() override {
        testing::prepareDataFolder(dir, 120, 3);
        ASSERT_TRUE(form.Form_Load(dir.str()));
        p.messages.clear();
    }
    std::string cell(int r, int c = 1) { return form.MSFlexGrid1.cell(r, c); }
    std::string combo(int draw) { return form.history.entry(draw).substr(0, 14); }
    bool rowHas(int r, const std::string& entry) {
        for (int c = 2; !cell(r, c).empty(); ++c)
            if (cell(r, c) == entry) return true;
        return false;
    }

    TempDir dir;
    FakePlatform p;
    app::Form1 form{p};
};

TEST_F(ComboFiles, OpenFillsEvaluatesAndShowsTheFirstTab) {
    const auto file = dir.writeLines("c.txt", {combo(100), "", combo(50)});
    form.datadir = "/data";
    form.SSTab1 = app::kTabTotals;
    p.openAnswers = {file.string()};
    form.mnudopen_Click();
    ASSERT_EQ(p.openDialogs.size(), 1u);
    EXPECT_EQ(p.openDialogs[0].filter, "ﾃｷｽﾄ(*.txt)|*.txt|全て|*.*");
    EXPECT_EQ(p.openDialogs[0].defaultExtension, "txt");
    EXPECT_EQ(p.openDialogs[0].initialFolder, "/data");
    EXPECT_EQ(cell(1), combo(100));
    EXPECT_EQ(cell(2), "");   // an empty line keeps its empty row
    EXPECT_EQ(cell(3), combo(50));
    EXPECT_TRUE(rowHas(1, "100=1"));
    EXPECT_TRUE(rowHas(3, "50=1"));
    EXPECT_EQ(form.Label3[0], "120");
    EXPECT_EQ(form.SSTab1, app::kTabWins);
    EXPECT_TRUE(p.messages.empty());
}

TEST_F(ComboFiles, OpenDropsLinesPastTheLastRowAndAppendsAfterNo) {
    std::vector<std::string> lines(1200, " 1, 2, 3, 4, 5");
    lines[999] = " 6, 7, 8, 9,10";
    p.openAnswers = {dir.writeLines("big.txt", lines).string()};
    form.mnudopen_Click();
    EXPECT_EQ(cell(1000), " 6, 7, 8, 9,10");
    EXPECT_TRUE(p.messages.empty());

    // Rows 1..40 filled, the answer No: the file goes to row 41 on.
    p.answers = {platform::kYes};
    p.openAnswers = {dir.writeLines("40.txt", std::vector<std::string>(40, " 1, 2, 3, 4, 5")).string()};
    form.mnudopen_Click();
    EXPECT_EQ(cell(41), "");
    p.answers = {platform::kNo};
    p.openAnswers = {dir.writeLines("one.txt", {"11,12,13,14,15"}).string()};
    form.mnudopen_Click();
    EXPECT_EQ(cell(40), " 1, 2, 3, 4, 5");
    EXPECT_EQ(cell(41), "11,12,13,14,15");
}

TEST_F(ComboFiles, OpenStillSwitchesTabsWhenValidationStops) {
    form.MSFlexGrid1.setCell(1, 1, combo(5));
    form.MSFlexGrid1.setCell(1, 2, "120=1");
    form.SSTab1 = app::kTabPredraw;
    p.answers = {platform::kNo};
    p.openAnswers = {dir.writeLines("bad.txt", {"3,9,14,22,30"}).string()};
    form.mnudopen_Click();
    ASSERT_EQ(p.messages.size(), 2u);
    EXPECT_EQ(p.messages[1].text, " データ番号 2 に、入力ミスがあります。");
    EXPECT_EQ(form.SSTab1, app::kTabWins);
    EXPECT_EQ(form.Label3[1], " 1");   // the old entries count
}

TEST_F(ComboFiles, OpenCancelMissingAndUnreadableFiles) {
    form.mnudopen_Click();   // Cancel in the dialog
    EXPECT_EQ(form.hasCombinationData(), 0);
    EXPECT_TRUE(p.messages.empty());

    const std::string missing = dir.file("nothere.txt").string();
    p.openAnswers = {missing};
    form.mnudopen_Click();
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].text, missing + " は存在しないﾌｧｲﾙです。");
    EXPECT_EQ(p.messages[0].icon, platform::Icon::Exclamation);

    // A folder where a file is expected exists but cannot be read as one.
    std::filesystem::create_directory(dir.file("folder.txt"));
    struct ExistsPlatform : FakePlatform {
        bool fileExists(const std::string&) override { return true; }
    } q;
    app::Form1 other(q);
    q.openAnswers = {dir.file("folder.txt").string()};
    other.mnudopen_Click();
    ASSERT_EQ(q.messages.size(), 1u);
    EXPECT_FALSE(q.messages[0].text.empty());
    EXPECT_EQ(other.hasCombinationData(), 0);
}

TEST_F(ComboFiles, SaveWritesTheFilledRowsOnly) {
    form.mnudsave_Click();   // empty table: no dialog at all
    EXPECT_TRUE(p.saveDialogs.empty());

    form.MSFlexGrid1.setCell(1, 1, " 1, 2, 3, 4, 5");
    form.MSFlexGrid1.setCell(2, 1, " 6, 7, 8, 9,10");
    form.MSFlexGrid1.setCell(5, 1, "11,12,13,14,15");
    form.MSFlexGrid1.setCell(5, 2, "3=4");
    form.datadir = dir.str();
    const auto file = dir.file("saved.txt");
    p.saveAnswers = {file.string()};
    form.mnudsave_Click();
    ASSERT_EQ(p.saveDialogs.size(), 1u);
    EXPECT_TRUE(p.saveDialogs[0].confirmOverwrite);
    EXPECT_EQ(p.saveDialogs[0].initialFolder, dir.str());
    EXPECT_EQ(dir.read("saved.txt"), " 1, 2, 3, 4, 5\r\n 6, 7, 8, 9,10\r\n11,12,13,14,15\r\n");

    // Loading that file into an empty table fills rows 1..3.
    p.answers = {platform::kYes};
    p.openAnswers = {file.string()};
    form.mnudopen_Click();
    EXPECT_EQ(form.MSFlexGrid1.cell(3, 1), "11,12,13,14,15");
    EXPECT_EQ(form.MSFlexGrid1.cell(5, 1), "");
}

TEST_F(ComboFiles, FailedSaveSaysWhyAndKeepsTheOldFile) {
    dir.write("keep.txt", "old\r\n");
    form.MSFlexGrid1.setCell(1, 1, " 1, 2, 3, 4, 5");
    form.MSFlexGrid1.setCell(2, 1, "😀");   // cp932 cannot hold it
    p.saveAnswers = {dir.file("keep.txt").string()};
    form.mnudsave_Click();
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_NE(p.messages[0].text.find("😀"), std::string::npos) << p.messages[0].text;
    EXPECT_EQ(dir.read("keep.txt"), "old\r\n");
    EXPECT_FALSE(form.msgIsOne());

    // A folder that does not exist.
    form.MSFlexGrid1.setCell(2, 1, "");
    p.saveAnswers = {dir.file("no/such/folder.txt").string()};
    form.mnudsave_Click();
    EXPECT_EQ(p.messages.size(), 2u);
}

}  // namespace
}  // namespace kazuban::combos

namespace kazuban::output {
namespace {

TEST(LayoutA, RecordsRunToTheFirstEmptyCell) {
    grid::TextGrid t;
    combos::layoutTable(t, 50);
    t.setCell(1, 1, " 1, 2, 3, 4, 5");
    t.setCell(1, 2, "3=4");
    t.setCell(1, 3, "40=2");
    t.setCell(3, 1, "say \"hi\"");
    t.setCell(4, 0, "");   // no row number: nothing at all for the saved CSV
    const std::string print = layoutA(t, 2);
    EXPECT_EQ(print.substr(0, 44), "\" 1, 2, 3, 4, 5\",\"3=4\",\"40=2\",\"\"\n\"\",\"\"\n\"say ");
    EXPECT_NE(print.find("\n\"say \"\"hi\"\"\",\"\"\n"), std::string::npos);   // a quote is doubled
    EXPECT_EQ(std::count(print.begin(), print.end(), '\n'), 1000);

    const std::string saved = layoutA(t, 0);
    EXPECT_EQ(saved.substr(0, 41), "\" 1, 2, 3, 4, 5\",\"3=4\",\"40=2\",\"\"\n\"\"\n\"say ");
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 999);
    EXPECT_EQ(withFinalCrLf("a\n"), "a\n\r\n");
}

}  // namespace
}  // namespace kazuban::output
