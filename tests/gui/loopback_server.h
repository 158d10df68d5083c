#pragma once
// An HTTP server on 127.0.0.1 inside the test process: it answers GET
// requests from a table of paths (404 for any other path) and records what
// it was asked and with which User-Agent. A silent reply never comes.
#include <QByteArray>
#include <QMap>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>

namespace kazuban::testing {

class LoopbackServer {
public:
    struct Reply {
        int status = 200;
        QByteArray body;
        bool silent = false;
    };

    LoopbackServer() {
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) serve(socket);
        });
        listening_ = server_.listen(QHostAddress::LocalHost, 0);
    }
    bool listening() const { return listening_; }
    std::string url(const char* path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(QLatin1String(path)).toStdString();
    }

    QMap<QString, Reply> replies;
    QStringList asked;
    QList<QByteArray> userAgents;

private:
    void serve(QTcpSocket* socket) {
        auto received = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, received] {
            received->append(socket->readAll());
            const qsizetype end = received->indexOf("\r\n\r\n");
            if (end < 0) return;
            const QList<QByteArray> lines = received->left(end).split('\n');
            received->clear();
            asked << QString::fromLatin1(lines.value(0).split(' ').value(1));
            for (const QByteArray& line : lines)
                if (line.toLower().startsWith("user-agent:")) userAgents << line.mid(11).trimmed();
            const Reply r = replies.value(asked.back(), Reply{404, "Not Found", false});
            if (r.silent) return;
            socket->write("HTTP/1.1 " + QByteArray::number(r.status) + (r.status == 200 ? " OK" : " Not OK") +
                          "\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(r.body.size()) +
                          "\r\nConnection: close\r\n\r\n" + r.body);
            socket->disconnectFromHost();
        });
    }

    QTcpServer server_;
    bool listening_ = false;
};

}  // namespace kazuban::testing
