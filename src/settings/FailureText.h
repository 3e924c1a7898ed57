#pragma once

// What the user is told when a download or an unpacking fails: texts of the
// string table "Localizable", in the interface language.

#include "platform/system/Http.h"
#include "platform/system/Unzip.h"

#include <QString>

#include <optional>

namespace FailureText {

// Why a download into `folder` failed; none for a cancelled one. `onCard`
// names the memory card where the folder is concerned.
std::optional<QString> download(const HttpDownloadResponse& response, const QString& folder, bool onCard);

// Why the firmware version page could not be had: the page's failure and its reason.
QString versionPage(const HttpResponse& reply);
// The version page's failure when it came but holds nothing to read.
QString unreadableVersionPage();

// Why a package did not unpack onto the card (which was left as it was); none when cancelled.
std::optional<QString> unpack(const UnzipResult& result);

} // namespace FailureText
