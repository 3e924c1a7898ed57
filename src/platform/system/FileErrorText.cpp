#include "platform/system/FileErrorText.h"

#include "platform/system/Localization.h"

#include <cerrno>
#include <cstring>

namespace {

// Keys of the string table "Localizable".
constexpr char kNoPermission[] = "You don't have permission to write in this folder.";
constexpr char kReadOnly[] = "The folder is on a read-only disk.";
constexpr char kNoSpace[] = "No space left on device.";
constexpr char kTooLarge[] = "The file is too large for the disk.";
constexpr char kNoFolder[] = "The folder does not exist.";
constexpr char kFolderInTheWay[] = "A folder of the same name is in the way.";

// The wording of the C library's messages in its default ("C") locale, which
// tools that never set a locale print.
struct NamedError {
    int errnum;
    const char* text;
};
constexpr NamedError kNamedErrors[] = {
    {ENOSPC, "No space left on device"}, {EDQUOT, "Disk quota exceeded"}, {EFBIG, "File too large"},
    {EROFS, "Read-only file system"},    {EACCES, "Permission denied"},   {EPERM, "Operation not permitted"},
};

} // namespace

QString localizedFileError(int errnum) {
    switch (errnum) {
    case EACCES:
    case EPERM:
        return localized(kNoPermission);
    case EROFS:
        return localized(kReadOnly);
    case ENOSPC:
    case EDQUOT:
        return localized(kNoSpace);
    case EFBIG:
        return localized(kTooLarge);
    case ENOENT:
    case ENOTDIR:
        return localized(kNoFolder);
    case EISDIR:
        return localized(kFolderInTheWay);
    default:
        return QString::fromLocal8Bit(std::strerror(errnum));
    }
}

int fileErrorNamedIn(const QByteArray& errorOutput) {
    for (const NamedError& named : kNamedErrors) {
        if (errorOutput.contains(named.text))
            return named.errnum;
    }
    return 0;
}
