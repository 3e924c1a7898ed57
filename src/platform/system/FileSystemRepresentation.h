#pragma once

// File names are bytes. A path string keeps each byte that is not part of a
// UTF-8 character as one code unit U+DC80-U+DCFF, which UTF-8 text never
// produces, so that a name that is not UTF-8 reaches open() with the bytes it
// was listed with (QString::toUtf8 and QFile::encodeName would replace them).
//
// Header-only so that the metadata library can open such files without
// linking the GUI platform library; FileManager offers the same for URLs.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QUrl>

namespace platform {

// The first code unit of the range that stands for the bytes 0x80-0xFF that
// are not part of a UTF-8 character.
inline constexpr char16_t kEscapeBase = 0xDC00;

inline bool isEscapedByte(QChar c, QChar previous) {
    return c.unicode() >= kEscapeBase + 0x80 && c.unicode() <= kEscapeBase + 0xFF &&
           !previous.isHighSurrogate();
}

// The length of the well-formed UTF-8 character at `at`, 0 when there is none.
inline int utf8CharacterLength(const QByteArray& bytes, qsizetype at) {
    const auto byte = [&](qsizetype i) { return i < bytes.size() ? uchar(bytes[i]) : 0u; };
    const uint b0 = byte(at);
    const auto continuation = [&](qsizetype i) { return (byte(i) & 0xC0u) == 0x80u; };
    if (b0 < 0x80)
        return 1;
    if (b0 >= 0xC2 && b0 <= 0xDF)
        return continuation(at + 1) ? 2 : 0;
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        const uint b1 = byte(at + 1);
        // No overlong forms, no encoded surrogates.
        if ((b0 == 0xE0 && b1 < 0xA0) || (b0 == 0xED && b1 > 0x9F))
            return 0;
        return continuation(at + 1) && continuation(at + 2) ? 3 : 0;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        const uint b1 = byte(at + 1);
        if ((b0 == 0xF0 && b1 < 0x90) || (b0 == 0xF4 && b1 > 0x8F))
            return 0;
        return continuation(at + 1) && continuation(at + 2) && continuation(at + 3) ? 4 : 0;
    }
    return 0;
}

// The bytes of a path string: UTF-8, escaped bytes restored.
inline QByteArray fileSystemRepresentation(const QString& path) {
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (!isEscapedByte(path[i], i > 0 ? path[i - 1] : QChar()))
            continue;
        bytes += QStringView(path).mid(plainFrom, i - plainFrom).toUtf8();
        bytes += char(path[i].unicode() - kEscapeBase);
        plainFrom = i + 1;
    }
    bytes += QStringView(path).mid(plainFrom).toUtf8();
    return bytes;
}

// The path string of file-system bytes, lossless.
inline QString stringWithFileSystemRepresentation(const QByteArray& bytes) {
    QString path;
    path.reserve(bytes.size());
    qsizetype plainFrom = 0;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const int length = utf8CharacterLength(bytes, i);
        if (length > 0) {
            i += length;
            continue;
        }
        path += QString::fromUtf8(bytes.constData() + plainFrom, i - plainFrom);
        path += QChar(char16_t(kEscapeBase + uchar(bytes[i])));
        plainFrom = ++i;
    }
    path += QString::fromUtf8(bytes.constData() + plainFrom, bytes.size() - plainFrom);
    return path;
}

// The bytes of a local file URL's path (a URL keeps bytes that are not UTF-8
// percent-encoded); empty for any other URL.
inline QByteArray fileSystemRepresentation(const QUrl& url) {
    if (!url.isLocalFile())
        return {};
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

// The path string of a URL: lossless for a local file, the decoded path otherwise.
inline QString filePath(const QUrl& url) {
    return url.isLocalFile() ? stringWithFileSystemRepresentation(fileSystemRepresentation(url)) : url.path();
}

} // namespace platform
