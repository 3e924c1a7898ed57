// The window player's segues: each presented screen gets the sender as its
// payload. "orvoToSetting" and "orvoToHelp" carry none.
//
// The capture and backup screens take their payload through the receiver
// interfaces of this library, the update screen through its "installerURL"
// property: this library needs none of their code.

#include "player/window/OrvoViewController.h"

#include "capture/CaptureDataReceiver.h"
#include "capture/captureData.h"
#include "shared/SegueIdentifiers.h"

#include "platform/system/LogCategories.h"
#include <cstdio>

namespace {

void print(const char* text) {
    platform::logLine(platform::lcPlayer(), text);
}

} // namespace

void OrvoViewController::prepareForSegue(const StoryboardSegue& segue, const QVariant& sender) {
    const QString& identifier = segue.identifier();
    if (identifier == QLatin1String(SegueIdentifier::kOrvoToUpdate)) {
        // The update screen lives in the settings library, which builds on this one.
        ViewController* update = segue.destinationController();
        if (update && sender.typeId() == QMetaType::QUrl)
            update->setProperty("installerURL", sender.toUrl());
    } else if (identifier == QLatin1String(SegueIdentifier::kOrvoToCapture)) {
        // The storyboard makes the capture screen here; any other class is a programming error.
        auto* capture = dynamic_cast<CaptureDataReceiver*>(segue.destinationController());
        Q_ASSERT(capture);
        if (sender.metaType() == QMetaType::fromType<::captureData>()) {
            if (capture)
                capture->receiveCaptureData(sender.value<::captureData>());
        } else {
            print("any err");
        }
    } else {
        prepareBackupSegue(segue, sender);
    }
    // "orvoToSetting" and "orvoToHelp": nothing to hand over.
}
