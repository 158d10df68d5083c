// "◇編集": undo and redo of the combination table through the menu and the
// keys, the commands that must not lose rows, and the right press that
// selects the row it lands on.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "combos/undo_history.h"
#include "support/os.h"
#include "ui/flex_grid.h"
#include "ui/grid_model.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

class Edit : public WindowTest {
protected:
    void key(int k, Qt::KeyboardModifiers mods) { QTest::keyClick(window.get(), Qt::Key(k), mods); }
    combos::TableTexts texts() const { return combos::tableTexts(form->combinationTable()); }
    QAction* action(const char* name) { return find<QAction>(QLatin1String(name)); }
};

TEST_F(Edit, UndoAndRedoFollowEveryKindOfChangeThroughMenuAndKeys) {
    copyDemo();
    ASSERT_TRUE(start());
    EXPECT_FALSE(action("mnuundo")->isEnabled());
    EXPECT_FALSE(action("mnuredo")->isEnabled());
    EXPECT_EQ(action("mnuundo")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_EQ(action("mnuredo")->shortcuts(), QList<QKeySequence>({QKeySequence(QStringLiteral("Ctrl+Y")),
                                                                   QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));

    loadSampleCombinations();
    const combos::TableTexts loaded = texts();
    const QString firstEntry = cell("MSFlexGrid1", 1, 2);
    ASSERT_FALSE(firstEntry.isEmpty());
    EXPECT_TRUE(action("mnuundo")->isEnabled());
    trigger(QStringLiteral("mnuundo"));
    EXPECT_EQ(cell("MSFlexGrid1", 1, 1), QString());
    EXPECT_FALSE(action("mnuundo")->isEnabled());
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(texts(), loaded);
    EXPECT_EQ(cell("MSFlexGrid1", 1, 2), firstEntry);  // evaluated again

    // Each command, then Ctrl+Z: the texts come back and so do their entries.
    struct Step {
        const char* name;
        std::function<void()> run;
    };
    const std::vector<Step> steps = {
        {"paste",
         [&] {
             QGuiApplication::clipboard()->setText(QStringLiteral(" 1, 2, 3, 4, 5\r\n"));
             press("MSFlexGrid1", Qt::LeftButton, 2, 1);
             popupChoices = {QStringLiteral("pmnupaste")};
             press("MSFlexGrid1", Qt::RightButton, 2, 1);
         }},
        {"delete",
         [&] {
             popupChoices = {QStringLiteral("pmnudelete")};
             press("MSFlexGrid1", Qt::RightButton, 4, 1);
         }},
        {"generation",
         [&] {
             platform.answers = {platform::kNo};
             trigger(QStringLiteral("mnu5mk"));
         }},
        {"data sort", [&] { find<QPushButton>(QStringLiteral("Command3"))->click(); }},
        {"sort of tab 1",
         [&] {
             selectTab(1);
             popupChoices = {QStringLiteral("psmnu8")};
             press("MSFlexGrid2", Qt::RightButton, 1, 1);
         }},
        {"all clear",
         [&] {
             platform.answers = {platform::kOk};
             find<QPushButton>(QStringLiteral("Command6"))->click();
         }},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        selectTab(0);
        const combos::TableTexts before = texts();
        QStringList entries;
        for (int r = 1; r <= 30; ++r) entries << cell("MSFlexGrid1", r, 2);
        s.run();
        ASSERT_NE(texts(), before);
        const int tab = form->state().SSTab1;
        key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(texts(), before);
        QStringList after;
        for (int r = 1; r <= 30; ++r) after << cell("MSFlexGrid1", r, 2);
        EXPECT_EQ(after, entries);
        EXPECT_EQ(form->state().SSTab1, tab);
        if (tab == 1) {  // the view on screen follows the table
            EXPECT_EQ(cell("MSFlexGrid2", 1, 1), QString::fromStdString(before[0]));
        }
        EXPECT_TRUE(action("mnuredo")->isEnabled());
        key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_NE(texts(), before);
        key(Qt::Key_Z, Qt::ControlModifier);
    }
    EXPECT_TRUE(platform.boxes.size() >= 2u);  // the questions only
    for (const ShownBox& b : platform.boxes) EXPECT_EQ(b.text.find("入力ミス"), std::string::npos) << b.text;
}

TEST_F(Edit, LoadingAndSortingNeverLoseRows) {
    copyDemo();
    ASSERT_TRUE(start());
    loadSampleCombinations();
    const combos::TableTexts loaded = texts();
    const QString row1 = cell("MSFlexGrid1", 1, 1);

    // "はい", then the dialog cancelled; "はい", then a name that is no file.
    platform.answers = {platform::kYes};
    trigger(QStringLiteral("mnudopen"));
    EXPECT_EQ(texts(), loaded);
    const std::string missing = dir.filePath(QStringLiteral("typed.txt")).toStdString();
    platform.answers = {platform::kYes};
    platform.openAnswers = {missing};
    trigger(QStringLiteral("mnudopen"));
    EXPECT_EQ(platform.boxes.back().text, missing + " は存在しないﾌｧｲﾙです。");
    EXPECT_EQ(texts(), loaded);
    EXPECT_EQ(cell("MSFlexGrid1", 1, 1), row1);

    // "はい" or "いいえ", then a file that cannot be read (a pipe, where the
    // system has them; a folder is no file at all, and is answered as the
    // missing file above): the rows stay; the command goes on to the first tab.
    const std::string pipe = dir.filePath(QStringLiteral("pipe.txt")).toStdString();
    const bool havePipe = makeNamedPipe(pipe);
    for (const int answer : {platform::kYes, platform::kNo}) {
        if (!havePipe) break;
        selectTab(2);
        const std::size_t boxes = platform.boxes.size();
        platform.answers = {answer};
        platform.openAnswers = {pipe};
        trigger(QStringLiteral("mnudopen"));
        EXPECT_EQ(platform.boxes.size(), boxes + 2);  // the question and the read error
        EXPECT_EQ(texts(), loaded);
        EXPECT_EQ(cell("MSFlexGrid1", 1, 1), row1);
        EXPECT_EQ(form->state().SSTab1, 0);
    }

    // The data sort names a row it could not read back and changes nothing.
    selectTab(0);
    form->combinationTable().setCell(20, 1, "3,9,14,22,30");  // typed without the blanks
    form->run([] {});
    const combos::TableTexts withBadRow = texts();
    const std::size_t boxes = platform.boxes.size();
    find<QPushButton>(QStringLiteral("Command3"))->click();
    ASSERT_EQ(platform.boxes.size(), boxes + 1);
    EXPECT_EQ(platform.boxes.back().text, " データ番号 20 に、入力ミスがあります。");
    EXPECT_EQ(texts(), withBadRow);
    EXPECT_EQ(cell("MSFlexGrid1", 1, 1), row1);

    // Rows 1-999 filled: a one-line file added with "いいえ" fills row 1000,
    // without a word; on the full table "いいえ" ends the command unchanged.
    for (int r = 1; r <= 999; ++r) form->combinationTable().setCell(r, 1, loaded[static_cast<std::size_t>(r % 30)]);
    form->run([] {});
    QFile one(dir.filePath(QStringLiteral("one.txt")));
    ASSERT_TRUE(one.open(QIODevice::WriteOnly));
    one.write(" 7, 8, 9,10,11\r\n");
    one.close();
    for (int round = 0; round < 2; ++round) {
        const std::size_t shown = platform.boxes.size();
        platform.answers = {platform::kNo};
        platform.openAnswers = {one.fileName().toStdString()};
        trigger(QStringLiteral("mnudopen"));
        EXPECT_EQ(platform.boxes.size(), shown + 1) << round;  // the question only
        EXPECT_EQ(cell("MSFlexGrid1", 1000, 1), QStringLiteral(" 7, 8, 9,10,11")) << round;
        EXPECT_EQ(platform.openAnswers.size(), static_cast<std::size_t>(round)) << round;
    }
}

TEST_F(Edit, ARightPressOutsideTheSelectionSelectsThatRowFirst) {
    copyDemo();
    ASSERT_TRUE(start());
    loadSampleCombinations();
    const grid::TextGrid& table = form->combinationTable();
    auto line = [](const std::string& s) { return QString::fromStdString(s + "\r\n"); };
    auto copyAt = [&](const char* gridName, const char* entry, int r) {
        popupChoices = {QString::fromLatin1(entry)};
        press(gridName, Qt::RightButton, r, 1);
        return QGuiApplication::clipboard()->text();
    };

    // Tab 0: rows 3 to 5 selected; a right press inside keeps them, one
    // outside (on the text or on the row number) copies its own row.
    dragRows("MSFlexGrid1", 3, 5, 1);
    EXPECT_EQ(copyAt("MSFlexGrid1", "pmnucopy", 4),
              line(table.cell(3, 1)) + line(table.cell(4, 1)) + line(table.cell(5, 1)));
    EXPECT_EQ(copyAt("MSFlexGrid1", "pmnucopy", 9), line(table.cell(9, 1)));
    EXPECT_EQ(table.row(), 9);
    EXPECT_EQ(table.colSel(), table.cols() - 1);  // the whole row, as a left press
    popupChoices = {QStringLiteral("pmnucopy")};
    press("MSFlexGrid1", Qt::RightButton, 12, 0);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), line(table.cell(12, 1)));

    // Tabs 1 and 4 alike.
    selectTab(1);
    const grid::TextGrid& totals = form->totals().grid();
    dragRows("MSFlexGrid2", 2, 4, 1);
    EXPECT_EQ(copyAt("MSFlexGrid2", "pmnucopy2", 3),
              line(totals.cell(2, 1)) + line(totals.cell(3, 1)) + line(totals.cell(4, 1)));
    EXPECT_EQ(copyAt("MSFlexGrid2", "pmnucopy2", 7), line(totals.cell(7, 1)));

    selectTab(4);
    const grid::TextGrid& predraw = form->predraw().grid();
    dragRows("MSFlexGrid5", 1, 3, 1);
    EXPECT_EQ(copyAt("MSFlexGrid5", "pmnucopy3", 2),
              line(predraw.cell(1, 1)) + line(predraw.cell(2, 1)) + line(predraw.cell(3, 1)));
    EXPECT_EQ(copyAt("MSFlexGrid5", "pmnucopy3", 6), line(predraw.cell(6, 1)));
    EXPECT_EQ(predraw.row(), 6);
}

