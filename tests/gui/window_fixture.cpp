#include "window_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QSettings>
#include <QTabWidget>
#include <QTest>
#include <cmath>
#include <fstream>
#include <sstream>

#include "history/payout_table.h"
#include "history/result_files.h"
#include "modal.h"
#include "platform/line_file.h"
#include "text/path_text.h"
#include "ui/grid_model.h"
#include "ui/menus.h"
#include "ui/window_geometry.h"

namespace kazuban::testing {

int ScriptedPlatform::messageBox(const std::string& text, platform::Icon icon, platform::Buttons buttons) {
    boxes.push_back({text, icon, buttons});
    if (!answers.empty()) {
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == platform::Buttons::YesNoCancel ? platform::kCancel : platform::kOk;
}

namespace {

std::optional<std::filesystem::path> nextAnswer(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    if (!a) return std::nullopt;
    return text::pathFromUtf8(*a);
}

}  // namespace

std::optional<std::filesystem::path> ScriptedPlatform::openFileDialog(const platform::FileDialogOptions&) {
    return nextAnswer(openAnswers);
}

std::optional<std::filesystem::path> ScriptedPlatform::saveFileDialog(const platform::FileDialogOptions&) {
    return nextAnswer(saveAnswers);
}

std::vector<std::filesystem::path> ScriptedPlatform::openFilesDialog(const platform::FileDialogOptions&) {
    std::vector<std::filesystem::path> files;
    if (openManyAnswers.empty()) return files;
    for (const std::string& f : openManyAnswers.front()) files.push_back(text::pathFromUtf8(f));
    openManyAnswers.pop_front();
    return files;
}

void ScriptedPlatform::showPrintPreview(const output::PrintDocument& document) {
    previews.push_back(document);
    if (previewForReal) ui::QtPlatform::showPrintPreview(document);
}

void ScriptedPlatform::startProgram(const std::string& commandLine) {
    startedPrograms.push_back(commandLine);
    if (startForReal) ui::QtPlatform::startProgram(commandLine);
}

void ScriptedPlatform::showProgress(int minimum, int maximum) {
    progressRanges.emplace_back(minimum, maximum);
    ui::QtPlatform::showProgress(minimum, maximum);
}

void ScriptedPlatform::setProgress(int value) {
    ++progressSteps;
    if (host() && host()->progressBar()->isVisible()) ++progressStepsVisible;
    ui::QtPlatform::setProgress(value);
    if (onProgress) onProgress(value);
}

void WindowTest::SetUp() {
    ui::setPopupChooser([this](QMenu* menu) {
        popups.push_back(menu->objectName());
        if (popupChoices.empty()) return;
        const QString choice = popupChoices.front();
        popupChoices.pop_front();
        if (choice.isEmpty()) return;
        QAction* action = menu->findChild<QAction*>(choice);
        ASSERT_NE(action, nullptr) << "no entry " << choice.toStdString() << " in " << menu->objectName().toStdString();
        action->trigger();
    });
    ASSERT_TRUE(dir.isValid());
    // What one test's window remembered (recent files, prize amounts) is
    // not the next one's.
    std::unique_ptr<QSettings>(ui::newWindowSettings())->clear();
    previousDir = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
}

void WindowTest::TearDown() {
    ui::setPopupChooser(nullptr);
    window.reset();
    form.reset();
    QDir::setCurrent(previousDir);
}

void WindowTest::copyDemo() {
    for (const char* name : {"atarimgrp.txt", "Kazuban.ini", "sample_combos.txt"}) {
        const QString from = QStringLiteral(KAZUBAN_DEMO_DIR "/") + QLatin1String(name);
        ASSERT_TRUE(QFile::copy(from, dir.filePath(QLatin1String(name)))) << name;
    }
}

void WindowTest::writePublishedPayouts(const QString& folder) {
    std::ifstream in(KAZUBAN_TESTDATA_DIR "/results-1-1000.csv", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    history::PayoutTable table;
    for (const history::ResultDraw& d : history::readResultFile(bytes.str(), "results").draws) table[d.draw] = d.payout;
    QFile f(QDir(folder.isEmpty() ? dir.path() : folder).filePath(QString::fromLatin1(history::kPayoutFileName)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    const std::string out = history::payoutTableBytes(table);
    f.write(out.data(), static_cast<qint64>(out.size()));
}

bool WindowTest::start() {
    form = std::make_unique<app::Form1>(platform);
    window = std::make_unique<ui::MainWindow>(*form, platform);
    if (!form->Form_Load(platform.currentDirectory())) return false;
    window->show();
    return true;
}

void WindowTest::restart() {
    window.reset();
    form.reset();
    ASSERT_TRUE(start());
}

void WindowTest::loadSampleCombinations() {
    platform.openAnswers.push_back(dir.filePath(QStringLiteral("sample_combos.txt")).toStdString());
    trigger(QStringLiteral("mnudopen"));
}

void WindowTest::editHistory(int keepDraws, const std::vector<std::string>& added) {
    const std::string file = dir.filePath(QStringLiteral("atarimgrp.txt")).toStdString();
    std::string bytes = platform::readFileBytes(file);
    if (keepDraws >= 0) {
        std::size_t end = 0;
        for (int line = 0; line <= keepDraws && end != std::string::npos; ++line) {
            end = bytes.find('\n', end);
            if (end != std::string::npos) ++end;
        }
        if (end != std::string::npos) bytes.resize(end);
    }
    for (const std::string& line : added) bytes += platform::encodeCp932(line + "\r\n");
    QFile f(QString::fromStdString(file));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes.data(), static_cast<qint64>(bytes.size())), static_cast<qint64>(bytes.size()));
}

void WindowTest::openAndCancelEntry() {
    WhenModal cancel([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); }, "kazuban::ui::DrawEntryDialog");
    trigger(QStringLiteral("mnuanyuryoku"));
    EXPECT_TRUE(cancel.worked());
}

void WindowTest::trigger(const QString& name) {
    QAction* action = find<QAction>(name);
    ASSERT_NE(action, nullptr) << name.toStdString();
    ASSERT_TRUE(action->isEnabled()) << name.toStdString();
    action->trigger();
}

void WindowTest::dragRows(const char* gridName, int fromRow, int toRow, int col) {
    auto* g = find<ui::FlexGrid>(QString::fromLatin1(gridName));
    ASSERT_NE(g, nullptr) << gridName;
    const QRect from = g->cellRect(fromRow, col), to = g->cellRect(toRow, col);
    ASSERT_FALSE(from.isEmpty()) << gridName << " row " << fromRow << " is out of sight";
    ASSERT_FALSE(to.isEmpty()) << gridName << " row " << toRow << " is out of sight";
    QTest::mousePress(g->viewport(), Qt::LeftButton, {}, from.center());
    QMouseEvent move(QEvent::MouseMove, QPointF(to.center()), QPointF(g->viewport()->mapToGlobal(to.center())),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(g->viewport(), &move);
    QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, to.center());
}

void WindowTest::press(const char* gridName, Qt::MouseButton button, int row, int col, Qt::KeyboardModifiers mods) {
    auto* g = find<ui::FlexGrid>(QString::fromLatin1(gridName));
    ASSERT_NE(g, nullptr) << gridName;
    const QRect at = g->cellRect(row, col);
    ASSERT_FALSE(at.isEmpty()) << gridName << " cell " << row << "," << col << " is out of sight";
    QTest::mouseClick(g->viewport(), button, mods, at.center());
}

QString WindowTest::cell(const char* gridName, int row, int col) const {
    const QAbstractItemModel* m = find<ui::FlexGrid>(QString::fromLatin1(gridName))->gridModel();
    return m->data(m->index(row, col)).toString();
}

QString WindowTest::label(const char* name) const { return find<QLabel>(QString::fromLatin1(name))->text(); }

void WindowTest::selectTab(int index) { find<QTabWidget>(QStringLiteral("SSTab1"))->setCurrentIndex(index); }

void WindowTest::openSettings(const std::function<void(ui::SettingsDialog&)>& act) {
    WhenModal when(
        [&](QWidget* modal) {
            auto* dialog = qobject_cast<ui::SettingsDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
            if (dialog->isVisible()) dialog->reject();
        },
        "kazuban::ui::SettingsDialog");
    trigger(QStringLiteral("mnuktoroku"));
    EXPECT_TRUE(when.worked());
}

::testing::AssertionResult wholeTicks(const ui::Chart::AxisShown& axis) {
    if (axis.ticks.empty()) return ::testing::AssertionFailure() << "no ticks";
    if (static_cast<qsizetype>(axis.ticks.size()) != axis.labels.size())
        return ::testing::AssertionFailure() << axis.ticks.size() << " ticks, " << axis.labels.size() << " labels";
    for (std::size_t i = 0; i < axis.ticks.size(); ++i) {
        const double t = axis.ticks[i];
        const QString label = axis.labels[static_cast<qsizetype>(i)];
        if (t != std::round(t) || label != QString::number(static_cast<long long>(t)))
            return ::testing::AssertionFailure() << "tick " << t << " labelled " << label.toStdString();
        if (i > 0 && axis.labels[static_cast<qsizetype>(i - 1)] == label)
            return ::testing::AssertionFailure() << "two ticks labelled " << label.toStdString();
    }
    return ::testing::AssertionSuccess();
}

}  // namespace kazuban::testing
