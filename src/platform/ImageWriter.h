#pragma once

#include <QImage>
#include <QString>

// Image files written in one step.
class ImageWriter {
public:
    // Writes `image` as JPEG data (baseline, the encoder's default quality) to `path`.
    // The data goes into a temporary file beside it that replaces a file of that name
    // only once it is complete, so a failure (an unwritable folder, a full disk) leaves
    // the old file, or none, and no partial one. False with the reason in `error`.
    static bool writeJpegAtomically(const QImage& image, const QString& path, QString* error = nullptr);
};
