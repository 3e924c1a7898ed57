#pragma once

#include <QImage>
#include <QString>

// Writing a still capture into the capture folder: the steps the window player's
// context-menu capture and the capture screen share. Widget-free; main thread.
class CaptureImageSaver {
public:
    // What a save did: the file written, or why it failed.
    struct Result {
        bool ok = false;
        QString folder; // the folder written into (or meant to be)
        QString path;   // the file written (or meant to be); empty when the folder was not found
        QString error;  // why it failed
    };

    // The folder captures go to when none is stored: the user's desktop folder, made when
    // it does not exist yet, as a desktop session makes it. Empty, with the reason in
    // `error`, when it cannot be made.
    static QString desktopFolder(QString* error = nullptr);
    // The same path without making the folder (to show it before anything is written).
    static QString desktopLocation();

    // The grey copy of `image`: 8-bit grey, no alpha, `width` x `height` pixels.
    static QImage grayImage(const QImage& image, int width, int height);

    // The file name of a capture called `name`: the name and ".jpg". Characters that cannot
    // stand in a file name (the path separator, NUL) become "_", so the file always lands
    // in its folder whatever the recording's name holds.
    static QString fileName(const QString& name);

    // Writes `image` (its grey copy when `mono`) as JPEG data under fileName(name) in
    // `folder`, replacing a file of that name in one step. An empty `folder` means the
    // desktop folder.
    static Result save(const QImage& image, const QString& name, int width, int height, bool mono,
                       const QString& folder);

    // The alert of a failed save ("Unknown error"), saying which file could not be written
    // where, and why.
    static void alertFailure(const Result& result);
};
