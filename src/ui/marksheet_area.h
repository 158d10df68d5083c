#pragma once
// The figures' area of the mark-sheet tab: five figures side by side, each
// with its caption above and its four tier boxes below, and the note under
// them. The area is laid out as the view was designed and grows with the
// room the tab gives it, figures, boxes and texts alike; its smallest size
// shows every figure whole at the grid's own size.
#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;

namespace kazuban::ui {

class FlexGrid;

class MarkSheetArea : public QWidget {
public:
    struct Figure {
        QLabel* caption = nullptr;          // "ﾃﾞｰﾀ番号: …"
        FlexGrid* grid = nullptr;           // the figure itself
        std::array<QLineEdit*, 4> tiers{};  // tiers 1 to 4, top down
        QLabel* winsFrame = nullptr;        // " 全　　　　　回" round tier 3
        QLabel* latestFrame = nullptr;      // " 第　　　　　回" round tier 4
    };

    explicit MarkSheetArea(QWidget* parent = nullptr);

    // The widgets become children of the area, which places them from now on.
    void setFigure(int k, const Figure& figure);
    void setSideLabels(QLabel* pairLabel, QLabel* tripleLabel);  // "P", "T" left of the first figure
    void setNote(QLabel* note);

    // How much larger than designed everything is drawn now.
    double zoom() const { return zoom_; }
    // The figures' grids changed their columns or font: measure again.
    void figuresChanged();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Gives every part the size of `zoom` and returns the size they need.
    QSize applyZoom(double zoom);
    void placeAll(QSize needed);
    void relayout();

    std::array<Figure, 5> figures_{};
    QLabel* pairLabel_ = nullptr;
    QLabel* tripleLabel_ = nullptr;
    QLabel* note_ = nullptr;
    double zoom_ = 1.0;
    mutable QSize natural_;  // the size needed at zoom 1
    // The measures of the last applyZoom, in pixels.
    QSize figureSize_, boxSize_, noteSize_;
    int columnWidth_ = 0, gap_ = 0, figuresWidth_ = 0, sideWidth_ = 0;
    int figureTop_ = 0, tierTop_ = 0, tierPitch_ = 0, noteTop_ = 0;
};

}  // namespace kazuban::ui
