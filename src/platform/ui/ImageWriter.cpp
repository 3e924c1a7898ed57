#include "platform/ui/ImageWriter.h"

#include "platform/system/FileErrorText.h"
#include "platform/system/PartialFile.h"

#include <QBuffer>
#include <QImageWriter>

bool ImageWriter::writeJpegAtomically(const QImage& image, const QString& path, QString* error) {
    QString localError;
    QString& why = error ? *error : localError;
    if (image.isNull()) {
        why = QStringLiteral("there is no picture to write");
        return false;
    }
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArrayLiteral("jpeg"));
    if (!writer.write(image)) {
        why = writer.errorString();
        return false;
    }
    // What a writer killed mid-write left in the folder goes first.
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash > 0)
        PartialFile::removeAbandoned(path.left(slash));
    PartialFile file(path);
    if (!file.isOpen() || !file.write(data) || !file.commit()) {
        why = localizedFileError(file.error());
        return false;
    }
    return true;
}
