#pragma once

// The program's log lines: one Qt logging category per subsystem, so that a
// user silences or selects them with QT_LOGGING_RULES as with any Qt program
// ("kavrin.*=false", "kavrin.metadata.tokens=true").
//
// Every category prints its lines unless a rule says otherwise, except
// kavrin.metadata.tokens: the parsers' trace of every sample and NMEA token
// they read, which prints only when asked for.
//
// With installLogLineHandler() the lines come out as they stand, without the
// category's name: information on standard output, warnings on standard
// error. Everything else Qt logs keeps its usual handling.
//
// Header-only and Qt Core only, so that the metadata library and its fuzz
// build use it without the GUI platform library.

#include <QLoggingCategory>
#include <QString>

#include <cstdio>
#include <cstring>

namespace platform {

// Defines `function()`, the category `name` that prints from `level` up unless a rule says
// otherwise. Inline, so that every library that includes this header shares the one category.
#define KAVRIN_LOG_CATEGORY(function, name, level)                                                           \
    inline const QLoggingCategory& function() {                                                              \
        static const QLoggingCategory category(name, level);                                                 \
        return category;                                                                                     \
    }

// The application's start: main(), the delegate, the main storyboard.
KAVRIN_LOG_CATEGORY(lcApp, "kavrin.app", QtInfoMsg)
// The platform layer: storyboards, assets, user defaults, players.
KAVRIN_LOG_CATEGORY(lcPlatform, "kavrin.platform", QtInfoMsg)
// What the metadata readers print about each file they read.
KAVRIN_LOG_CATEGORY(lcMetadata, "kavrin.metadata", QtInfoMsg)
// The readers' trace of every sample and token: off unless a rule turns it on.
KAVRIN_LOG_CATEGORY(lcMetadataTokens, "kavrin.metadata.tokens", QtWarningMsg)
// The card, ver.txt, bookmarks and the recording list.
KAVRIN_LOG_CATEGORY(lcLibrary, "kavrin.library", QtInfoMsg)
// The playback of one recording and its channel compositions.
KAVRIN_LOG_CATEGORY(lcPlayback, "kavrin.playback", QtInfoMsg)
// The window and full-screen players, their controls and data views.
KAVRIN_LOG_CATEGORY(lcPlayer, "kavrin.player", QtInfoMsg)
// Still grabs, their saving and clip backups.
KAVRIN_LOG_CATEGORY(lcCapture, "kavrin.capture", QtInfoMsg)
// Settings, the update check and card packages.
KAVRIN_LOG_CATEGORY(lcSettings, "kavrin.settings", QtInfoMsg)

#undef KAVRIN_LOG_CATEGORY

// One line of information in `category`, as it stands (the handler adds the
// line feed). Nothing is converted while the category is off.
inline void logLine(const QLoggingCategory& category, const char* text) {
    if (category.isInfoEnabled())
        QMessageLogger(nullptr, 0, nullptr).info(category, "%s", text);
}

inline void logLine(const QLoggingCategory& category, const QString& text) {
    if (category.isInfoEnabled())
        QMessageLogger(nullptr, 0, nullptr).info(category, "%s", text.toUtf8().constData());
}

namespace detail {

inline QtMessageHandler& previousLogHandler() {
    static QtMessageHandler handler = nullptr;
    return handler;
}

inline bool isKavrinCategory(const char* name) {
    return name != nullptr && std::strncmp(name, "kavrin.", 7) == 0;
}

inline void writeLogLine(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg || !isKavrinCategory(context.category)) {
        if (QtMessageHandler previous = previousLogHandler())
            previous(type, context, message);
        return;
    }
    const QByteArray text = message.toUtf8();
    std::FILE* out = type == QtDebugMsg || type == QtInfoMsg ? stdout : stderr;
    // One line at a time, even when several threads log at once; flushed so
    // that the lines interleave with standard error as they happened.
    flockfile(out);
    std::fwrite(text.constData(), 1, size_t(text.size()), out);
    std::fputc('\n', out);
    std::fflush(out);
    funlockfile(out);
}

} // namespace detail

// Writes the kavrin.* lines as they stand (see above) and hands every other
// message to the handler that was installed before. Calling it again does nothing.
inline void installLogLineHandler() {
    static const bool installed = [] {
        detail::previousLogHandler() = qInstallMessageHandler(detail::writeLogLine);
        return true;
    }();
    (void)installed;
}

} // namespace platform
