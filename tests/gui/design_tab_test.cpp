// The tab 組合せ設計 through its widgets: a run states what its tickets
// really cover, キャンセル and closing the window keep a proved result and
// never crash, the tickets go to the table as a load puts them (one undo
// step) and into a file that 呼出し loads, and a refused setting says why.
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <bit>
#include <vector>

#include "analysis/odds.h"
#include "analysis/popularity.h"
#include "combos/combination_table.h"
#include "support/brute_cover.h"
#include "ui/design_tab.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

using design::Ticket;

class DesignTabTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        copyDemo();
        ASSERT_TRUE(start());
        selectTab(app::kTabDesign);
        tab = find<ui::DesignTab>(QStringLiteral("designTab"));
        ASSERT_NE(tab, nullptr);
    }
    // A radio button or check box is clicked on its mark: its widget may be
    // wider than its caption, and a click beside the caption does nothing.
    void click(const char* name) {
        auto* w = find<QWidget>(QLatin1String(name));
        ASSERT_NE(w, nullptr) << name;
        const bool marked = qobject_cast<QRadioButton*>(w) != nullptr || qobject_cast<QCheckBox*>(w) != nullptr;
        QTest::mouseClick(w, Qt::LeftButton, {}, marked ? QPoint(8, w->height() / 2) : w->rect().center());
    }
    void number(int v) { click(QStringLiteral("designNumber%1").arg(v).toLatin1().constData()); }
    QSpinBox* spin(const char* name) { return find<QSpinBox>(QLatin1String(name)); }
    void waitForResult(int seconds) {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !tab->searching(); }, seconds * 1000));
    }
    // The tickets the list shows, as the combination texts they end with.
    std::vector<Ticket> shownTickets() const {
        std::vector<Ticket> out;
        const auto* list = find<QListWidget>(QStringLiteral("designTicketList"));
        for (int i = 0; i < list->count(); ++i) {
            const QString text = list->item(i)->text();
            Ticket t = 0;
            for (const QString& n : text.mid(text.indexOf(QLatin1Char(':')) + 1).split(QLatin1Char(',')))
                t |= 1u << n.trimmed().toInt();
            EXPECT_EQ(std::popcount(t), 5) << text.toStdString();
            out.push_back(t);
        }
        return out;
    }
    // The label states exactly the draws the shown tickets cover.
    void expectProvedFigure() {
        const std::vector<Ticket> tickets = shownTickets();
        ASSERT_FALSE(tickets.empty());
        const QString figure = QString::fromStdString(analysis::groupedText(bruteCoveredDraws(tickets)));
        EXPECT_TRUE(label("designCovered").contains(QStringLiteral("のうち ") + figure + QStringLiteral(" 通り")))
            << label("designCovered").toStdString() << " / " << figure.toStdString();
    }
    ui::DesignTab* tab = nullptr;
};

TEST_F(DesignTabTest, ARunStatesWhatItsTicketsCoverWithinTheLimitsSet) {
    spin("designTickets")->setValue(4);
    click("designMarkExclude");
    number(30);
    number(31);
    find<QCheckBox>(QStringLiteral("designSumOn"))->setChecked(true);
    spin("designSumLow")->setValue(40);
    spin("designSumHigh")->setValue(70);
    find<QCheckBox>(QStringLiteral("designOddOn"))->setChecked(true);
    spin("designOddLow")->setValue(3);
    spin("designOddHigh")->setValue(4);
    click("designRun");
    waitForResult(60);

    const std::vector<Ticket> tickets = shownTickets();
    ASSERT_EQ(tickets.size(), 4u);
    for (std::size_t i = 0; i < tickets.size(); ++i) {
        EXPECT_EQ(tickets[i] & (1u << 30 | 1u << 31), 0u) << "an excluded number";
        int sum = 0, odd = 0;
        for (int v = 1; v <= 31; ++v) {
            sum += (tickets[i] >> v & 1) * v;
            odd += (tickets[i] >> v & 1) * (v % 2);
        }
        EXPECT_GE(sum, 40);
        EXPECT_LE(sum, 70);
        EXPECT_GE(odd, 3);
        EXPECT_LE(odd, 4);
        for (std::size_t j = 0; j < i; ++j) EXPECT_NE(tickets[i], tickets[j]);
    }
    expectProvedFigure();
    EXPECT_TRUE(find<QLabel>(QStringLiteral("designStopped"))->isHidden());
    EXPECT_TRUE(label("designExpected").contains(QStringLiteral("4 × 3,381 / 169,911")));
}

