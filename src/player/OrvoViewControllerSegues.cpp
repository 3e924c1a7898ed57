// The window player's segues: each screen gets its payload from the segue's sender.

#include "OrvoViewController.h"

#include "CaptureDataReceiver.h"
#include "SegueIdentifiers.h"

#include <cstdio>

void OrvoViewController::prepareForSegue(const StoryboardSegue& segue, const QVariant& sender) {
    if (segue.identifier() == QLatin1String(SegueIdentifier::kOrvoToCapture)) {
        // The storyboard makes the capture screen here; any other class is a programming error.
        auto* destination = dynamic_cast<CaptureDataReceiver*>(segue.destinationController());
        Q_ASSERT(destination);
        if (!destination)
            return;
        if (sender.metaType() == QMetaType::fromType<captureData>()) {
            destination->receiveCaptureData(sender.value<captureData>());
        } else {
            std::puts("any err");
            std::fflush(stdout);
        }
    }
}
