#pragma once
// The Platform of the window: Qt message boxes, file dialogs, clipboard, busy
// pointer and progress bar. Files, program start and random numbers are the
// core's own defaults.
#include <QElapsedTimer>
#include <QStringList>
#include <chrono>
#include <optional>
#include <string>

#include "platform/platform.h"

class QProgressBar;
class QWidget;

class QFileDialog;

namespace kazuban::ui {

// What the platform needs from the main window.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    virtual QProgressBar* progressBar() = 0;
    // Long work is about to show its progress: bring the grids up to what the
    // work has written so far, so the view being filled looks whole meanwhile.
    virtual void refreshGrids() {}
    // The window message boxes and file dialogs belong to (nullptr while hidden).
    virtual QWidget* dialogParent() = 0;
};

class QtPlatform : public platform::Platform {
public:
    QtPlatform() = default;
    void setHost(WindowHost* host) { host_ = host; }
    WindowHost* host() const { return host_; }

    int messageBox(const std::string& text, platform::Icon icon, platform::Buttons buttons) override;
    std::optional<std::filesystem::path> openFileDialog(const platform::FileDialogOptions& options) override;
    std::optional<std::filesystem::path> saveFileDialog(const platform::FileDialogOptions& options) override;
    std::vector<std::filesystem::path> openFilesDialog(const platform::FileDialogOptions& options) override;

    std::string clipboardText() override;
    void setClipboardText(const std::string& text) override;
    void clearClipboard() override;

    void showPrintPreview(const output::PrintDocument& document) override;
    // The entry form of a new draw (ui/draw_entry_dialog.h), modal.
    std::optional<platform::NewDraw> askNewDraw(int drawNumber, const platform::NewDraw& shown) override;
    // The downloads over HTTP in a modal progress dialog (ui/download_dialog.h).
    bool runDownloads(platform::DownloadSession& session) override;
    // How long one request may wait for its answer.
    void setDownloadTimeout(std::chrono::milliseconds timeout) { downloadTimeout_ = timeout; }

    void setBusy(bool busy) override;
    void showProgress(int minimum, int maximum) override;
    void setProgress(int value) override;
    void hideProgress() override;

    // Restores the normal pointer however many busy calls are still open (a
    // command that ended early must not leave the hourglass behind).
    void endBusy();
    int busyDepth() const { return busyDepth_; }

    // "label|pattern|..." as the choices of a Qt file dialog ("label (patterns)").
    static QStringList nameFilters(const std::string& filter);
    // The detail view of Qt's file dialog with every column whole (the
    // Japanese headings, types and dates), at every scale.
    static void fitFileColumns(QFileDialog& dialog);

protected:
    QWidget* parentWidget() const;
    // The files chosen in Qt's own dialog: one to save, one or `several` to open.
    std::vector<std::filesystem::path> fileDialog(const platform::FileDialogOptions& options, bool save,
                                                  bool several = false);

private:
    WindowHost* host_ = nullptr;
    int busyDepth_ = 0;
    QElapsedTimer sincePaint_;
    std::chrono::milliseconds downloadTimeout_{15'000};
};

}  // namespace kazuban::ui
