// The window player's channel views: their arrangement for one to four
// channels, the drag of a magnified picture, and the channel buttons'
// pictures and states.

#include "common/ChannelViewsTestSupport.h"

#include "controls/CustomButton.h"
#include "platform/media/PlayerView.h"
#include "platform/ui/Assets.h"
#include "player/window/ChannelLayout.h"

#include <QMouseEvent>
#include <QRegion>

#include <vector>

using namespace channeltest;
using Arrangement = ChannelLayout::Arrangement;

namespace {

void sendMouse(QWidget* widget, QEvent::Type type, QPoint at) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

struct PairCase {
    QSizeF container;
    Arrangement expected;
};

} // namespace

TEST(ChannelLayoutTest, TwoChannelsSideBySideOnlyWhenThatShowsMore) {
    const std::vector<PairCase> cases{
        {{1000, 500}, Arrangement::SideBySide}, // twice as wide as high
        {{600, 600}, Arrangement::Stacked},     // square
        {{1600, 900}, Arrangement::Stacked},    // 16:9: both show the same area; a tie stacks
        {{1601, 900}, Arrangement::SideBySide}, {{400, 900}, Arrangement::Stacked},
        {{0, 0}, Arrangement::Stacked},
    };
    for (const PairCase& c : cases)
        EXPECT_EQ(ChannelLayout::pairArrangement(c.container), c.expected)
            << c.container.width() << "x" << c.container.height();
}

TEST(ChannelLayoutTest, FramesCoverTheContainerWithoutOverlap) {
    for (const QSize container : {QSize(800, 450), QSize(801, 451), QSize(3, 1)}) {
        for (const auto& [arrangement, shown] : std::vector<std::pair<Arrangement, int>>{
                 {Arrangement::Grid, 4}, {Arrangement::SideBySide, 2}, {Arrangement::Stacked, 2}}) {
            QRegion covered;
            int area = 0;
            for (int i = 0; i < 4; ++i) {
                const auto frame = ChannelLayout::frameOf(arrangement, -1, i, container);
                ASSERT_EQ(frame.has_value(), i < shown) << i;
                if (!frame)
                    continue;
                covered += *frame;
                area += frame->width() * frame->height();
            }
            // Halves of an odd side neither overlap nor leave a seam.
            EXPECT_EQ(covered, QRegion(QRect(QPoint(0, 0), container)));
            EXPECT_EQ(area, container.width() * container.height());
        }
    }
    EXPECT_EQ(ChannelLayout::frameOf(Arrangement::Grid, -1, 1, QSize(800, 450)), QRect(400, 0, 400, 225));
    EXPECT_EQ(ChannelLayout::frameOf(Arrangement::SideBySide, -1, 1, QSize(800, 450)),
              QRect(400, 0, 400, 450));
    EXPECT_EQ(ChannelLayout::frameOf(Arrangement::Stacked, -1, 1, QSize(800, 450)), QRect(0, 225, 800, 225));
    EXPECT_EQ(ChannelLayout::frameOf(Arrangement::Single, 2, 2, QSize(800, 450)), QRect(0, 0, 800, 450));
    EXPECT_FALSE(ChannelLayout::frameOf(Arrangement::Single, 2, 1, QSize(800, 450)));
    EXPECT_FALSE(ChannelLayout::frameOf(Arrangement::Single, -1, 0, QSize(800, 450)));
}

class ChannelViewsTest : public ::testing::Test {
protected:
    PlayerWindow w;
    OrvoViewController& player() { return *w.player; }
    QRect container() { return player().videoContentView->rect(); }
    QList<QRect> shownFrames() {
        QList<QRect> frames;
        for (ScrollView* view : player().scrollViews)
            frames << (view->isVisibleTo(player().videoContentView) ? view->geometry() : QRect());
        return frames;
    }
};

