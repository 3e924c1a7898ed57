#pragma once

#include "shared/mode.h"

#include <QImage>
#include <QList>
#include <QMetaType>
#include <QString>

// What the still-capture screen receives as the sender of "orvoToCapture".
struct captureData {
    QList<QImage> imgs; // the grabbed images, window first
    QString name;       // the recording's name as the window player shows it
    mode playMode = mode::multiple_ch;
    QString time;                 // the play position as the time display shows it
    bool isMultipleVideo = false; // the recording has a rear-channel file
};

Q_DECLARE_METATYPE(captureData)
