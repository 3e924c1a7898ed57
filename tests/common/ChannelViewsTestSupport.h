#pragma once

// A window player with its four channel views, in a window of its own, and the
// three-channel recording of the playback fixtures loaded into it; shared by
// the channel-view, transport and key tests.

#include "PlaybackTestFixtures.h"

#include "metadata/RecordingList.h"
#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"
#include "platform/media/PlayerView.h" // ScrollView.h needs it complete
#include "platform/media/ScrollView.h"
#include "platform/ui/WindowController.h"
#include "player/window/OrvoViewController.h"
#include "shared/PlayerState.h"

#include <QApplication>
#include <QMainWindow>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace channeltest {

using playbacktest::entry;
using playbacktest::files;
using playbacktest::waitFor;

// A window controller with the window player as its content, shown and key.
class PlayerWindow {
public:
    PlayerWindow() {
        playbacktest::resetPlayerState();
        // A held list keeps the new player from its start-up step (update check, last folder).
        listRecordings();
        windowController = std::make_unique<WindowController>();
        player = new OrvoViewController;
        windowController->setContentViewController(player);
        windowController->showWindow();
        windowController->window()->resize(1200, 760);
        windowController->window()->activateWindow();
        player->loadViewIfNeeded();
        waitFor([this] { return player->videoContentView && player->videoContentView->width() > 100; });
        if (player->scrollViews.size() != 4)
            player->setupPlayerViews(4);
        if (!player->currentTrackTimer)
            player->startPlayTimer();
        waitFor([this] { return QApplication::activeWindow() == windowController->window(); });
    }
    ~PlayerWindow() {
        if (player) {
            player->removeKeyMonitor();
            player->stopPlayback();
        }
        windowController.reset();
        playbacktest::resetPlayerState();
    }

    QMainWindow* window() const { return windowController->window(); }

    // The three-channel recording first, then a one-channel one; nothing loaded yet.
    void listRecordings() {
        const playbacktest::Files& f = files();
        recordingList = {entry(f.front, f.rear, f.inside), entry(f.single)};
        displayedRecordingList = recordingList;
        currentIndex = -1;
    }

    // Lists the recordings and starts the first one as the play button does,
    // in `startMode`; waits until its sound channel plays past `seconds`.
    bool playThreeChannels(mode startMode, double seconds = 0.5) {
        listRecordings();
        playMode = startMode;
        player->playPause();
        return waitFor([this, seconds] {
            return player->orvoPlayer && player->orvoPlayer->currentItem() &&
                   player->orvoPlayer->currentItem()->status() == PlayerItem::Status::ReadyToPlay &&
                   player->orvoPlayer->currentSeconds() > seconds;
        });
    }

    // Waits until every player with an item shows a position near `seconds`.
    bool playersNear(double seconds, double tolerance = 0.15) {
        return waitFor([&] {
            for (Player* p : player->players) {
                if (p->currentItem() && std::abs(p->currentSeconds() - seconds) > tolerance)
                    return false;
            }
            return true;
        });
    }

    std::unique_ptr<WindowController> windowController;
    QPointer<OrvoViewController> player;
};

inline int visibleChannelCount(const OrvoViewController& player) {
    int count = 0;
    for (ScrollView* view : player.scrollViews)
        count += view->isVisibleTo(player.videoContentView) ? 1 : 0;
    return count;
}

} // namespace channeltest
