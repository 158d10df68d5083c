#pragma once
// Tab 1 "合計・奇数偶数・分布 等": the totals view MSFlexGrid2 and pop-up
// menu 2, which the grid opens itself.
#include <QWidget>

#include "app/form1.h"

class QMenu;

namespace kazuban::ui {

class FlexGrid;

class TotalsTab : public QWidget {
    Q_OBJECT
public:
    explicit TotalsTab(app::Form1& form, QWidget* parent = nullptr);

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
