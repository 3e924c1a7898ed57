// The window player's keys as a person meets them: the window shown as the application shows it,
// in each interface language, the focus where the platform puts it, and keys typed to the window
// before anything is clicked, after clicks on the list and the video, and around the search field.

#include "common/ChannelViewsTestSupport.h"
#include "common/KeyInput.h"
#include "common/PointerInput.h"

#include "platform/Localization.h"
#include "platform/UserDefaults.h"
#include "player/controls/OrvoGrayView.h"
#include "player/controls/VolumeSliderCell.h"
#include "shared/DefaultsKeys.h"

#include <QLineEdit>
#include <QTableView>

#include <functional>

using namespace channeltest;

namespace {

class FirstKeysTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        UserDefaults::standard().set(QLatin1String(DefaultsKey::kAppleLanguages),
                                     QStringList{QLatin1String(GetParam())});
        loadInterfaceLanguage();
        w = std::make_unique<PlayerWindow>();
        ASSERT_EQ(QApplication::activeWindow(), w->window());
    }
    void TearDown() override {
        w.reset();
        UserDefaults::standard().removeObject(QLatin1String(DefaultsKey::kAppleLanguages));
        setLocalizationLanguage(QString());
    }

    OrvoViewController& player() { return *w->player; }
    QLineEdit* field() { return player().orvoSearchField; }
    void key(int key, const char* text = "") { keyboard::type(w->window(), key, QString::fromUtf8(text)); }
    QPoint rowCenter(int row) {
        QTableView* table = player().orvoTableView;
        return {table->viewport()->width() / 3, table->rowViewportPosition(row) + table->rowHeight(row) / 2};
    }
    bool playingAt(qint64 index) {
        Player* shown = player().orvoPlayer;
        return currentIndex == index && playState == 1 && shown && shown->currentItem() &&
               shown->currentSeconds() > 0.1;
    }

    bool loadedAt(qint64 index) {
        Player* shown = player().orvoPlayer;
        return currentIndex == index && shown && shown->currentItem() &&
               shown->currentItem()->status() == PlayerItem::Status::ReadyToPlay;
    }

    std::unique_ptr<PlayerWindow> w;
};

} // namespace

TEST_P(FirstKeysTest, ThePlayersKeysWorkFromTheStartAndAfterClicks) {
    const struct {
        const char* what;
        int key;
        const char* text;
        std::function<bool()> done;
    } steps[] = {
        {"] zooms in", Qt::Key_BracketRight, "]", [] { return zoomIndex == 1; }},
        {"[ zooms out", Qt::Key_BracketLeft, "[", [] { return zoomIndex == 0; }},
        {"space plays the first recording", Qt::Key_Space, " ", [&] { return playingAt(0); }},
        {"4 plays at 2.0x", Qt::Key_4, "4", [] { return speedIndex == 3; }},
        {"1 plays at 0.5x", Qt::Key_1, "1", [] { return speedIndex == 0; }},
        {"up raises the volume", Qt::Key_Up, "", [&] { return player().volumeSlider->value() == 55; }},
        {"down lowers it", Qt::Key_Down, "", [&] { return player().volumeSlider->value() == 50; }},
        {"space pauses", Qt::Key_Space, " ", [] { return playState == 2; }},
        {"right seeks forward", Qt::Key_Right, "", [&] { return w->playersNear(6.0, 0.2); }},
        {"left seeks back", Qt::Key_Left, "", [&] { return w->playersNear(0.0, 0.2); }},
        {"full stop steps to the next", Qt::Key_Period, ".", [&] { return loadedAt(1); }},
        {"comma steps to the previous", Qt::Key_Comma, ",", [&] { return loadedAt(0); }},
        {"delete removes the selected row", Qt::Key_Delete, "",
         [] { return displayedRecordingList && displayedRecordingList->size() == 1; }},
    };
    player().volumeSlider->setValue(50);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        key(step.key, step.text);
        EXPECT_TRUE(waitFor(step.done));
        EXPECT_TRUE(field()->text().isEmpty());
    }

    // A double click on the list and a click on the video leave the keys with the player.
    w->listRecordings();
    player().reloadTableData();
    pointer::doubleClick(player().orvoTableView->viewport(), rowCenter(1));
    ASSERT_TRUE(waitFor([&] { return playingAt(1); }));
    key(Qt::Key_Space, " ");
    EXPECT_EQ(playState, 2);
    pointer::click(player().videoContentView, player().videoContentView->rect().center());
    key(Qt::Key_BracketRight, "]");
    EXPECT_EQ(zoomIndex, 1);
    EXPECT_TRUE(field()->text().isEmpty());
    EXPECT_FALSE(field()->hasFocus());
}

INSTANTIATE_TEST_SUITE_P(EachLanguage, FirstKeysTest, ::testing::Values("en", "ko", "ja"));

class SearchFieldKeysTest : public FirstKeysTest {};

TEST_P(SearchFieldKeysTest, TheFieldHasTheKeysOnlyAfterAClickOrTab) {
    ASSERT_TRUE(player().searchLayer->isVisible());
    QTableView* table = player().orvoTableView;
    EXPECT_TRUE(table->hasFocus()) << "the list holds the keys at start";

    // Clicked into, the field takes what is typed; Escape gives the keys back to the player.
    pointer::click(field(), QPoint(10, field()->height() / 2));
    ASSERT_TRUE(waitFor([&] { return field()->hasFocus(); }));
    key(Qt::Key_A, "a");
    EXPECT_EQ(field()->text(), QStringLiteral("a"));
    key(Qt::Key_Backspace);
    key(Qt::Key_Escape);
    EXPECT_TRUE(table->hasFocus());
    key(Qt::Key_4, "4");
    EXPECT_EQ(speedIndex, 3);
    EXPECT_TRUE(field()->text().isEmpty());

    // Tab moves between the list and the field, and only there.
    key(Qt::Key_Tab);
    EXPECT_TRUE(field()->hasFocus());
    key(Qt::Key_Tab);
    EXPECT_TRUE(table->hasFocus());

    // A click on the video takes the keys back from the field.
    pointer::click(field(), QPoint(10, field()->height() / 2));
    ASSERT_TRUE(waitFor([&] { return field()->hasFocus(); }));
    pointer::click(player().videoContentView, player().videoContentView->rect().center());
    EXPECT_TRUE(table->hasFocus());
    key(Qt::Key_2, "2");
    EXPECT_EQ(speedIndex, 1);
    EXPECT_TRUE(field()->text().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Korean, SearchFieldKeysTest, ::testing::Values("ko"));
