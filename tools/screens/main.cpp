// kavrin-screens OUTDIR [--language en|ko|ja]
//
// Renders every screen of the storyboard "Main" off screen, in the
// application's dark appearance, to OUTDIR/<screen>.png. The window player is
// rendered twice: as the storyboard makes it and filled with a sample
// recording (window-player.png), to show how its panels look in use.

#include "AppDelegate.h"
#include "MainStoryboard.h"
#include "SampleContent.h"
#include "ScreenRenderer.h"

#include "platform/Localization.h"

#include <QApplication>
#include <QDir>

#include <clocale>
#include <cstdio>

namespace {

struct Screen {
    const char* identifier;
    const char* file;
    QSize size;
};

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");

    QString outDir;
    QString language = QStringLiteral("en");
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--language") && i + 1 < args.size())
            language = args[++i];
        else
            outDir = args[i];
    }
    if (outDir.isEmpty()) {
        std::fprintf(stderr, "usage: kavrin-screens OUTDIR [--language en|ko|ja]\n");
        return 2;
    }
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "kavrin-screens: cannot make %s\n", qPrintable(outDir));
        return 1;
    }

    setLocalizationLanguage(language);
    AppDelegate delegate;
    delegate.applicationDidFinishLaunching();
    registerMainStoryboard();

    const Screen screens[] = {
        {"OrvoViewController", "window-player-storyboard.png", QSize(1280, 800)},
        {"MainViewController", "full-screen-player.png", QSize(1280, 800)},
        {"CaptureViewController", "capture.png", QSize()},
        {"BackupViewController", "backup.png", QSize()},
        {"SettingViewController", "settings.png", QSize()},
        {"UpdateViewController", "update.png", QSize()},
        {"ProgressViewController", "download-progress.png", QSize()},
        {"HelpViewController", "help.png", QSize()},
    };

    int failures = 0;
    const auto save = [&](const QImage& image, const QString& file) {
        const QString path = QDir(outDir).filePath(file);
        if (image.isNull() || !image.save(path)) {
            std::fprintf(stderr, "kavrin-screens: %s not written\n", qPrintable(path));
            ++failures;
            return;
        }
        std::printf("%s (%dx%d)\n", qPrintable(path), image.width(), image.height());
    };

    for (const Screen& screen : screens)
        save(ScreenRenderer::render(QString::fromLatin1(screen.identifier), screen.size),
             QString::fromLatin1(screen.file));
    save(ScreenRenderer::render(QStringLiteral("OrvoViewController"), QSize(1280, 800),
                                SampleContent::fillWindowPlayer),
         QStringLiteral("window-player.png"));
    save(ScreenRenderer::render(QStringLiteral("MainViewController"), QSize(1280, 800),
                                SampleContent::fillFullScreenPlayer),
         QStringLiteral("full-screen-player-playing.png"));
    return failures == 0 ? 0 : 1;
}
