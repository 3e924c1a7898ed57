#include "platform/system/Http.h"

#include "platform/system/PartialFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonParseError>
#include <QMetaObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {

int& transferTimeoutMs() {
    // What the original HTTP layer waits for a silent server.
    static int timeout = 60000;
    return timeout;
}

QNetworkAccessManager& manager() {
    static QPointer<QNetworkAccessManager> instance;
    if (!instance)
        instance = new QNetworkAccessManager(QCoreApplication::instance());
    return *instance;
}

QNetworkRequest makeRequest(const QUrl& url) {
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(transferTimeoutMs());
    return request;
}

std::optional<int> statusCodeOf(QNetworkReply* reply) {
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        return std::nullopt;
    return status.toInt();
}

bool isSuccessStatus(int status) {
    return status >= 200 && status < 300;
}

HttpTransportError transportErrorOf(QNetworkReply::NetworkError error) {
    switch (error) {
    case QNetworkReply::NoError:
        return HttpTransportError::None;
    case QNetworkReply::TooManyRedirectsError:
    case QNetworkReply::InsecureRedirectError:
        return HttpTransportError::TooManyRedirects;
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError: // the transfer timeout aborts the reply
        return HttpTransportError::TimedOut;
    case QNetworkReply::RemoteHostClosedError:
        return HttpTransportError::BrokenOff;
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
        return HttpTransportError::NoConnection;
    default:
        return HttpTransportError::Other;
    }
}

// Reads one GET reply whole, bounded by Http::kMaximumReplySize.
class JsonRequest : public QObject {
public:
    JsonRequest(const QUrl& url, QObject* context, std::function<void(const HttpResponse&)> completion,
                int deadlineMs)
        : QObject(&manager()), m_context(context), m_completion(std::move(completion)) {
        m_response.url = url;
        m_reply = manager().get(makeRequest(url));
        m_reply->setParent(this);
        connect(m_reply, &QNetworkReply::readyRead, this, &JsonRequest::onReadyRead);
        connect(m_reply, &QNetworkReply::finished, this, &JsonRequest::onFinished);
        if (deadlineMs > 0) {
            m_deadlineMs = deadlineMs;
            QTimer::singleShot(deadlineMs, this, [this] {
                if (m_reply->isFinished())
                    return;
                m_deadlinePassed = true;
                m_reply->abort();
            });
        }
    }

private:
    void onReadyRead() {
        if (m_tooLarge)
            return;
        m_body.append(m_reply->readAll());
        if (m_body.size() > Http::kMaximumReplySize) {
            m_tooLarge = true;
            m_body.clear();
            m_reply->abort();
        }
    }

    void onFinished() {
        if (!m_tooLarge && m_reply->isOpen())
            m_body.append(m_reply->readAll());
        if (m_tooLarge) {
            m_response.error =
                QStringLiteral("The reply is larger than %1 bytes.").arg(Http::kMaximumReplySize);
            m_response.transportError = HttpTransportError::TooLarge;
        } else if (m_deadlinePassed) {
            m_response.error = QStringLiteral("No whole reply within %1 ms.").arg(m_deadlineMs);
            m_response.transportError = HttpTransportError::DeadlinePassed;
        } else if (m_reply->error() == QNetworkReply::TooManyRedirectsError ||
                   m_reply->error() == QNetworkReply::InsecureRedirectError) {
            m_response.error = m_reply->errorString();
            m_response.transportError = HttpTransportError::TooManyRedirects;
        } else if (const std::optional<int> status = statusCodeOf(m_reply);
                   status && (m_reply->error() == QNetworkReply::NoError || !isSuccessStatus(*status))) {
            m_response.statusCode = status;
            m_response.data = m_body;
            QJsonParseError parseError{};
            const QJsonDocument document = QJsonDocument::fromJson(m_body, &parseError);
            if (parseError.error == QJsonParseError::NoError && !document.isNull())
                m_response.json = document;
        } else {
            // No answer, or a good status whose body broke off.
            m_response.error = m_reply->errorString();
            m_response.transportError =
                statusCodeOf(m_reply) && m_reply->error() != QNetworkReply::OperationCanceledError
                    ? HttpTransportError::BrokenOff
                    : transportErrorOf(m_reply->error());
        }
        const bool contextGone = m_hadContext && !m_context;
        if (m_completion && !contextGone)
            m_completion(m_response);
        deleteLater();
    }

