#pragma once
// Menus of the window and its tabs: every entry carries the name the program
// gives it (objectName), so a test finds it; choosing it calls one handler
// of the core.
#include <QMenu>
#include <functional>

namespace kazuban::ui {

class FlexGrid;

QAction* addEntry(QMenu* menu, const char* name, const char* caption, std::function<void()> handler);
QAction* addSeparator(QMenu* menu, const char* name);
QMenu* addSubMenu(QMenu* menu, const char* name, const char* caption);
// A pop-up menu of the widget that was clicked; its own object, named.
QMenu* newPopupMenu(QWidget* owner, const char* name);
// Opens a grid's pop-up menu: at the grid's current cell when the keyboard
// asked for it, else at the pointer. It does not wait: the chosen entry
// runs its handler as a command of its own.
void openPopup(QMenu* menu, const FlexGrid* grid);

// Tests choose a pop-up menu's entry without a menu on screen: while set,
// openPopup hands the menu to `chooser` instead of showing it.
using PopupChooser = std::function<void(QMenu* menu)>;
void setPopupChooser(PopupChooser chooser);

}  // namespace kazuban::ui
