#include "platform/media/PlayerSurfaceFactory.h"

#include "platform/media/GlPlayerView.h"
#include "platform/media/SoftwarePlayerView.h"

PlayerSurface* makePlayerSurface(QWidget* parent, bool openGl) {
    if (openGl)
        return new GlPlayerView(parent);
    return new SoftwarePlayerView(parent);
}