TEST_F(ChannelViewsTest, SetupMakesOneScrollViewPlayerViewAndPlayerPerChannel) {
    ASSERT_EQ(player().scrollViews.size(), 4);
    ASSERT_EQ(player().avplayerViews.size(), 4);
    ASSERT_EQ(player().players.size(), 4);
    for (int i = 0; i < 4; ++i) {
        ScrollView* scrollView = player().scrollViews[i];
        EXPECT_EQ(scrollView->parentWidget(), player().videoContentView.data());
        EXPECT_EQ(scrollView->documentView(), player().avplayerViews[i]);
        EXPECT_EQ(player().avplayerViews[i]->player(), player().players[i]);
        EXPECT_DOUBLE_EQ(scrollView->minMagnification(), 1.0);
        EXPECT_DOUBLE_EQ(scrollView->maxMagnification(), 3.0);
        EXPECT_TRUE(scrollView->allowsMagnification());
    }
    // Four channels: the grid.
    const QList<QRect> frames = shownFrames();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(frames[i], ChannelLayout::frameOf(Arrangement::Grid, -1, i, container().size())) << i;

    // An unsupported count leaves no views; a supported one makes them again.
    player().setupPlayerViews(5);
    EXPECT_TRUE(player().scrollViews.isEmpty());
    EXPECT_TRUE(player().players.isEmpty());
    EXPECT_TRUE(player().avplayerViews.isEmpty());
    EXPECT_TRUE(player().videoContentView->findChildren<ScrollView*>().isEmpty());
    player().setupPlayerViews(2);
    EXPECT_EQ(player().scrollViews.size(), 2);
    player().setupPlayerViews(4);
    EXPECT_EQ(player().videoContentView->findChildren<ScrollView*>().size(), 4);
}

TEST_F(ChannelViewsTest, LayoutsForOneToFourChannelsAndTheModes) {
    const QSize size = container().size();
    const Arrangement pair = ChannelLayout::pairArrangement(QSizeF(size));
    struct Case {
        qint64 channels;
        mode playMode;
        Arrangement arrangement;
        int single;
    };
    const std::vector<Case> cases{
        {1, mode::multiple_ch, Arrangement::Single, 0},
        {1, mode::ch3, Arrangement::Single, 0},
        {2, mode::multiple_ch, pair, -1},
        {2, mode::ch2, Arrangement::Single, 1},
        {3, mode::multiple_ch, Arrangement::Grid, -1},
        {3, mode::ch3, Arrangement::Single, 2},
        {4, mode::multiple_ch, Arrangement::Grid, -1},
        {4, mode::ch4, Arrangement::Single, 3},
        {4, mode::none_ch, Arrangement::Single, -1},
        {0, mode::ch1, Arrangement::Grid, -1}, // nothing loaded: the views of every channel
    };
    for (const Case& c : cases) {
        channelCount = c.channels;
        playMode = c.playMode;
        player().applyPlayModeLayout();
        const QList<QRect> frames = shownFrames();
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(frames[i], ChannelLayout::frameOf(c.arrangement, c.single, i, size).value_or(QRect()))
                << "channels " << c.channels << " mode " << modeIndex(c.playMode) << " view " << i;
    }
    // A negative count changes nothing.
    channelCount = 2;
    playMode = mode::ch2;
    player().applyPlayModeLayout();
    const QList<QRect> before = shownFrames();
    channelCount = -1;
    player().applyPlayModeLayout();
    EXPECT_EQ(shownFrames(), before);
}

TEST(ChannelLayoutTest, ArrangementFollowsTheContainerUntilTheNextLayout) {
    QWidget container;
    container.resize(1000, 500);
    auto* layout = new ChannelLayout(&container);
    QList<QWidget*> views;
    for (int i = 0; i < 4; ++i)
        views << new QWidget(&container);
    layout->setViews(views);
    container.show();

    layout->arrange(ChannelLayout::pairArrangement(QSizeF(container.size())));
    EXPECT_EQ(layout->arrangement(), Arrangement::SideBySide);
    EXPECT_EQ(views[1]->geometry(), QRect(500, 0, 500, 500));
    EXPECT_FALSE(views[2]->isVisibleTo(&container));
    // A resize keeps the arrangement and its proportions.
    container.resize(600, 600);
    EXPECT_EQ(views[1]->geometry(), QRect(300, 0, 300, 600));
    layout->arrange(Arrangement::Single, 3);
    container.resize(640, 360);
    EXPECT_EQ(views[3]->geometry(), QRect(0, 0, 640, 360));
    EXPECT_FALSE(views[0]->isVisibleTo(&container));
    layout->arrange(Arrangement::Grid);
    for (QWidget* view : views)
        EXPECT_TRUE(view->isVisibleTo(&container));
}

