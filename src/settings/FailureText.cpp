#include "settings/FailureText.h"

#include "platform/system/Localization.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

constexpr char kServerStatus[] = "The server answered with error %1.";
constexpr char kTooManyRedirects[] = "The server redirected the request too many times.";
constexpr char kStalled[] = "The server stopped sending data.";
constexpr char kTooSlow[] = "The server did not send the whole page in time.";
constexpr char kBrokenOff[] = "The connection broke off before the whole file arrived.";
constexpr char kCheckConnection[] = "인터넷 연결을 확인해 주세요.";
constexpr char kCardFull[] = "There is not enough free space on the memory card.";
constexpr char kDiskFull[] = "There is not enough free space to save the file.";
constexpr char kCardMissing[] = "The memory card cannot be found.";
constexpr char kFolderMissing[] = "The destination folder cannot be found.";
constexpr char kNotWritable[] = "The file could not be written: no permission or a read-only disk.";
constexpr char kNotWritten[] = "The file could not be written.";
constexpr char kDownloadFailed[] = "다운로드가 실패되었습니다. 다시 시도해 주세요.";
constexpr char kDamaged[] = "The downloaded package is damaged or is not a zip archive.";
constexpr char kUnsafe[] =
    "The package holds links or names that lead outside the memory card, so it was not unpacked.";
constexpr char kReserved[] =
    "The package holds a file named like the player's own temporary files, so it was not unpacked.";
constexpr char kTooLarge[] = "The package is too large to unpack.";
constexpr char kNotUnpacked[] = "The package could not be unpacked; the memory card was left as it was.";
constexpr char kPageUnreadable[] = "The firmware version page could not be read.";

QString lines(const char* what, const QString& why) {
    return localized(what) + QLatin1Char('\n') + why;
}

QString transportText(HttpTransportError error) {
    switch (error) {
    case HttpTransportError::TimedOut:
        return localized(kStalled);
    case HttpTransportError::TooManyRedirects:
        return localized(kTooManyRedirects);
    case HttpTransportError::BrokenOff:
        return localized(kBrokenOff);
    case HttpTransportError::DeadlinePassed:
    case HttpTransportError::TooLarge:
    case HttpTransportError::NoConnection:
    case HttpTransportError::Other:
    case HttpTransportError::None:
        break;
    }
    return localized(kCheckConnection);
}

enum class FileProblem { Missing, Full, ReadOnly, Other };

FileProblem problemOf(int systemError) {
    switch (systemError) {
    case ENOENT:
    case ENOTDIR:
    case ENODEV:
    case ENXIO:
        return FileProblem::Missing;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileProblem::Full;
    case EROFS:
    case EACCES:
    case EPERM:
        return FileProblem::ReadOnly;
    default:
        return FileProblem::Other;
    }
}

// What is wrong with `folder` after a write into it failed with `error`.
FileProblem folderProblem(const QString& folder, QFileDevice::FileError error) {
    if (!QFileInfo(folder).isDir())
        return FileProblem::Missing;
    if (error == QFileDevice::ResourceError)
        return FileProblem::Full;
    struct statvfs info {};
    const QByteArray path = QFile::encodeName(folder);
    if (::statvfs(path.constData(), &info) == 0) {
        if (info.f_flag & ST_RDONLY)
            return FileProblem::ReadOnly;
        if (info.f_bavail == 0)
            return FileProblem::Full;
    }
    if (error == QFileDevice::PermissionsError || ::access(path.constData(), W_OK) != 0)
        return FileProblem::ReadOnly;
    return FileProblem::Other;
}

QString fileText(FileProblem problem, bool onCard) {
    switch (problem) {
    case FileProblem::Missing:
        return localized(onCard ? kCardMissing : kFolderMissing);
    case FileProblem::Full:
        return localized(onCard ? kCardFull : kDiskFull);
    case FileProblem::ReadOnly:
        return localized(kNotWritable);
    case FileProblem::Other:
        break;
    }
    return localized(kNotWritten);
}

} // namespace

namespace FailureText {

std::optional<QString> download(const HttpDownloadResponse& response, const QString& folder, bool onCard) {
    QString why;
    switch (response.failure) {
    case HttpDownloadResponse::Failure::None:
    case HttpDownloadResponse::Failure::Cancelled:
        return std::nullopt;
    case HttpDownloadResponse::Failure::Status:
        why = localized(kServerStatus).arg(response.statusCode.value_or(0));
        break;
    case HttpDownloadResponse::Failure::Transport:
        why = transportText(response.transportError);
        break;
    case HttpDownloadResponse::Failure::File: {
        const FileProblem problem = problemOf(response.systemError);
        why = fileText(response.systemError && problem != FileProblem::Other
                           ? problem
                           : folderProblem(folder, response.fileError),
                       onCard);
        break;
    }
    case HttpDownloadResponse::Failure::Refused:
        return localized(kDownloadFailed);
    }
    return onCard ? lines(kDownloadFailed, why) : why;
}

QString versionPage(const HttpResponse& reply) {
    if (reply.statusCode && (*reply.statusCode < 200 || *reply.statusCode >= 300))
        return lines(kPageUnreadable, localized(kServerStatus).arg(*reply.statusCode));
    if (reply.statusCode || reply.transportError == HttpTransportError::TooLarge)
        return localized(kPageUnreadable);
    if (reply.transportError == HttpTransportError::DeadlinePassed)
        return lines(kPageUnreadable, localized(kTooSlow));
    if (reply.transportError == HttpTransportError::NoConnection ||
        reply.transportError == HttpTransportError::Other || reply.transportError == HttpTransportError::None)
        return localized(kCheckConnection);
    return lines(kPageUnreadable, transportText(reply.transportError));
}

QString unreadableVersionPage() {
    return localized(kPageUnreadable);
}

std::optional<QString> unpack(const UnzipResult& result) {
    QString why;
    switch (result.failure) {
    case UnzipResult::Failure::None:
    case UnzipResult::Failure::Cancelled:
        return std::nullopt;
    case UnzipResult::Failure::Damaged:
        why = localized(kDamaged);
        break;
    case UnzipResult::Failure::Unsafe:
        why = localized(kUnsafe);
        break;
    case UnzipResult::Failure::Reserved:
        why = localized(kReserved);
        break;
    case UnzipResult::Failure::TooLarge:
        why = localized(kTooLarge);
        break;
    case UnzipResult::Failure::NoSpace:
        why = localized(kCardFull);
        break;
    case UnzipResult::Failure::CannotWrite:
        why = fileText(problemOf(result.systemError), true);
        break;
    }
    return lines(kNotUnpacked, why);
}

} // namespace FailureText
