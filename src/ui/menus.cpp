#include "ui/menus.h"

#include <QCursor>

#include "ui/flex_grid.h"

namespace kazuban::ui {

QAction* addEntry(QMenu* menu, const char* name, const char* caption, std::function<void()> handler) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    QObject::connect(action, &QAction::triggered, menu, [handler = std::move(handler)] { handler(); });
    return action;
}

QAction* addSeparator(QMenu* menu, const char* name) {
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QString::fromLatin1(name));
    return separator;
}

QMenu* addSubMenu(QMenu* menu, const char* name, const char* caption) {
    QMenu* sub = menu->addMenu(QString::fromUtf8(caption));
    sub->setObjectName(QString::fromLatin1(name));
    sub->menuAction()->setObjectName(QString::fromLatin1(name));
    return sub;
}

QMenu* newPopupMenu(QWidget* owner, const char* name) {
    auto* menu = new QMenu(owner);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

namespace {

PopupChooser& chooser() {
    static PopupChooser instance;
    return instance;
}

}  // namespace

void openPopup(QMenu* menu, const FlexGrid* grid) {
    if (chooser()) return chooser()(menu);
    menu->popup(grid->keyboardMenuAt().value_or(QCursor::pos()));
}

void setPopupChooser(PopupChooser c) { chooser() = std::move(c); }

}  // namespace kazuban::ui
