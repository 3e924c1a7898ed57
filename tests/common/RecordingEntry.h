#pragma once

// A recording-list entry for a file, with its merged channel files.

#include "metadata/orvoTableModel.h"

#include <QString>
#include <QUrl>

#include <optional>

inline orvoTableModel entry(const QString& path, std::optional<QString> merge = {},
                            std::optional<QString> merge2 = {}) {
    orvoTableModel model;
    model.url = QUrl::fromLocalFile(path);
    if (merge)
        model.row.merge = QUrl::fromLocalFile(*merge);
    if (merge2)
        model.row.merge2 = QUrl::fromLocalFile(*merge2);
    return model;
}
