// kavrin-screens OUTDIR [--language en|ko|ja] [--size WxH | --size min]
//
// Renders every screen of the storyboard "Main" off screen, in the
// application's dark appearance, to OUTDIR/<screen>.png. The window player is
// rendered twice: as the storyboard makes it and filled with a sample
// recording (window-player.png), to show how its panels look in use. The two
// players are rendered at --size (1280x800 unless given; "min" is the
// smallest size the window player allows), the other screens at their own.

#include "SampleContent.h"
#include "ScreenRenderer.h"
#include "app/AppDelegate.h"
#include "app/MainStoryboard.h"

#include "platform/system/Localization.h"
#include "platform/system/LogCategories.h"
#include "platform/system/UserDefaults.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

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
    platform::installLogLineHandler();
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings of its own, so that the language chosen here is the one in effect
    // and the user's own stay untouched.
    QTemporaryDir config;
    if (config.isValid())
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");

    QString outDir;
    QString language = QStringLiteral("en");
    QString sizeText = QStringLiteral("1280x800");
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--language") && i + 1 < args.size())
            language = args[++i];
        else if (args[i] == QLatin1String("--size") && i + 1 < args.size())
            sizeText = args[++i];
        else
            outDir = args[i];
    }
    const QSize playerSize(sizeText.section(QLatin1Char('x'), 0, 0).toInt(),
                           sizeText.section(QLatin1Char('x'), 1, 1).toInt());
    if (outDir.isEmpty() || (sizeText != QLatin1String("min") && playerSize.isEmpty())) {
        std::fprintf(stderr,
                     "usage: kavrin-screens OUTDIR [--language en|ko|ja] [--size WxH | --size min]\n");
        return 2;
    }
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "kavrin-screens: cannot make %s\n", qPrintable(outDir));
        return 1;
    }

    UserDefaults::standard().set(QString::fromLatin1(UserDefaults::kAppleLanguages), QStringList{language});
    loadInterfaceLanguage();
    AppDelegate delegate;
    delegate.applicationDidFinishLaunching();
    registerMainStoryboard();
    // "min": each player at the smallest size it allows.
    const auto sizeOf = [&](const char* identifier) {
        return sizeText == QLatin1String("min") ? ScreenRenderer::minimumSize(QString::fromLatin1(identifier))
                                                : playerSize;
    };

    const Screen screens[] = {
        {"OrvoViewController", "window-player-storyboard.png", sizeOf("OrvoViewController")},
        {"MainViewController", "full-screen-player.png", sizeOf("MainViewController")},
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
    save(ScreenRenderer::render(QStringLiteral("OrvoViewController"), sizeOf("OrvoViewController"),
                                SampleContent::fillWindowPlayer),
         QStringLiteral("window-player.png"));
    save(ScreenRenderer::render(QStringLiteral("MainViewController"), sizeOf("MainViewController"),
                                SampleContent::fillFullScreenPlayer),
         QStringLiteral("full-screen-player-playing.png"));
    return failures == 0 ? 0 : 1;
}
