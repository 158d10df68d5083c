#pragma once
// Tab 3 "ネット利用分析": nine buttons that open the analysis links, their
// edit toggles and text boxes, and the three editing buttons.
#include <QWidget>
#include <array>

#include "app/form1.h"

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kazuban::ui {

class LinksTab : public QWidget {
    Q_OBJECT
public:
    explicit LinksTab(app::Form1& form, QWidget* parent = nullptr);
    void refresh();

private:
    app::Form1& form_;
    std::array<QLineEdit*, 9> text1_{};
    std::array<QPushButton*, 9> command1_{};
    std::array<QRadioButton*, 9> option1_{};
    QButtonGroup* optionGroup_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command7_ = nullptr;
    QPushButton* command8_ = nullptr;
};

}  // namespace kazuban::ui