TEST_F(DesignTabTest, CancelAndClosingKeepAProvedResult) {
    spin("designTickets")->setValue(60);
    spin("designEffort")->setValue(50);
    click("designRun");
    ASSERT_TRUE(tab->searching());
    EXPECT_FALSE(find<QWidget>(QStringLiteral("designRun"))->isEnabled());
    // The window's thread runs on: the progress shows the best so far.
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return label("designProgressText").startsWith(QStringLiteral("これまでの最良")); },
                        60000));
    // The seconds go on between the search's reports.
    auto seconds = [this] {
        return label("designProgressText").section(QStringLiteral("　"), -1).section(QLatin1Char(' '), 0, 0).toInt();
    };
    const int shown = seconds();
    EXPECT_TRUE(QTest::qWaitFor([&] { return seconds() > shown; }, 10000));
    click("designCancel");
    waitForResult(10);
    EXPECT_EQ(shownTickets().size(), 60u);
    expectProvedFigure();
    EXPECT_FALSE(find<QLabel>(QStringLiteral("designStopped"))->isHidden());

    // Closing the window while a search runs ends the search with it.
    click("designRun");
    ASSERT_TRUE(tab->searching());
    platform.answers = {platform::kOk};
    EXPECT_TRUE(window->close());
    waitForResult(1);
}

TEST_F(DesignTabTest, TheTicketsGoToTheTableAsOneStepAndIntoAFileThatLoads) {
    loadSampleCombinations();
    const int filled = combos::firstEmptyRow(form->combinationTable()) - 1;
    ASSERT_GT(filled, 0);
    const grid::TextGrid before = form->combinationTable();
    selectTab(app::kTabDesign);
    spin("designTickets")->setValue(3);
    click("designRun");
    waitForResult(60);
    const std::vector<Ticket> tickets = shownTickets();
    ASSERT_EQ(tickets.size(), 3u);

    // いいえ: added after the rows there, checked against every draw as 呼出し does.
    platform.answers = {platform::kNo};
    click("designSend");
    EXPECT_EQ(find<QTabWidget>(QStringLiteral("SSTab1"))->currentIndex(), app::kTabWins);
    const grid::TextGrid sent = form->combinationTable();
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(sent.cell(filled + 1 + k, 1), design::ticketText(tickets[static_cast<std::size_t>(k)]));
    QTest::mouseClick(find<QWidget>(QStringLiteral("Command5")), Qt::LeftButton);  // ￥ gives the same entries
    for (int r = filled + 1; r <= filled + 3; ++r)
        for (int c = 2; c < sent.cols(); ++c) ASSERT_EQ(form->combinationTable().cell(r, c), sent.cell(r, c)) << r;
    trigger(QStringLiteral("mnuundo"));
    for (int r = 1; r <= filled + 3; ++r) EXPECT_EQ(form->combinationTable().cell(r, 1), before.cell(r, 1)) << r;

    selectTab(app::kTabDesign);
    const QString file = dir.filePath(QStringLiteral("design.txt"));
    platform.saveAnswers.push_back(file.toStdString());
    click("designSave");
    platform.answers = {platform::kYes};
    platform.openAnswers.push_back(file.toStdString());
    trigger(QStringLiteral("mnudopen"));
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(form->combinationTable().cell(1 + k, 1), design::ticketText(tickets[static_cast<std::size_t>(k)]));
    EXPECT_EQ(form->combinationTable().cell(4, 1), "");
}

TEST_F(DesignTabTest, ARefusedSettingSaysWhyOnTheTab) {
    auto* problem = find<QLabel>(QStringLiteral("designProblem"));
    click("designModeWheel");
    for (int v : {3, 9, 14, 22}) number(v);
    click("designRun");
    waitForResult(30);
    EXPECT_FALSE(problem->isHidden());
    EXPECT_EQ(problem->text().toStdString(), design::refusal(tab->request()).value_or("(none)"));
    EXPECT_NE(problem->text().indexOf(QStringLiteral("4 個")), -1);
    // Six numbers, of which five drawn: any five of them share four with one ticket.
    number(30);
    number(31);
    spin("designAtLeast")->setValue(5);
    click("designRun");
    waitForResult(30);
    EXPECT_TRUE(problem->isHidden());
    EXPECT_EQ(shownTickets().size(), 1u);
    EXPECT_TRUE(label("designGuarantee").startsWith(QStringLiteral("選んだ 6 個の数字のうち 5 個以上が")));

    // Best N: the chosen numbers make fewer tickets than asked for.
    click("designModeBest");  // the same six numbers: six tickets
    spin("designTickets")->setValue(7);
    click("designRun");
    waitForResult(30);
    EXPECT_EQ(problem->text().toStdString(), design::refusal(tab->request()).value_or("(none)"));
    spin("designTickets")->setValue(6);
    click("designRun");
    waitForResult(60);
    EXPECT_TRUE(problem->isHidden());
    EXPECT_EQ(shownTickets().size(), 6u);
    EXPECT_TRUE(platform.boxes.empty()) << platform.boxes.front().text;
}

