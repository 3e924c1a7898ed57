#pragma once

#include "metadata/orvoTableRowModel.h"

#include <QUrl>

// One entry of the recording list: the file the entry was made from and its row.
struct orvoTableModel {
    QUrl url;
    orvoTableRowModel row;

    bool operator==(const orvoTableModel&) const = default;
};
