// The player's side of bench/download/run.sh.
//
//   download_bench download URL     the download screen fetches URL into the
//                                   Downloads folder; prints seconds, bytes and
//                                   the peak growth of resident memory
//   download_bench versionpage URL  the firmware version page at URL is fetched
//                                   and read for the card's offer as the settings
//                                   screen reads it; prints seconds, bytes, cells
//                                   and the peak growth of resident memory

#include "platform/system/FileManager.h"
#include "platform/system/HtmlDocument.h"
#include "platform/system/Http.h"
#include "platform/system/LogCategories.h"
#include "platform/system/NotificationCenter.h"
#include "settings/CardPackages.h"
#include "settings/ProgressViewController.h"
#include "shared/NotificationNames.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <cstring>

namespace {

// A line of /proc/self/status in kB ("VmRSS", "VmHWM").
long statusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field)) + 1).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Starts the peak (VmHWM) afresh from the present resident size.
void resetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

int download(QApplication& app, const QString& address) {
    ViewController host;
    QObject observer;
    std::optional<QUrl> file;
    NotificationCenter::defaultCenter().addObserver(
        &observer, QLatin1String(NotificationName::kInstallerDownloadComplete), nullptr,
        [&](const Notification& notification) {
            file = notification.userInfo.value(QLatin1String(NotificationUserInfoKey::kDownloadPath)).toUrl();
            QCoreApplication::quit();
        });
    auto* screen = new ProgressViewController;
    screen->downloadURL = QUrl(address);
    screen->name = QStringLiteral("KavrinPlayer");
    QPointer<ProgressViewController> guard(screen);

    // The same screen once without an address (it downloads nothing), so that
    // fonts and widgets are in memory before the measurement starts.
    QPointer<ProgressViewController> warmUp = new ProgressViewController;
    host.presentViewController(warmUp, SeguePresentation::Sheet);
    QTimer::singleShot(200, &app, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    if (warmUp)
        warmUp->dismiss();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    resetPeak();
    const long before = statusKb("VmRSS:");
    QElapsedTimer clock;
    clock.start();
    host.presentViewController(screen, SeguePresentation::Sheet);
    // A failed download closes the screen without the notification.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!guard || !guard->isVisible())
            QCoreApplication::quit();
    });
    watch.start(50);
    QCoreApplication::exec();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    const long peak = statusKb("VmHWM:");
    if (!file) {
        std::fprintf(stderr, "download failed\n");
        return 1;
    }
    std::printf("seconds %.3f\nbytes %lld\npeak_growth_kb %ld\nfile %s\n", seconds,
                QFileInfo(file->toLocalFile()).size(), peak - before, qPrintable(file->toLocalFile()));
    return 0;
}

int versionPage(const QString& address) {
    // The parser's own set-up made once before the measurement.
    (void)HtmlDocument::parse("<table><tr><td>warm</td></tr></table>", "td");
    resetPeak();
    const long before = statusKb("VmRSS:");
    QElapsedTimer clock;
    clock.start();
    std::optional<HttpResponse> reply;
    Http::request(
        QUrl(address), nullptr,
        [&reply](const HttpResponse& response) {
            reply = response;
            QCoreApplication::quit();
        },
        CardPackages::versionPageDeadline());
    QCoreApplication::exec();
    if (!reply || !reply->data || reply->statusCode != 200) {
        std::fprintf(stderr, "version page not fetched: %s\n", reply ? qPrintable(reply->description()) : "");
        return 1;
    }
    const std::optional<HtmlDocument> page = HtmlDocument::parse(*reply->data, "td");
    const std::optional<CardPackages::FirmwareOffer> offer =
        page ? CardPackages::firmwareOffer(*page, QStringLiteral("KV-1000")) : std::nullopt;
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    const long peak = statusKb("VmHWM:");
    std::printf("seconds %.3f\nbytes %lld\ncells %lld\noffer %s\npeak_growth_kb %ld\n", seconds,
                qlonglong(reply->data->size()), qlonglong(page ? page->cellCount() : -1),
                offer ? "yes" : "no", peak - before);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    platform::installLogLineHandler();
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("download"))
        return download(app, args.at(2));
    if (args.size() == 3 && args.at(1) == QLatin1String("versionpage"))
        return versionPage(args.at(2));
    std::fprintf(stderr, "usage: download_bench download URL | versionpage URL\n");
    return 2;
}
