#pragma once

#include <QImage>
#include <QString>

// Image files written in one step.
class ImageWriter {
public:
    // Writes `image` as JPEG data (baseline, the encoder's default quality) to `path`
    // (a path string that keeps bytes that are not UTF-8). The data goes into a hidden
    // temporary file beside it that takes the name only once it is complete, so a
    // failure (an unwritable folder, a full disk) leaves the old file, or none, and no
    // partial one; whatever stands under the name (a file, a symbolic link, a FIFO) is
    // replaced, never written through. False with the reason, in the interface
    // language, in `error`.
    static bool writeJpegAtomically(const QImage& image, const QString& path, QString* error = nullptr);
};
