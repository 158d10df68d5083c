// The typical road of a player through the real window, from start-up to
// exit: generate a batch, load a combination file over it, score it, sort it
// by the pair rate, print it through a spreadsheet program that is really
// started, look at five mark sheets, back-test the past draws, edit a link,
// confirm the settings and leave. Only native dialogs are answered by script;
// every check reads what the widgets show.
#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <set>

#include "output/layouts.h"
#include "platform/line_file.h"
#include "support/arg_recorder.h"
#include "ui/flex_grid.h"
#include "ui/grid_model.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

namespace fs = std::filesystem;

// The five numbers of a combination text, or the six of a draw text.
std::vector<int> numbersOf(const std::string& text, int count) {
    std::vector<int> out;
    for (int i = 0; i < count; ++i) out.push_back(std::stoi(text.substr(static_cast<std::size_t>(3 * i), 2)));
    return out;
}

// Win entries of a combination against the whole history, worked out on
// numbers (not on texts) as a player would check them by hand.
QStringList expectedEntries(const std::string& combination, const std::vector<std::string>& draws) {
    const std::vector<int> mine = numbersOf(combination, 5);
    const std::set<int> set(mine.begin(), mine.end());
    QStringList out;
    for (std::size_t d = 1; d < draws.size(); ++d) {
        const std::vector<int> won = numbersOf(draws[d], 6);
        const int matches =
            static_cast<int>(std::count_if(won.begin(), won.begin() + 5, [&](int n) { return set.count(n) > 0; }));
        const bool bonus = set.count(won[5]) > 0;
        int grade = 0;
        if (matches == 5) grade = 1;
        else if (matches == 4) grade = bonus ? 2 : 3;
        else if (matches == 3) grade = 4;
        if (grade) out << QStringLiteral("%1=%2").arg(d).arg(grade);
    }
    return out;
}

class Road : public WindowTest {
protected:
    const QAbstractItemModel* model(const char* grid) const { return find<ui::FlexGrid>(grid)->gridModel(); }
    QStringList entriesShown(int row) const {
        QStringList out;
        for (int c = 2; c < model("MSFlexGrid1")->columnCount() && !cell("MSFlexGrid1", row, c).isEmpty(); ++c)
            out << cell("MSFlexGrid1", row, c);
        return out;
    }
    bool shown(const char* name) const { return find<QWidget>(name)->isVisible(); }
    std::string fileBytes(const char* name) const {
        return platform::readFileBytes(fs::path(dir.path().toStdString()) / name);
    }
};