TEST_F(ChannelViewsTest, TwoChannelsAndSingleChannelViews) {
    const QSize size = container().size();
    player().layoutChannelViews(2);
    const Arrangement pair = ChannelLayout::pairArrangement(QSizeF(size));
    const QList<QRect> frames = shownFrames();
    EXPECT_EQ(frames[0], ChannelLayout::frameOf(pair, -1, 0, size));
    EXPECT_EQ(frames[1], ChannelLayout::frameOf(pair, -1, 1, size));
    EXPECT_EQ(frames[2], QRect());
    EXPECT_EQ(frames[3], QRect());

    player().showSingleChannelView(1);
    EXPECT_EQ(shownFrames()[1], QRect(QPoint(0, 0), size));
    EXPECT_EQ(visibleChannelCount(player()), 1);
    // The player view fills its scroll view.
    EXPECT_EQ(player().avplayerViews[1]->geometry(), QRect(QPoint(0, 0), size));
    player().showSingleChannelView(-1);
    EXPECT_EQ(visibleChannelCount(player()), 0);
    player().showSingleChannelView(7);
    EXPECT_EQ(visibleChannelCount(player()), 0);
}

TEST_F(ChannelViewsTest, DragMovesOnlyAMagnifiedPicture) {
    channelCount = 1;
    playMode = mode::ch1;
    player().applyPlayModeLayout();
    ScrollView* view = player().scrollViews[0];
    const QSizeF document = view->documentSize();

    // Unmagnified: the limits are 0, the picture stays.
    player().handlePan(view, Qt::GestureUpdated, QPointF(-30, -20));
    EXPECT_EQ(view->documentVisibleRect().topLeft(), QPointF(0, 0));

    player().setZoom(2);
    const QPointF centred(document.width() / 4, document.height() / 4);
    EXPECT_EQ(view->documentVisibleRect().topLeft(), centred);
    // A drag to the upper left shows more of the lower right.
    player().handlePan(view, Qt::GestureUpdated, QPointF(-10, -5));
    EXPECT_EQ(view->documentVisibleRect().topLeft(), centred + QPointF(10, 5));
    // Gestures that have ended move nothing; moves stop at the document's edges.
    player().handlePan(view, Qt::GestureFinished, QPointF(-10, -5));
    EXPECT_EQ(view->documentVisibleRect().topLeft(), centred + QPointF(10, 5));
    player().handlePan(view, Qt::GestureStarted, QPointF(1e6, 1e6));
    EXPECT_EQ(view->documentVisibleRect().topLeft(), QPointF(0, 0));
    player().handlePan(view, Qt::GestureUpdated, QPointF(-1e6, -1e6));
    EXPECT_EQ(view->documentVisibleRect().topLeft(), QPointF(document.width() / 2, document.height() / 2));
    player().handlePan(nullptr, Qt::GestureUpdated, QPointF(1, 1));

    // A mouse drag goes through the same steps: the picture follows the pointer.
    player().setZoom(2);
    sendMouse(view, QEvent::MouseButtonPress, QPoint(200, 150));
    sendMouse(view, QEvent::MouseMove, QPoint(160, 130));
    sendMouse(view, QEvent::MouseButtonRelease, QPoint(160, 130));
    EXPECT_EQ(view->documentVisibleRect().topLeft(), centred + QPointF(20, 10));
}

namespace {

struct ButtonLook {
    QString image;
    QString title;
    bool activated;
};

ButtonLook lookOf(const CustomButton* button) {
    return {button->imageName(), button->text(), button->isActivated()};
}

QList<CustomButton*> channelButtons(const OrvoViewController& player) {
    return {player.ch1Btn, player.ch2Btn, player.ch3Btn, player.ch4Btn, player.multipleModeBtn};
}

} // namespace