// 人気の組合せを避ける: without atarikin.csv the tab says why and runs
// nothing; with the published counts the tickets cover the draws the plain
// design covers, none is above the limit set, and their value is stated.
TEST_F(DesignTabTest, AvoidingPopularTicketsKeepsTheDrawsCoveredAndStatesTheirValue) {
    auto* avoid = find<QCheckBox>(QStringLiteral("designAvoidPopular"));
    auto* limitOn = find<QCheckBox>(QStringLiteral("designPopularLimitOn"));
    auto* limit = find<QDoubleSpinBox>(QStringLiteral("designPopularLimit"));
    EXPECT_FALSE(limitOn->isEnabled());
    spin("designTickets")->setValue(4);
    avoid->setChecked(true);
    EXPECT_TRUE(limitOn->isEnabled());
    EXPECT_FALSE(limit->isEnabled());
    click("designRun");
    EXPECT_FALSE(tab->searching());
    EXPECT_EQ(label("designProblem").toStdString(), analysis::kNoPayoutFileMessage);
    EXPECT_FALSE(find<QLabel>(QStringLiteral("designProblem"))->isHidden());

    writePublishedPayouts();
    restart();
    selectTab(app::kTabDesign);
    tab = find<ui::DesignTab>(QStringLiteral("designTab"));
    spin("designTickets")->setValue(4);
    click("designRun");
    waitForResult(60);
    const QString plainCovered = label("designCovered");
    EXPECT_TRUE(find<QLabel>(QStringLiteral("designValue"))->isHidden());

    find<QCheckBox>(QStringLiteral("designAvoidPopular"))->setChecked(true);
    click("designRun");
    waitForResult(60);
    EXPECT_EQ(label("designCovered"), plainCovered);
    expectProvedFigure();
    EXPECT_TRUE(label("designValue").startsWith(QStringLiteral("期待払戻額（1口 200円あたり）　この 4 口の平均 ")))
        << label("designValue").toStdString();

    find<QCheckBox>(QStringLiteral("designPopularLimitOn"))->setChecked(true);
    find<QDoubleSpinBox>(QStringLiteral("designPopularLimit"))->setValue(0.9);
    click("designRun");
    waitForResult(60);
    expectProvedFigure();
    std::string why;
    const auto model = form->popularity().model(&why);
    ASSERT_NE(model, nullptr) << why;
    for (Ticket t : shownTickets()) EXPECT_LE(model->popularity(t), 0.9) << design::ticketText(t);
    EXPECT_TRUE(label("designValue").contains(QStringLiteral("人気度 ×0.90 を超える組合せは使っていません。")));
    EXPECT_TRUE(platform.boxes.empty());
}

// The bar moves whatever the mode: by the planned moves, or by the time
// limit of a cover search, or (no limit) as a bar that shows it works; and a
// new run puts the result in sight away until it hands back its own.
TEST_F(DesignTabTest, TheBarMovesInEveryModeAndANewRunPutsTheOldResultAway) {
    auto* bar = find<QProgressBar>(QStringLiteral("designProgress"));
    auto* send = find<QPushButton>(QStringLiteral("designSend"));
    auto* save = find<QPushButton>(QStringLiteral("designSave"));
    spin("designTickets")->setValue(4);
    click("designRun");
    waitForResult(60);
    EXPECT_EQ(bar->value(), 1000);
    ASSERT_TRUE(send->isEnabled());
    ASSERT_TRUE(save->isEnabled());

    click("designModeGuarantee");
    auto* limit = find<QComboBox>(QStringLiteral("designTimeLimit"));
    limit->setCurrentIndex(limit->findData(10));
    click("designRun");
    EXPECT_FALSE(send->isEnabled());
    EXPECT_FALSE(save->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->maximum() == 1000 && bar->value() > 0; }, 5000));
    const int early = bar->value();
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->value() > early; }, 5000));
    EXPECT_FALSE(send->isEnabled());
    click("designCancel");
    waitForResult(60);

    limit->setCurrentIndex(limit->findData(0));
    click("designRun");
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->minimum() == 0 && bar->maximum() == 0; }, 2000));
    click("designCancel");
    waitForResult(60);
    EXPECT_EQ(bar->maximum(), 1000);
}

}  // namespace
}  // namespace kazuban::testing
