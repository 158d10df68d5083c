#include "ui/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QHeaderView>
#include <QLocale>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <algorithm>

#include "text/path_text.h"
#include "ui/download_dialog.h"
#include "ui/draw_entry_dialog.h"
#include "ui/look.h"
#include "ui/print_preview.h"

namespace kazuban::ui {

namespace {

// Message texts break lines with CR LF; a label wants a bare line feed.
QString displayText(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

// Icons and types of the listed files told by their names alone. Qt's own
// provider reads the start of every file it lists to tell its type, so a
// special file that blocks a reader (/proc/kmsg) hung the window as soon as
// its folder was listed, and files were read that the user never chose.
class NameOnlyIconProvider : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override {
        if (info.isRoot()) return icon(Drive);
        return icon(info.isDir() ? Folder : File);
    }
    QString type(const QFileInfo& info) const override {
        // Folders, links and special files are told without reading them.
        if (!info.isFile()) return QFileIconProvider::type(info);
        const QMimeType mime = mimes_.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
        return mime.comment().isEmpty() ? mime.name() : mime.comment();
    }

private:
    QMimeDatabase mimes_;
};

}  // namespace

QWidget* QtPlatform::parentWidget() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return host_ ? host_->dialogParent() : nullptr;
}

int QtPlatform::messageBox(const std::string& text, platform::Icon icon, platform::Buttons buttons) {
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    if (icon == platform::Icon::Critical) qicon = QMessageBox::Critical;
    if (icon == platform::Icon::Exclamation) qicon = QMessageBox::Warning;
    QMessageBox::StandardButtons qbuttons = QMessageBox::Ok;
    QMessageBox::StandardButton first = QMessageBox::Ok, escape = QMessageBox::Ok;
    if (buttons == platform::Buttons::OkCancel) {
        qbuttons = QMessageBox::Ok | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
    } else if (buttons == platform::Buttons::YesNoCancel) {
        qbuttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        first = QMessageBox::Yes;
        escape = QMessageBox::Cancel;
    }
    // The box has no title of its own: it carries the program's name.
    QMessageBox box(qicon, QString(), displayText(text), qbuttons, parentWidget());
    box.setWindowTitle(QStringLiteral("Kazuban"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(first);  // Enter confirms the first button
    box.setEscapeButton(escape);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    const QMessageBox::StandardButton answer = clicked ? box.standardButton(clicked) : escape;
    switch (answer) {
    case QMessageBox::Cancel: return platform::kCancel;
    case QMessageBox::Yes: return platform::kYes;
    case QMessageBox::No: return platform::kNo;
    default: return platform::kOk;
    }
}

QStringList QtPlatform::nameFilters(const std::string& filter) {
    QStringList out;
    for (const platform::FileFilter& f : platform::parseFilter(filter)) {
        QString patterns = qs(f.pattern);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString label = qs(f.label).trimmed();
        // Qt reads the patterns from the parentheses at the end of a choice.
        if (!label.endsWith(QLatin1Char('(') + patterns + QLatin1Char(')')))
            label += QStringLiteral(" (") + patterns + QLatin1Char(')');
        out << label;
    }
    return out;
}

void QtPlatform::fitFileColumns(QFileDialog& dialog) {
    // Qt sizes the detail columns for English texts; the Japanese headings,
    // types and dates need their own widths, at every scale. The name takes
    // what is left, and the dialog grows to show every column whole.
    dialog.setViewMode(QFileDialog::Detail);
    auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!tree) return;
    QHeaderView* header = tree->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < header->count(); ++c) header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    const QFontMetrics fm(tree->font());
    // The widest texts the columns show: a size, a type and a date as Qt writes them.
    const QString samples[] = {QStringLiteral("1023.99 KiB"), QStringLiteral("txt ファイル"),
                               QLocale().toString(QDateTime(QDate(2000, 12, 28), QTime(23, 58)), QLocale::ShortFormat)};
    int others = 0;
    for (int c = 1; c < header->count() && c <= 3; ++c)
        others +=
            std::max(header->sectionSizeHint(c), fm.horizontalAdvance(samples[c - 1]) + 2 * fm.averageCharWidth());
    const int wanted = others + fm.horizontalAdvance(QStringLiteral("wwwwwwwwwwwwwwwwwwww")) +
                       (dialog.width() - tree->viewport()->width());
    if (const QScreen* screen = dialog.screen())
        dialog.resize(std::min(std::max(dialog.width(), wanted), screen->availableGeometry().width()), dialog.height());
    else dialog.resize(std::max(dialog.width(), wanted), dialog.height());
}

