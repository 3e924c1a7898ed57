// The player's side of bench/unpack/run.sh.
//
//   unpack_bench ARCHIVE FOLDER   unpacks ARCHIVE (which lies in FOLDER, as a
//                                 downloaded package lies on the card) into
//                                 FOLDER on the unpacking thread, as the
//                                 settings screen does, and removes it; prints
//                                 the seconds until the completion arrived

#include "platform/system/LogCategories.h"
#include "settings/PackageUnpack.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <clocale>
#include <cstdio>

int main(int argc, char** argv) {
    platform::installLogLineHandler();
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: unpack_bench ARCHIVE FOLDER\n");
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    UnzipResult result;
    PackageUnpack unpack(
        args.at(1), args.at(2), {},
        [&](const UnzipResult& r, const QString&) {
            result = r;
            QCoreApplication::quit();
        },
        nullptr);
    QCoreApplication::exec();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    if (!result.succeeded()) {
        std::fprintf(stderr, "unpacking failed: %s\n", qPrintable(result.error));
        return 1;
    }
    std::printf("seconds %.3f\n", seconds);
    return 0;
}
