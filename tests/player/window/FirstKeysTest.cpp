// The window player's keys as a person meets them, in each interface language: typed to the
// window before anything is clicked, after clicks on the list and the video, and around the
// search field (Korean), with the focus where the platform puts it.

#include "common/ChannelViewsTestSupport.h"
#include "common/KeyInput.h"
#include "common/PointerInput.h"

#include "controls/OrvoGrayView.h"
#include "controls/VolumeSliderCell.h"
#include "platform/system/Localization.h"
#include "platform/system/UserDefaults.h"
#include "shared/DefaultsKeys.h"

#include <QLineEdit>
#include <QTableView>

#include <functional>

using namespace channeltest;

class FirstKeysTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        UserDefaults::standard().set(DefaultsKey::kAppleLanguages, QStringList{GetParam()});
        loadInterfaceLanguage();
        w = std::make_unique<PlayerWindow>();
    }
    void TearDown() override {
        w.reset();
        UserDefaults::standard().removeObject(DefaultsKey::kAppleLanguages);
        setLocalizationLanguage(QString());
    }
    void key(int key, const char* text = "") { keyboard::type(w->window(), key, QString::fromUtf8(text)); }
    bool loadedAt(qint64 index) {
        Player* shown = w->player->orvoPlayer;
        return currentIndex == index && shown && shown->currentItem() &&
               shown->currentItem()->status() == PlayerItem::Status::ReadyToPlay;
    }
    std::unique_ptr<PlayerWindow> w;
};

TEST_P(FirstKeysTest, ThePlayersKeysWorkFromTheStartAndAfterClicks) {
    OrvoViewController& player = *w->player;
    QLineEdit* field = player.orvoSearchField;
    QTableView* table = player.orvoTableView;
    player.volumeSlider->setValue(50);
    const struct {
        int key;
        const char* text;
        std::function<bool()> done;
    } steps[] = {
        {Qt::Key_BracketRight, "]", [] { return zoomIndex == 1; }},
        {Qt::Key_BracketLeft, "[", [] { return zoomIndex == 0; }},
        {Qt::Key_Space, " ", [&] { return loadedAt(0) && playState == 1; }},
        {Qt::Key_4, "4", [] { return speedIndex == 3; }},
        {Qt::Key_1, "1", [] { return speedIndex == 0; }},
        {Qt::Key_Up, "", [&] { return player.volumeSlider->value() == 55; }},
        {Qt::Key_Down, "", [&] { return player.volumeSlider->value() == 50; }},
        {Qt::Key_Space, " ", [] { return playState == 2; }},
        {Qt::Key_Right, "", [&] { return w->playersNear(6.0, 0.2); }},
        {Qt::Key_Left, "", [&] { return w->playersNear(0.0, 0.2); }},
        {Qt::Key_Period, ".", [&] { return loadedAt(1); }},
        {Qt::Key_Comma, ",", [&] { return loadedAt(0); }},
        {Qt::Key_Delete, "", [] { return displayedRecordingList->size() == 1; }},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.text);
        key(step.key, step.text);
        EXPECT_TRUE(waitFor(step.done));
        EXPECT_TRUE(field->text().isEmpty());
    }

    // A double click on the list leaves the keys with the player.
    w->listRecordings();
    player.reloadTableData();
    const QPoint row(table->viewport()->width() / 3, table->rowViewportPosition(1) + 5);
    pointer::doubleClick(table->viewport(), row);
    ASSERT_TRUE(waitFor([&] { return loadedAt(1) && playState == 1; }));
    key(Qt::Key_Space, " ");
    EXPECT_EQ(playState, 2);
    if (!player.searchLayer->isVisible())
        return;

    // The search field takes the keys once clicked into; Escape, Tab or a click on the video
    // gives them back to the list, which shows the focus.
    EXPECT_TRUE(table->hasFocus());
    pointer::click(field, QPoint(10, 5));
    key(Qt::Key_A, "a");
    EXPECT_EQ(field->text(), QStringLiteral("a"));
    key(Qt::Key_Backspace);
    key(Qt::Key_Escape);
    EXPECT_TRUE(table->hasFocus());
    key(Qt::Key_Tab);
    EXPECT_TRUE(field->hasFocus());
    pointer::click(player.videoContentView, QPoint(20, 20));
    EXPECT_TRUE(table->hasFocus());
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    EXPECT_TRUE(table->hasFocus()) << "Tab goes between the list and the field only";
    key(Qt::Key_4, "4");
    EXPECT_EQ(speedIndex, 3);
    EXPECT_TRUE(field->text().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(EachLanguage, FirstKeysTest, ::testing::Values("en", "ko", "ja"));
