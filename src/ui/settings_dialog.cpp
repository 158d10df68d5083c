#include "ui/settings_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

#include "app/form1.h"
#include "history/bank_fetch.h"
#include "text/path_text.h"
#include "ui/look.h"
#include "ui/pictures.h"

namespace kazuban::ui {

namespace {

namespace dt = config::dialog_text;

QString u8(const char* s) { return QString::fromUtf8(s); }

// A label that reports a left click (the home page address).
class ClickLabel : public QLabel {
public:
    ClickLabel(const QString& text, std::function<void()> onClick, QWidget* parent)
        : QLabel(text, parent), onClick_(std::move(onClick)) {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) onClick_();
    }

private:
    std::function<void()> onClick_;
};

QLabel* wrappedLabel(const char* name, const char* text, QWidget* parent) {
    auto* label = new QLabel(u8(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    return label;
}

// The folders from the root down to `path` (full paths), as a folder list shows
// them above the current folder's sub-folders.
QStringList folderChain(const QString& path) {
    const QString p = QDir::fromNativeSeparators(path);
    QStringList chain;
    QString current;
    const QStringList parts = p.split(QLatin1Char('/'));
    for (int i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (i == 0) {
            current = part + QLatin1Char('/');  // "/" or "C:/"
            chain << current;
            continue;
        }
        if (part.isEmpty()) continue;
        current = current.endsWith(QLatin1Char('/')) ? current + part : current + QLatin1Char('/') + part;
        chain << current;
    }
    return chain;
}

}  // namespace

SettingsDialog::SettingsDialog(app::Form1& form, platform::Platform& platform, QWidget* parent)
    : QDialog(parent), form_(form), platform_(platform), dialog_(platform) {
    setObjectName(QStringLiteral("Dialog"));
    setWindowTitle(u8(dt::kDialogCaption));
    setModal(true);

    auto* outer = new QHBoxLayout(this);
    outer->setSpacing(16);

    // Left: the four paths, the drive and the folder list. The captions were
    // written for a narrow label (their runs of blanks push the remark onto the
    // next line), so they wrap at about fifteen full-width characters.
    const int captionWidth = fontMetrics().horizontalAdvance(QString(15, QChar(0x3000))) + 6;
    auto* left = new QGridLayout;
    left->setHorizontalSpacing(6);
    left->setVerticalSpacing(8);
    const char* labelNames[4] = {"Label1", "Label2", "Label3", "Label13"};
    const char* labelTexts[4] = {dt::kLabel1, dt::kLabel2, dt::kLabel3, dt::kLabel13};
    auto* optionGroup = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        const auto k = static_cast<std::size_t>(i);
        QLabel* label = wrappedLabel(labelNames[i], labelTexts[i], this);
        label->setFixedWidth(captionWidth);
        options_[k] = new QRadioButton(this);
        options_[k]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        optionGroup->addButton(options_[k], i);
        connect(options_[k], &QRadioButton::toggled, this, [this, k](bool on) { dialog_.Option1[k] = on; });
        texts_[k] = new QLineEdit(this);
        texts_[k]->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        texts_[k]->setMinimumWidth(280);
        connect(texts_[k], &QLineEdit::textEdited, this,
                [this, i](const QString& t) { dialog_.box(i) = t.toStdString(); });
        left->addWidget(label, i, 0);
        left->addWidget(options_[k], i, 1);
        left->addWidget(texts_[k], i, 2);
    }
    drive1_ = new QComboBox(this);
    drive1_->setObjectName(QStringLiteral("Drive1"));
    connect(drive1_, &QComboBox::activated, this, [this](int index) {
        const std::string drive = drive1_->itemData(index).toString().toStdString();
        runHandler([this, drive] { dialog_.Drive1_Change(drive); });
    });
    left->addWidget(drive1_, 4, 2);
    dirPath_ = new QLabel(this);
    dirPath_->setObjectName(QStringLiteral("Dir1Path"));
    dirPath_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    left->addWidget(dirPath_, 5, 2);
    dir1_ = new QListWidget(this);
    dir1_->setObjectName(QStringLiteral("Dir1"));
    dir1_->setMinimumHeight(150);
    connect(dir1_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const std::string path = item->data(Qt::UserRole).toString().toStdString();
        runHandler([this, path] { dialog_.Dir1_Change(path); });
    });
    left->addWidget(dir1_, 6, 2);
    left->setRowStretch(6, 1);

