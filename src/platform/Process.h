#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Runs an executable and waits until it has exited, on the calling thread.
namespace Process {

struct Result {
    bool started = false;     // false: the program could not be started
    int exitCode = -1;        // valid when it started and exited normally
    bool crashed = false;     // it started but did not exit normally
    QByteArray errorOutput{}; // the end of its error output, when it was asked for
};

// Starts `program` with `arguments` (no shell), with no input, discards its
// output and waits for it to exit; `timeoutMs` < 0 waits for ever, otherwise
// the program is killed when it runs longer. The program is sent SIGTERM when
// the calling thread ends first (the player was killed or crashed). With
// `keepErrorOutput` the last few kilobytes of its error output are kept in the
// result (to tell the user why it failed), else that output is discarded too.
Result runAndWait(const QString& program, const QStringList& arguments, int timeoutMs = -1,
                  bool keepErrorOutput = false);

} // namespace Process
