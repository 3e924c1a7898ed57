// The window player's way to other screens and pages: the window zoom, the
// settings and help screens and the maker's web page behind the picture shown
// while nothing plays.

#include "player/window/OrvoViewController.h"

#include "shared/SegueIdentifiers.h"
#include "shared/ServiceConfig.h"

#include "platform/system/Localization.h"

#include <QDesktopServices>

QUrl OrvoViewController::makerWebPageUrl() {
    const QStringList languages = interfaceLanguages().value_or(QStringList());
    if (languages.contains(QStringLiteral("en")) || languages.contains(QStringLiteral("ja")))
        return QUrl(serviceAddress(QStringLiteral("webPage")));
    return QUrl(serviceAddress(QStringLiteral("webPageDomestic")));
}

void OrvoViewController::onFullScreenBtnTap() {
    isMaximizing = true;
    // The platform's window zoom: between the window's own frame and the
    // largest one; the window does not enter full-screen mode.
    QWidget* shownWindow = window();
    if (!shownWindow || shownWindow == this)
        return;
    if (shownWindow->isMaximized())
        shownWindow->showNormal();
    else
        shownWindow->showMaximized();
}

void OrvoViewController::onSettingBtnTap() {
    performSegue(QLatin1String(SegueIdentifier::kOrvoToSetting));
}

void OrvoViewController::onHelpBtnTap() {
    performSegue(QLatin1String(SegueIdentifier::kOrvoToHelp));
}

void OrvoViewController::onDefaultImgBtnTap() {
    QDesktopServices::openUrl(makerWebPageUrl());
}