    // The restart note stands right under the paths it is about.
    QLabel* note = wrappedLabel("Label12", dt::kRestartNote, this);
    note->setStyleSheet(QStringLiteral("QLabel { color: #b00020; }"));
    left->addWidget(note, 7, 0, 1, 3);

    // Where the latest results come from: the user's settings, not lines of
    // Kazuban.ini (whose lines stay those it has always had).
    auto* fetchHeading = new QLabel(u8("最新結果の取得先（◇当選番号 → 最新結果を取得）"), this);
    fetchHeading->setObjectName(QStringLiteral("LabelResultUrls"));
    QFont bold = fetchHeading->font();
    bold.setBold(true);
    fetchHeading->setFont(bold);
    left->addWidget(fetchHeading, 8, 0, 1, 3);
    const char* urlCaptions[2] = {"一覧ファイル", "CSV のフォルダー"};
    const char* urlNames[2] = {"TextIndexUrl", "TextFolderUrl"};
    const ResultUrls urls{form_.state().resultsIndexUrl, form_.state().resultsFolderUrl};
    const std::string* urlTexts[2] = {&urls.index, &urls.folder};
    for (int i = 0; i < 2; ++i) {
        auto* caption = new QLabel(u8(urlCaptions[i]), this);
        urls_[static_cast<std::size_t>(i)] = new QLineEdit(qs(*urlTexts[i]), this);
        QLineEdit* edit = urls_[static_cast<std::size_t>(i)];
        edit->setObjectName(QString::fromLatin1(urlNames[i]));
        edit->setPlaceholderText(u8(i == 0 ? history::kDefaultIndexUrl : history::kDefaultFolderUrl));
        edit->setToolTip(u8("空欄にすると、みずほ銀行の公開しているアドレスに戻ります。"));
        edit->setCursorPosition(0);
        left->addWidget(caption, 9 + i, 0, 1, 2);
        left->addWidget(edit, 9 + i, 2);
    }
    outer->addLayout(left, 1);

    // Right: the about block, the note and the buttons.
    auto* right = new QVBoxLayout;
    right->setSpacing(1);
    auto about = [&](const char* name, const char* text, bool heading) {
        auto* label = new QLabel(u8(text), this);
        label->setObjectName(QString::fromLatin1(name));
        if (!heading) label->setIndent(14);
        right->addWidget(label);
        return label;
    };
    about("Label4", dt::kLabel4, true);
    about("Label5", dt::kLabel5, false);
    about("Label6", dt::kLabel6, true);
    about("Label7", dt::kLabel7, false);
    about("Label8", dt::kLabel8, true);
    about("Label9", dt::kLabel9, false);
    about("Label10", dt::kLabel10, true);
    auto* home = new ClickLabel(
        u8(dt::kLabel11), [this] { runHandler([this] { dialog_.Label11_Click(form_.state().browsdir); }); }, this);
    home->setObjectName(QStringLiteral("Label11"));
    home->setToolTip(u8(dt::kLabel11Hint));
    home->setIndent(14);
    home->setStyleSheet(QStringLiteral("QLabel { color: #1a4fb0; text-decoration: underline; }"));
    right->addWidget(home);
    right->addSpacing(8);
    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(drawMarkSheetPicture(QSize(64, 120)));
    image->setFixedSize(64, 120);
    right->addWidget(image, 0, Qt::AlignHCenter);
    right->addStretch(1);
    auto* ok = new QPushButton(u8(dt::kOkCaption), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        const auto urls = typedResultUrls();
        if (!urls) return;
        runHandler([this, urls] {
            dialog_.OKButton_Click(form_.links().texts());
            saveResultUrls(*urls);
            form_.state().resultsIndexUrl = urls->index;
            form_.state().resultsFolderUrl = urls->folder;
            form_.state().settingsWritten();
        });
    });
    auto* cancel = new QPushButton(u8(dt::kCancelCaption), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(cancel, &QPushButton::clicked, this, [this] { runHandler([this] { dialog_.CancelButton_Click(); }); });
    right->addWidget(ok);
    right->addSpacing(4);
    right->addWidget(cancel);
    outer->addLayout(right);

    refreshFromState();
    runHandler([this] { dialog_.Form_Load(text::utf8FromPath(form_.state().startdir)); });
    // Qt's own first size is at most two thirds of the screen, less than the
    // wrapped captions need on a small screen (200 % of 1920 x 1080): the
    // headings would lie over the folder list. The dialog takes what it needs
    // where the screen has room.
    if (const QScreen* s = screen()) resize(sizeHint().boundedTo(s->availableSize()));
}

