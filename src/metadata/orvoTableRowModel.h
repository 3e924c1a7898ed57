#pragma once

#include <QCoreApplication>
#include <QString>
#include <QUrl>

#include <optional>

// The texts of one row of the recording table and the recording's other channel files.
struct orvoTableRowModel {
    QString Date;
    QString Time;
    // A channel piece of the file name ("F", "R", "I", "FR") or a channel count ("2CH").
    QString Channel = QStringLiteral("-");
    // The district nearest to the recording's first GPS fix.
    QString location = QStringLiteral("-");
    // The localised category name of the recording's kind.
    QString type = QCoreApplication::translate("Localizable", "Etc.");
    // For a front-camera entry: the rear-camera file of the same recording.
    std::optional<QUrl> merge;
    // For a front- or rear-camera entry: the inside-camera file of the same recording.
    std::optional<QUrl> merge2;

    bool operator==(const orvoTableRowModel&) const = default;
};
