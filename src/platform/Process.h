#pragma once

#include <QString>
#include <QStringList>

// Runs an executable and waits until it has exited, on the calling thread.
namespace Process {

struct Result {
    bool started = false; // false: the program could not be started
    int exitCode = -1;    // valid when it started and exited normally
    bool crashed = false; // it started but did not exit normally
};

// Starts `program` with `arguments` (no shell), discards its output and waits
// for it to exit; `timeoutMs` < 0 waits for ever, otherwise the program is
// killed when it runs longer.
Result runAndWait(const QString& program, const QStringList& arguments, int timeoutMs = -1);

} // namespace Process