    QPointer<QObject> m_context;
    bool m_hadContext = !m_context.isNull();
    std::function<void(const HttpResponse&)> m_completion;
    QNetworkReply* m_reply = nullptr;
    QByteArray m_body;
    bool m_tooLarge = false;
    bool m_deadlinePassed = false;
    int m_deadlineMs = 0;
    HttpResponse m_response;
};

QString failureName(HttpDownloadResponse::Failure failure) {
    switch (failure) {
    case HttpDownloadResponse::Failure::None:
        return QStringLiteral("success");
    case HttpDownloadResponse::Failure::Transport:
        return QStringLiteral("transport failure");
    case HttpDownloadResponse::Failure::Status:
        return QStringLiteral("status failure");
    case HttpDownloadResponse::Failure::File:
        return QStringLiteral("file failure");
    case HttpDownloadResponse::Failure::Cancelled:
        return QStringLiteral("cancelled");
    case HttpDownloadResponse::Failure::Refused:
        return QStringLiteral("refused");
    }
    return {};
}

} // namespace

QString HttpResponse::description() const {
    QString text = QStringLiteral("[Request]: GET ") + url.toString(QUrl::FullyEncoded);
    if (statusCode)
        text += QStringLiteral(" [Response]: %1, %2 bytes").arg(*statusCode).arg(data ? data->size() : 0);
    else
        text += QStringLiteral(" [Error]: ") + error;
    return text;
}

double HttpProgress::fractionCompleted() const {
    if (totalUnitCount <= 0)
        return 0.0;
    return std::clamp(double(completedUnitCount) / double(totalUnitCount), 0.0, 1.0);
}

QString HttpDownloadResponse::description() const {
    QString text = QStringLiteral("[Request]: GET ") + url.toString(QUrl::FullyEncoded);
    if (statusCode)
        text += QStringLiteral(" [Response]: %1").arg(*statusCode);
    text += QStringLiteral(" [Result]: ") + failureName(failure);
    if (!error.isEmpty())
        text += QStringLiteral(" (") + error + QLatin1Char(')');
    if (fileURL)
        text += QStringLiteral(" [File]: ") + fileURL->toLocalFile();
    text += QStringLiteral(" [Bytes]: %1").arg(receivedBytes);
    return text;
}

HttpDownload::HttpDownload(const QUrl& url, const QString& destinationPath, ProgressHandler progress,
                           Completion completion, QObject* parent)
    : QObject(parent), m_url(url), m_destinationPath(destinationPath), m_progress(std::move(progress)),
      m_completion(std::move(completion)) {
    start();
}

HttpDownload::~HttpDownload() {
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    // An uncommitted partial file removes itself.
}

void HttpDownload::start() {
    const QFileInfo destination(m_destinationPath);
    if (!m_url.isValid() || m_url.isRelative() || m_destinationPath.isEmpty() ||
        destination.fileName().isEmpty()) {
        fail(HttpDownloadResponse::Failure::Refused, QStringLiteral("No usable address or destination."));
        return;
    }
    if (!QDir().mkpath(destination.absolutePath())) {
        fail(HttpDownloadResponse::Failure::File,
             QStringLiteral("The folder %1 cannot be created.").arg(destination.absolutePath()),
             HttpTransportError::None, QFileDevice::OpenError);
        return;
    }
    // What a download that was killed left beside its destination goes first.
    PartialFile::removeAbandoned(destination.absolutePath());
    // Never the destination itself, nor what a link there names: a broken download must not stand
    // under its name, and a download writes nothing outside its folder. Each chunk goes to the
    // file at once, so that a full disk is reported as such.
    m_file = std::make_unique<PartialFile>(destination.absoluteFilePath());
    if (!m_file->isOpen()) {
        failFile(m_file->error());
        return;
    }
    m_reply = manager().get(makeRequest(m_url));
    // Bounds what Qt holds in memory when the disk is slower than the network.
    m_reply->setReadBufferSize(2 * 1024 * 1024);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &HttpDownload::onMetaDataChanged);
    connect(m_reply, &QNetworkReply::readyRead, this, &HttpDownload::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &HttpDownload::onFinished);
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
        if (m_finished || m_failure || !m_progress)
            return;
        HttpProgress progress;
        progress.completedUnitCount = received;
        progress.totalUnitCount = total;
        m_progress(progress);
    });
}

void HttpDownload::cancel() {
    if (m_finished || m_failure)
        return;
    fail(HttpDownloadResponse::Failure::Cancelled, QStringLiteral("The download was cancelled."));
}

void HttpDownload::onMetaDataChanged() {
    m_statusCode = statusCodeOf(m_reply);
    // A redirect is followed by the network layer; only the final answer counts.
    if (m_statusCode && *m_statusCode >= 400)
        fail(HttpDownloadResponse::Failure::Status,
             QStringLiteral("The server answered %1.").arg(*m_statusCode));
}

