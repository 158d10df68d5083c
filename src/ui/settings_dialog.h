#pragma once
// The settings dialog "環境設定" over the core's dialog logic: the widgets show
// config::Dialog's state and call its handlers. Below the paths, the
// addresses the latest results are fetched from (ui/result_urls.h), saved
// with OK.
#include <QDialog>
#include <array>
#include <functional>
#include <optional>

#include "config/dialog.h"
#include "ui/result_urls.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;

namespace kazuban::app {
class Form1;
}

namespace kazuban::ui {

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    // Builds the dialog and runs its load handler (which reads Kazuban.ini).
    SettingsDialog(app::Form1& form, platform::Platform& platform, QWidget* parent = nullptr);

    config::Dialog& logic() { return dialog_; }
    // True once a handler ended the dialog (OK, Cancel, a home page failure).
    bool finished() const { return dialog_.closed; }

    // Runs one handler of the dialog's logic through the window's command
    // runner, then redraws and closes when done.
    void runHandler(const std::function<void()>& handler);
    void refreshFromState();

public slots:
    void reject() override;

private:
    void fillFolderList();
    // The addresses of the latest results as typed (an empty box: the
    // bank's); nullopt after saying what is wrong with one.
    std::optional<ResultUrls> typedResultUrls();

    app::Form1& form_;
    platform::Platform& platform_;
    config::Dialog dialog_;
    std::array<QLineEdit*, 4> texts_{};
    std::array<QLineEdit*, 2> urls_{};
    std::array<QRadioButton*, 4> options_{};
    QComboBox* drive1_ = nullptr;
    QListWidget* dir1_ = nullptr;
    QLabel* dirPath_ = nullptr;
    std::string shownFolder_;
    std::vector<std::string> shownDrives_;
};

}  // namespace kazuban::ui
