#pragma once
// The main window "Kazuban": menus, the winning-numbers frame, the five
// classic tabs and the analysis tabs after them. Every widget shows state of the core's Form1 and every user action
// calls one of its handlers; after the handler the window redraws from the
// state. No rule of the program lives here.
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

#include "app/form1.h"
#include "ui/qt_platform.h"

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTabWidget;
class QToolButton;

namespace kazuban::ui {

class FlexGrid;
class MarkSheetArea;
class OddsTab;
class SettingsDialog;
class StatsTab;

class MainWindow : public QMainWindow, public WindowHost {
    Q_OBJECT
public:
    MainWindow(app::Form1& form, QtPlatform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs one handler of the core as every user action does: errors that
    // escape it are shown, then the widgets are redrawn from the state (after
    // the outermost handler only, when handlers nest through a pop-up menu).
    void runHandler(const std::function<void()>& handler);
    // Redraws every widget from the core's state and closes the window once
    // the core asked for the end of the program.
    void refreshFromState();

    app::Form1& form() { return form_; }
    QMenu* popupMenu(platform::PopupMenu menu) const;
    // The settings dialog over the core's dialog logic, loaded and ready.
    std::unique_ptr<SettingsDialog> createSettingsDialog();

    // WindowHost
    void execPopupMenu(platform::PopupMenu menu) override;
    void execSettingsDialog() override;
    QProgressBar* progressBar() override { return progressBar_; }
    void refreshGrids() override;
    QWidget* dialogParent() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* addHandlerAction(QMenu* menu, const char* name, const char* caption, std::function<void()> handler);
    QAction* addSeparator(QMenu* menu, const char* name);
    QMenu* addSubMenu(QMenu* menu, const char* name, const char* caption);
    void buildMenus();
    void buildPopupMenus();
    QGroupBox* buildWinningNumbersFrame();
    QWidget* buildWinsTab();
    QWidget* buildTotalsTab();
    QWidget* buildMarkSheetTab();
    QWidget* buildLinksTab();
    QWidget* buildPredrawTab();
    FlexGrid* makeGrid(grid::TextGrid& grid, const char* name);
    void placeDrawCounts();
    void refreshLinks();
    void refreshMarkSheet();

    app::Form1& form_;
    QtPlatform& platform_;
    int handlerDepth_ = 0;
    bool closing_ = false;

    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    std::array<QLabel*, 5> label3_{};
    QScrollBar* hscroll1_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QTabWidget* tabs_ = nullptr;

    FlexGrid* grid1_ = nullptr;
    FlexGrid* grid2_ = nullptr;
    FlexGrid* grid3_ = nullptr;
    std::array<FlexGrid*, 5> grid4_{};
    MarkSheetArea* markSheetArea_ = nullptr;
    FlexGrid* grid5_ = nullptr;
    StatsTab* statsTab_ = nullptr;

    std::array<QLabel*, 5> figureCaptions_{};
    std::array<QLineEdit*, 5> text4_{}, text5_{}, text2_{}, text3_{};
    std::array<QLabel*, 5> label9_{}, label11_{};

    std::array<QLineEdit*, 9> text1_{};
    std::array<QPushButton*, 9> command1_{};
    std::array<QRadioButton*, 9> option1_{};
    QButtonGroup* optionGroup_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command7_ = nullptr;
    QPushButton* command8_ = nullptr;

    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;

    OddsTab* oddsTab_ = nullptr;

    QMenu* popup1_ = nullptr;
    QMenu* popup2_ = nullptr;
    QMenu* popup3_ = nullptr;
};

}  // namespace kazuban::ui
