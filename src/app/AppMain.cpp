#include "app/AppMain.h"

#include "app/AppDelegate.h"
#include "app/MainStoryboard.h"
#include "platform/system/Localization.h"
#include "platform/system/LogCategories.h"
#include "platform/ui/Storyboard.h"
#include "platform/ui/ToolTips.h"
#include "platform/ui/ViewController.h"
#include "player/window/OrvoWindowController.h"
#include "shared/SegueIdentifiers.h"

#include <QApplication>
#include <QMainWindow>

#include <clocale>
#include <memory>

void registerShellStoryboard() {
    Storyboard& main = Storyboard::named(QString::fromLatin1(StoryboardName::kMain));
    if (!main.initialControllerIdentifier().isEmpty())
        return;
    main.registerWindowController(
        QString::fromLatin1(ControllerIdentifier::kOrvoWindowController),
        [] { return new OrvoWindowController; },
        QString::fromLatin1(ControllerIdentifier::kOrvoViewController));
    main.setInitialController(QString::fromLatin1(ControllerIdentifier::kOrvoWindowController));
}

int applicationMain(int argc, char** argv) {
    // The log lines on standard output as they stand; QT_LOGGING_RULES selects them.
    platform::installLogLineHandler();
    // libmpv renders into shared OpenGL contexts and needs the "C" numeric locale.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setOrganizationName(QStringLiteral("Kavrin"));
    QCoreApplication::setApplicationName(QStringLiteral("KavrinPlayer"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kavrin Player"));
    // The window controller decides when the application ends.
    QApplication::setQuitOnLastWindowClosed(false);
    // A tip over a control must not take the click meant for it.
    ToolTips::letClicksThrough();

    loadInterfaceLanguage();

    AppDelegate delegate;
    registerMainStoryboard();
    registerShellStoryboard();
    std::unique_ptr<WindowController> windowController(
        Storyboard::named(QString::fromLatin1(StoryboardName::kMain)).instantiateInitialWindowController());
    if (!windowController) {
        qCWarning(platform::lcApp, "kavrin-player: the storyboard \"Main\" has no window");
        return 1;
    }
    delegate.window = windowController->window();
    delegate.applicationDidFinishLaunching();
    // The window opens at the size the first screen was laid out for.
    if (QMainWindow* window = windowController->window()) {
        const QWidget* content = windowController->contentViewController();
        if (content && content->testAttribute(Qt::WA_Resized) && !content->size().isEmpty())
            window->resize(content->size());
        else if (!window->testAttribute(Qt::WA_Resized))
            window->resize(1280, 860);
    }
    windowController->showWindow();

    const int status = app.exec();
    delegate.applicationWillTerminate();
    windowController.reset();
    return status;
}
