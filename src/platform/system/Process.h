#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Runs an executable and waits until it has exited, on the calling thread.
namespace Process {

struct Result {
    bool started = false;     // false: the program could not be started
    int exitCode = -1;        // valid when it started and exited normally
    bool crashed = false;     // it started but did not exit normally
    bool cancelled = false;   // it was killed by a cancellation (or the application quitting)
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

// Stops a run of runInEventLoop from an event handler that runs meanwhile
// (a Cancel button). Main thread.
class Cancellation {
public:
    // Kills the program being waited for; a run not started yet is not started.
    void cancel();
    bool isCancelled() const { return m_cancelled; }

private:
    friend Result runInEventLoop(const QString&, const QStringList&, int, bool, bool, Cancellation*);
    bool m_cancelled = false;
    std::function<void()> m_stop; // ends the wait of the run under way
};

// runAndWait, waiting in an event loop of its own instead of blocking the
// thread: the windows are painted and timers fire while the program runs.
// With `userInput` the user's input is handled too, so that a screen can
// offer `cancellation`; without it input waits until the program has ended.
// A program cancelled, or still running when the application quits, is
// killed and the result says `cancelled`.
Result runInEventLoop(const QString& program, const QStringList& arguments, int timeoutMs,
                      bool keepErrorOutput, bool userInput, Cancellation* cancellation = nullptr);

} // namespace Process
