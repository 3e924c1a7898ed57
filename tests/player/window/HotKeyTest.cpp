// The window player's keys, typed into its window as the key monitor sees them.

#include "common/ChannelViewsTestSupport.h"
#include "common/KeyInput.h"
#include "common/PointerInput.h"

#include "controls/OrvoGrayView.h"
#include "controls/OrvoPopupBtnCell.h"
#include "controls/OrvoSliderCell.h"
#include "controls/VolumeSliderCell.h"
#include "platform/system/UserDefaults.h"
#include "platform/ui/KeyMonitor.h"
#include "shared/DefaultsKeys.h"

#include <QDialog>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QWindow>

#include <functional>

using namespace channeltest;

namespace {

KeyEvent keyEvent(std::uint16_t code, std::uint64_t flags = 0, const QString& characters = {}) {
    KeyEvent event;
    event.keyCode = code;
    event.modifierFlags = flags;
    event.characters = characters;
    return event;
}

double storedVolume() {
    return UserDefaults::standard().number(QLatin1String(DefaultsKey::kVolume)).value_or(-1.0);
}

} // namespace

class HotKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QApplication::activeWindow(), w.window());
        ASSERT_NE(player().hotKeyMonitor, 0u);
    }
    PlayerWindow w;
    OrvoViewController& player() { return *w.player; }
};

TEST_F(HotKeyTest, EveryListedKeyIsSwallowedAndOthersPassOn) {
    // With nothing loaded each key changes at most the settings, and is still handled.
    for (std::uint16_t code :
         {KeyCode::k1, KeyCode::k2, KeyCode::k3, KeyCode::k4, KeyCode::kRightBracket, KeyCode::kLeftBracket,
          KeyCode::kComma, KeyCode::kPeriod, KeyCode::kLeftArrow, KeyCode::kRightArrow,
          KeyCode::kForwardDelete, KeyCode::kDownArrow, KeyCode::kUpArrow})
        EXPECT_TRUE(player().handleHotKey(keyEvent(code))) << code;
    for (std::uint16_t code :
         {KeyCode::kReturn, KeyCode::kEscape, KeyCode::kTab, std::uint16_t(0), KeyCode::kUnknown})
        EXPECT_FALSE(player().handleHotKey(keyEvent(code))) << code;
    EXPECT_EQ(playState, 0);
}

TEST_F(HotKeyTest, DigitKeysChooseTheSpeedAndBracketsZoomStepByStep) {
    const std::vector<std::pair<int, int>> digits{
        {Qt::Key_3, 2}, {Qt::Key_1, 0}, {Qt::Key_4, 3}, {Qt::Key_2, 1}};
    for (const auto& [key, index] : digits) {
        keyboard::type(w.window(), key, QString::number(index + 1));
        EXPECT_EQ(speedIndex, index);
        EXPECT_EQ(player().speedMenu->currentIndex(), index);
    }
    // ] four times ends at 3.0x; the fourth changes nothing.
    for (int expected : {1, 2, 3, 3}) {
        keyboard::type(w.window(), Qt::Key_BracketRight, QStringLiteral("]"));
        EXPECT_EQ(zoomIndex, expected);
        EXPECT_DOUBLE_EQ(player().scrollViews[0]->magnification(),
                         zoomScales[static_cast<std::size_t>(expected)]);
    }
    for (int expected : {2, 1, 0, 0}) {
        keyboard::type(w.window(), Qt::Key_BracketLeft, QStringLiteral("["));
        EXPECT_EQ(zoomIndex, expected);
        EXPECT_DOUBLE_EQ(player().scrollViews[3]->magnification(),
                         zoomScales[static_cast<std::size_t>(expected)]);
    }
}

