#include "capture/CaptureImageSaver.h"

#include "platform/system/LogCategories.h"
#include "platform/ui/showAlert.h"

#include "platform/system/Localization.h"
#include "platform/ui/ImageWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QStandardPaths>
#include <QUrl>

namespace {

// Alert texts, keys of the string table "Localizable".
constexpr char kUnknownError[] = "Unknown error";
constexpr char kFileNotSaved[] = "The file “%1” could not be saved in the folder “%2”.";

} // namespace

QString CaptureImageSaver::desktopLocation() {
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString CaptureImageSaver::desktopFolder(QString* error) {
    const QString path = desktopLocation();
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("there is no desktop folder");
        return {};
    }
    if (!QFileInfo(path).isDir() && !QDir().mkpath(path)) {
        if (error)
            *error = QStringLiteral("the desktop folder %1 cannot be made").arg(path);
        return {};
    }
    return path;
}

QImage CaptureImageSaver::grayImage(const QImage& image, int width, int height) {
    if (image.isNull() || width <= 0 || height <= 0)
        return {};
    QImage gray(width, height, QImage::Format_Grayscale8);
    if (gray.isNull())
        return {};
    gray.fill(Qt::black);
    QPainter painter(&gray);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(0, 0, width, height), image);
    painter.end();
    return gray;
}

QString CaptureImageSaver::fileName(const QString& name) {
    QString safe = name;
    for (QChar& c : safe) {
        if (c == QLatin1Char('/') || c == QChar(0))
            c = QLatin1Char('_');
    }
    return safe + QStringLiteral(".jpg");
}

CaptureImageSaver::Result CaptureImageSaver::save(const QImage& image, const QString& name, int width,
                                                  int height, bool mono, const QString& folder) {
    Result result;
    result.folder = folder;
    if (result.folder.isEmpty()) {
        result.folder = desktopFolder(&result.error);
        if (result.folder.isEmpty())
            return result;
    }
    result.path = QDir(result.folder).filePath(fileName(name));
    const QImage data = mono ? grayImage(image, width, height) : image;
    if (data.isNull()) {
        result.error = QStringLiteral("there is no picture to write");
        return result;
    }
    platform::logLine(platform::lcCapture(), QUrl::fromLocalFile(result.path).toString());
    result.ok = ImageWriter::writeJpegAtomically(data, result.path, &result.error);
    if (!result.ok) {
        platform::logLine(platform::lcCapture(), result.error);
    }
    return result;
}

void CaptureImageSaver::alertFailure(const Result& result) {
    const QString file = result.path.isEmpty() ? QString() : QFileInfo(result.path).fileName();
    QString message = localized(kFileNotSaved).arg(file, result.folder);
    if (!result.error.isEmpty())
        message += QLatin1Char('\n') + result.error;
    showAlert(QString::fromLatin1(kUnknownError), message);
}
