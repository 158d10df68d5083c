#include "ui/download_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <string>

#include "ui/look.h"

namespace kazuban::ui {

namespace {

// Why a request got no HTTP answer, in the player's words.
std::string failureText(const QNetworkReply& reply) {
    switch (reply.error()) {
    case QNetworkReply::ConnectionRefusedError: return "サーバーに接続できませんでした（接続を拒否されました）。";
    case QNetworkReply::HostNotFoundError:
        return "サーバー「" + reply.url().host().toStdString() +
               "」が見つかりませんでした。インターネットへの接続を確かめて下さい。";
    case QNetworkReply::RemoteHostClosedError: return "サーバーが途中で接続を切りました。";
    case QNetworkReply::TimeoutError: return "サーバーから応答がありませんでした。";
    case QNetworkReply::SslHandshakeFailedError: return "サーバーと安全な接続（SSL/TLS）ができませんでした。";
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
        return "ネットワークに接続されていません。インターネットへの接続を確かめて下さい。";
    default: return "通信できませんでした（" + reply.errorString().toStdString() + "）。";
    }
}

}  // namespace

DownloadDialog::DownloadDialog(platform::DownloadSession& session, std::chrono::milliseconds timeout, QWidget* parent)
    : QDialog(parent), session_(session), timeout_(timeout) {
    setObjectName(QStringLiteral("DownloadDialog"));
    setWindowTitle(QStringLiteral("最新結果を取得"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("DownloadText"));
    text_->setMinimumWidth(text_->fontMetrics().horizontalAdvance(QString(26, QChar(0x3000))));
    layout->addWidget(text_);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("DownloadBar"));
    bar_->setTextVisible(false);
    layout->addWidget(bar_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("DownloadCancel"));
    connect(buttons, &QDialogButtonBox::rejected, this, &DownloadDialog::reject);
    layout->addWidget(buttons);

    network_ = new QNetworkAccessManager(this);
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (!reply_) return;
        timedOut_ = true;
        reply_->abort();  // finishes the reply
    });
}

DownloadDialog::~DownloadDialog() { dropReply(); }

bool DownloadDialog::run() {
    if (session_.nextUrl().empty()) return true;
    startNext();
    exec();
    return !cancelled_;
}

void DownloadDialog::startNext() {
    const std::string url = session_.nextUrl();
    if (url.empty()) {
        accept();
        return;
    }
    text_->setText(qs(session_.progressText()));
    const int known = session_.stepsKnown();
    bar_->setRange(0, known);  // 0 .. 0: the steps are not known yet
    bar_->setValue(known > 0 ? session_.stepsDone() : 0);

    QNetworkRequest request(QUrl(qs(url)));
    request.setHeader(QNetworkRequest::UserAgentHeader, QString::fromLatin1(kBrowserUserAgent));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    timedOut_ = false;
    reply_ = network_->get(request);
    connect(reply_, &QNetworkReply::finished, this, &DownloadDialog::replyFinished);
    timer_->start(timeout_);
}

void DownloadDialog::replyFinished() {
    timer_->stop();
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    platform::DownloadAnswer answer;
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (timedOut_) {
        answer.status = 0;
        answer.error =
            "サーバーから " + std::to_string((timeout_.count() + 999) / 1000) + " 秒待っても応答がありませんでした。";
    } else if (answer.status == 0) {
        answer.error = failureText(*reply);
    } else {
        const QByteArray body = reply->readAll();
        answer.body.assign(body.constData(), static_cast<std::size_t>(body.size()));
    }
    reply->deleteLater();
    session_.answer(answer);
    startNext();
}

void DownloadDialog::dropReply() {
    if (!reply_) return;
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    reply->abort();
    reply->deleteLater();
}

void DownloadDialog::reject() {
    // キャンセル, Esc and the close button: the request under way is dropped
    // and nothing that was fetched is used.
    timer_->stop();
    dropReply();
    cancelled_ = true;
    QDialog::reject();
}

}  // namespace kazuban::ui