std::optional<ResultUrls> SettingsDialog::typedResultUrls() {
    ResultUrls urls;
    std::string* texts[2] = {&urls.index, &urls.folder};
    const char* defaults[2] = {history::kDefaultIndexUrl, history::kDefaultFolderUrl};
    for (std::size_t i = 0; i < 2; ++i) {
        const std::string typed = urls_[i]->text().trimmed().toStdString();
        *texts[i] = typed.empty() ? std::string(defaults[i]) : typed;
        const std::string problem = history::urlProblem(*texts[i]);
        if (problem.empty()) continue;
        platform_.messageBox(problem, platform::Icon::Exclamation, platform::Buttons::Ok);
        urls_[i]->setFocus();
        return std::nullopt;
    }
    return urls;
}

void SettingsDialog::runHandler(const std::function<void()>& handler) {
    form_.run(handler);
    refreshFromState();
    if (dialog_.closed) done(QDialog::Accepted);
}

void SettingsDialog::refreshFromState() {
    for (int i = 0; i < 4; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const QString t = qs(dialog_.box(i));
        if (texts_[k]->text() != t) texts_[k]->setText(t);
        const QSignalBlocker block(options_[k]);
        options_[k]->setChecked(dialog_.Option1[k]);
    }
    if (shownDrives_ != dialog_.Drive1) {
        shownDrives_ = dialog_.Drive1;
        const QSignalBlocker block(drive1_);
        drive1_->clear();
        for (const std::string& d : dialog_.Drive1) drive1_->addItem(qs(d), qs(d));
    }
    {
        const QSignalBlocker block(drive1_);
        drive1_->setCurrentIndex(drive1_->findData(qs(dialog_.Drive1Drive)));
    }
    if (shownFolder_ != dialog_.Dir1Path || dir1_->count() == 0) fillFolderList();
}

void SettingsDialog::fillFolderList() {
    shownFolder_ = dialog_.Dir1Path;
    dirPath_->setText(qs(dialog_.Dir1Path));
    const QSignalBlocker block(dir1_);
    dir1_->clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirIcon);
    const QStringList chain = folderChain(qs(dialog_.Dir1Path));
    int depth = 0;
    QListWidgetItem* current = nullptr;
    for (const QString& folder : chain) {
        QString name = depth == 0 ? QDir::toNativeSeparators(folder) : folder.section(QLatin1Char('/'), -1);
        auto* item = new QListWidgetItem(open, QString(depth * 2, QLatin1Char(' ')) + name, dir1_);
        item->setData(Qt::UserRole, QDir::toNativeSeparators(folder));
        current = item;
        ++depth;
    }
    for (const std::string& sub : dialog_.Dir1Folders) {
        const QString path = qs(sub);
        const QString name = QDir::fromNativeSeparators(path).section(QLatin1Char('/'), -1);
        auto* item = new QListWidgetItem(closed, QString(depth * 2, QLatin1Char(' ')) + name, dir1_);
        item->setData(Qt::UserRole, path);
    }
    if (current) dir1_->setCurrentItem(current);
}

void SettingsDialog::reject() {
    // Esc and the title bar's close button act as "ｷｬﾝｾﾙ" (which closes).
    if (!dialog_.closed) runHandler([this] { dialog_.CancelButton_Click(); });
    else QDialog::reject();
}

}  // namespace kazuban::ui
