#pragma once
// Tab 4 "当選番号直前分析": the pre-draw view MSFlexGrid5, the picture beside
// it and pop-up menu 3, which the grid opens itself.
#include <QWidget>

#include "app/form1.h"

class QMenu;

namespace kazuban::ui {

class FlexGrid;

class PredrawTab : public QWidget {
    Q_OBJECT
public:
    explicit PredrawTab(app::Form1& form, QWidget* parent = nullptr);

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
