// kavrin-demo-bookmark DIR: stores the bookmark of the folder DIR under the
// player's "orvoBookMark" when no folder is remembered yet, so that the player
// opens DIR at its next start. An existing bookmark is left alone.

#include "platform/system/Bookmark.h"
#include "platform/system/UserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The player's own store.
    QCoreApplication::setOrganizationName(QStringLiteral("Kavrin"));
    QCoreApplication::setApplicationName(QStringLiteral("KavrinPlayer"));
    if (argc != 2) {
        std::fprintf(stderr, "usage: kavrin-demo-bookmark DIR\n");
        return 2;
    }
    const QString key = QStringLiteral("orvoBookMark");
    UserDefaults& defaults = UserDefaults::standard();
    if (defaults.contains(key))
        return 0;
    const QString folder = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    QString error;
    const std::optional<QByteArray> data =
        Bookmark::create(QUrl::fromLocalFile(QDir::cleanPath(folder)), &error);
    if (!data) {
        std::fprintf(stderr, "kavrin-demo-bookmark: %s\n", qUtf8Printable(error));
        return 1;
    }
    defaults.set(key, *data);
    defaults.synchronize();
    std::printf("kavrin-demo-bookmark: the player opens %s at its next start\n", qUtf8Printable(folder));
    return 0;
}