TEST_F(ChannelViewsTest, ChannelButtonsForEachChannelCount) {
    // Pictures "btn_ch_<family>_<state>" after a recording of n channels, ch1Btn .. multipleModeBtn.
    struct Case {
        qint64 channels;
        std::vector<const char*> images;
    };
    const std::vector<Case> cases{
        {0, {"btn_ch_1_s", "btn_ch_2_d", "btn_ch_2_d", "btn_ch_2_d", "btn_ch_3_d"}},
        {1, {"btn_ch_1_s", "btn_ch_2_d", "btn_ch_2_d", "btn_ch_2_d", "btn_ch_3_d"}},
        {2, {"btn_ch_1_n", "btn_ch_2_n", "btn_ch_2_d", "btn_ch_2_d", "btn_ch_3_s"}},
        {3, {"btn_ch_1_n", "btn_ch_2_n", "btn_ch_2_n", "btn_ch_2_d", "btn_ch_3_s"}},
        {4, {"btn_ch_1_n", "btn_ch_2_n", "btn_ch_2_n", "btn_ch_2_n", "btn_ch_3_s"}},
        {6, {"btn_ch_1_n", "btn_ch_2_n", "btn_ch_2_n", "btn_ch_2_n", "btn_ch_3_s"}},
    };
    const QStringList titles{"1CH", "2CH", "3CH", "4CH", "ALL"};
    for (const Case& c : cases) {
        channelCount = c.channels;
        playMode = mode::multiple_ch;
        player().updateChannelButtons();
        const QList<CustomButton*> buttons = channelButtons(player());
        for (int i = 0; i < 5; ++i) {
            const ButtonLook look = lookOf(buttons[i]);
            EXPECT_EQ(look.image, QLatin1String(c.images[static_cast<std::size_t>(i)]))
                << c.channels << " channels, button " << i;
            EXPECT_EQ(look.title, titles[i]);
            EXPECT_EQ(look.activated, look.image.back() != QLatin1Char('d'));
            EXPECT_TRUE(Assets::hasImage(look.image)) << look.image.toStdString();
        }
    }
    // none_ch becomes ch1 for a recording of several channels.
    channelCount = 3;
    playMode = mode::none_ch;
    player().updateChannelButtons();
    EXPECT_EQ(playMode, mode::ch1);
    // Button index 5 (none_ch) and bad states do nothing.
    player().updateChannelButtonImages(5, 1);
    player().updateChannelButtonImages(0, 3);
    player().updateChannelButtonImages(-1, 1);
    EXPECT_EQ(player().ch1Btn->imageName(), QStringLiteral("btn_ch_1_n"));
}

TEST_F(ChannelViewsTest, ModePicturesMarkTheCurrentAndTheUnavailableButtons) {
    channelCount = 2;
    playMode = mode::multiple_ch;
    player().updateChannelButtons();
    struct Case {
        mode m;
        std::vector<const char*> images;
    };
    const std::vector<Case> cases{
        {mode::ch1, {"btn_ch_1_s", "btn_ch_2_n", "btn_ch_2_d", "btn_ch_2_d", "btn_ch_3_n"}},
        {mode::ch2, {"btn_ch_1_n", "btn_ch_2_s", "btn_ch_2_d", "btn_ch_2_d", "btn_ch_3_n"}},
        {mode::multiple_ch, {"btn_ch_1_n", "btn_ch_2_n", "btn_ch_2_d", "btn_ch_2_d", "btn_ch_3_s"}},
        // none_ch leaves the pictures as they were.
        {mode::none_ch, {"btn_ch_1_n", "btn_ch_2_n", "btn_ch_2_d", "btn_ch_2_d", "btn_ch_3_s"}},
    };
    for (const Case& c : cases) {
        player().modeBtnsChange(c.m);
        const QList<CustomButton*> buttons = channelButtons(player());
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(buttons[i]->imageName(), QLatin1String(c.images[static_cast<std::size_t>(i)]))
                << "mode " << modeIndex(c.m) << " button " << i;
    }
    // Titles and isActivated stay.
    EXPECT_FALSE(player().ch3Btn->isActivated());
    EXPECT_TRUE(player().multipleModeBtn->isActivated());
}

TEST_F(ChannelViewsTest, ChannelButtonsDoNothingWithoutARecordingOrWhenUnavailable) {
    channelCount = 4;
    playMode = mode::multiple_ch;
    player().updateChannelButtons();
    // Nothing loaded: no player, no asset.
    player().onTouchCh2Btn();
    player().onMultipleModeBtnTap();
    EXPECT_EQ(playMode, mode::multiple_ch);
    EXPECT_EQ(player().ch2Btn->imageName(), QStringLiteral("btn_ch_2_n"));

    // A click on an unavailable button does not reach its action.
    player().updateChannelButtonImages(1, 0);
    const QPoint middle = player().ch2Btn->rect().center();
    sendMouse(player().ch2Btn, QEvent::MouseButtonPress, middle);
    sendMouse(player().ch2Btn, QEvent::MouseButtonRelease, middle);
    EXPECT_EQ(playMode, mode::multiple_ch);
}
