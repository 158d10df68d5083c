#pragma once
// The main window "Kazuban": the menus, the winning-numbers frame and the
// tab control. Each tab is a class of its own (ui/*_tab.h) that shows one
// page of the core and opens its own pop-up menus. After every command the
// core announces what changed (app::CommandRunner); the window relays the
// announcement to the frame and the tabs, which redraw what depends on it.
// No rule of the program lives here.
#include <QMainWindow>
#include <memory>

#include "app/form1.h"
#include "ui/qt_platform.h"

class QAction;
class QMenu;
class QLabel;
class QTabWidget;

namespace kazuban::ui {

class ChangeRelay;
class DesignTab;
class DrawFrameBox;
class LedgerTab;
class LinksTab;
class MarkSheetTab;
class OddsTab;
class PredrawTab;
class SettingsDialog;
class StatsTab;
class TotalsTab;
class WinsTab;

class MainWindow : public QMainWindow, public WindowHost {
    Q_OBJECT
public:
    MainWindow(app::Form1& form, QtPlatform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    app::Form1& form() { return form_; }
    // The settings dialog over the core's dialog logic, loaded and ready.
    std::unique_ptr<SettingsDialog> createSettingsDialog();

    // WindowHost
    QProgressBar* progressBar() override;
    void refreshGrids() override;
    QWidget* dialogParent() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void openSettings();
    // ◇ファイル → 最近使ったファイル from the core's list, stored when it changed.
    void updateRecentFiles();
    // Moves to the next tab (step 1) or the one before (-1), round.
    void stepTab(int step);
    // Every part redrawn from the core after a command.
    void stateChanged(const app::Changes& changes);

    app::Form1& form_;
    QtPlatform& platform_;
    ChangeRelay* relay_ = nullptr;
    bool closing_ = false;

    DrawFrameBox* frame_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    WinsTab* winsTab_ = nullptr;
    TotalsTab* totalsTab_ = nullptr;
    MarkSheetTab* markSheetTab_ = nullptr;
    LinksTab* linksTab_ = nullptr;
    PredrawTab* predrawTab_ = nullptr;
    OddsTab* oddsTab_ = nullptr;
    StatsTab* statsTab_ = nullptr;
    DesignTab* designTab_ = nullptr;
    LedgerTab* ledgerTab_ = nullptr;
    QLabel* ledgerStatus_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    unsigned recentShown_ = 0;  // the revision of the list the menu shows
    unsigned statusShown_ = 0;  // the revision of the status line shown
};

}  // namespace kazuban::ui