bool HttpDownload::writeAvailable() {
    constexpr qint64 kChunk = 1024 * 1024;
    while (m_reply->bytesAvailable() > 0) {
        const QByteArray chunk = m_reply->read(kChunk);
        if (chunk.isEmpty())
            break;
        if (!m_file->write(chunk)) {
            failFile(m_file->error());
            return false;
        }
        m_received += chunk.size();
    }
    return true;
}

void HttpDownload::onReadyRead() {
    if (m_finished || m_failure || !m_reply)
        return;
    if (!m_statusCode)
        onMetaDataChanged();
    if (m_failure)
        return;
    if (m_statusCode && !isSuccessStatus(*m_statusCode)) {
        // The body of a redirect or other non-file answer is not the file.
        m_reply->readAll();
        return;
    }
    writeAvailable();
}

void HttpDownload::onFinished() {
    if (m_finished)
        return;
    if (m_failure) {
        // fail() has queued the report already.
        return;
    }
    QNetworkReply* reply = m_reply;
    m_statusCode = statusCodeOf(reply);
    const HttpTransportError transport = transportErrorOf(reply->error());
    if (transport == HttpTransportError::TooManyRedirects ||
        (reply->error() != QNetworkReply::NoError && !m_statusCode)) {
        fail(HttpDownloadResponse::Failure::Transport, reply->errorString(), transport);
        return;
    }
    if (m_statusCode && !isSuccessStatus(*m_statusCode)) {
        fail(HttpDownloadResponse::Failure::Status,
             QStringLiteral("The server answered %1.").arg(*m_statusCode));
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        // The body broke off (or stalled) after a good status.
        fail(HttpDownloadResponse::Failure::Transport, reply->errorString(),
             transport == HttpTransportError::TimedOut ? transport : HttpTransportError::BrokenOff);
        return;
    }
    if (!writeAvailable())
        return;
    if (!m_file->commit()) {
        failFile(m_file->error());
        return;
    }
    HttpDownloadResponse response;
    response.url = m_url;
    response.statusCode = m_statusCode;
    response.fileURL = QUrl::fromLocalFile(QFileInfo(m_destinationPath).absoluteFilePath());
    response.receivedBytes = m_received;
    finish(std::move(response));
}

void HttpDownload::failFile(int systemError) {
    // The errno says what went wrong; Qt's kind adds nothing to it.
    fail(HttpDownloadResponse::Failure::File, QString::fromLocal8Bit(std::strerror(systemError)),
         HttpTransportError::None, QFileDevice::WriteError, systemError);
}

void HttpDownload::fail(HttpDownloadResponse::Failure failure, const QString& error,
                        HttpTransportError transport, QFileDevice::FileError fileError, int systemError) {
    if (m_finished || m_failure)
        return;
    m_failure = failure;
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
        m_reply = nullptr;
    }
    if (m_file)
        m_file->discard();
    HttpDownloadResponse response;
    response.url = m_url;
    response.statusCode = m_statusCode;
    response.failure = failure;
    response.error = error;
    response.transportError = transport;
    response.fileError = fileError;
    response.systemError = systemError;
    response.receivedBytes = m_received;
    // Reported from the event loop, never from inside the caller of start() or cancel().
    QMetaObject::invokeMethod(
        this, [this, response] { finish(response); }, Qt::QueuedConnection);
}

void HttpDownload::finish(HttpDownloadResponse response) {
    if (m_finished)
        return;
    m_finished = true;
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->deleteLater();
        m_reply = nullptr;
    }
    m_file.reset();
    if (m_completion) {
        // The completion may destroy this handle's context, and so the handle.
        const Completion completion = std::move(m_completion);
        m_completion = {};
        completion(response);
    }
}

void Http::request(const QUrl& url, QObject* context, std::function<void(const HttpResponse&)> completion,
                   int deadlineMs) {
    new JsonRequest(url, context, std::move(completion), deadlineMs);
}

HttpDownload* Http::download(const QUrl& url, const QString& destinationPath, QObject* context,
                             HttpDownload::ProgressHandler progress, HttpDownload::Completion completion) {
    return new HttpDownload(url, destinationPath, std::move(progress), std::move(completion), context);
}

void Http::setTransferTimeout(int milliseconds) {
    transferTimeoutMs() = std::max(0, milliseconds);
}

int Http::transferTimeout() {
    return transferTimeoutMs();
}
