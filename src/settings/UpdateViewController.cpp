#include "settings/UpdateViewController.h"

#include "controls/ViewLayer.h"
#include "settings/ProgressViewController.h"
#include "ui_UpdateViewController.h"

#include "platform/system/Bundle.h"
#include "platform/system/Localization.h"
#include "platform/system/MainQueue.h"
#include "platform/system/NotificationCenter.h"
#include "shared/NotificationNames.h"
#include "shared/SegueIdentifiers.h"

#include <QLabel>

UpdateViewController::UpdateViewController(QWidget* parent) : ViewController(parent) {}

UpdateViewController::~UpdateViewController() = default;

void UpdateViewController::loadView() {
    ui = std::make_unique<Ui::UpdateViewController>();
    ui->setupUi(this);
    ViewLayer::applyStoryboardLayers(this);
    titleLabel = ui->titleLabel;
    infoLabel = ui->infoLabel;
}

void UpdateViewController::viewDidLoad() {
    const QString bundleName = Bundle::objectForInfoDictionaryKey(QStringLiteral("CFBundleName")).toString();
    if (!bundleName.isEmpty())
        appName = bundleName;
    if (appName) {
        if (titleLabel)
            titleLabel->setText(*appName);
        if (infoLabel)
            infoLabel->setText(localized("Update to the latest version of KavrinPlayer.\n update now?"));
    }
}

void UpdateViewController::viewDidAppear() {
    setTitle(localized("Notify"));
}

void UpdateViewController::onUpdateBtnTap() {
    proceedToInstallerDownload();
}

void UpdateViewController::proceedToInstallerDownload() {
    if (!updateURL || !appName)
        return;
    performSegue(QLatin1String(SegueIdentifier::kUpdateToProgress),
                 QVariant(QStringList{updateURL->toString(QUrl::FullyEncoded), *appName}));
}

void UpdateViewController::onSettingBtnTap() {
    performSegue(QLatin1String(SegueIdentifier::kUpdateToSetting));
}

void UpdateViewController::onCancelBtnTap() {
    declineUpdate();
}

bool UpdateViewController::cancelOperation() {
    declineUpdate();
    return true;
}

void UpdateViewController::declineUpdate() {
    dismissViewController(this);
    // Observers run once the screen has gone.
    mainQueueAsync(
        [] { NotificationCenter::defaultCenter().post(QLatin1String(NotificationName::kCancelUpdate)); });
}

void UpdateViewController::prepareForSegue(const StoryboardSegue& segue, const QVariant& sender) {
    if (segue.identifier() != QLatin1String(SegueIdentifier::kUpdateToProgress))
        return;
    auto* destination = qobject_cast<ProgressViewController*>(segue.destinationController());
    if (!destination || sender.typeId() != QMetaType::QStringList)
        return;
    const QStringList texts = sender.toStringList();
    if (texts.size() < 2)
        return;
    // A first text that is no address leaves the download screen without one.
    const QUrl url(texts.at(0), QUrl::StrictMode);
    if (url.isValid() && !url.isRelative())
        destination->downloadURL = url;
    destination->name = texts.at(1);
}
