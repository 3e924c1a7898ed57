#pragma once

// The start-up update check: once per process, shortly after the window
// player has loaded, the application asks the maker's update service whether
// a newer version of itself is offered. Main thread.

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

// Receives the installer address of a newer version, or none.
using UpdateCheckCompletion = std::function<void(const std::optional<QUrl>& url)>;

// The update item asked for: "FILE_TEST" for a card with the debug marker,
// otherwise "kavrin_player".
QString updateItemName(bool debugMarker);

// The request text for `item` on the service at `baseAddress`, percent-encoded
// with the URL-query-allowed characters kept.
QString updateRequestText(const QString& baseAddress, const QString& item);

// Whether the folder kept under "orvoBookMark" holds a direct entry named
// exactly "ver.txt" whose UTF-8 text contains "DEBUG". Never fails outward:
// no bookmark, an unresolvable one, an unreadable folder or file count as no marker.
bool cardHasDebugMarker();

// The gate of the check. With "autoUpdate" not true (missing, not a boolean,
// or false) no request is made: updateChecked is set and `reopenLastFolder`
// runs, which is what the completion does without an address. Otherwise the
// request is prepared and logged, and `completion` runs exactly once (for
// now with no address: the service's reply is not asked for yet).
void checkForUpdate(const std::function<void()>& reopenLastFolder, const UpdateCheckCompletion& completion);
