#include "MediaTestFixtures.h"

#include "platform/media/Asset.h"
#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"
#include "platform/media/PlayerView.h"
#include "platform/media/ScrollView.h"
#include "platform/media/SoftwarePlayerView.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMouseEvent>

#include <cmath>
#include <memory>

namespace {

using mediatest::fixtures;
using mediatest::waitFor;

std::shared_ptr<PlayerItem> itemFor(const QString& path) {
    return PlayerItem::playerItemWithAsset(Asset::assetWithUrl(QUrl::fromLocalFile(path)));
}

QImage pictureOf(PlayerView& view) {
    auto* software = dynamic_cast<SoftwarePlayerView*>(view.surface());
    return software ? software->currentImage().convertToFormat(QImage::Format_RGB32) : view.grab().toImage();
}

bool rowIsBlack(const QImage& image, int y) {
    for (int x = 0; x < image.width(); ++x)
        if (qGray(image.pixel(x, y)) > 24)
            return false;
    return true;
}

// The largest difference between colour channels over a grid of the picture's pixels.
int colourfulness(const QImage& image, QRect area) {
    int most = 0;
    for (int y = area.top(); y <= area.bottom(); y += 7)
        for (int x = area.left(); x <= area.right(); x += 7) {
            const QRgb p = image.pixel(x, y);
            most = std::max({most, std::abs(qRed(p) - qGreen(p)), std::abs(qGreen(p) - qBlue(p)),
                             std::abs(qRed(p) - qBlue(p))});
        }
    return most;
}

// Waits for the view's picture to satisfy `check`.
bool waitForPicture(PlayerView& view, const std::function<bool(const QImage&)>& check) {
    return waitFor([&] {
        const QImage image = pictureOf(view);
        return !image.isNull() && check(image);
    });
}

// A player paused at one second, shown by `view`.
std::unique_ptr<Player> pausedPlayer(PlayerView& view) {
    auto player = std::make_unique<Player>();
    view.setPlayer(player.get());
    auto item = itemFor(fixtures().videoWithSound);
    player->replaceCurrentItemWithPlayerItem(item);
    // The file's first picture may show before the one sought: wait for it, then for another.
    EXPECT_TRUE(
        waitForPicture(view, [](const QImage& image) { return !rowIsBlack(image, image.height() / 2); }));
    const QImage first = pictureOf(view);
    bool sought = false;
    player->seekToTime(MediaTime(1, 1), [&](bool) { sought = true; });
    EXPECT_TRUE(waitFor([&] { return sought; }));
    EXPECT_TRUE(waitForPicture(view, [&](const QImage& image) { return image != first; }));
    return player;
}

TEST(MediaPlayerView, SoftwareRendererDrawsTheFittedPictureAndGreysIt) {
    REQUIRE_MEDIA_FIXTURES();
    PlayerView view;
    if (QGuiApplication::platformName() == "offscreen") {
        EXPECT_TRUE(view.usesSoftwareRenderer());
    }
    view.resize(320, 320);
    view.show();
    auto player = pausedPlayer(view);
    // A 16:9 picture in a square view: black bands above and below, the picture between.
    ASSERT_TRUE(
        waitForPicture(view, [](const QImage& image) { return !rowIsBlack(image, image.height() / 2); }));
    const QImage picture = pictureOf(view);
    const int h = picture.height();
    EXPECT_TRUE(rowIsBlack(picture, h * 20 / 320));
    EXPECT_TRUE(rowIsBlack(picture, h * 300 / 320));
    EXPECT_FALSE(rowIsBlack(picture, h * 80 / 320));
    EXPECT_FALSE(rowIsBlack(picture, h * 240 / 320));
    EXPECT_NEAR(view.videoRect().height(), 180.0, 1.0);
    const QRect content(0, h * 75 / 320, picture.width(), h * 170 / 320);
    EXPECT_GT(colourfulness(picture, content), 60);

    view.setMono(true);
    EXPECT_TRUE(view.isMono());
    EXPECT_TRUE(waitForPicture(view, [&](const QImage& image) { return colourfulness(image, content) <= 8; }))
        << "colour difference " << colourfulness(pictureOf(view), content);
    EXPECT_FALSE(rowIsBlack(pictureOf(view), h / 2));
    view.setMono(false);
    EXPECT_TRUE(
        waitForPicture(view, [&](const QImage& image) { return colourfulness(image, content) > 60; }));
}

TEST(MediaPlayerView, LastFrameStaysAfterTheEnd) {
    REQUIRE_MEDIA_FIXTURES();
    PlayerView view;
    view.resize(160, 90);
    view.show();
    Player player;
    view.setPlayer(&player);
    auto item = itemFor(fixtures().videoWithSound);
    player.replaceCurrentItemWithPlayerItem(item);
    int ends = 0;
    QObject::connect(item.get(), &PlayerItem::didPlayToEndTime, [&] { ++ends; });
    player.seekToTime(MediaTime(18, 10));
    player.play();
    ASSERT_TRUE(waitFor([&] { return ends == 1; }));
    mediatest::spin(200);
    const QImage picture = pictureOf(view);
    ASSERT_FALSE(picture.isNull());
    EXPECT_FALSE(rowIsBlack(picture, picture.height() / 2));
}

TEST(MediaPlayerView, PlayersAndViewsGoAwayInAnyOrder) {
    REQUIRE_MEDIA_FIXTURES();
    // The player first: the view turns black.
    auto view = std::make_unique<PlayerView>();
    view->resize(160, 90);
    // As in the players, the view is attached before the item is loaded.
    auto player = std::make_unique<Player>();
    view->setPlayer(player.get());
    player->replaceCurrentItemWithPlayerItem(itemFor(fixtures().videoWithSound));
    player->play();
    ASSERT_TRUE(waitFor([&] { return player->currentSeconds() > 0.2; }));
    player.reset();
    EXPECT_EQ(view->player(), nullptr);
    mediatest::spin(50);
    view.reset();

    // The view first: the player plays on by itself.
    view = std::make_unique<PlayerView>();
    player = std::make_unique<Player>();
    view->setPlayer(player.get());
    player->replaceCurrentItemWithPlayerItem(itemFor(fixtures().videoWithSound));
    player->play();
    ASSERT_TRUE(waitFor([&] { return player->currentSeconds() > 0.1; }));
    view.reset();
    const double before = player->currentSeconds();
    EXPECT_TRUE(waitFor([&] { return player->currentSeconds() > before + 0.3; }));

    // A second view takes the player over from the first.
    PlayerView first, second;
    first.resize(160, 90);
    second.resize(160, 90);
    first.setPlayer(player.get());
    second.setPlayer(player.get());
    EXPECT_TRUE(
        waitForPicture(second, [](const QImage& image) { return !rowIsBlack(image, image.height() / 2); }));
    EXPECT_TRUE(pictureOf(first).isNull() || rowIsBlack(pictureOf(first), pictureOf(first).height() / 2));
    player.reset();
}

// A view that takes a player over while its file is still opening (a full-screen hand-over, a
// quick double-click) must not leave it without a picture or a clock: every round plays on.
TEST(MediaPlayerView, ViewAttachedWhileTheFileOpensPlays) {
    REQUIRE_MEDIA_FIXTURES();
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        Player player;
        player.replaceCurrentItemWithPlayerItem(itemFor(fixtures().videoWithSound));
        // Some rounds give libmpv a moment to get further into the file first.
        if (round % 3 == 1)
            mediatest::spin(round);
        PlayerView view;
        view.resize(160, 90);
        view.setPlayer(&player);
        player.play();
        ASSERT_TRUE(waitFor([&] { return player.currentSeconds() > 0.5; }))
            << "stuck at " << player.currentSeconds() << " s";
        EXPECT_TRUE(
            waitForPicture(view, [](const QImage& image) { return !rowIsBlack(image, image.height() / 2); }));
    }
}