TEST_F(Road, FromStartUpThroughEveryTabToExit) {
    copyDemo();
    // In the system's own separators, as the program names files to other programs.
    const fs::path folder = fs::path(dir.path().toStdString()).make_preferred();
    // The player's spreadsheet program is a recording stand-in, started for real.
    std::vector<std::string> ini = platform::readLines(folder / "Kazuban.ini");
    ASSERT_EQ(ini.size(), 14u);
    ini[3] = "Your calcsoft=" + ArgumentRecorder::script();
    platform::writeLinesCp932(folder / "Kazuban.ini", ini);
    ArgumentRecorder recorder(folder);
    platform.startForReal = true;

    std::vector<std::string> draws;
    for (const std::string& line : platform::readLines(folder / "atarimgrp.txt"))
        draws.push_back(line.substr(line.find('=') + 1));
    const int maxn = static_cast<int>(draws.size()) - 1;
    ASSERT_EQ(maxn, 1400);
    const std::vector<std::string> combos = platform::readLines(folder / "sample_combos.txt");
    ASSERT_EQ(combos.size(), 30u);

    // Start-up: tab 0 with an empty table and the latest draw in the frame.
    ASSERT_TRUE(start());
    auto* tabs = find<QTabWidget>("SSTab1");
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(label("Label1"), QStringLiteral("第%1回:").arg(maxn) + QString::fromStdString(draws.back()));
    EXPECT_EQ(cell("MSFlexGrid1", 0, 1), QStringLiteral("組合せデータ"));
    EXPECT_EQ(cell("MSFlexGrid1", 1, 1), QString());
    EXPECT_FALSE(shown("ProgressBar1"));
    EXPECT_TRUE(platform.boxes.empty());

    // A quick batch of five fills rows 1 to 5 without a question.
    trigger("mnu5mk");
    EXPECT_TRUE(platform.boxes.empty());
    for (int r = 1; r <= 5; ++r) EXPECT_EQ(cell("MSFlexGrid1", r, 1).size(), 14) << r;
    EXPECT_EQ(cell("MSFlexGrid1", 6, 1), QString());

    // "呼出し": the clear-or-append question, answered Yes, then the file.
    platform.answers = {platform::kYes};
    loadSampleCombinations();
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text,
              "ﾃﾞｰﾀを消去しますか？\r\n    は　い(Y) : 全て消去\r\n    いいえ(N) : 現ﾃﾞｰﾀに追加");
    EXPECT_EQ(platform.boxes[0].icon, platform::Icon::Exclamation);
    EXPECT_EQ(platform.boxes[0].buttons, platform::Buttons::YesNoCancel);
    EXPECT_EQ(tabs->currentIndex(), 0);
    std::array<int, 5> latestWins{};
    for (int r = 1; r <= 30; ++r) {
        const std::string& c = combos[static_cast<std::size_t>(r - 1)];
        ASSERT_EQ(cell("MSFlexGrid1", r, 1), QString::fromStdString(c)) << r;
        const QStringList expected = expectedEntries(c, draws);
        EXPECT_EQ(entriesShown(r), expected) << c;
        for (int g = 1; g <= 4; ++g)
            latestWins[static_cast<std::size_t>(g)] += expected.contains(QStringLiteral("%1=%2").arg(maxn).arg(g));
    }
    EXPECT_EQ(cell("MSFlexGrid1", 31, 1), QString());
    EXPECT_EQ(label("Label3_0"), QString::number(maxn));
    for (int g = 1; g <= 4; ++g) {
        const int n = latestWins[static_cast<std::size_t>(g)];
        EXPECT_EQ(label(QStringLiteral("Label3_%1").arg(g).toLatin1().constData()),
                  n ? QStringLiteral(" %1").arg(n) : QStringLiteral("0"));
    }

    // Tab 1 scores every combination while the progress bar shows.
    platform.progressRanges.clear();
    platform.progressSteps = platform.progressStepsVisible = 0;
    tabs->setCurrentIndex(1);
    EXPECT_EQ(platform.progressRanges, (std::vector<std::pair<int, int>>{{0, 1000}}));
    EXPECT_EQ(platform.progressStepsVisible, platform.progressSteps);
    EXPECT_EQ(platform.progressSteps, 1000);
    EXPECT_FALSE(shown("ProgressBar1"));
    EXPECT_EQ(label("LabelHint2"), QStringLiteral("右ｸﾘｯｸ可"));
    EXPECT_TRUE(shown("LabelHint2"));
    std::map<QString, QString> pairRate;
    for (int r = 1; r <= 30; ++r) {
        const std::string c = cell("MSFlexGrid2", r, 1).toStdString();
        ASSERT_EQ(c, combos[static_cast<std::size_t>(r - 1)]);
        const std::vector<int> n = numbersOf(c, 5);
        int sum = 0, odd = 0;
        for (int x : n) {
            sum += x;
            odd += x % 2;
        }
        EXPECT_EQ(cell("MSFlexGrid2", r, 2), QString::number(sum)) << c;
        EXPECT_EQ(cell("MSFlexGrid2", r, 3), QString::number(entriesShown(r).size())) << c;
        EXPECT_EQ(cell("MSFlexGrid2", r, 6), QStringLiteral("%1:%2").arg(odd).arg(5 - odd)) << c;
        EXPECT_TRUE(cell("MSFlexGrid2", r, 7).startsWith(QStringLiteral("0."))) << c;
        pairRate[QString::fromStdString(c)] = cell("MSFlexGrid2", r, 7);
    }
    EXPECT_EQ(cell("MSFlexGrid2", 31, 2), QString());

    // Pop-up menu 2, "整列" → "P相性率": highest pair rate first, and the new
    // order is the order of tab 0 with freshly evaluated win entries.
    popupChoices = {QStringLiteral("psmnu7")};
    press("MSFlexGrid2", Qt::RightButton, 3, 1);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups.back(), QStringLiteral("pmnupopup2"));
    for (int r = 1; r <= 30; ++r) {
        const QString c = cell("MSFlexGrid2", r, 1);
        EXPECT_EQ(cell("MSFlexGrid2", r, 7), pairRate[c]) << "scores move with their rows";
        if (r > 1) {
            EXPECT_GE(cell("MSFlexGrid2", r - 1, 7).toDouble(), cell("MSFlexGrid2", r, 7).toDouble()) << r;
        }
        EXPECT_EQ(cell("MSFlexGrid2", r, 0), QString::number(r));
        EXPECT_EQ(cell("MSFlexGrid1", r, 1), c) << r;
        EXPECT_EQ(entriesShown(r), expectedEntries(c.toStdString(), draws)) << r;
    }
    EXPECT_EQ(cell("MSFlexGrid2", 31, 1), QString());
    EXPECT_EQ(platform.boxes.size(), 1u);

    // "印刷" writes tmptxt2.csv and starts the spreadsheet program on it.
    popupChoices = {QStringLiteral("pmnuprt2")};
    press("MSFlexGrid2", Qt::RightButton, 1, 1);
    const std::string print = (folder / "tmptxt2.csv").string();
    auto args = recorder.wait();
    ASSERT_TRUE(args.has_value()) << "the spreadsheet program was not started";
    EXPECT_EQ(*args, (std::vector<std::string>{ArgumentRecorder::script(), print}));
    const std::string csv = fileBytes("tmptxt2.csv");
    EXPECT_EQ(csv, platform::encodeCp932(output::withFinalCrLf(output::layoutB(form->totals().grid(), 1000, 1))));
    const std::string head =
        "\"組合せデータ\",\"合計\",\"当選回数\",\"最新当選回\",\"最高\",\"奇;偶\",\"ﾍﾟｱ相性率\",\"ﾄﾘﾌﾟﾙ相性率\","
        "\"５分割分布\"\n";
    QStringList first;
    for (int c = 1; c <= 9; ++c) {
        QString field = cell("MSFlexGrid2", 1, c);
        if (c == 6) field.replace(QLatin1Char(':'), QLatin1Char(';'));
        first << QLatin1Char('"') + field + QLatin1Char('"');
    }
    const std::string record1 = first.join(QLatin1Char(',')).toStdString() + "\n";
    EXPECT_EQ(csv.substr(0, platform::encodeCp932(head + record1).size()), platform::encodeCp932(head + record1));
    EXPECT_EQ(csv.substr(csv.size() - 3), "\n\r\n");
    EXPECT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(tabs->currentIndex(), 1);

    // Tab 2: a click on list row 4 draws rows 4 to 8 as mark sheets.
    tabs->setCurrentIndex(2);
    for (const char* caption : {"Label4", "Label5", "Label6", "Label7", "Label14"})
        EXPECT_EQ(label(caption), QStringLiteral("ﾃﾞｰﾀ番号: xxx")) << caption;
    press("MSFlexGrid3", Qt::LeftButton, 4, 1);
    const char* captions[5] = {"Label4", "Label5", "Label6", "Label7", "Label14"};
    for (int k = 0; k < 5; ++k) {
        const int row = 4 + k;
        EXPECT_EQ(label(captions[k]), QStringLiteral("ﾃﾞｰﾀ番号: %1").arg(row));
        const QString text = cell("MSFlexGrid3", row, 1);
        EXPECT_EQ(text, cell("MSFlexGrid1", row, 1));
        const std::vector<int> n = numbersOf(text.toStdString(), 5);
        const QByteArray name = QByteArray("MSFlexGrid4_") + QByteArray::number(k);
        const char* figure = name.constData();
        int marks = 0;
        for (int x = 0; x < 5; ++x)
            for (int y = 0; y < 10; ++y) {
                const int number = 10 * x + y + 1;
                const bool mine = number <= 31 && std::find(n.begin(), n.end(), number) != n.end();
                marks += cell(figure, y, x) == QStringLiteral("■");
                EXPECT_EQ(cell(figure, y, x) == QStringLiteral("■"), mine) << "figure " << k << " number " << number;
            }
        EXPECT_EQ(marks, 5);
        const QStringList wins = entriesShown(row);
        int latest = 0;
        for (const QString& e : wins) latest = std::max(latest, e.section(QLatin1Char('='), 0, 0).toInt());
        auto box = [&](const char* base) {
            return find<QLineEdit>(QStringLiteral("%1_%2").arg(QLatin1String(base)).arg(k))->text();
        };
        EXPECT_EQ(box("Text2"), QString::number(wins.size()));
        EXPECT_EQ(box("Text3"), QString::number(latest));
        EXPECT_EQ(box("Text4"), cell("MSFlexGrid2", row, 7)) << "tier 1 is the pair rate of tab 1";
        EXPECT_EQ(box("Text5"), cell("MSFlexGrid2", row, 8)) << "tier 2 is the triple rate of tab 1";
        EXPECT_EQ(
            model("MSFlexGrid3")->data(model("MSFlexGrid3")->index(row, 1), Qt::BackgroundRole).value<QBrush>().color(),
            QColor(255, 224, 255));
    }

    // Tab 4: the back-test of every draw from the 51st, newest first, once.
    platform.progressRanges.clear();
    platform.progressSteps = platform.progressStepsVisible = 0;
    tabs->setCurrentIndex(4);
    EXPECT_EQ(platform.progressRanges, (std::vector<std::pair<int, int>>{{51, maxn}}));
    EXPECT_GT(platform.progressSteps, 0);
    EXPECT_EQ(platform.progressStepsVisible, platform.progressSteps);
    EXPECT_FALSE(shown("ProgressBar1"));
    EXPECT_EQ(model("MSFlexGrid5")->rowCount(), maxn - 49);
    EXPECT_EQ(cell("MSFlexGrid5", 1, 0), QString::number(maxn));
    EXPECT_EQ(cell("MSFlexGrid5", 1, 1), QString::fromStdString(draws.back().substr(0, 14)));
    EXPECT_EQ(cell("MSFlexGrid5", maxn - 50, 0), QStringLiteral("51"));
    EXPECT_TRUE(shown("Picture1"));
    EXPECT_EQ(label("LabelHint5"), QStringLiteral("右ｸﾘｯｸ可"));
    EXPECT_TRUE(shown("LabelHint5"));

    // Pop-up menu 3: "整列" → "合計" → "降順".
    popupChoices = {QStringLiteral("ptsmnu2k")};
    press("MSFlexGrid5", Qt::RightButton, 2, 1);
    EXPECT_EQ(popups.back(), QStringLiteral("pmnupopup3"));
    for (int r = 2; r <= maxn - 50; ++r)
        ASSERT_GE(cell("MSFlexGrid5", r - 1, 2).toInt(), cell("MSFlexGrid5", r, 2).toInt()) << r;
    const QString topAfterSort = cell("MSFlexGrid5", 1, 0);
    tabs->setCurrentIndex(0);
    platform.progressRanges.clear();
    tabs->setCurrentIndex(4);
    EXPECT_TRUE(platform.progressRanges.empty()) << "the analysis runs once per run";
    EXPECT_EQ(cell("MSFlexGrid5", 1, 0), topAfterSort) << "the user's order stays";

    // "印刷" of pop-up menu 3 prints the sorted view through the same file.
    fs::remove(folder / "record.bin");
    popupChoices = {QStringLiteral("pmnuprt3")};
    press("MSFlexGrid5", Qt::RightButton, 1, 1);
    args = recorder.wait();
    ASSERT_TRUE(args.has_value());
    EXPECT_EQ(*args, (std::vector<std::string>{ArgumentRecorder::script(), print}));
    EXPECT_EQ(fileBytes("tmptxt2.csv"),
              platform::encodeCp932(output::withFinalCrLf(output::layoutB(form->predraw().grid(), maxn - 50, 0))));
    EXPECT_EQ(platform.boxes.size(), 1u);

    // Tab 3: edit link 3 and save it into Kazuban.ini.
    tabs->setCurrentIndex(3);
    EXPECT_EQ(find<QPushButton>("Command1_2")->text(), QStringLiteral("Go! 出現数字回数"));
    for (const char* hidden : {"Text1_2", "Command2", "Command7", "Command8"}) EXPECT_FALSE(shown(hidden)) << hidden;
    QTest::mouseClick(find<QWidget>("Option1_2"), Qt::LeftButton);
    for (const char* visible : {"Text1_2", "Command2", "Command7", "Command8"}) EXPECT_TRUE(shown(visible)) << visible;
    EXPECT_FALSE(shown("Text1_1"));
    auto* box = find<QLineEdit>("Text1_2");
    box->setFocus();
    box->selectAll();
    QInputMethodEvent typing;
    typing.setCommitString(QStringLiteral("出現数字回数=http://example.org/count?from=1"));
    QApplication::sendEvent(box, &typing);
    QTest::mouseClick(find<QWidget>("Command2"), Qt::LeftButton);
    EXPECT_EQ(platform.boxes.size(), 1u) << platform.boxes.back().text;
    for (const char* hidden : {"Text1_2", "Command2", "Command7", "Command8"}) EXPECT_FALSE(shown(hidden)) << hidden;
    ini = platform::readLines(folder / "Kazuban.ini");
    ASSERT_EQ(ini.size(), 14u);
    EXPECT_EQ(ini[7], "出現数字回数=http://example.org/count?from=1");
    EXPECT_EQ(ini[3], "Your calcsoft=" + ArgumentRecorder::script());

    // The settings dialog shows the file and OK writes the paths typed in it.
    bool dialogShown = false;
    openSettings([&](ui::SettingsDialog& dialog) {
        dialogShown = true;
        dialog.show();
        EXPECT_EQ(dialog.findChild<QLineEdit*>("Text3")->text(), QString::fromStdString(ArgumentRecorder::script()));
        auto* data = dialog.findChild<QLineEdit*>("Text2");
        data->setFocus();
        QTest::keyClicks(data, QString::fromStdString(folder.string()));
        QTest::mouseClick(dialog.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
        EXPECT_TRUE(dialog.finished());
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(platform.boxes.size(), 1u);
    ini = platform::readLines(folder / "Kazuban.ini");
    ASSERT_EQ(ini.size(), 14u);
    EXPECT_EQ(ini[2], "Your data dirctory=" + folder.string());
    EXPECT_EQ(ini[7], "出現数字回数=http://example.org/count?from=1");
    EXPECT_EQ(form->state().datadir, "") << "new paths take effect at the next start";

    // Exit, confirmed.
    platform.answers = {platform::kOk};
    trigger("mnufclose");
    ASSERT_EQ(platform.boxes.size(), 2u);
    // The table was changed after its load: the question says so.
    EXPECT_EQ(platform.boxes[1].text,
              " 組合せデータに、保存していない変更があります。\r\n 終了します。 よろしいですか？");
    EXPECT_EQ(platform.boxes[1].icon, platform::Icon::Exclamation);
    EXPECT_EQ(platform.boxes[1].buttons, platform::Buttons::OkCancel);
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace kazuban::testing
