// The entry form of a new draw, alone and through "◇当選番号 → 入力…".
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "modal.h"
#include "platform/line_file.h"
#include "text/app_error.h"
#include "ui/draw_entry_dialog.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

void typeDraw(QWidget* dialog, const std::array<const char*, 6>& numbers) {
    for (int k = 0; k < 6; ++k) {
        auto* f =
            dialog->findChild<QLineEdit*>(k < 5 ? QStringLiteral("TextMain_%1").arg(k) : QStringLiteral("TextBonus"));
        ASSERT_NE(f, nullptr) << k;
        f->clear();
        const QString typed = QString::fromUtf8(numbers[static_cast<std::size_t>(k)]);
        // Full-width digits come from an input method, not from single keys.
        bool ascii = true;
        for (QChar c : typed) ascii = ascii && c.unicode() < 0x80;
        if (ascii) QTest::keyClicks(f, typed);
        else f->insert(typed);
    }
}

TEST(DrawEntryDialog, OkWaitsForSixDistinctNumbersAndSaysWhy) {
    ui::DrawEntryDialog d(1401, platform::NewDraw{});
    d.show();
    EXPECT_TRUE(d.windowTitle().contains(QStringLiteral("第1401回")));
    auto* ok = d.findChild<QPushButton*>(QStringLiteral("OKButton"));
    auto* reason = d.findChild<QLabel*>(QStringLiteral("LabelReason"));
    ASSERT_TRUE(ok && reason);
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_EQ(reason->text(), QStringLiteral("本数字5個とボーナス数字を入力して下さい"));

    typeDraw(&d, {"30", "9", "22", "13", "2", "2"});
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_EQ(reason->text(), QStringLiteral("数字「2」が重複しています"));
    typeDraw(&d, {"30", "9", "22", "13", "2", "32"});
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_TRUE(reason->text().contains(QStringLiteral("1～31")));
    typeDraw(&d, {"30", "9", "22", "13", "2", "x"});
    EXPECT_FALSE(ok->isEnabled());
    // The field takes at most two characters.
    typeDraw(&d, {"30", "9", "22", "13", "2", "１７8"});
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(reason->text(), QStringLiteral("登録する数字： 2, 9,13,22,30,17"));
    EXPECT_EQ(d.numbers(), (std::array<int, 6>{30, 9, 22, 13, 2, 17}));

    // Enter on a field confirms, as the default button.
    QTest::keyClick(d.field(5), Qt::Key_Return);
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

class DrawEntry : public WindowTest {};

TEST_F(DrawEntry, TheNewDrawReachesTheFrameTheSelectorTheStatsAndTheNextCheck) {
    copyDemo();
    ASSERT_TRUE(start());
    loadSampleCombinations();  // row 1 is " 5,11,13,21,31"
    find<QTabWidget>(QStringLiteral("SSTab1"))->setCurrentWidget(find<QWidget>(QStringLiteral("StatsTab")));
    const std::string before = platform::readFileBytes(dir.filePath(QStringLiteral("atarimgrp.txt")).toStdString());

    {  // Cancelled: nothing changes.
        WhenModal cancel([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); },
                         "kazuban::ui::DrawEntryDialog");
        trigger(QStringLiteral("mnuanyuryoku"));
        EXPECT_TRUE(cancel.worked());
    }
    EXPECT_EQ(platform::readFileBytes(dir.filePath(QStringLiteral("atarimgrp.txt")).toStdString()), before);

    {
        WhenModal enter(
            [](QWidget* dialog) {
                EXPECT_TRUE(dialog->windowTitle().contains(QStringLiteral("第1401回")));
                typeDraw(dialog, {"31", "21", "13", "11", "5", "1"});
                QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
            },
            "kazuban::ui::DrawEntryDialog");
        trigger(QStringLiteral("mnuanyuryoku"));
        EXPECT_TRUE(enter.worked());
    }
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(platform::readFileBytes(dir.filePath(QStringLiteral("atarimgrp.txt")).toStdString()),
              before + platform::encodeCp932("第1401回= 5,11,13,21,31, 1\r\n"));
    // Without a date or payouts there is nothing for atarikin.csv.
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("atarikin.csv"))));
    EXPECT_EQ(find<QLabel>(QStringLiteral("Label1"))->text(), QStringLiteral("第1401回: 5,11,13,21,31, 1"));
    EXPECT_EQ(find<QScrollBar>(QStringLiteral("HScroll1"))->maximum(), 1401);
    EXPECT_EQ(find<QLabel>(QStringLiteral("LabelStatsNote"))->text(),
              QStringLiteral("第1回～第1401回の 1401 回を集計"));
    // Row 1 won grade 1 in the new draw: the frame and the win entries say so
    // at once, with no button pressed.
    EXPECT_EQ(label("Label3_0"), QStringLiteral("1401"));
    EXPECT_EQ(label("Label3_1"), QStringLiteral(" 1"));
    bool found = false;
    for (int c = 2; c < form->combinationTable().cols(); ++c)
        found = found || form->combinationTable().cell(1, c) == "1401=1";
    EXPECT_TRUE(found);
}

