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

// The application's start: main(), the delegate, the main storyboard.
inline const QLoggingCategory& lcApp() {
    static const QLoggingCategory category("kavrin.app", QtInfoMsg);
    return category;
}

// The platform layer: storyboards, assets, user defaults, players.
inline const QLoggingCategory& lcPlatform() {
    static const QLoggingCategory category("kavrin.platform", QtInfoMsg);
    return category;
}

// What the metadata readers print about each file they read.
inline const QLoggingCategory& lcMetadata() {
    static const QLoggingCategory category("kavrin.metadata", QtInfoMsg);
    return category;
}

// The readers' trace of every sample and token: off unless a rule turns it on.
inline const QLoggingCategory& lcMetadataTokens() {
    static const QLoggingCategory category("kavrin.metadata.tokens", QtWarningMsg);
    return category;
}

// The card, ver.txt, bookmarks and the recording list.
inline const QLoggingCategory& lcLibrary() {
    static const QLoggingCategory category("kavrin.library", QtInfoMsg);
    return category;
}

// The playback of one recording and its channel compositions.
inline const QLoggingCategory& lcPlayback() {
    static const QLoggingCategory category("kavrin.playback", QtInfoMsg);
    return category;
}

// The window and full-screen players, their controls and data views.
inline const QLoggingCategory& lcPlayer() {
    static const QLoggingCategory category("kavrin.player", QtInfoMsg);
    return category;
}

// Still grabs, their saving and clip backups.
inline const QLoggingCategory& lcCapture() {
    static const QLoggingCategory category("kavrin.capture", QtInfoMsg);
    return category;
}

// Settings, the update check and card packages.
inline const QLoggingCategory& lcSettings() {
    static const QLoggingCategory category("kavrin.settings", QtInfoMsg);
    return category;
}

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
