// The window player's play timer: ten times a second the position of
// orvoPlayer is stored in lastPlayTime and shown in the time texts, the
// position slider and the data panel.

#include "player/window/OrvoViewController.h"

#include "controls/OrvoSliderCell.h"
#include "controls/OrvoVerticalAlignText.h"
#include "shared/PlayerState.h"

#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"
#include "platform/system/LogCategories.h"
#include "platform/system/MainQueue.h"

#include <QTimer>

void OrvoViewController::startPlayTimer() {
    platform::logLine(platform::lcPlayer(), "startPlayTimer");
    if (currentTrackTimer)
        currentTrackTimer->stop();
    // A Qt timer keeps firing while a menu is open or the window is resized.
    auto* timer = new QTimer(this);
    timer->setInterval(100);
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer, &QTimer::timeout, this, &OrvoViewController::timerInterval);
    timer->start();
    currentTrackTimer = timer;
}

void OrvoViewController::timerInterval() {
    if (!orvoPlayer || !orvoPlayer->currentItem())
        return;
    const MediaTime duration = orvoPlayer->currentItem()->duration();
    const MediaTime time = orvoPlayer->currentItem()->currentTime();
    if (duration.timescale() <= 0 || time.timescale() <= 0 || !duration.isNumeric() || !time.isNumeric())
        return;
    lastPlayTime = time;
    updatePlayTime(time.value() / time.timescale(), duration.value() / duration.timescale());
}

void OrvoViewController::updatePlayTime(qint64 current, qint64 total) {
    mainQueueAsync(this, [this, current, total] { updateTimeDisplay(current, total); });
}

void OrvoViewController::updateTimeDisplay(qint64 current, qint64 total) {
    if (orvoPlayer && orvoPlayer->currentItem() &&
        orvoPlayer->currentItem()->currentTime() == MediaTime::zero())
        return;
    // Without a length yet (an item still loading) there is no position to show.
    if (total <= 0)
        return;
    const double fraction = static_cast<double>(current) / static_cast<double>(total);
    // Also false for 0 / 0.
    if (!(fraction > 0.01))
        return;
    if (videoCurrentText)
        videoCurrentText->setText(timeString(current));
    if (videoTotalText)
        videoTotalText->setText(timeString(total));
    if (videoSlider)
        videoSlider->setDoubleValue(fraction);
    updateDataPanel(false);
}
