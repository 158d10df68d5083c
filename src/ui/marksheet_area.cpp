#include "ui/marksheet_area.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

#include "ui/flex_grid.h"

namespace kazuban::ui {

namespace {

// The figures grow up to this many times their own size.
constexpr double kMaxZoom = 3.0;

int scaled(int px, double zoom) { return static_cast<int>(std::lround(px * zoom)); }

// A frame label " 第　　　　　回" set round its box, so that the box covers
// the blanks between the opening character and "回".
void placeFramedBox(QLabel* frame, const QLineEdit* box, const QString& opening) {
    if (!frame || !box) return;
    const QString text = frame->text();
    const QFontMetrics fm(frame->font());
    const qsizetype start = text.indexOf(opening);
    if (start < 0) return;
    const qsizetype blanksFrom = start + opening.size();
    qsizetype blanksTo = blanksFrom;
    while (blanksTo < text.size() && text[blanksTo].isSpace()) ++blanksTo;
    const int x0 = fm.horizontalAdvance(text.left(blanksFrom));
    const int x1 = fm.horizontalAdvance(text.left(blanksTo));
    const QRect b = box->geometry();
    frame->setGeometry(b.center().x() - (x0 + x1) / 2, b.y(), fm.horizontalAdvance(text) + 4, b.height());
    frame->lower();
}

}  // namespace

MarkSheetArea::MarkSheetArea(QWidget* parent) : QWidget(parent) {}

void MarkSheetArea::setFigure(int k, const Figure& figure) {
    if (k < 0 || k >= static_cast<int>(figures_.size())) return;
    figures_[static_cast<std::size_t>(k)] = figure;
    for (QWidget* w :
         std::initializer_list<QWidget*>{figure.caption, figure.grid, figure.winsFrame, figure.latestFrame})
        if (w) w->setParent(this);
    for (QLineEdit* box : figure.tiers)
        if (box) box->setParent(this);
    natural_ = QSize();
}

void MarkSheetArea::setSideLabels(QLabel* pairLabel, QLabel* tripleLabel) {
    pairLabel_ = pairLabel;
    tripleLabel_ = tripleLabel;
    for (QLabel* l : {pairLabel, tripleLabel})
        if (l) l->setParent(this);
    natural_ = QSize();
}

void MarkSheetArea::setNote(QLabel* note) {
    note_ = note;
    if (note_) note_->setParent(this);
    natural_ = QSize();
}

QSize MarkSheetArea::minimumSizeHint() const {
    if (!natural_.isValid()) {
        auto* self = const_cast<MarkSheetArea*>(this);
        const double shown = zoom_;
        natural_ = self->applyZoom(1.0);
        if (shown != 1.0) self->applyZoom(shown);
    }
    return natural_;
}

QSize MarkSheetArea::sizeHint() const { return minimumSizeHint(); }

void MarkSheetArea::figuresChanged() {
    const FlexGrid* grid = figures_[0].grid;
    if (!grid || grid->contentSize() == figureSize_) return;
    natural_ = QSize();
    updateGeometry();
    relayout();
}

void MarkSheetArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout();
}

void MarkSheetArea::relayout() {
    const QSize natural = minimumSizeHint();
    if (natural.isEmpty()) return;
    double zoom =
        std::clamp(std::min(double(width()) / natural.width(), double(height()) / natural.height()), 1.0, kMaxZoom);
    QSize needed = applyZoom(zoom);
    // Pixels and texts do not grow quite in step with the zoom: shrink until
    // everything fits (at zoom 1 it does, the layout sees to that).
    for (int tries = 0; zoom > 1.0 && tries < 20 && (needed.width() > width() || needed.height() > height()); ++tries) {
        const double ratio = std::min(double(width()) / needed.width(), double(height()) / needed.height());
        zoom = std::max(1.0, zoom * std::min(ratio, 0.99));
        needed = applyZoom(zoom);
    }
    placeAll(needed);
}

