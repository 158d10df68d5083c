#include "ui/totals_tab.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ui/flex_grid.h"
#include "ui/menus.h"

namespace kazuban::ui {

TotalsTab::TotalsTab(app::Form1& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("TotalsTab"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 6);
    layout->setSpacing(2);
    auto* hint = new QLabel(QStringLiteral("右ｸﾘｯｸ可"), this);
    hint->setObjectName(QStringLiteral("LabelHint2"));
    hint->setAlignment(Qt::AlignRight);
    layout->addWidget(hint);
    grid_ = new FlexGrid(form_.totals().grid(), this);
    grid_->setObjectName(QStringLiteral("MSFlexGrid2"));
    grid_->setRightPressSelectsRow(true);
    buildPopupMenu();
    connect(grid_, &FlexGrid::gridMouseDown, this, [this](int button) {
        if (form_.MSFlexGrid2_MouseDown(button)) openPopup(popup_, grid_);
    });
    layout->addWidget(grid_, 1);
}

void TotalsTab::buildPopupMenu() {
    app::Form1& f = form_;
    popup_ = newPopupMenu(this, "pmnupopup2");
    QMenu* sort = addSubMenu(popup_, "psort", "整列");
    addEntry(sort, "psmnu1", "組合わせﾃﾞｰﾀ", [&f] { f.psmnu1_click(); });
    addSeparator(sort, "pkugiri61");
    addEntry(sort, "psmnu2", "合 計", [&f] { f.psmnu2_click(); });
    addSeparator(sort, "pkugiri62");
    addEntry(sort, "psmnu3", "当選回数", [&f] { f.psmnu3_click(); });
    addSeparator(sort, "pkugiri63");
    addEntry(sort, "psmnu4", "最新当選回", [&f] { f.psmnu4_click(); });
    addSeparator(sort, "pkugiri64");
    addEntry(sort, "psmnu6", "奇：偶", [&f] { f.psmnu6_click(); });
    addSeparator(sort, "pkugiri65");
    addEntry(sort, "psmnu7", "P相性率", [&f] { f.psmnu7_click(); });
    addSeparator(sort, "pkugiri66");
    addEntry(sort, "psmnu8", "T相性率", [&f] { f.psmnu8_click(); });
    addSeparator(sort, "pkugiri67");
    addEntry(sort, "psmnu9", "5分割分布", [&f] { f.psmnu9_click(); });
    addSeparator(popup_, "pkugiri7");
    addEntry(popup_, "pmnucopy2", "ｺﾋﾟｰ", [&f] { f.pmnucopy2_click(); });
    addSeparator(popup_, "pkugiri8");
    addEntry(popup_, "pmnuprt2", "印刷", [&f] { f.pmnuprt2_click(); });
    addSeparator(popup_, "pkugiri9");
    addEntry(popup_, "pmnucancell2", "ｷｬﾝｾﾙ", [&f] { f.pmnucancell2_click(); });
    addSeparator(popup_, "pkugiri10");
    addEntry(popup_, "pmnupreview2", "印刷プレビュー…", [&f] { f.pmnupreview2_click(); });
}

void TotalsTab::refresh() { grid_->refresh(); }

}  // namespace kazuban::ui
