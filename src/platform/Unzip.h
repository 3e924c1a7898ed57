#pragma once

#include <QString>
#include <QUrl>

// Unpacks every entry of the zip archive at `archive` into the folder
// `folder` (which must exist), keeping the archive's folder structure and
// replacing files of the same names. Entries that would land outside the
// folder are refused before anything is written: absolute names, ".."
// components, symbolic links whose target leaves the folder, and writes
// through links already in the folder that lead outside it. Returns false
// with a readable reason in `error` when the archive cannot be read or an
// entry is refused or cannot be written; entries unpacked before the failure
// stay.
bool unzipItem(const QUrl& archive, const QUrl& folder, QString* error = nullptr);