std::vector<std::filesystem::path> QtPlatform::fileDialog(const platform::FileDialogOptions& options, bool save,
                                                          bool several) {
    NameOnlyIconProvider icons;  // outlives the dialog that uses it
    QFileDialog dialog(parentWidget(), QString(), qs(text::utf8FromPath(options.initialFolder)));
    dialog.setIconProvider(&icons);
    dialog.setWindowTitle(save ? QStringLiteral("名前を付けて保存") : QStringLiteral("ファイルを開く"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // A name typed in the open dialog reaches the program even when no such
    // file exists, which then says so in its own words; Qt's own dialog
    // speaks the program's language whatever the desktop's dialog would.
    dialog.setFileMode(several ? QFileDialog::ExistingFiles : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    const QStringList filters = nameFilters(options.filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (!options.defaultExtension.empty()) dialog.setDefaultSuffix(qs(options.defaultExtension));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(save && options.confirmOverwrite));
    fitFileColumns(dialog);
    if (dialog.exec() != QDialog::Accepted) return {};
    std::vector<std::filesystem::path> chosen;
    for (const QString& file : dialog.selectedFiles())
        if (!file.isEmpty()) chosen.push_back(text::pathFromUtf8(file.toStdString()));
    if (!several && chosen.size() > 1) chosen.resize(1);
    return chosen;
}

std::optional<std::filesystem::path> QtPlatform::openFileDialog(const platform::FileDialogOptions& options) {
    auto files = fileDialog(options, false);
    if (files.empty()) return std::nullopt;
    return files.front();
}

std::optional<std::filesystem::path> QtPlatform::saveFileDialog(const platform::FileDialogOptions& options) {
    auto files = fileDialog(options, true);
    if (files.empty()) return std::nullopt;
    return files.front();
}

std::vector<std::filesystem::path> QtPlatform::openFilesDialog(const platform::FileDialogOptions& options) {
    return fileDialog(options, false, true);
}

std::string QtPlatform::clipboardText() {
    // Lines on the clipboard end in CR LF for the program; texts that other
    // programs of this system put there may end in a bare line feed.
    QString s = QGuiApplication::clipboard()->text();
    QString out;
    out.reserve(s.size() + s.size() / 8);
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('\n') && (i == 0 || s[i - 1] != QLatin1Char('\r'))) out += QLatin1Char('\r');
        out += s[i];
    }
    return out.toStdString();
}

void QtPlatform::setClipboardText(const std::string& text) { QGuiApplication::clipboard()->setText(qs(text)); }

void QtPlatform::clearClipboard() { QGuiApplication::clipboard()->clear(); }

void QtPlatform::showPrintPreview(const output::PrintDocument& document) {
    execPrintPreview(parentWidget(), document, [this](const std::string& why) {
        messageBox(why, platform::Icon::Exclamation, platform::Buttons::Ok);
    });
}

std::optional<platform::NewDraw> QtPlatform::askNewDraw(int drawNumber, const platform::NewDraw& shown) {
    DrawEntryDialog dialog(drawNumber, shown, parentWidget());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.entered();
}

bool QtPlatform::runDownloads(platform::DownloadSession& session) {
    DownloadDialog dialog(session, downloadTimeout_, parentWidget());
    return dialog.run();
}

void QtPlatform::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++busyDepth_;
    } else if (busyDepth_ > 0) {
        QApplication::restoreOverrideCursor();
        --busyDepth_;
    }
}

void QtPlatform::endBusy() {
    while (busyDepth_ > 0) setBusy(false);
}

void QtPlatform::showProgress(int minimum, int maximum) {
    QProgressBar* bar = host_ ? host_->progressBar() : nullptr;
    if (!bar) return;
    host_->refreshGrids();
    bar->setRange(minimum, maximum);
    bar->setValue(minimum);
    bar->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sincePaint_.start();
}

void QtPlatform::setProgress(int value) {
    QProgressBar* bar = host_ ? host_->progressBar() : nullptr;
    if (!bar) return;
    bar->setValue(value);
    // Let the bar paint now and then during long work, never on every step.
    if (!sincePaint_.isValid() || sincePaint_.elapsed() >= 50) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        sincePaint_.start();
    }
}

void QtPlatform::hideProgress() {
    if (QProgressBar* bar = host_ ? host_->progressBar() : nullptr) bar->hide();
}

}  // namespace kazuban::ui