TEST_F(DrawEntry, TheOptionalDateAndPayoutsAreCheckedAndKeptInAtarikin) {
    copyDemo();
    ASSERT_TRUE(start());
    const std::string before = platform::readFileBytes(dir.filePath(QStringLiteral("atarimgrp.txt")).toStdString());
    auto type = [](QWidget* dialog, const char* name, const char* text) {
        auto* f = dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
        ASSERT_NE(f, nullptr) << name;
        f->clear();
        f->insert(QString::fromUtf8(text));
    };
    WhenModal enter(
        [&](QWidget* dialog) {
            auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("OKButton"));
            auto* reason = dialog->findChild<QLabel*>(QStringLiteral("LabelReason"));
            typeDraw(dialog, {"31", "21", "13", "11", "5", "1"});
            type(dialog, "TextDate", "2024/6/11");
            type(dialog, "TextWinners_1", "3");
            type(dialog, "TextPrize_1", "1,5OO");
            EXPECT_FALSE(ok->isEnabled());
            EXPECT_EQ(reason->text(), QStringLiteral("2等賞金「1,5OO」が整数ではありません。"));
            type(dialog, "TextPrize_1", "150,000");
            type(dialog, "TextDate", "2024/6/31");
            EXPECT_FALSE(ok->isEnabled());
            type(dialog, "TextDate", "２０２４/6/11");
            type(dialog, "TextWinners_0", "該当なし");
            EXPECT_TRUE(ok->isEnabled());
            QTest::mouseClick(ok, Qt::LeftButton);
        },
        "kazuban::ui::DrawEntryDialog");
    trigger(QStringLiteral("mnuanyuryoku"));
    EXPECT_TRUE(enter.worked());
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(platform::readFileBytes(dir.filePath(QStringLiteral("atarimgrp.txt")).toStdString()),
              before + platform::encodeCp932("第1401回= 5,11,13,21,31, 1\r\n"));
    EXPECT_EQ(platform::readFileBytes(dir.filePath(QStringLiteral("atarikin.csv")).toStdString()),
              platform::encodeCp932("回,日付,1等口数,2等口数,3等口数,4等口数,1等賞金,2等賞金,3等賞金,4等賞金\r\n") +
                  "1401,2024/06/11,0,3,,,,150000,,\r\n");
    EXPECT_EQ(label("Label1"), QStringLiteral("第1401回: 5,11,13,21,31, 1"));
}

QString fieldText(QWidget* dialog, const QString& name) {
    auto* f = dialog->findChild<QLineEdit*>(name);
    return f ? f->text() : QStringLiteral("(no field)");
}

TEST_F(DrawEntry, AFailedWriteShowsItsMessageChangesNothingAndKeepsWhatWasTyped) {
    copyDemo();
    ASSERT_TRUE(start());
    const std::string file = dir.filePath(QStringLiteral("atarimgrp.txt")).toStdString();
    const std::string before = platform::readFileBytes(file);
    platform::setWriteFaultHook([](const std::filesystem::path&) {
        throw AppError(kPathFileAccess, "ファイルに書き込めません（No space left on device）。");
    });
    {
        WhenModal enter(
            [](QWidget* dialog) {
                typeDraw(dialog, {"1", "2", "3", "4", "5", "6"});
                dialog->findChild<QLineEdit*>(QStringLiteral("TextPrize_3"))->setText(QStringLiteral("1,000"));
                QTest::keyClick(dialog->findChild<QLineEdit*>(QStringLiteral("TextBonus")), Qt::Key_Return);
            },
            "kazuban::ui::DrawEntryDialog");
        trigger(QStringLiteral("mnuanyuryoku"));
        EXPECT_TRUE(enter.worked());
    }
    platform::setWriteFaultHook(nullptr);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, "ファイルに書き込めません（No space left on device）。");
    EXPECT_EQ(platform::readFileBytes(file), before);
    EXPECT_EQ(form->state().maxn, 1400);

    // The form opens again with everything as it was typed; OK now appends it.
    WhenModal again(
        [](QWidget* dialog) {
            EXPECT_EQ(fieldText(dialog, QStringLiteral("TextMain_0")), QStringLiteral("1"));
            EXPECT_EQ(fieldText(dialog, QStringLiteral("TextBonus")), QStringLiteral("6"));
            EXPECT_EQ(fieldText(dialog, QStringLiteral("TextPrize_3")), QStringLiteral("1,000"));
            EXPECT_EQ(fieldText(dialog, QStringLiteral("TextDate")), QString());
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
        },
        "kazuban::ui::DrawEntryDialog");
    trigger(QStringLiteral("mnuanyuryoku"));
    EXPECT_TRUE(again.worked());
    EXPECT_EQ(form->state().maxn, 1401);
    EXPECT_EQ(platform.boxes.size(), 1u);

    // Once appended it is gone: the next draw's form starts empty.
    WhenModal next(
        [](QWidget* dialog) {
            EXPECT_EQ(fieldText(dialog, QStringLiteral("TextMain_0")), QString());
            EXPECT_EQ(fieldText(dialog, QStringLiteral("TextPrize_3")), QString());
            QTest::keyClick(dialog, Qt::Key_Escape);
        },
        "kazuban::ui::DrawEntryDialog");
    trigger(QStringLiteral("mnuanyuryoku"));
    EXPECT_TRUE(next.worked());
}

