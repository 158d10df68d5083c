#include "ui/draw_entry_dialog.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "history/add_draw.h"
#include "ui/look.h"

namespace kazuban::ui {

DrawEntryDialog::DrawEntryDialog(int drawNumber, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DrawEntryDialog"));
    const QString draw = QStringLiteral("第%1回").arg(drawNumber);
    setWindowTitle(draw + QStringLiteral("の当選番号"));

    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(draw + QStringLiteral("の当選番号を入力して下さい（順番は自由です）"), this);
    heading->setObjectName(QStringLiteral("LabelDraw"));
    layout->addWidget(heading);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->addWidget(new QLabel(QStringLiteral("本数字"), this), 0, 0, 1, 5, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("ボーナス"), this), 0, 6, Qt::AlignLeft);
    const int width = QFontMetrics(font()).horizontalAdvance(QStringLiteral("００")) + 16;
    for (int k = 0; k < 6; ++k) {
        auto* f = new QLineEdit(this);
        f->setObjectName(k < 5 ? QStringLiteral("TextMain_%1").arg(k) : QStringLiteral("TextBonus"));
        f->setMaxLength(2);
        f->setAlignment(Qt::AlignCenter);
        f->setFixedWidth(width);
        f->setInputMethodHints(Qt::ImhDigitsOnly);
        connect(f, &QLineEdit::textChanged, this, [this] { check(); });
        fields_[static_cast<std::size_t>(k)] = f;
        grid->addWidget(f, 1, k < 5 ? k : 6);
    }
    grid->setColumnMinimumWidth(5, 12);
    grid->setColumnStretch(7, 1);
    layout->addLayout(grid);

    reason_ = new QLabel(this);
    reason_->setObjectName(QStringLiteral("LabelReason"));
    reason_->setWordWrap(true);
    layout->addWidget(reason_);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok_->setObjectName(QStringLiteral("OKButton"));
    ok_->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (numbers_) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    check();
    fields_[0]->setFocus();
}

void DrawEntryDialog::check() {
    std::vector<std::string> texts;
    for (const QLineEdit* f : fields_) texts.push_back(f->text().toStdString());
    const history::DrawCheck c = history::checkDrawFields(texts);
    numbers_ = c.numbers;
    ok_->setEnabled(numbers_.has_value());
    if (numbers_) {
        reason_->setStyleSheet(QString());
        reason_->setText(QStringLiteral("登録する数字：") + qs(history::drawFieldText(*numbers_)));
    } else {
        // Numbers still missing is no fault; a wrong number is shown in red.
        reason_->setStyleSheet(c.incomplete ? QString() : QStringLiteral("color: #c00000;"));
        reason_->setText(qs(c.problem));
    }
}

}  // namespace kazuban::ui
