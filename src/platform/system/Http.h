#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QJsonDocument>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class PartialFile;
class QNetworkReply;

// Why a transfer ended without a whole answer.
enum class HttpTransportError {
    None,
    NoConnection,     // no network, or the host unknown or refusing
    TimedOut,         // the server went silent for the transfer timeout
    DeadlinePassed,   // the whole reply did not arrive within the request's deadline
    TooManyRedirects, // a redirect loop, or a redirect to a less safe scheme
    BrokenOff,        // the connection ended before the end of the body
    TooLarge,         // a reply larger than Http::kMaximumReplySize
    Other,
};

// What a GET request brought back.
struct HttpResponse {
    QUrl url;
    // The HTTP status; absent when no HTTP answer arrived (no network, refused,
    // timed out, a reply too large).
    std::optional<int> statusCode;
    // The body; absent when no answer arrived.
    std::optional<QByteArray> data;
    // The body parsed as JSON; absent when it is not JSON (or there is none).
    std::optional<QJsonDocument> json;
    // Why no answer arrived; empty when one did, whatever its status.
    QString error;
    HttpTransportError transportError = HttpTransportError::None;

    // One line for the log: address, status or error, body size.
    QString description() const;
};

// How far a download has come.
struct HttpProgress {
    qint64 completedUnitCount = 0;
    // -1 while the size is not known.
    qint64 totalUnitCount = -1;
    // 0 to 1; 0 while the size is not known.
    double fractionCompleted() const;
};

// How a download ended.
struct HttpDownloadResponse {
    enum class Failure {
        None,
        Transport, // no answer, or the connection broke off
        Status,    // the server answered with a status other than 2xx
        File,      // the destination could not be written or moved into place
        Cancelled, // cancel() was called
        Refused,   // the address or destination was unusable
    };

    QUrl url;
    std::optional<int> statusCode;
    // The downloaded file, only when the whole body is in place under its name.
    std::optional<QUrl> fileURL;
    Failure failure = Failure::None;
    QString error;
    // What broke a Transport failure.
    HttpTransportError transportError = HttpTransportError::None;
    // What went wrong with the destination in a File failure, and the errno of
    // a failed write when it is known (0 otherwise).
    QFileDevice::FileError fileError = QFileDevice::NoError;
    int systemError = 0;
    qint64 receivedBytes = 0;

    QString description() const;
};

// A download of one address into one file. The body goes to a new hidden file
// beside the destination as it arrives (PartialFile: created without following
// a link) and is renamed over the destination only when the whole body is
// there with a 2xx status, so that a failed or cancelled download leaves
// neither a partial file under the destination's name nor a lost earlier file,
// and whatever stands under the name (a file, a symbolic link) is replaced as a
// name, never written through. Owned by its context (see Http::download):
// destroying it cancels a running download without calling its completion.
class HttpDownload : public QObject {
    Q_OBJECT

public:
    using ProgressHandler = std::function<void(const HttpProgress&)>;
    using Completion = std::function<void(const HttpDownloadResponse&)>;

    // Starts the download at once (prefer Http::download).
    HttpDownload(const QUrl& url, const QString& destinationPath, ProgressHandler progress,
                 Completion completion, QObject* parent);
    ~HttpDownload() override;

    // Stops the download; the completion then reports Cancelled. Nothing
    // happens once the download has ended.
    void cancel();
    bool isFinished() const { return m_finished; }
    const QUrl& url() const { return m_url; }

private:
    void start();
    void onMetaDataChanged();
    void onReadyRead();
    void onFinished();
    // Ends the download with `failure` (once).
    void fail(HttpDownloadResponse::Failure failure, const QString& error,
              HttpTransportError transport = HttpTransportError::None,
              QFileDevice::FileError fileError = QFileDevice::NoError, int systemError = 0);
    // Ends the download with the destination's error (an errno).
    void failFile(int systemError);
    void finish(HttpDownloadResponse response);
    bool writeAvailable();

    QUrl m_url;
    QString m_destinationPath;
    ProgressHandler m_progress;
    Completion m_completion;
    QPointer<QNetworkReply> m_reply;
    std::unique_ptr<PartialFile> m_file;
    std::optional<int> m_statusCode;
    qint64 m_received = 0;
    bool m_finished = false;
    std::optional<HttpDownloadResponse::Failure> m_failure;
};

// HTTP GET through Qt Network on the main thread. Completions and progress
// reports run on the main thread, after the call has returned, and are
// dropped when their context object has been destroyed. Requests carry no
// body and no headers of the program's own. Redirects are followed unless
// they go from HTTPS to HTTP. A transfer that stalls for the transfer
// timeout (60 seconds) ends as a transport failure.
namespace Http {

// Replies larger than this end as a transport failure (a JSON answer is small).
inline constexpr qint64 kMaximumReplySize = 8 * 1024 * 1024;

// A GET of `url` whose body is read whole and parsed as JSON. With a
// `deadlineMs` above 0 a reply not complete by then (a server that drips
// its answer) is given up as a transport failure (DeadlinePassed).
void request(const QUrl& url, QObject* context, std::function<void(const HttpResponse&)> completion,
             int deadlineMs = 0);

// A GET of `url` streamed into the file at `destinationPath`, whose folder is
// created when missing and whose earlier file is replaced on success. The
// returned handle is a child of `context` (which must not be null).
HttpDownload* download(const QUrl& url, const QString& destinationPath, QObject* context,
                       HttpDownload::ProgressHandler progress, HttpDownload::Completion completion);

// The stall limit in milliseconds (tests); 0 turns it off.
void setTransferTimeout(int milliseconds);
int transferTimeout();

} // namespace Http