TEST_F(DrawEntry, TheDateSuggestsTheNextDrawsDay) {
    copyDemo();
    // Draw 1400's date is not known; 1399's is: 1401 comes two weeks later.
    QFile csv(dir.filePath(QStringLiteral("atarikin.csv")));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write(platform::encodeCp932("回,日付,1等口数,2等口数,3等口数,4等口数,1等賞金,2等賞金,3等賞金,4等賞金\r\n"
                                    "1398,2024/12/10,,,,,,,,\r\n1399,2024/12/24,,,,,,,,\r\n1400,,1,,,,,,,\r\n")
                  .c_str());
    csv.close();
    ASSERT_TRUE(start());
    WhenModal enter(
        [](QWidget* dialog) {
            EXPECT_EQ(fieldText(dialog, QStringLiteral("TextDate")), QStringLiteral("2025/01/07"));
            typeDraw(dialog, {"31", "21", "13", "11", "5", "1"});
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
        },
        "kazuban::ui::DrawEntryDialog");
    trigger(QStringLiteral("mnuanyuryoku"));
    EXPECT_TRUE(enter.worked());
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(form->state().payouts.at(1401).fields[history::kDateField], 20250107);
}

// ◇当選番号 → 登　録 with no editor registered and none of the system's to
// fall back on: the message says so and where to register one, rather than
// where the history belongs.
TEST_F(DrawEntry, RegisteringWithoutAnEditorSaysSo) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows always has Notepad for a .txt file: the message cannot come there";
#endif
    copyDemo();
    ASSERT_TRUE(start());
    ASSERT_EQ(form->state().editdir, "");
    QTemporaryDir emptyPath;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", emptyPath.path().toLocal8Bit());
    platform.startForReal = true;
    trigger(QStringLiteral("mnuatoroku"));
    qputenv("PATH", path);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text,
              "atarimgrp.txt を開けるエディタがありません。\n"
              "◇環境 → 設定 の「専用ｴﾃﾞｨﾀの指定」に、エディタをﾌｧｲﾙ名まで入れて登録して下さい。");
    EXPECT_EQ(platform.boxes[0].icon, platform::Icon::Exclamation);

    // A registered editor that has gone is named as well.
    form->state().editdir = dir.filePath(QStringLiteral("gone-editor")).toStdString();
    qputenv("PATH", emptyPath.path().toLocal8Bit());
    trigger(QStringLiteral("mnuatoroku"));
    qputenv("PATH", path);
    ASSERT_EQ(platform.boxes.size(), 2u);
    EXPECT_TRUE(platform.boxes[1].text.starts_with("専用ｴﾃﾞｨﾀ「" + form->state().editdir + "」が見つかりません。\n"));
}

TEST_F(DrawEntry, TheMarkSheetKeepsItsSheetsAndCountsTheNewDraw) {
    copyDemo();
    ASSERT_TRUE(start());
    loadSampleCombinations();  // row 1 is " 5,11,13,21,31"
    selectTab(app::kTabMarkSheet);
    press("MSFlexGrid3", Qt::LeftButton, 1, 1);
    auto box = [this](const char* base, int k) {
        return find<QLineEdit>(QStringLiteral("%1_%2").arg(QLatin1String(base)).arg(k))->text();
    };
    const QString wins = box("Text2", 0);
    ASSERT_FALSE(wins.isEmpty());
    const QString caption = label("Label4");
    const grid::TextGrid sheetBefore = form->markSheet().figure(0);

    WhenModal enter(
        [](QWidget* dialog) {
            typeDraw(dialog, {"31", "21", "13", "11", "5", "1"});
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
        },
        "kazuban::ui::DrawEntryDialog");
    trigger(QStringLiteral("mnuanyuryoku"));
    ASSERT_TRUE(enter.worked());
    // The sheets stay marked, and row 1 won once more, in the new draw.
    EXPECT_EQ(label("Label4"), caption);
    for (int r = 0; r < sheetBefore.rows(); ++r)
        for (int c = 0; c < sheetBefore.cols(); ++c)
            EXPECT_EQ(form->markSheet().figure(0).cell(r, c), sheetBefore.cell(r, c)) << r << "," << c;
    EXPECT_EQ(box("Text2", 0).trimmed().toInt(), wins.trimmed().toInt() + 1);
    EXPECT_EQ(box("Text3", 0).trimmed(), QStringLiteral("1401"));
    for (int k = 0; k < 5; ++k) EXPECT_FALSE(box("Text4", k).isEmpty()) << k;
}

}  // namespace
}  // namespace kazuban::testing
