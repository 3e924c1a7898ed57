#pragma once

// The start-up update check: once per process, shortly after the window
// player has loaded, the application asks the maker's update service whether
// a newer version of itself is offered. Main thread.

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

struct HttpResponse;

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

// The installer address of a reply: an absolute http or https address with a
// host; none for anything else.
std::optional<QUrl> installerAddress(const QString& text);

// Handles the service's reply: with status 200 and a JSON body, versionInfo
// becomes the body and, when the first entry of "data" offers a "version"
// numerically greater than `applicationVersion`, `completion` gets its
// "datauri"; on every other path it gets none. Calls `completion` exactly once.
void handleUpdateInfo(const HttpResponse& reply, const UpdateCheckCompletion& completion,
                      const QString& applicationVersion);

// The check. With "autoUpdate" not true (missing, not a boolean, or false) no
// request is made: updateChecked is set and `reopenLastFolder` runs, which is
// what the completion does without an address. Otherwise the request is
// logged and sent to the configured update service, and `completion` runs
// exactly once on the main thread: with the installer address of a newer
// version, or with none (at once when no service is configured).
// A reply not complete within the deadline (updateCheckDeadline) counts as no
// answer, so that start-up goes on as without an update.
void checkForUpdate(const std::function<void()>& reopenLastFolder, const UpdateCheckCompletion& completion);

// The time the whole reply of the update service may take, in milliseconds
// (10 seconds); tests shorten it.
inline constexpr int kUpdateCheckDeadlineMs = 10000;
int updateCheckDeadline();
void setUpdateCheckDeadline(int milliseconds);