QSize MarkSheetArea::applyZoom(double zoom) {
    zoom_ = zoom;
    QFont f = font();
    f.setPointSizeF(font().pointSizeF() * zoom);
    const QFontMetrics fm(f);
    QSize figure;
    for (const Figure& fig : figures_) {
        for (QWidget* w : std::initializer_list<QWidget*>{fig.caption, fig.winsFrame, fig.latestFrame})
            if (w) w->setFont(f);
        for (QLineEdit* box : fig.tiers)
            if (box) box->setFont(f);
        if (fig.grid) {
            fig.grid->setZoom(zoom);
            figure = figure.expandedTo(fig.grid->contentSize());
        }
    }
    for (QLabel* l : {pairLabel_, tripleLabel_, note_})
        if (l) l->setFont(f);

    const int captionHeight = fm.height() + 2;
    const int boxWidth = std::max(scaled(58, zoom), fm.horizontalAdvance(QStringLiteral("0.0000")) + 12);
    const int boxHeight = std::max(scaled(18, zoom), fm.height() + 4);
    const int frameWidth = fm.horizontalAdvance(QStringLiteral(" 全　　　　　回")) + 4;
    const int sideWidth = fm.horizontalAdvance(QStringLiteral("T")) + 4;
    columnWidth_ = std::max({figure.width(), frameWidth, boxWidth + 2 * (sideWidth + scaled(4, zoom))});
    gap_ = scaled(14, zoom);
    figureSize_ = figure;
    figureTop_ = captionHeight + scaled(2, zoom);
    tierTop_ = figureTop_ + figure.height() + scaled(15, zoom);
    tierPitch_ = boxHeight + scaled(14, zoom);
    boxSize_ = QSize(boxWidth, boxHeight);
    sideWidth_ = sideWidth;
    noteTop_ = tierTop_ + 3 * tierPitch_ + boxHeight + scaled(12, zoom);
    noteSize_ = note_ ? QSize(fm.horizontalAdvance(note_->text()) + 4, fm.height() + 2) : QSize(0, 0);
    figuresWidth_ = 5 * columnWidth_ + 4 * gap_;
    return {std::max(figuresWidth_, noteSize_.width()), noteTop_ + noteSize_.height()};
}

void MarkSheetArea::placeAll(QSize needed) {
    const int left = std::max(0, (width() - needed.width()) / 2) + (needed.width() - figuresWidth_) / 2;
    const int top = std::max(0, (height() - needed.height()) / 2);
    for (std::size_t k = 0; k < figures_.size(); ++k) {
        const Figure& fig = figures_[k];
        const int x = left + static_cast<int>(k) * (columnWidth_ + gap_);
        const int figureLeft = x + (columnWidth_ - figureSize_.width()) / 2;
        if (fig.caption) fig.caption->setGeometry(figureLeft, top, x + columnWidth_ - figureLeft, figureTop_);
        if (fig.grid) fig.grid->setGeometry(figureLeft, top + figureTop_, figureSize_.width(), figureSize_.height());
        const int boxLeft = x + (columnWidth_ - boxSize_.width()) / 2;
        for (std::size_t i = 0; i < fig.tiers.size(); ++i)
            if (fig.tiers[i])
                fig.tiers[i]->setGeometry(boxLeft, top + tierTop_ + static_cast<int>(i) * tierPitch_, boxSize_.width(),
                                          boxSize_.height());
        placeFramedBox(fig.winsFrame, fig.tiers[2], QStringLiteral("全"));
        placeFramedBox(fig.latestFrame, fig.tiers[3], QStringLiteral("第"));
    }
    const QLineEdit* first = figures_[0].tiers[0];
    if (first) {
        auto side = [&](QLabel* label, const QLineEdit* box) {
            if (!label || !box) return;
            const QRect b = box->geometry();
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            label->setGeometry(b.x() - sideWidth_ - scaled(4, zoom_), b.y(), sideWidth_, b.height());
        };
        side(pairLabel_, figures_[0].tiers[0]);
        side(tripleLabel_, figures_[0].tiers[1]);
    }
    if (note_) note_->setGeometry(left, top + noteTop_, noteSize_.width(), noteSize_.height());
}

}  // namespace kazuban::ui
