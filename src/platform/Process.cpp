#include "platform/Process.h"

#include "platform/ProcessArgumentAliases.h"

#include <QProcess>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace Process {

namespace {

// Enough for the tool's last lines, which say why it stopped.
constexpr qsizetype kErrorOutputKept = 8 * 1024;

} // namespace

Result runAndWait(const QString& program, const QStringList& arguments, int timeoutMs, bool keepErrorOutput) {
    Result result;
    if (program.isEmpty())
        return result;
    // Paths whose names are not UTF-8 reach the tool by aliases of their own.
    const ProcessArgumentAliases aliases(arguments);
    QProcess process;
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
    process.start(program, aliases.arguments(), keepErrorOutput ? QIODevice::ReadOnly : QIODevice::NotOpen);
    if (!process.waitForStarted(-1))
        return result;
    result.started = true;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(-1);
        result.crashed = true;
        return result;
    }
    if (keepErrorOutput)
        result.errorOutput = process.readAllStandardError().right(kErrorOutputKept);
    result.crashed = process.exitStatus() != QProcess::NormalExit;
    result.exitCode = result.crashed ? -1 : process.exitCode();
    return result;
}

} // namespace Process
