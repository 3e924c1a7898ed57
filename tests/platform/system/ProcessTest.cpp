// Running a tool and waiting for it: its outcome, no input, and its end with the program
// that started it.

#include "platform/system/Process.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <functional>
#include <sys/types.h>

namespace {

constexpr char kHelperPidFile[] = "KAVRIN_PROCESS_HELPER_PIDFILE";

// The state letter of /proc/<pid>/stat ('Z' for a zombie); 0 when the process is gone.
char processState(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close >= 0 && close + 2 < text.size() ? text.at(close + 2) : 0;
}

// The command name of /proc/<pid>/comm; empty when the process is gone.
QByteArray commandName(qint64 pid) {
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    return comm.open(QIODevice::ReadOnly) ? comm.readAll().trimmed() : QByteArray();
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

} // namespace

TEST(Process, ReportsHowTheToolEnded) {
    const QString sh = QStringLiteral("/bin/sh");
    struct Case {
        const char* what;
        QString program;
        QStringList arguments;
        int timeoutMs;
        Process::Result expected;
    };
    const Case cases[] = {
        {"success", sh, {"-c", "exit 0"}, -1, {true, 0, false}},
        {"failure status", sh, {"-c", "exit 3"}, -1, {true, 3, false}},
        {"killed by a signal", sh, {"-c", "kill -TERM $$"}, -1, {true, -1, true}},
        // No input: a tool that reads it sees its end at once instead of waiting for a terminal.
        {"reads no input", sh, {"-c", "cat; exit 7"}, 60000, {true, 7, false}},
        {"over its time", sh, {"-c", "exec sleep 30"}, 200, {true, -1, true}},
        {"no such program", QStringLiteral("/nonexistent/tool"), {}, -1, {false, -1, false}},
        {"no program", QString(), {}, -1, {false, -1, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Process::Result result = Process::runAndWait(c.program, c.arguments, c.timeoutMs);
        EXPECT_EQ(result.started, c.expected.started);
        EXPECT_EQ(result.exitCode, c.expected.exitCode);
        EXPECT_EQ(result.crashed, c.expected.crashed);
    }
}

// The end of the error output says why a tool failed; it is kept only when asked for, and only its end.
TEST(Process, KeepsTheEndOfTheErrorOutputWhenAsked) {
    const QString script =
        QStringLiteral("head -c 20000 /dev/zero | tr '\\0' x >&2; echo 'No space left on device' >&2; "
                       "echo chatter; exit 1");
    for (const bool keep : {true, false}) {
        SCOPED_TRACE(keep);
        const Process::Result result =
            Process::runAndWait(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script}, 60000, keep);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.errorOutput.endsWith("xNo space left on device\n"), keep);
        EXPECT_LE(result.errorOutput.size(), 8 * 1024);
        EXPECT_FALSE(result.errorOutput.contains("chatter"));
    }
}

// Run by ChildEndsWithTheProgramThatWaitsForIt in a process of its own, which is then killed.
TEST(ProcessHelper, WaitsForALongTool) {
    const QByteArray pidFile = qgetenv(kHelperPidFile);
    if (pidFile.isEmpty())
        GTEST_SKIP() << "runs only as the helper of Process.ChildEndsWithTheProgramThatWaitsForIt";
    Process::runAndWait(QStringLiteral("/bin/sh"),
                        {QStringLiteral("-c"), QStringLiteral("echo $$ > \"$0\"; exec sleep 120"),
                         QString::fromLocal8Bit(pidFile)});
}

TEST(Process, ChildEndsWithTheProgramThatWaitsForIt) {
    if (qEnvironmentVariableIsSet(kHelperPidFile))
        GTEST_SKIP();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pidFile = dir.filePath(QStringLiteral("tool.pid"));
    QProcess helper;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kHelperPidFile), pidFile);
    helper.setProcessEnvironment(environment);
    helper.setStandardOutputFile(QProcess::nullDevice());
    helper.setStandardErrorFile(QProcess::nullDevice());
    helper.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=ProcessHelper.*")});
    ASSERT_TRUE(helper.waitForStarted(30000));

    qint64 tool = 0;
    ASSERT_TRUE(waitUntil(
        [&] {
            QFile file(pidFile);
            if (!file.open(QIODevice::ReadOnly))
                return false;
            tool = file.readAll().trimmed().toLongLong();
            return tool > 0;
        },
        60000));
    // The shell writes the file before it becomes the tool: wait for the tool itself, asleep.
    ASSERT_TRUE(waitUntil([&] { return commandName(tool) == "sleep" && processState(tool) == 'S'; }, 60000))
        << "command " << commandName(tool).constData() << ", state " << processState(tool);

    // The player is killed: nothing of its own runs, so only the kernel can end the tool.
    ::kill(static_cast<pid_t>(helper.processId()), SIGKILL);
    helper.waitForFinished(30000);
    const bool ended = waitUntil(
        [&] {
            const char s = processState(tool);
            return s == 0 || s == 'Z';
        },
        30000);
    if (!ended)
        ::kill(static_cast<pid_t>(tool), SIGKILL);
    EXPECT_TRUE(ended) << "the tool outlived the program that started it";
}
