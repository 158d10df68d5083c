#include "ui/marksheet_tab.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include "ui/flex_grid.h"
#include "ui/look.h"
#include "ui/marksheet_area.h"

namespace kazuban::ui {

namespace {

constexpr const char* kMarkSheetNote =
    "（※）１段目はペア相性率、２段目はトリプル相性率、３段目は当選回数、４段目は最新当選回";

QString objName(const char* base, int index) {
    return QString::fromLatin1(base) + QLatin1Char('_') + QString::number(index);
}

}  // namespace

MarkSheetTab::MarkSheetTab(app::Form1& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("MarkSheetTab"));
    // The list on the left takes the tab's height; the figures' area beside it
    // is laid out as the view was designed and grows with the window.
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(12);
    list_ = new FlexGrid(form_.markSheet().list(), this);
    list_->setObjectName(QStringLiteral("MSFlexGrid3"));
    list_->setHint(QStringLiteral("ｸﾘｯｸ"));
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list_->setMinimumHeight(120);
    connect(list_, &FlexGrid::gridClick, this, [this] { form_.MSFlexGrid3_Click(); });
    layout->addWidget(list_);

    area_ = new MarkSheetArea(this);
    area_->setObjectName(QStringLiteral("MarkSheetArea"));
    const char* captionNames[5] = {"Label4", "Label5", "Label6", "Label7", "Label14"};
    auto makeBox = [&](const char* base, int k) {
        auto* box = new QLineEdit(area_);
        box->setObjectName(objName(base, k));
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignCenter);
        box->setFocusPolicy(Qt::NoFocus);
        box->setTextMargins(0, 0, 0, 0);
        box->setStyleSheet(QStringLiteral("QLineEdit { padding: 0px; }"));
        return box;
    };
    for (int k = 0; k < 5; ++k) {
        const auto i = static_cast<std::size_t>(k);
        figures_[i] = new FlexGrid(form_.markSheet().figure(k), area_);
        figures_[i]->setObjectName(objName("MSFlexGrid4", k));
        figures_[i]->setInteractive(false);
        figures_[i]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        figures_[i]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

        captions_[i] = new QLabel(area_);
        captions_[i]->setObjectName(QString::fromLatin1(captionNames[k]));
        text4_[i] = makeBox("Text4", k);
        text5_[i] = makeBox("Text5", k);
        text2_[i] = makeBox("Text2", k);
        text3_[i] = makeBox("Text3", k);
        auto* label11 = new QLabel(QStringLiteral(" 全　　　　　回"), area_);
        label11->setObjectName(objName("Label11", k));
        auto* label9 = new QLabel(QStringLiteral(" 第　　　　　回"), area_);
        label9->setObjectName(objName("Label9", k));
        area_->setFigure(k, {captions_[i], figures_[i], {text4_[i], text5_[i], text2_[i], text3_[i]}, label11, label9});
    }
    auto sideLabel = [&](const char* name, const char* text) {
        auto* label = new QLabel(QString::fromUtf8(text), area_);
        label->setObjectName(QString::fromLatin1(name));
        return label;
    };
    area_->setSideLabels(sideLabel("Label12", "P"), sideLabel("Label13", "T"));
    auto* note = new QLabel(QString::fromUtf8(kMarkSheetNote), area_);
    note->setObjectName(QStringLiteral("Label8"));
    area_->setNote(note);
    layout->addWidget(area_, 1);
}

void MarkSheetTab::refresh() {
    list_->refresh();
    for (FlexGrid* g : figures_) g->refresh();
    // The list is as wide as its columns; the figures show whole.
    const int listWidth = list_->contentSize().width() + list_->verticalScrollBar()->sizeHint().width();
    if (list_->minimumWidth() != listWidth) list_->setFixedWidth(listWidth);
    area_->figuresChanged();

    const views::MarkSheetControls& m = form_.markSheet().controls();
    auto set = [](QLineEdit* box, const std::string& text) {
        const QString t = qs(text);
        if (box->text() != t) box->setText(t);
    };
    for (std::size_t k = 0; k < 5; ++k) {
        captions_[k]->setText(qs(m.caption[k]));
        set(text4_[k], m.Text4[k]);
        set(text5_[k], m.Text5[k]);
        set(text2_[k], m.Text2[k]);
        set(text3_[k], m.Text3[k]);
    }
}

}  // namespace kazuban::ui
