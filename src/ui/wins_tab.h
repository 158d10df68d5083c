#pragma once
// Tab 0 "当 選 回 数": the combination table MSFlexGrid1, the buttons AC, ￥,
// △ and ⇔, and pop-up menu 1, which the grid opens itself.
#include <QWidget>

#include "app/form1.h"

class QMenu;

namespace kazuban::ui {

class FlexGrid;

class WinsTab : public QWidget {
    Q_OBJECT
public:
    explicit WinsTab(app::Form1& form, QWidget* parent = nullptr);

    FlexGrid* grid() const { return grid_; }
    QMenu* popupMenu() const { return popup_; }
    void refresh();

private:
    void buildPopupMenu();

    app::Form1& form_;
    FlexGrid* grid_ = nullptr;
    QMenu* popup_ = nullptr;
};

}  // namespace kazuban::ui
