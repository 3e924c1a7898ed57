#pragma once

#include <QByteArray>
#include <QString>

// Why a file could not be written, as the user reads it: the common causes
// (a read-only folder, a full disk, a file too large for the disk) in the
// interface language, any other cause as the system words it.
QString localizedFileError(int errnum);

// The cause that a tool's error output names, recognised by the system's
// English wording of the common file errors ("No space left on device"); 0
// when it names none of them.
int fileErrorNamedIn(const QByteArray& errorOutput);