TEST(MediaScrollView, MagnificationStaysInRangeAndKeepsItsCentre) {
    ScrollView scroll;
    scroll.resize(320, 180);
    EXPECT_EQ(scroll.minMagnification(), 1.0);
    EXPECT_EQ(scroll.maxMagnification(), 3.0);
    scroll.setMagnification(0.5);
    EXPECT_EQ(scroll.magnification(), 1.0);
    scroll.setMagnification(5.0);
    EXPECT_EQ(scroll.magnification(), 3.0);
    scroll.setMagnification(NAN);
    EXPECT_EQ(scroll.magnification(), 3.0);

    scroll.setMagnification(1.0);
    scroll.setMagnification(2.0, QPointF(160, 90));
    EXPECT_EQ(scroll.documentVisibleRect(), QRectF(80, 45, 160, 90));
    // Moving is limited to the document; unmagnified it cannot move at all.
    scroll.scrollToPoint(QPointF(1000, -50));
    EXPECT_EQ(scroll.documentVisibleRect().topLeft(), QPointF(160, 0));
    scroll.setMagnification(1.0);
    scroll.scrollToPoint(QPointF(30, 30));
    EXPECT_EQ(scroll.documentVisibleRect(), QRectF(0, 0, 320, 180));

    // A point keeps its place: magnifying about the top-left corner keeps the origin there.
    scroll.setMagnification(3.0, QPointF(0, 0));
    EXPECT_EQ(scroll.documentVisibleRect().topLeft(), QPointF(0, 0));

    // Dragging moves the picture with the pointer (the visible part the other way).
    scroll.setMagnification(1.0);
    scroll.setMagnification(2.0, QPointF(160, 90));
    QPointF moved;
    QObject::connect(&scroll, &ScrollView::panGesture, [&](Qt::GestureState, QPointF t) { moved += t; });
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(100, 100), QPointF(100, 100), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, QPointF(60, 80), QPointF(60, 80), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(60, 80), QPointF(60, 80), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&scroll, &press);
    QCoreApplication::sendEvent(&scroll, &move);
    QCoreApplication::sendEvent(&scroll, &release);
    EXPECT_EQ(moved, QPointF(-20, -10));
    EXPECT_EQ(scroll.documentVisibleRect().topLeft(), QPointF(100, 55));
}

