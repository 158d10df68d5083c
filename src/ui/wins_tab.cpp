#include "ui/wins_tab.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

#include "ui/flex_grid.h"
#include "ui/ledger_tab.h"
#include "ui/menus.h"

namespace kazuban::ui {

WinsTab::WinsTab(app::Form1& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("WinsTab"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    grid_ = new FlexGrid(form_.combinationTable(), this);
    grid_->setObjectName(QStringLiteral("MSFlexGrid1"));
    grid_->setHint(QStringLiteral("右ｸﾘｯｸ可"));
    grid_->setRightPressSelectsRow(true);
    // F2 or a double click types one combination into its row.
    grid_->setEditableColumn(1);
    connect(grid_, &FlexGrid::cellEdited, this, [this](int row, int, const QString& text) {
        form_.MSFlexGrid1_Edit(row, text.toStdString());
        grid_->refresh();
    });
    buildPopupMenu();
    connect(grid_, &FlexGrid::gridMouseDown, this, [this](int button) {
        if (form_.MSFlexGrid1_MouseDown(button)) openPopup(popup_, grid_);
    });
    layout->addWidget(grid_, 1);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    struct Button {
        const char* name;
        const char* caption;
        const char* hint;
        std::function<void(app::Form1&)> handler;
    };
    const Button list[] = {{"Command6", "AC", "All Clear", [](app::Form1& f) { f.Command6_Click(); }},
                           {"Command5", "￥", "当選回数確認", [](app::Form1& f) { f.Command5_Click(); }},
                           {"Command3", "△", "データ整列", [](app::Form1& f) { f.Command3_Click(); }},
                           {"Command4", "⇔", "昇順・降順切替", [](app::Form1& f) { f.Command4_Click(); }}};
    for (const Button& b : list) {
        auto* button = new QPushButton(QString::fromUtf8(b.caption), this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setToolTip(QString::fromUtf8(b.hint));
        button->setFixedSize(34, 28);
        connect(button, &QPushButton::clicked, this, [&f = form_, handler = b.handler] { handler(f); });
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);
}

void WinsTab::buildPopupMenu() {
    app::Form1& f = form_;
    popup_ = newPopupMenu(this, "pmnupopup");
    addEntry(popup_, "pmnucopy", "ｺﾋﾟｰ", [&f] { f.pmnucopy_click(); });
    addSeparator(popup_, "kugiri1");
    addEntry(popup_, "pmnupaste", "貼付", [&f] { f.pmnupaste_click(); });
    addSeparator(popup_, "kugiri2");
    addEntry(popup_, "pmnudelete", "削除", [&f] { f.pmnudelete_click(); });
    addSeparator(popup_, "kugiri3");
    addEntry(popup_, "pmnusave", "保存", [&f] { f.pmnusave_click(); });
    addSeparator(popup_, "kugiri4");
    addEntry(popup_, "pmnuprt", "印刷", [&f] { f.pmnuprt_click(); });
    addSeparator(popup_, "kugiri5");
    addEntry(popup_, "pmnucancell", "ｷｬﾝｾﾙ", [&f] { f.pmnucancell_click(); });
    addSeparator(popup_, "kugiri6");
    addEntry(popup_, "pmnupreview", "印刷プレビュー…", [&f] { f.pmnupreview_click(); });
    addSeparator(popup_, "kugiri7");
    addEntry(popup_, "pmnuledger", "購入記録に追加…",
             [this, &f] { addTableRowsToLedger(f, f.combinationTable().row(), f.combinationTable().rowSel(), this); });
}

void WinsTab::refresh() { grid_->refresh(); }

}  // namespace kazuban::ui
