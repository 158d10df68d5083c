#pragma once
// The downloads of a platform::DownloadSession over HTTP, one after another,
// in a modal dialog that shows their progress and cancels them (キャンセル,
// Esc, the title bar's close button). The requests run asynchronously, so
// the window keeps painting while they wait; each gives up after the
// timeout and carries a desktop browser's User-Agent, as some servers
// answer nothing else.
#include <QDialog>
#include <chrono>

#include "platform/platform.h"

class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QProgressBar;
class QTimer;

namespace kazuban::ui {

inline constexpr const char* kBrowserUserAgent =
    "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/124.0.0.0 "
    "Safari/537.36";

class DownloadDialog : public QDialog {
    Q_OBJECT
public:
    DownloadDialog(platform::DownloadSession& session, std::chrono::milliseconds timeout, QWidget* parent = nullptr);
    ~DownloadDialog() override;

    // Runs the session to its end; false when the user cancelled.
    bool run();

public slots:
    void reject() override;

private:
    void startNext();
    void replyFinished();
    void dropReply();

    platform::DownloadSession& session_;
    std::chrono::milliseconds timeout_;
    QNetworkAccessManager* network_ = nullptr;
    QNetworkReply* reply_ = nullptr;
    QTimer* timer_ = nullptr;
    QLabel* text_ = nullptr;
    QProgressBar* bar_ = nullptr;
    bool timedOut_ = false;
    bool cancelled_ = false;
};

}  // namespace kazuban::ui
