#pragma once
// The winning-numbers frame "Frame1" above the tabs: the draw selector
// HScroll1, the draw's numbers (Label1), the progress bar of long work and
// the line of prize counts (Label2 with Label3(0..4) laid over its blanks).
// It shows app::DrawFrame.
#include <QGroupBox>
#include <array>

#include "app/form1.h"

class QLabel;
class QProgressBar;
class QScrollBar;

namespace kazuban::ui {

class DrawFrameBox : public QGroupBox {
    Q_OBJECT
public:
    explicit DrawFrameBox(app::Form1& form, QWidget* parent = nullptr);

    QProgressBar* progressBar() const { return progressBar_; }
    void refresh();

private:
    app::Form1& form_;
    QScrollBar* hscroll1_ = nullptr;
    QLabel* label1_ = nullptr;
    std::array<QLabel*, 5> label3_{};
    QProgressBar* progressBar_ = nullptr;
};

}  // namespace kazuban::ui
