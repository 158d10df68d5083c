#pragma once
// Tab 2 "マークシート図": the list MSFlexGrid3 and five mark sheets
// MSFlexGrid4(0..4), each with its caption and four figures under it.
#include <QWidget>
#include <array>

#include "app/form1.h"

class QLabel;
class QLineEdit;

namespace kazuban::ui {

class FlexGrid;
class MarkSheetArea;

class MarkSheetTab : public QWidget {
    Q_OBJECT
public:
    explicit MarkSheetTab(app::Form1& form, QWidget* parent = nullptr);

    FlexGrid* list() const { return list_; }
    void refresh();

private:
    app::Form1& form_;
    FlexGrid* list_ = nullptr;
    std::array<FlexGrid*, 5> figures_{};
    MarkSheetArea* area_ = nullptr;
    std::array<QLabel*, 5> captions_{};
    std::array<QLineEdit*, 5> text4_{}, text5_{}, text2_{}, text3_{};
};

}  // namespace kazuban::ui
