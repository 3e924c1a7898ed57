// backup_bench FRONT REAR INSIDE OUTDIR COMMANDS_FILE
//
// One backup of the three-channel recording FRONT (with its REAR and INSIDE
// files) by the backup screen, with the sound, into OUTDIR, as Save makes it:
// every copy run on the main thread and waited for. Prints the time the
// backup took, in milliseconds, and writes the tool's argument lists to
// COMMANDS_FILE (one run a line, the arguments separated by tabs) so that the
// same runs can be made by hand.

#include "capture/BackupViewController.h"
#include "capture/ClipBackup.h"
#include "platform/system/Bookmark.h"
#include "platform/system/LogCategories.h"
#include "platform/system/UserDefaults.h"
#include "shared/DefaultsKeys.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QUrl>

#include <clocale>
#include <cstdio>

int main(int argc, char** argv) {
    platform::installLogLineHandler();
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QStringList args = app.arguments();
    if (args.size() != 6) {
        std::fprintf(stderr, "usage: backup_bench FRONT REAR INSIDE OUTDIR COMMANDS_FILE\n");
        return 2;
    }
    QCoreApplication::setOrganizationName(QStringLiteral("KavrinBench"));
    QCoreApplication::setApplicationName(QStringLiteral("backup_bench"));

    orvoTableModel row;
    row.url = QUrl::fromLocalFile(args[1]);
    row.row.merge = QUrl::fromLocalFile(args[2]);
    row.row.merge2 = QUrl::fromLocalFile(args[3]);
    const std::optional<QByteArray> folder = Bookmark::create(QUrl::fromLocalFile(args[4]));
    if (!folder) {
        std::fprintf(stderr, "backup_bench: %s is no folder\n", qPrintable(args[4]));
        return 1;
    }
    UserDefaults::standard().set(QString::fromLatin1(DefaultsKey::kBackupBookMark), *folder);

    QList<QStringList> runs;
    int failures = 0;
    auto& environment = clipBackupEnvironment();
    environment.run = [&runs](const QString& program, const QStringList& arguments,
                              Process::Cancellation* cancellation) {
        runs.append(QStringList{program} + arguments);
        // As the screen runs it: waited for in an event loop, the end of the error output kept.
        return Process::runInEventLoop(program, arguments, -1, true, true, cancellation);
    };
    environment.alert = [&failures](const QString&, const QString& message) {
        std::fprintf(stderr, "backup_bench: %s\n", qPrintable(message));
        ++failures;
    };
    environment.notice = [](const QString&, const QString&) {};

    BackupViewController screen;
    screen.loadViewIfNeeded();
    QElapsedTimer clock;
    clock.start();
    screen.backupRecording(row, true);
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;

    QFile commands(args[5]);
    if (!commands.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    for (const QStringList& run : runs)
        commands.write(run.join(QLatin1Char('\t')).toUtf8() + '\n');
    std::printf("%.3f\n", ms);
    UserDefaults::standard().removeObject(QString::fromLatin1(DefaultsKey::kBackupBookMark));
    return failures == 0 && runs.size() == 3 ? 0 : 1;
}