TEST_F(HotKeyTest, SpaceArrowsCommaAndFullStopDriveTheRecording) {
    ASSERT_TRUE(w.playThreeChannels(mode::multiple_ch, 0.3));
    keyboard::type(w.window(), Qt::Key_Space, QStringLiteral(" "));
    EXPECT_EQ(playState, 2);
    player().videoSlider->setDoubleValue(0.5);
    player().onVideoSliderDidChange();
    ASSERT_TRUE(w.playersNear(3.0, 0.06));

    // Left: back ten seconds, before the start: every channel at zero.
    keyboard::type(w.window(), Qt::Key_Left);
    ASSERT_TRUE(w.playersNear(0.0, 0.06));
    // Right: forward ten seconds, past the end: every channel at its end.
    keyboard::type(w.window(), Qt::Key_Right);
    ASSERT_TRUE(w.playersNear(6.0, 0.1));
    EXPECT_EQ(playState, 2);

    // Played from the end, the recording ends at once and the next one plays.
    keyboard::type(w.window(), Qt::Key_Space, QStringLiteral(" "));
    EXPECT_EQ(playState, 1);
    EXPECT_TRUE(waitFor([&] { return currentIndex == 1 && player().orvoPlayer->currentSeconds() > 0.1; }));

    // Full stop: the next recording; comma: the previous, wrapping at the ends.
    keyboard::type(w.window(), Qt::Key_Period, QStringLiteral("."));
    EXPECT_TRUE(waitFor([] { return currentIndex == 0; }));
    keyboard::type(w.window(), Qt::Key_Comma, QStringLiteral(","));
    EXPECT_TRUE(waitFor([] { return currentIndex == 1; }));
    keyboard::type(w.window(), Qt::Key_Period, QStringLiteral("."));
    EXPECT_TRUE(waitFor([] { return currentIndex == 0; }));
    EXPECT_TRUE(waitFor([&] { return player().orvoPlayer && player().orvoPlayer->currentSeconds() > 0.2; }));
}

TEST_F(HotKeyTest, UpAndDownChangeTheShownPlayersVolumeInSteps) {
    ASSERT_TRUE(w.playThreeChannels(mode::multiple_ch, 0.1));
    Player* shown = player().orvoPlayer;
    const float sharedVolume = volume;
    shown->setVolume(0.98f);
    keyboard::type(w.window(), Qt::Key_Up);
    EXPECT_FLOAT_EQ(shown->volume(), 1.0f);
    EXPECT_EQ(player().volumeSlider->value(), 100);
    EXPECT_EQ(player().volumeText->text(), QStringLiteral("100"));
    EXPECT_EQ(player().volumeSlider->toolTip(), QStringLiteral("100"));
    EXPECT_NEAR(storedVolume(), 1.0, 1e-6);
    // At 1.0 up changes nothing but still shows 100.
    player().volumeSlider->setValue(40);
    keyboard::type(w.window(), Qt::Key_Up);
    EXPECT_FLOAT_EQ(shown->volume(), 1.0f);
    EXPECT_EQ(player().volumeSlider->value(), 100);
    keyboard::type(w.window(), Qt::Key_Down);
    EXPECT_NEAR(shown->volume(), 0.95f, 1e-6);
    EXPECT_EQ(player().volumeSlider->value(), 95);
    // Only the shown player's volume changes.
    EXPECT_NE(player().players[1]->volume(), shown->volume());
    shown->setVolume(0.02f);
    keyboard::type(w.window(), Qt::Key_Down);
    EXPECT_FLOAT_EQ(shown->volume(), 0.0f);
    EXPECT_EQ(player().volumeSlider->value(), 0);
    EXPECT_EQ(volume, sharedVolume); // the shared starting volume is not the keys'

    // Muted: the keys change nothing.
    isMuted = true;
    EXPECT_TRUE(player().handleHotKey(keyEvent(KeyCode::kUpArrow)));
    EXPECT_FLOAT_EQ(shown->volume(), 0.0f);
    EXPECT_EQ(player().volumeSlider->value(), 0);
}

TEST_F(HotKeyTest, VolumeKeysWithoutAPlayerMoveTheSlider) {
    player().volumeSlider->setValue(50);
    keyboard::type(w.window(), Qt::Key_Up);
    EXPECT_EQ(player().volumeSlider->value(), 55);
    EXPECT_EQ(player().volumeText->text(), QStringLiteral("55"));
    EXPECT_NEAR(storedVolume(), 0.55, 1e-6);
    player().volumeSlider->setValue(98);
    keyboard::type(w.window(), Qt::Key_Up);
    EXPECT_EQ(player().volumeSlider->value(), 100);
    player().volumeSlider->setValue(3);
    keyboard::type(w.window(), Qt::Key_Down);
    EXPECT_EQ(player().volumeSlider->value(), 0);
    EXPECT_NEAR(storedVolume(), 0.0, 1e-6);
}

