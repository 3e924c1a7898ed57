#pragma once

// A small HTTP/1.1 server on 127.0.0.1 at a free port, in the test process,
// for the update service, the version page and the packages: each path gets
// a canned answer (status, body, and how it is sent: at once, in slow
// chunks, dripping, broken off, or never), and every request is recorded.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>
#include <optional>

namespace httptest {

struct RecordedRequest {
    QByteArray method;
    QByteArray target; // as sent: path and query, still percent-encoded
    QByteArray path;
    QByteArray query;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;

    bool hasHeader(const QByteArray& name) const {
        for (const auto& header : headers)
            if (header.first.compare(name, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    }
};

struct Answer {
    enum class Mode {
        Whole,    // status line, headers and body at once
        Slow,     // the body in chunks of `chunkSize` every `chunkIntervalMs`
        BreakOff, // announces the whole body, sends `breakAfter` bytes, closes
        Hang,     // reads the request and never answers
        Drip,     // one byte of the body every `chunkIntervalMs`, then silence; never ends
    };
    int status = 200;
    QByteArray body;
    QByteArray contentType = "application/octet-stream";
    Mode mode = Mode::Whole;
    int chunkSize = 64 * 1024;
    int chunkIntervalMs = 20;
    qint64 breakAfter = 0;
    // A redirect target, sent as Location with the status.
    QByteArray location;
    // A Content-Length other than the body's (a length that lies).
    std::optional<qint64> announcedLength;
};

class LocalHttpServer : public QObject {
public:
    LocalHttpServer() {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                accept(socket);
        });
        m_server.listen(QHostAddress(QHostAddress::LocalHost), 0);
    }

    bool isListening() const { return m_server.isListening(); }
    quint16 port() const { return m_server.serverPort(); }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(port()); }
    QString url(const QString& path) const { return base() + path; }

    // The answer for `path` (without query); other paths get 404.
    void answer(const QByteArray& path, Answer value) { m_answers.insert(path, std::move(value)); }

    QList<RecordedRequest> requests;

private:
    struct Connection {
        QPointer<QTcpSocket> socket;
        QByteArray buffer;
        bool answered = false;
        std::unique_ptr<QTimer> timer;
        qint64 sent = 0;
    };

    void accept(QTcpSocket* socket) {
        auto connection = std::make_shared<Connection>();
        connection->socket = socket;
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, connection] { onData(connection); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::disconnected, this, [connection] {
            if (connection->timer)
                connection->timer->stop();
        });
    }

    void onData(const std::shared_ptr<Connection>& connection) {
        if (!connection->socket || connection->answered)
            return;
        connection->buffer.append(connection->socket->readAll());
        const qsizetype end = connection->buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        RecordedRequest request;
        const QList<QByteArray> lines = connection->buffer.left(end).split('\n');
        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        request.method = requestLine.value(0);
        request.target = requestLine.value(1);
        const qsizetype question = request.target.indexOf('?');
        request.path = question < 0 ? request.target : request.target.left(question);
        request.query = question < 0 ? QByteArray() : request.target.mid(question + 1);
        qint64 contentLength = 0;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray line = lines.at(i).trimmed();
            const qsizetype colon = line.indexOf(':');
            if (colon <= 0)
                continue;
            const QByteArray name = line.left(colon).trimmed();
            const QByteArray value = line.mid(colon + 1).trimmed();
            request.headers.append({name, value});
            if (name.compare("Content-Length", Qt::CaseInsensitive) == 0)
                contentLength = value.toLongLong();
        }
        if (connection->buffer.size() - (end + 4) < contentLength)
            return;
        request.body = connection->buffer.mid(end + 4, contentLength);
        connection->answered = true;
        requests.append(request);
        respond(connection, m_answers.value(request.path, notFound()));
    }

    static Answer notFound() {
        Answer answer;
        answer.status = 404;
        answer.body = "not here";
        answer.contentType = "text/plain";
        return answer;
    }

    static QByteArray reason(int status) {
        switch (status) {
        case 200:
            return "OK";
        case 302:
            return "Found";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        default:
            return "Status";
        }
    }

    void respond(const std::shared_ptr<Connection>& connection, const Answer& answer) {
        if (answer.mode == Answer::Mode::Hang)
            return;
        QTcpSocket* socket = connection->socket;
        QByteArray head =
            "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + reason(answer.status) + "\r\n";
        head += "Content-Type: " + answer.contentType + "\r\n";
        head += "Content-Length: " + QByteArray::number(answer.announcedLength.value_or(answer.body.size())) +
                "\r\n";
        if (!answer.location.isEmpty())
            head += "Location: " + answer.location + "\r\n";
        head += "Connection: close\r\n\r\n";
        socket->write(head);
        switch (answer.mode) {
        case Answer::Mode::Whole:
            socket->write(answer.body);
            socket->disconnectFromHost();
            break;
        case Answer::Mode::BreakOff:
            socket->write(answer.body.left(answer.breakAfter));
            socket->flush();
            // Gone before the announced end: the client sees a broken transfer.
            QTimer::singleShot(50, socket, [socket] { socket->abort(); });
            break;
        case Answer::Mode::Slow:
        case Answer::Mode::Drip: {
            connection->timer = std::make_unique<QTimer>();
            const QByteArray body = answer.body;
            const bool drip = answer.mode == Answer::Mode::Drip;
            const int chunk = drip ? 1 : answer.chunkSize;
            QObject::connect(connection->timer.get(), &QTimer::timeout, socket,
                             [connection, body, chunk, drip] {
                                 if (!connection->socket)
                                     return;
                                 const QByteArray part = body.mid(connection->sent, chunk);
                                 connection->socket->write(part);
                                 connection->sent += part.size();
                                 if (connection->sent >= body.size()) {
                                     connection->timer->stop();
                                     // A dripping server stays connected and silent.
                                     if (!drip)
                                         connection->socket->disconnectFromHost();
                                 }
                             });
            connection->timer->start(answer.chunkIntervalMs);
            break;
        }
        case Answer::Mode::Hang:
            break;
        }
    }

    QTcpServer m_server;
    QHash<QByteArray, Answer> m_answers;
};

} // namespace httptest
