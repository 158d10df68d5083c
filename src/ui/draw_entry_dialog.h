#pragma once
// The entry form of a new draw: five main numbers and the bonus number,
// checked as the user types (history::checkDrawFields), and optionally the
// draw's date and the winners and prize of each grade
// (history::checkPayoutFields). OK stays disabled, with the reason shown,
// until the six numbers are a draw and the optional fields are right. It
// opens showing what the core hands it: what was typed before an append
// that failed, or the suggested date of the draw.
#include <QDialog>
#include <array>
#include <optional>

#include "platform/platform.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kazuban::ui {

class DrawEntryDialog : public QDialog {
    Q_OBJECT
public:
    DrawEntryDialog(int drawNumber, const platform::NewDraw& shown, QWidget* parent = nullptr);

    // The numbers as typed (main numbers, then the bonus) once they are a draw.
    std::optional<std::array<int, 6>> numbers() const { return numbers_; }
    // Everything as typed, once OK can be pressed.
    std::optional<platform::NewDraw> entered() const;
    QLineEdit* field(int k) const { return fields_[static_cast<std::size_t>(k)]; }

private:
    void check();

    std::array<QLineEdit*, 6> fields_{};
    QLineEdit* date_ = nullptr;
    std::array<QLineEdit*, 4> winners_{}, prizes_{};
    bool payoutOk_ = true;
    QLabel* reason_ = nullptr;
    QPushButton* ok_ = nullptr;
    std::optional<std::array<int, 6>> numbers_;
};

}  // namespace kazuban::ui