TEST(MediaScrollView, MagnifiedPictureShowsTheVisiblePart) {
    REQUIRE_MEDIA_FIXTURES();
    // A view the picture fills, and a square one with bands above and below it.
    for (const QSize size : {QSize(320, 180), QSize(240, 240)}) {
        ScrollView scroll;
        scroll.resize(size);
        auto* view = new PlayerView;
        scroll.setDocumentView(view);
        scroll.show();
        auto player = pausedPlayer(*view);
        ASSERT_TRUE(waitForPicture(
            *view, [](const QImage& image) { return !rowIsBlack(image, image.height() / 2); }));
        const QImage whole = pictureOf(*view);

        const QPointF point(size.width() / 4.0, size.height() / 3.0);
        scroll.setMagnification(2.0, point);
        const QRectF visible = scroll.documentVisibleRect();
        EXPECT_EQ(visible.topLeft(), point / 2);
        const auto error = [&](const QImage& image) {
            // Each view pixel shows the document pixel origin + position / 2.
            double sum = 0;
            int n = 0;
            for (int y = 10; y < size.height() - 10; y += 10)
                for (int x = 10; x < size.width() - 10; x += 10) {
                    const QRgb a = image.pixel(x, y);
                    const QRgb b = whole.pixel(int(visible.x() + x / 2.0), int(visible.y() + y / 2.0));
                    sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                           std::abs(qBlue(a) - qBlue(b));
                    ++n;
                }
            return sum / n;
        };
        EXPECT_TRUE(waitForPicture(*view, [&](const QImage& image) { return error(image) < 30; }))
            << size.width() << "x" << size.height() << ": mean difference " << error(pictureOf(*view));
    }
}

} // namespace
