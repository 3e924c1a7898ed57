// The window player's segues: each presented screen gets the sender as its
// payload. "orvoToSetting" and "orvoToHelp" carry none.
//
// The capture and backup screens take their payload through the receiver
// interfaces of this library; the update screen lives in the settings library,
// which builds on this one: its class is told by name and its address member
// reached through its header alone, so that this library needs none of its code.

#include "OrvoViewController.h"

#include "CaptureDataReceiver.h"
#include "SegueIdentifiers.h"
#include "captureData.h"

#include "settings/UpdateViewController.h"

#include <cstdio>

namespace {

void print(const char* text) {
    std::printf("%s\n", text);
    std::fflush(stdout);
}

// The destination as the class the storyboard makes for the segue; anything
// else is a wiring mistake of the storyboard.
template <typename Controller>
Controller* destinationAs(const StoryboardSegue& segue, const char* className) {
    ViewController* destination = segue.destinationController();
    Q_ASSERT(destination && destination->inherits(className));
    if (!destination || !destination->inherits(className))
        return nullptr;
    return static_cast<Controller*>(destination);
}

} // namespace

void OrvoViewController::prepareForSegue(const StoryboardSegue& segue, const QVariant& sender) {
    const QString& identifier = segue.identifier();
    if (identifier == QLatin1String(SegueIdentifier::kOrvoToUpdate)) {
        auto* update = destinationAs<UpdateViewController>(segue, "UpdateViewController");
        if (update && sender.typeId() == QMetaType::QUrl)
            update->updateURL = sender.toUrl();
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
