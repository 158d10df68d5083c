#include "ui/draw_entry_dialog.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "history/add_draw.h"
#include "history/payout_table.h"
#include "ui/look.h"

namespace kazuban::ui {

DrawEntryDialog::DrawEntryDialog(int drawNumber, const platform::NewDraw& shown, QWidget* parent) : QDialog(parent) {
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

    // The date and payouts, when the player has them: kept in atarikin.csv
    // for the back-test in yen.
    layout->addSpacing(6);
    auto* optional = new QLabel(QStringLiteral("日付・払戻金（わかれば入力。atarikin.csv に保存します）"), this);
    optional->setObjectName(QStringLiteral("LabelPayouts"));
    layout->addWidget(optional);
    auto* payouts = new QGridLayout;
    payouts->setHorizontalSpacing(6);
    payouts->setVerticalSpacing(2);
    auto numberField = [this](const QString& name, int chars) {
        auto* f = new QLineEdit(this);
        f->setObjectName(name);
        f->setAlignment(Qt::AlignRight);
        f->setFixedWidth(QFontMetrics(font()).horizontalAdvance(QString(chars, QLatin1Char('0'))) + 16);
        connect(f, &QLineEdit::textChanged, this, [this] { check(); });
        return f;
    };
    payouts->addWidget(new QLabel(QStringLiteral("抽せん日"), this), 0, 0);
    date_ = numberField(QStringLiteral("TextDate"), 10);
    date_->setAlignment(Qt::AlignLeft);
    date_->setPlaceholderText(QStringLiteral("2024/06/11"));
    payouts->addWidget(date_, 0, 1, 1, 2, Qt::AlignLeft);
    payouts->addWidget(new QLabel(QStringLiteral("口数"), this), 1, 1);
    payouts->addWidget(new QLabel(QStringLiteral("当せん金（1口・円）"), this), 1, 2);
    for (int g = 0; g < 4; ++g) {
        const auto k = static_cast<std::size_t>(g);
        payouts->addWidget(new QLabel(QStringLiteral("%1等").arg(g + 1), this), g + 2, 0);
        winners_[k] = numberField(QStringLiteral("TextWinners_%1").arg(g), 7);
        prizes_[k] = numberField(QStringLiteral("TextPrize_%1").arg(g), 12);
        payouts->addWidget(winners_[k], g + 2, 1);
        payouts->addWidget(prizes_[k], g + 2, 2);
    }
    payouts->setColumnStretch(3, 1);
    layout->addLayout(payouts);

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
        if (numbers_ && payoutOk_) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    for (std::size_t k = 0; k < 6; ++k)
        if (shown.numbers[k] != 0) fields_[k]->setText(QString::number(shown.numbers[k]));
    date_->setText(qs(shown.date));
    for (std::size_t g = 0; g < 4; ++g) {
        winners_[g]->setText(qs(shown.winners[g]));
        prizes_[g]->setText(qs(shown.prizes[g]));
    }
    check();
    fields_[0]->setFocus();
}

std::optional<platform::NewDraw> DrawEntryDialog::entered() const {
    if (!numbers_ || !payoutOk_) return std::nullopt;
    platform::NewDraw d;
    d.numbers = *numbers_;
    d.date = date_->text().toStdString();
    for (std::size_t g = 0; g < 4; ++g) {
        d.winners[g] = winners_[g]->text().toStdString();
        d.prizes[g] = prizes_[g]->text().toStdString();
    }
    return d;
}

void DrawEntryDialog::check() {
    // The fields below the numbers are made after the numbers' fields.
    if (!ok_ || !date_) return;
    std::vector<std::string> texts;
    for (const QLineEdit* f : fields_) texts.push_back(f->text().toStdString());
    const history::DrawCheck c = history::checkDrawFields(texts);
    numbers_ = c.numbers;
    std::array<std::string, 4> winners, prizes;
    for (std::size_t g = 0; g < 4; ++g) {
        winners[g] = winners_[g]->text().toStdString();
        prizes[g] = prizes_[g]->text().toStdString();
    }
    const history::PayoutCheck p = history::checkPayoutFields(date_->text().toStdString(), winners, prizes);
    payoutOk_ = p.problem.empty();
    ok_->setEnabled(numbers_.has_value() && payoutOk_);
    if (numbers_ && !payoutOk_) {
        reason_->setStyleSheet(QStringLiteral("color: #c00000;"));
        reason_->setText(qs(p.problem));
    } else if (numbers_) {
        reason_->setStyleSheet(QString());
        reason_->setText(QStringLiteral("登録する数字：") + qs(history::drawFieldText(*numbers_)));
    } else {
        // Numbers still missing is no fault; a wrong number is shown in red.
        reason_->setStyleSheet(c.incomplete ? QString() : QStringLiteral("color: #c00000;"));
        reason_->setText(qs(c.problem));
    }
}

}  // namespace kazuban::ui
