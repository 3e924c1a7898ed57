#include "platform/ImageWriter.h"

#include <QImageWriter>
#include <QSaveFile>

bool ImageWriter::writeJpegAtomically(const QImage& image, const QString& path, QString* error) {
    QString localError;
    QString& why = error ? *error : localError;
    if (image.isNull()) {
        why = QStringLiteral("there is no picture to write");
        return false;
    }
    QSaveFile file(path);
    // Never write into the old file itself: a failure would leave it half overwritten.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        why = file.errorString();
        return false;
    }
    QImageWriter writer(&file, QByteArrayLiteral("jpeg"));
    if (!writer.write(image)) {
        why = file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        why = file.errorString();
        return false;
    }
    return true;
}
