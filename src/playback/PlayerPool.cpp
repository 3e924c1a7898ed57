#include "playback/PlayerPool.h"

#include "platform/media/Player.h"
#include "platform/media/PlayerView.h"

#include <QCoreApplication>
#include <QList>
#include <QPointer>

namespace {

// Waiting players belong to the application, which deletes those left at its end.
QList<QPointer<Player>>& idlePlayers() {
    static QList<QPointer<Player>> players;
    return players;
}

} // namespace

namespace PlayerPool {

Player* take(QObject* parent) {
    QList<QPointer<Player>>& idle = idlePlayers();
    while (!idle.isEmpty()) {
        Player* player = idle.takeLast();
        if (!player)
            continue;
        player->setParent(parent);
        return player;
    }
    return new Player(parent);
}

void giveBack(Player* player) {
    if (!player)
        return;
    // Emptied first, so that its view lets go of a player that shows nothing.
    player->replaceCurrentItemWithPlayerItem(nullptr);
    if (PlayerView* view = PlayerView::showing(player))
        view->setPlayer(nullptr);
    QList<QPointer<Player>>& idle = idlePlayers();
    idle.removeAll(nullptr);
    if (!player->isValid() || idle.size() >= kMaxIdle || !QCoreApplication::instance()) {
        delete player;
        return;
    }
    // Whoever listened to it had it for one screen only.
    QObject::disconnect(player, nullptr, nullptr, nullptr);
    player->setRate(1.0);
    player->pause();
    player->setVolume(1.0f);
    player->setMuted(false);
    player->setActionAtItemEnd(Player::ActionAtItemEnd::Pause);
    player->setMonochrome(false);
    player->setVideoMagnification(1.0, 0.0, 0.0);
    player->setParent(QCoreApplication::instance());
    idle.append(player);
}

int idleCount() {
    QList<QPointer<Player>>& idle = idlePlayers();
    idle.removeAll(nullptr);
    return static_cast<int>(idle.size());
}

} // namespace PlayerPool
