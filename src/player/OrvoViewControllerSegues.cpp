// The window player's segues: each presented screen gets the sender as its
// payload. "orvoToSetting" and "orvoToHelp" carry none.
//
// The destinations live in the capture and settings libraries, which build on
// this one; their classes are told by name and their payload members reached
// through their headers alone, so that this library needs none of their code.

#include "OrvoViewController.h"

#include "SegueIdentifiers.h"
#include "captureData.h"

#include "capture/CaptureViewController.h"
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
        auto* capture = destinationAs<CaptureViewController>(segue, "CaptureViewController");
        if (sender.metaType() == QMetaType::fromType<::captureData>()) {
            if (capture)
                capture->captureData = sender.value<::captureData>();
        } else {
            print("any err");
        }
    } else {
        prepareBackupSegue(segue, sender);
    }
    // "orvoToSetting" and "orvoToHelp": nothing to hand over.
}
