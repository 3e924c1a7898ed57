#include "controls/OrvoVideoPlayerView.h"

OrvoVideoPlayerView::OrvoVideoPlayerView(QWidget* parent, Renderer renderer) : PlayerView(parent, renderer) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}
