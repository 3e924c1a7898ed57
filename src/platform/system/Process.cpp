#include "platform/system/Process.h"

#include "platform/system/ProcessArgumentAliases.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace Process {

namespace {

// Enough for the tool's last lines, which say why it stopped.
constexpr qsizetype kErrorOutputKept = 8 * 1024;

// Starts `program` with no input and its output discarded (the error output
// too unless it is kept); false when it could not be started.
bool start(QProcess& process, const QString& program, const QStringList& arguments, bool keepErrorOutput) {
    // The tool's own chatter is of no use to the user and could fill a pipe.
    process.setStandardOutputFile(QProcess::nullDevice());
    if (!keepErrorOutput)
        process.setStandardErrorFile(QProcess::nullDevice());
    process.setStandardInputFile(QProcess::nullDevice());
    // The child ends with the thread that waits for it (and so with the player): a killed
    // player must not leave a long stream copy running. Only async-signal-safe calls here.
    const pid_t parent = ::getpid();
    process.setChildProcessModifier([parent] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        // The parent may have gone before the signal was armed.
        if (::getppid() != parent)
            ::_exit(127);
    });
    process.start(program, arguments, keepErrorOutput ? QIODevice::ReadOnly : QIODevice::NotOpen);
    return process.waitForStarted(-1);
}

// How a program that has exited ended.
void readEnd(QProcess& process, Result& result) {
    result.crashed = process.exitStatus() != QProcess::NormalExit;
    result.exitCode = result.crashed ? -1 : process.exitCode();
}

void kill(QProcess& process, Result& result) {
    process.kill();
    process.waitForFinished(-1);
    result.crashed = true;
}

} // namespace

Result runAndWait(const QString& program, const QStringList& arguments, int timeoutMs, bool keepErrorOutput) {
    Result result;
    if (program.isEmpty())
        return result;
    // Paths whose names are not UTF-8 reach the tool by aliases of their own.
    const ProcessArgumentAliases aliases(arguments);
    QProcess process;
    if (!start(process, program, aliases.arguments(), keepErrorOutput))
        return result;
    result.started = true;
    if (!process.waitForFinished(timeoutMs)) {
        kill(process, result);
        return result;
    }
    if (keepErrorOutput)
        result.errorOutput = process.readAllStandardError().right(kErrorOutputKept);
    readEnd(process, result);
    return result;
}

void Cancellation::cancel() {
    m_cancelled = true;
    if (m_stop)
        m_stop();
}

Result runInEventLoop(const QString& program, const QStringList& arguments, int timeoutMs,
                      bool keepErrorOutput, bool userInput, Cancellation* cancellation) {
    Result result;
    if (program.isEmpty())
        return result;
    if (cancellation && cancellation->isCancelled()) {
        result.cancelled = true;
        return result;
    }
    const ProcessArgumentAliases aliases(arguments);
    QProcess process;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    if (keepErrorOutput) {
        // Read as it comes: the pipe never fills, and only the end is kept.
        QObject::connect(&process, &QProcess::readyReadStandardError, &process, [&] {
            result.errorOutput =
                (result.errorOutput + process.readAllStandardError()).right(kErrorOutputKept);
        });
    }
    if (!start(process, program, aliases.arguments(), keepErrorOutput))
        return result;
    result.started = true;
    bool timedOut = false;
    QTimer deadline;
    if (timeoutMs >= 0) {
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
            timedOut = true;
            loop.quit();
        });
        deadline.start(timeoutMs);
    }
    if (cancellation)
        cancellation->m_stop = [&loop] { loop.quit(); };
    // The finished signal comes from this loop: a program that has exited already is still running here.
    if (process.state() != QProcess::NotRunning)
        loop.exec(userInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    if (cancellation)
        cancellation->m_stop = {};
    if (process.state() != QProcess::NotRunning) {
        // Cancelled, timed out, or the application is quitting.
        kill(process, result);
        result.cancelled = !timedOut;
        return result;
    }
    if (keepErrorOutput)
        result.errorOutput = (result.errorOutput + process.readAllStandardError()).right(kErrorOutputKept);
    readEnd(process, result);
    return result;
}

} // namespace Process
