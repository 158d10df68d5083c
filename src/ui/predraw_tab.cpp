#include "ui/predraw_tab.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/flex_grid.h"
#include "ui/menus.h"
#include "ui/pictures.h"

namespace kazuban::ui {

PredrawTab::PredrawTab(app::Form1& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("PredrawTab"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 6);
    auto* left = new QVBoxLayout;
    left->setSpacing(2);
    auto* hint = new QLabel(QStringLiteral("右ｸﾘｯｸ可"), this);
    hint->setObjectName(QStringLiteral("LabelHint5"));
    hint->setAlignment(Qt::AlignRight);
    left->addWidget(hint);
    grid_ = new FlexGrid(form_.predraw().grid(), this);
    grid_->setObjectName(QStringLiteral("MSFlexGrid5"));
    grid_->setRightPressSelectsRow(true);
    buildPopupMenu();
    connect(grid_, &FlexGrid::gridMouseDown, this, [this](int button) {
        if (form_.MSFlexGrid5_MouseDown(button)) openPopup(popup_, grid_);
    });
    left->addWidget(grid_, 1);
    layout->addLayout(left, 1);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(drawBallsPicture(QSize(84, 300)));
    picture->setFixedSize(84, 300);
    auto* right = new QVBoxLayout;
    right->addSpacing(18);
    right->addWidget(picture);
    right->addStretch(1);
    layout->addLayout(right);
}

void PredrawTab::buildPopupMenu() {
    app::Form1& f = form_;
    popup_ = newPopupMenu(this, "pmnupopup3");
    QMenu* sort = addSubMenu(popup_, "ptsort", "整列");
    struct SortEntry {
        int column;
        const char* caption;
    };
    static constexpr SortEntry kSorts[] = {{0, "回"},       {1, "当選番号"},   {2, "合計"},
                                           {3, "当選回数"}, {4, "最新当選回"}, {6, "奇：偶"},
                                           {7, "P相性率"},  {8, "T相性率"},    {9, "5分割分布"}};
    int separator = 0;
    for (const SortEntry& e : kSorts) {
        if (separator > 0) addSeparator(sort, QStringLiteral("kugiri3%1").arg(separator).toLatin1().constData());
        ++separator;
        const QByteArray base = QByteArray("ptsmnu") + QByteArray::number(e.column);
        QMenu* sub = addSubMenu(sort, base.constData(), e.caption);
        const int column = e.column;
        addEntry(sub, (base + "s").constData(), "昇順", [&f, column] { f.ptsmnuSort(column, true); });
        addSeparator(sub, (QByteArray("kugiri3") + QByteArray::number(e.column) + "1").constData());
        addEntry(sub, (base + "k").constData(), "降順", [&f, column] { f.ptsmnuSort(column, false); });
    }
    addSeparator(popup_, "kugiri10");
    addEntry(popup_, "pmnucopy3", "ｺﾋﾟｰ", [&f] { f.pmnucopy3_click(); });
    addSeparator(popup_, "kugiri11");
    addEntry(popup_, "pmnuprt3", "印刷", [&f] { f.pmnuprt3_click(); });
    addSeparator(popup_, "kugiri12");
    addEntry(popup_, "pmnucancell3", "ｷｬﾝｾﾙ", [&f] { f.pmnucancell3_click(); });
    addSeparator(popup_, "kugiri13");
    addEntry(popup_, "pmnupreview3", "印刷プレビュー…", [&f] { f.pmnupreview3_click(); });
}

void PredrawTab::refresh() { grid_->refresh(); }

}  // namespace kazuban::ui
