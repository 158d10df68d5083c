#include "ui/links_tab.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <functional>

#include "ui/look.h"

namespace kazuban::ui {

namespace {

QString objName(const char* base, int index) {
    return QString::fromLatin1(base) + QLatin1Char('_') + QString::number(index);
}

}  // namespace

LinksTab::LinksTab(app::Form1& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(QStringLiteral("LinksTab"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 12, 16, 12);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    optionGroup_ = new QButtonGroup(this);
    optionGroup_->setExclusive(true);
    for (int i = 0; i < 9; ++i) {
        const auto k = static_cast<std::size_t>(i);
        option1_[k] = new QRadioButton(this);
        option1_[k]->setObjectName(objName("Option1", i));
        option1_[k]->setToolTip(QStringLiteral("編集"));
        optionGroup_->addButton(option1_[k], i);
        connect(option1_[k], &QRadioButton::clicked, this, [this, i](bool checked) {
            if (checked) form_.Option1_Click(i);
        });

        command1_[k] = new QPushButton(this);
        command1_[k]->setObjectName(objName("Command1", i));
        command1_[k]->setToolTip(QStringLiteral("飛びます！"));
        command1_[k]->setMinimumWidth(240);
        command1_[k]->setStyleSheet(QStringLiteral("QPushButton { text-align: left; padding: 3px 10px; }"));
        connect(command1_[k], &QPushButton::clicked, this, [this, i] { form_.Command1_Click(i); });

        text1_[k] = new QLineEdit(this);
        text1_[k]->setObjectName(objName("Text1", i));
        QSizePolicy keep = text1_[k]->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        text1_[k]->setSizePolicy(keep);
        text1_[k]->hide();
        connect(text1_[k], &QLineEdit::textEdited, this,
                [this, i](const QString& text) { form_.Text1_Change(i, text.toStdString()); });

        grid->addWidget(option1_[k], i, 0);
        grid->addWidget(command1_[k], i, 1);
        grid->addWidget(text1_[k], i, 2);
    }
    // The buttons and the edit boxes share the width the window gives.
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 2);
    outer->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    auto makeButton = [&](const char* name, const char* caption, const char* hint, std::function<void()> handler) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        if (hint) b->setToolTip(QString::fromUtf8(hint));
        QSizePolicy keep = b->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        b->setSizePolicy(keep);
        b->hide();
        connect(b, &QPushButton::clicked, this, [handler = std::move(handler)] { handler(); });
        buttons->addWidget(b);
        return b;
    };
    buttons->addSpacing(28);
    command2_ = makeButton("Command2", "編集を保存", "再起動後、有効", [this] { form_.Command2_Click(); });
    command7_ = makeButton("Command7", "キャンセル", nullptr, [this] { form_.Command7_Click(); });
    command8_ = makeButton("Command8", "初期値に戻す", "再起動後、有効", [this] { form_.Command8_Click(); });
    buttons->addStretch(1);
    outer->addSpacing(8);
    outer->addLayout(buttons);
    outer->addStretch(1);
}

void LinksTab::refresh() {
    const views::LinkControls& l = form_.links().controls();
    for (std::size_t i = 0; i < 9; ++i) {
        const QString t = qs(l.Text1[i]);
        if (text1_[i]->text() != t) text1_[i]->setText(t);
        text1_[i]->setVisible(l.Text1Visible[i]);
        command1_[i]->setText(qs(l.Command1Caption[i]));
    }
    // An exclusive group cannot clear its last checked button.
    optionGroup_->setExclusive(false);
    for (std::size_t i = 0; i < 9; ++i) {
        const QSignalBlocker block(option1_[i]);
        option1_[i]->setChecked(l.Option1[i]);
    }
    optionGroup_->setExclusive(true);
    command2_->setVisible(l.Command2Visible);
    command7_->setVisible(l.Command7Visible);
    command8_->setVisible(l.Command8Visible);
}

}  // namespace kazuban::ui
