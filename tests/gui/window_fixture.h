#pragma once
// The real main window on a copy of the demo data, with a platform whose
// message boxes and file dialogs answer from scripts, and pop-up menus whose
// entries the test chooses. Widgets, models and the clipboard are the real
// ones; the settings dialog is the real modal dialog, answered by openSettings.
#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/form1.h"
#include "output/print_document.h"
#include "ui/charts.h"
#include "ui/flex_grid.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"
#include "ui/settings_dialog.h"

namespace kazuban::testing {

struct ShownBox {
    std::string text;
    platform::Icon icon;
    platform::Buttons buttons;
};

class ScriptedPlatform : public ui::QtPlatform {
public:
    std::deque<int> answers;  // empty: OK, or Cancel for Yes/No/Cancel
    std::vector<ShownBox> boxes;
    std::deque<std::optional<std::string>> openAnswers, saveAnswers;  // empty: Cancel
    std::deque<std::vector<std::string>> openManyAnswers;             // empty: Cancel
    std::vector<std::string> startedPrograms;
    // Programs are recorded; with startForReal they are also started.
    bool startForReal = false;
    // Every progress range shown, and how many progress steps found the bar
    // on screen.
    std::vector<std::pair<int, int>> progressRanges;
    int progressSteps = 0, progressStepsVisible = 0;
    std::function<void(int)> onProgress;  // called at every progress step

    int messageBox(const std::string& text, platform::Icon icon, platform::Buttons buttons) override;
    std::optional<std::filesystem::path> openFileDialog(const platform::FileDialogOptions& options) override;
    std::optional<std::filesystem::path> saveFileDialog(const platform::FileDialogOptions& options) override;
    std::vector<std::filesystem::path> openFilesDialog(const platform::FileDialogOptions& options) override;
    // Every document shown in the print preview; with previewForReal the
    // real preview dialog opens too.
    std::vector<output::PrintDocument> previews;
    bool previewForReal = false;
    void showPrintPreview(const output::PrintDocument& document) override;
    void startProgram(const std::string& commandLine) override;
    void showProgress(int minimum, int maximum) override;
    void setProgress(int value) override;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies the demo history and environment file into the test folder.
    void copyDemo();
    // atarikin.csv of the published results of draws 1..1000, in the test
    // folder or in `folder`.
    void writePublishedPayouts(const QString& folder = {});
    // Builds the window and runs the start-up in the test folder; shows the
    // window when the start-up succeeded.
    bool start();
    // A second run on the same folder: a new core and window.
    void restart();
    // Loads the demo's combination file through "呼出し".
    void loadSampleCombinations();
    // atarimgrp.txt changed outside the program, as in an editor: its first
    // `keepDraws` draw lines kept (all when negative), then `added` (UTF-8
    // texts, written as cp932) appended.
    void editHistory(int keepDraws, const std::vector<std::string>& added = {});
    // ◇当選番号 → 入力… opened and cancelled: the form reads the file again.
    void openAndCancelEntry();

    template <class T>
    T* find(const QString& name) const {
        return window->findChild<T*>(name);
    }
    // Triggers a menu entry, failing the test when it is missing or disabled.
    void trigger(const QString& name);
    void selectTab(int index);
    // Opens ◇環境 → 設定, runs `act` on the real modal dialog, and cancels it
    // when `act` left it open.
    void openSettings(const std::function<void(ui::SettingsDialog&)>& act);
    // A left press on (fromRow, col) of a grid, a drag with the button held to
    // (toRow, col) and the release there; both cells must be in sight.
    void dragRows(const char* gridName, int fromRow, int toRow, int col);
    // A press and release of `button` on a grid's cell, which must be in sight.
    void press(const char* gridName, Qt::MouseButton button, int row, int col, Qt::KeyboardModifiers mods = {});
    // The text a grid shows in a cell, and the text of a label.
    QString cell(const char* gridName, int row, int col) const;
    QString label(const char* name) const;

    // objectName of the entry to choose in the next pop-up menus a grid opens;
    // "" or none dismisses the menu. `popups` names every menu opened.
    std::deque<QString> popupChoices;
    std::vector<QString> popups;

    ScriptedPlatform platform;
    QTemporaryDir dir;
    QString previousDir;
    std::unique_ptr<app::Form1> form;
    std::unique_ptr<ui::MainWindow> window;
};

// A chart's axis counts in whole numbers: every tick is a whole number,
// labelled as that number, and no two ticks read the same.
::testing::AssertionResult wholeTicks(const ui::Chart::AxisShown& axis);

}  // namespace kazuban::testing