// A ticket typed into its row with F2 or a double click: checked as "△"
// checks, one undo step, its win entries those "￥" gives.
TEST_F(Edit, ATicketTypedIntoItsRowIsCheckedEvaluatedAndOneUndoStep) {
    copyDemo();
    ASSERT_TRUE(start());
    loadSampleCombinations();
    auto* grid = find<ui::FlexGrid>(QStringLiteral("MSFlexGrid1"));
    const std::size_t steps = form->state().undoHistory.undoSteps();
    auto entries = [this](int row) {
        QStringList e;
        for (int c = 2; c < form->combinationTable().cols() && !cell("MSFlexGrid1", row, c).isEmpty(); ++c)
            e << cell("MSFlexGrid1", row, c);
        return e;
    };
    auto typeInto = [&](const QString& text, int key = Qt::Key_Return) {
        QLineEdit* editor = grid->cellEditor();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key(key));
        EXPECT_EQ(grid->cellEditor(), nullptr);
    };

    // F2 on the current row opens the editor with the row's text.
    press("MSFlexGrid1", Qt::LeftButton, 3, 1);
    const QString third = cell("MSFlexGrid1", 3, 1);
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_NE(grid->cellEditor(), nullptr);
    EXPECT_EQ(grid->cellEditor()->text(), third);
    typeInto(QStringLiteral("5 11 13 21 30"));
    EXPECT_EQ(cell("MSFlexGrid1", 3, 1), QStringLiteral(" 5,11,13,21,30"));
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(form->state().undoHistory.undoSteps(), steps + 1);
    const QStringList typed = entries(3);
    EXPECT_FALSE(typed.isEmpty());
    find<QPushButton>(QStringLiteral("Command5"))->click();  // ￥ works every row out afresh
    EXPECT_EQ(entries(3), typed);

    // A double click on another row; a text the check refuses keeps the old
    // one, with the row's message, and is no undo step.
    const QString fourth = cell("MSFlexGrid1", 4, 1);
    const QStringList fourthEntries = entries(4);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(4, 1).center());
    ASSERT_NE(grid->cellEditor(), nullptr);
    typeInto(QStringLiteral("1,2,3,4,40"));
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, " データ番号 4 に、入力ミスがあります。");
    EXPECT_EQ(platform.boxes[0].icon, platform::Icon::Critical);
    EXPECT_EQ(cell("MSFlexGrid1", 4, 1), fourth);
    EXPECT_EQ(entries(4), fourthEntries);
    EXPECT_EQ(form->state().undoHistory.undoSteps(), steps + 1);

    // Esc drops the text; a win-entry cell opens no editor.
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(4, 1).center());
    typeInto(QStringLiteral("1,2,3,4,5"), Qt::Key_Escape);
    EXPECT_EQ(cell("MSFlexGrid1", 4, 1), fourth);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(4, 2).center());
    EXPECT_EQ(grid->cellEditor(), nullptr);

    // An empty row takes a ticket, and undo takes row 3 back in turn.
    press("MSFlexGrid1", Qt::LeftButton, 3, 1);
    for (int r = 3; r < 31; ++r) QTest::keyClick(grid, Qt::Key_Down);
    ASSERT_EQ(form->combinationTable().row(), 31);
    QTest::keyClick(grid, Qt::Key_F2);
    typeInto(QStringLiteral("7,8,9,10,11"));
    EXPECT_EQ(cell("MSFlexGrid1", 31, 1), QStringLiteral(" 7, 8, 9,10,11"));
    trigger(QStringLiteral("mnuundo"));
    EXPECT_EQ(cell("MSFlexGrid1", 31, 1), QString());
    trigger(QStringLiteral("mnuundo"));
    EXPECT_EQ(cell("MSFlexGrid1", 3, 1), third);
    EXPECT_EQ(platform.boxes.size(), 1u);
}

}  // namespace
}  // namespace kazuban::testing
