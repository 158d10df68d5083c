// Undo and redo of the combination table, and the commands that must not
// lose the user's rows.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/form1.h"
#include "combos/combination_table.h"
#include "combos/undo_history.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"

namespace kazuban::combos {
namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST(UndoHistory, OneStepPerOutermostCommandAndABoundedDepth) {
    grid::TextGrid t;
    layoutTable(t, 50);
    UndoHistory h(3);
    {
        UndoStep outer(h, t);
        t.setCell(1, 1, "a");
        UndoStep inner(h, t);  // a handler the command calls
        t.setCell(2, 1, "b");
    }
    EXPECT_EQ(h.undoSteps(), 1u);
    { UndoStep nothing(h, t); }
    t.setCell(5, 2, "3=4");  // a win entry is no step of its own
    {
        UndoStep entriesOnly(h, t);
        t.setCell(5, 3, "9=4");
    }
    EXPECT_EQ(h.undoSteps(), 1u);

    for (const char* text : {"c", "d", "e"}) {
        UndoStep s(h, t);
        t.setCell(3, 1, text);
    }
    EXPECT_EQ(h.undoSteps(), 3u);  // the oldest step went
    ASSERT_TRUE(h.undo(t));
    EXPECT_EQ(t.cell(3, 1), "d");
    ASSERT_TRUE(h.undo(t));
    ASSERT_TRUE(h.undo(t));
    EXPECT_EQ(t.cell(3, 1), "");
    EXPECT_EQ(t.cell(1, 1), "a");
    EXPECT_EQ(t.cell(5, 2), "3=4");
    EXPECT_FALSE(h.undo(t));
    ASSERT_TRUE(h.redo(t));
    EXPECT_EQ(t.cell(3, 1), "c");
    EXPECT_TRUE(h.canRedo());
    {
        UndoStep s(h, t);
        t.setCell(4, 1, "new");
    }
    EXPECT_FALSE(h.canRedo());  // a new change ends the redo path
}

class UndoCommands : public ::testing::Test {
protected:
    void SetUp() override {
        testing::prepareDataFolder(dir, 150, 9);
        ASSERT_TRUE(form.Form_Load(dir.str()));
        // Rows 1, 2, 4 and 5 filled, row 3 a gap, all evaluated.
        for (int r : {1, 2, 4, 5}) g().setCell(r, 1, combo(150 - 7 * r));
        g().setCell(5, 1, " 5,31,12, 3,20");
        form.Command5_Click();
        p.messages.clear();
    }
    grid::TextGrid& g() { return form.combinationTable(); }
    std::string combo(int draw) { return form.state().history.entry(draw).substr(0, 14); }
    // Columns 1 .. the last win-entry column of every data row.
    Rows rows() {
        Rows out;
        for (int r = 1; r <= kDataRows; ++r) {
            std::vector<std::string> row;
            for (int c = 1; c <= form.wins().winEntryLastColumn(); ++c) row.push_back(g().cell(r, c));
            out.push_back(std::move(row));
        }
        return out;
    }
    testing::TempDir dir;
    testing::FakePlatform p;
    app::Form1 form{p};
};

TEST_F(UndoCommands, EveryKindOfChangeIsOneStepThatComesBackExactly) {
    const std::string file = dir.writeLines("c.txt", {combo(20), combo(30), "3,9,14,22,30"}).string();
    struct Case {
        const char* name;
        std::function<void()> command;
    };
    const std::vector<Case> cases = {
        {"load after Yes",
         [&] {
             p.answers = {platform::kYes};
             p.openAnswers = {file};
             form.mnudopen_Click();
         }},
        {"load after No",
         [&] {
             p.answers = {platform::kNo};
             p.openAnswers = {file};
             form.mnudopen_Click();
         }},
        {"paste",
         [&] {
             p.clipboard = combo(40) + "\r\n" + combo(41) + "\r\n";
             g().setRow(2);
             form.pmnupaste_click();
         }},
        {"delete",
         [&] {
             g().setRow(1);
             g().setRowSel(2);
             form.pmnudelete_click();
         }},
        {"generation",
         [&] {
             p.answers = {platform::kNo};
             form.mnu10mk_Click();
         }},
        {"data sort", [&] { form.Command3_Click(); }},
        {"sort by pair rate",
         [&] {
             form.SSTab1_Click(app::kTabTotals);
             form.psmnu7_click();
         }},
        {"sort by text",
         [&] {
             form.SSTab1_Click(app::kTabTotals);
             form.psmnu1_click();
         }},
        {"all clear",
         [&] {
             p.answers = {platform::kOk};
             form.Command6_Click();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form.state().SSTab1 = app::kTabWins;
        const Rows before = rows();
        const TableTexts beforeTexts = tableTexts(g());
        const std::size_t steps = form.state().undoHistory.undoSteps();
        c.command();
        const TableTexts after = tableTexts(g());
        ASSERT_NE(after, beforeTexts);
        EXPECT_EQ(form.state().undoHistory.undoSteps(), steps + 1);

        form.mnuundo_Click();
        EXPECT_EQ(rows(), before);  // texts and their win entries as "￥" gives them
        EXPECT_TRUE(form.state().undoHistory.canRedo());
        form.mnuredo_Click();
        EXPECT_EQ(tableTexts(g()), after);
        form.mnuundo_Click();
        EXPECT_EQ(rows(), before);
    }
}

TEST_F(UndoCommands, KeepsAtLeastAHundredSteps) {
    std::vector<TableTexts> states{tableTexts(g())};
    for (int i = 0; i < 120; ++i) {
        p.clipboard = combo(10 + i % 100) + "\r\n";
        g().setRow(1 + i % 7);
        form.pmnupaste_click();
        states.push_back(tableTexts(g()));
    }
    for (int i = 0; i < 100; ++i) form.mnuundo_Click();
    EXPECT_EQ(tableTexts(g()), states[20]);
    for (int i = 0; i < 100; ++i) form.mnuredo_Click();
    EXPECT_EQ(tableTexts(g()), states[120]);
}

TEST_F(UndoCommands, UndoingToAnInvalidRowNamesItAsTheCheckDoes) {
    p.clipboard = "3,9,14,22,30\r\n";
    g().setRow(3);
    form.pmnupaste_click();
    form.Command5_Click();  // refused: the row is invalid
    p.messages.clear();
    g().setRow(3);
    g().setRowSel(3);
    form.pmnudelete_click();
    form.mnuundo_Click();
    EXPECT_EQ(g().cell(3, 1), " 3,9,14,22,30");  // as the paste left it
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].text, " データ番号 3 に、入力ミスがあります。");
}

// ---- no lost work -------------------------------------------------------------

TEST_F(UndoCommands, LoadingEmptiesTheTableOnlyOnceTheFileIsRead) {
    const Rows before = rows();
    // Yes, then the dialog cancelled; Yes, then a missing file.
    p.answers = {platform::kYes};
    form.mnudopen_Click();
    EXPECT_EQ(rows(), before);
    const std::string missing = dir.file("nothere.txt").string();
    p.answers = {platform::kYes};
    p.openAnswers = {missing};
    form.mnudopen_Click();
    EXPECT_EQ(p.messages.back().text, missing + " は存在しないﾌｧｲﾙです。");
    EXPECT_EQ(rows(), before);
    EXPECT_FALSE(form.state().undoHistory.canUndo());

    // A file that exists but cannot be read (a folder reported as a file).
    struct AlwaysThere : testing::FakePlatform {
        bool fileExists(const std::filesystem::path&) override { return true; }
    } q;
    app::Form1 other(q);
    ASSERT_TRUE(other.Form_Load(dir.str()));
    other.combinationTable().setCell(1, 1, combo(150));
    other.combinationTable().setCell(1, 2, "stale");
    std::filesystem::create_directory(dir.file("folder.txt"));
    q.answers = {platform::kYes};
    q.openAnswers = {dir.file("folder.txt").string()};
    other.mnudopen_Click();
    EXPECT_EQ(other.combinationTable().cell(1, 1), combo(150));

    // After No the command goes on: the recalculation and the tab switch run.
    other.state().SSTab1 = app::kTabPredraw;
    q.answers = {platform::kNo};
    q.openAnswers = {dir.file("folder.txt").string()};
    q.messages.clear();
    other.mnudopen_Click();
    ASSERT_EQ(q.messages.size(), 2u);  // the question and the read error
    EXPECT_EQ(other.combinationTable().cell(1, 1), combo(150));
    int last = 2;  // the entries were computed again: the row won draw 150 last
    while (!other.combinationTable().cell(1, last + 1).empty()) ++last;
    EXPECT_EQ(other.combinationTable().cell(1, last), "150=1");
    EXPECT_EQ(other.state().SSTab1, app::kTabWins);
    EXPECT_EQ(other.frame().Label3()[0], "150");
}

TEST_F(UndoCommands, DataSortRefusesAnUnreadableRowAndChangesNothing) {
    g().setCell(3, 1, "3,9,14,22,30");
    const Rows before = rows();
    form.Command3_Click();
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].text, " データ番号 3 に、入力ミスがあります。");
    EXPECT_EQ(p.messages[0].icon, platform::Icon::Critical);
    EXPECT_EQ(rows(), before);
    EXPECT_FALSE(form.state().undoHistory.canUndo());
}

}  // namespace
}  // namespace kazuban::combos
