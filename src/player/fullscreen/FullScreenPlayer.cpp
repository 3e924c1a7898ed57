#include "player/fullscreen/FullScreenPlayer.h"

FullScreenPlayer::FullScreenPlayer(QWidget* parent) : PlayerView(parent) {}

void FullScreenPlayer::enterEvent(QEnterEvent* event) {
    PlayerView::enterEvent(event);
}
