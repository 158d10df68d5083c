#include "ui/draw_frame_box.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

#include "ui/look.h"

namespace kazuban::ui {

namespace {

constexpr const char* kFrameCaption = " 当選番号 ： 右端は、ボーナス数字 ";
constexpr const char* kCountsCaption =
    "≪第　　　  　 回 ≫  ４等　  　　本，３等　  　本，２等　　　 本，１等 　　　本 ";

// The line "≪第 … 回 ≫ ４等 … 本，…" with the draw number and the four
// prize counts laid over its blanks. The blanks are found in the caption
// itself, so the numbers sit right whatever font the system gives.
class DrawCountsLine : public QWidget {
public:
    DrawCountsLine(QLabel* caption, std::array<QLabel*, 5> values, QWidget* parent)
        : QWidget(parent), caption_(caption), values_(values) {
        caption_->setParent(this);
        for (QLabel* v : values_) {
            v->setParent(this);
            v->setAlignment(Qt::AlignCenter);
            v->raise();
        }
    }
    QSize sizeHint() const override { return caption_->sizeHint(); }
    QSize minimumSizeHint() const override { return caption_->sizeHint(); }

    void place() {
        const QString text = caption_->text();
        const QFontMetrics fm(caption_->font());
        caption_->setGeometry(0, 0, caption_->sizeHint().width(), height());
        const int left = caption_->contentsRect().left();
        // Blank run after `after` up to `before`, searched from `from`.
        auto blank = [&](const QString& after, const QString& before, qsizetype from, QLabel* label) {
            const qsizetype a = text.indexOf(after, from);
            if (a < 0) return from;
            const qsizetype start = a + after.size();
            const qsizetype end = text.indexOf(before, start);
            if (end < 0) return from;
            const int x0 = left + fm.horizontalAdvance(text.left(start));
            const int x1 = left + fm.horizontalAdvance(text.left(end));
            label->setGeometry(x0, 0, std::max(1, x1 - x0), height());
            return end;
        };
        qsizetype pos = blank(QStringLiteral("第"), QStringLiteral("回"), 0, values_[0]);
        pos = blank(QStringLiteral("４等"), QStringLiteral("本"), pos, values_[4]);
        pos = blank(QStringLiteral("３等"), QStringLiteral("本"), pos, values_[3]);
        pos = blank(QStringLiteral("２等"), QStringLiteral("本"), pos, values_[2]);
        blank(QStringLiteral("１等"), QStringLiteral("本"), pos, values_[1]);
    }

protected:
    void resizeEvent(QResizeEvent*) override { place(); }

private:
    QLabel* caption_;
    std::array<QLabel*, 5> values_;
};

}  // namespace

DrawFrameBox::DrawFrameBox(app::Form1& form, QWidget* parent)
    : QGroupBox(QString::fromUtf8(kFrameCaption), parent), form_(form) {
    setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(2);

    hscroll1_ = new QScrollBar(Qt::Horizontal, this);
    hscroll1_->setObjectName(QStringLiteral("HScroll1"));
    hscroll1_->setMinimumWidth(180);
    hscroll1_->setMaximumWidth(420);
    // Like the scroll bar of old, a drag reports its end position only.
    hscroll1_->setTracking(false);
    connect(hscroll1_, &QScrollBar::valueChanged, this, [this](int value) { form_.HScroll1_Change(value); });

    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setMinimumWidth(260);
    label1_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->setFixedWidth(220);
    QSizePolicy keep = progressBar_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    progressBar_->setSizePolicy(keep);
    progressBar_->hide();

    auto* label2 = new QLabel(QString::fromUtf8(kCountsCaption));
    label2->setObjectName(QStringLiteral("Label2"));
    for (std::size_t k = 0; k < label3_.size(); ++k) {
        label3_[k] = new QLabel;
        label3_[k]->setObjectName(QStringLiteral("Label3_%1").arg(k));
    }
    auto* counts = new DrawCountsLine(label2, label3_, this);

    // A wider window gives the draw selector finer steps and the draw text room.
    grid->addWidget(hscroll1_, 0, 0);
    grid->addWidget(label1_, 0, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 2);
    grid->addWidget(progressBar_, 0, 2);
    grid->addWidget(counts, 1, 0, 1, 3, Qt::AlignLeft);
}

void DrawFrameBox::refresh() {
    const app::DrawFrame& frame = form_.frame();
    label1_->setText(qs(frame.Label1()));
    for (std::size_t k = 0; k < label3_.size(); ++k) label3_[k]->setText(qs(frame.Label3()[k]));
    const app::ScrollBarState& bar = frame.HScroll1();
    const QSignalBlocker block(hscroll1_);
    hscroll1_->setRange(bar.min, std::max(bar.min, bar.max));
    hscroll1_->setValue(bar.value);
    hscroll1_->setPageStep(std::max(1, (bar.max - bar.min) / 20));
}

}  // namespace kazuban::ui