TEST_F(HotKeyTest, KeysActOnlyWhileThePlayersWindowIsKey) {
    w.listRecordings();
    QDialog sheet;
    sheet.show();
    sheet.activateWindow();
    ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == &sheet; }));
    EXPECT_FALSE(player().handleHotKey(keyEvent(KeyCode::kSpace)));
    keyboard::type(&sheet, Qt::Key_Space, QStringLiteral(" "));
    keyboard::type(w.window(), Qt::Key_1, QStringLiteral("1"));
    EXPECT_EQ(playState, 0);
    EXPECT_EQ(speedIndex, 1);
    EXPECT_FALSE(player().orvoPlayer);
    sheet.hide();

    // Without the monitor the keys do nothing.
    w.window()->activateWindow();
    ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == w.window(); }));
    player().removeKeyMonitor();
    keyboard::type(w.window(), Qt::Key_1, QStringLiteral("1"));
    EXPECT_EQ(speedIndex, 1);
    player().installKeyMonitor();
    keyboard::type(w.window(), Qt::Key_1, QStringLiteral("1"));
    EXPECT_EQ(speedIndex, 0);
}

TEST_F(HotKeyTest, CommandReturnTogglesFullScreen) {
    ASSERT_FALSE(w.windowController->isFullScreen());
    // Command+Shift+Return and a plain Return do not.
    keyboard::type(w.window(), Qt::Key_Return, QStringLiteral("\r"), Qt::ControlModifier | Qt::ShiftModifier);
    keyboard::type(w.window(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_FALSE(w.windowController->isFullScreen());

    keyboard::type(w.window(), Qt::Key_Return, QStringLiteral("\r"), Qt::ControlModifier);
    EXPECT_TRUE(waitFor([&] { return w.windowController->isFullScreen(); }));
    player().keyDown(keyEvent(KeyCode::kReturn, KeyModifier::kCommand, QStringLiteral("\r")));
    EXPECT_TRUE(waitFor([&] { return !w.windowController->isFullScreen(); }));
    // With the numeric-pad flag (the keypad's Enter) it does not.
    player().keyDown(
        keyEvent(KeyCode::kReturn, KeyModifier::kCommand | KeyModifier::kNumericPad, QStringLiteral("\r")));
    EXPECT_FALSE(w.windowController->isFullScreen());
}

TEST_F(HotKeyTest, KeysTypedIntoTheSearchFieldEditIt) {
    QLineEdit* field = player().orvoSearchField;
    ASSERT_TRUE(field && player().searchLayer);
    player().searchLayer->show();
    // A row selected in the table, then the field clicked.
    player().orvoTableView->selectionModel()->select(player().orvoTableView->model()->index(0, 0),
                                                     QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
    pointer::click(field, QPoint(10, field->height() / 2));
    ASSERT_TRUE(waitFor([&] { return field->hasFocus(); }, 20000));

    const std::pair<int, QString> keys[] = {
        {Qt::Key_Delete, {}},
        {Qt::Key_1, QStringLiteral("1")},
        {Qt::Key_Space, QStringLiteral(" ")},
        {Qt::Key_B, QStringLiteral("b")},
        {Qt::Key_Left, {}},
        {Qt::Key_Left, {}},
        {Qt::Key_Delete, {}},
    };
    for (const auto& [key, text] : keys)
        keyboard::type(w.window(), key, text);
    EXPECT_EQ(field->text(), QStringLiteral("1b"));
    EXPECT_EQ(speedIndex, 1);
    EXPECT_EQ(playState, 0);
    EXPECT_EQ(recordingList.size(), 2);
}

TEST_F(HotKeyTest, AnOpenMenuOrPopUpHasTheKeys) {
    ASSERT_TRUE(w.playThreeChannels(mode::ch1, 0.1));
    player().volumeSlider->setValue(50);
    struct Case {
        const char* name;
        std::function<void()> open;
        std::vector<int> keys;
        std::function<bool()> done; // what the keys did in the menu
    };
    QWidget* video = player().videoContentView;
    const Case cases[] = {
        {"speed pop-up",
         [&] { pointer::click(player().speedMenu, player().speedMenu->rect().center()); },
         {Qt::Key_Down, Qt::Key_Return},
         [] { return speedIndex == 2 && !QApplication::activePopupWidget(); }},
        {"context menu of the video",
         [&] { pointer::click(video, video->rect().center(), Qt::RightButton); },
         {Qt::Key_Down, Qt::Key_Down}, // the first picks the first entry
         [&] {
             QMenu* menu = player().playerContextMenu;
             return menu && menu->activeAction() == menu->actions().value(1);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.open();
        ASSERT_TRUE(waitFor([] { return QApplication::activePopupWidget() != nullptr; }, 20000));
        for (int key : c.keys)
            keyboard::type(QApplication::activePopupWidget(), key);
        EXPECT_TRUE(waitFor(c.done, 20000));
        EXPECT_EQ(player().volumeSlider->value(), 50);
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        ASSERT_TRUE(waitFor([] { return !QApplication::activePopupWidget(); }, 20000));
    }
}
