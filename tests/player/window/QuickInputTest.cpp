// The window player under input that comes faster than it loads: double
// clicks on rows and "." presses in quick succession, seeks past the end, and
// the rewrap of AVI recordings that holds the main thread meanwhile.

#include "common/ChannelViewsTestSupport.h"
#include "common/KeyInput.h"
#include "common/PointerInput.h"
#include "controls/OrvoVerticalAlignText.h"

#include "platform/system/Process.h"
#include "platform/ui/BusyCursor.h"

#include <mpv/client.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QTableView>
#include <QTemporaryDir>

using namespace channeltest;
using playbacktest::MediaEnvironmentGuard;

namespace {

// What the rewrap found when it ran the tool: the busy cursor, and every player done with its file.
struct RewrapRun {
    bool busyCursor = false;
    bool playersStopped = true;
};

} // namespace

class QuickInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Every rewrap runs the real tool and notes what it found.
        channelCompositionEnvironment().run = [this](const QString& program, const QStringList& arguments) {
            RewrapRun run;
            const QCursor* cursor = QGuiApplication::overrideCursor();
            run.busyCursor = BusyCursor::isShown() && cursor && cursor->shape() == Qt::WaitCursor;
            for (Player* player : w.player->players) {
                int idle = 0;
                mpv_get_property(player->mpvHandle(), "idle-active", MPV_FORMAT_FLAG, &idle);
                run.playersStopped = run.playersStopped && !player->currentItem() && idle;
            }
            runs.append(run);
            return Process::runAndWait(program, arguments, 60000);
        };
    }

    // Shows `entries` in the table, nothing loaded.
    void list(const QList<orvoTableModel>& entries) {
        recordingList = entries;
        displayedRecordingList = entries;
        currentIndex = -1;
        player().reloadTableData();
    }
    QPoint rowCenter(int row) const {
        QTableView* table = w.player->orvoTableView;
        return QPoint(table->viewport()->width() / 3,
                      table->rowViewportPosition(row) + table->rowHeight(row) / 2);
    }
    void doubleClickRow(int row) { pointer::doubleClick(player().orvoTableView->viewport(), rowCenter(row)); }
    bool playing(qint64 index) const {
        Player* shown = w.player->orvoPlayer;
        return currentIndex == index && playState == 1 && shown && shown->rate() > 0.0 &&
               shown->currentItem() && shown->currentItem()->status() == PlayerItem::Status::ReadyToPlay;
    }

    QTemporaryDir movies;
    MediaEnvironmentGuard guard{movies.path()};
    PlayerWindow w;
    QList<RewrapRun> runs;
    OrvoViewController& player() { return *w.player; }
};

TEST_F(QuickInputTest, QuickDoubleClicksEndWithTheLastRowPlaying) {
    const playbacktest::Files& f = files();
    list({entry(f.front, f.rear, f.inside), entry(f.single), entry(f.frontSilent), entry(f.twoStreamAvi)});
    playMode = mode::multiple_ch;
    isRepeatOne = true; // the short last recording stays the one shown
    for (int row : {0, 1, 2, 3, 0, 1, 2, 3}) {
        doubleClickRow(row);
        looptest::spinFor(150); // a person's pace between double clicks
    }
    ASSERT_TRUE(waitFor([&] { return playing(3); }, 30000))
        << "index " << currentIndex << " state " << int(playState);
    EXPECT_EQ(selectedRow.value_or(-1), 3);
    for (int row = 0; row < 4; ++row) {
        const QVariant color = player().orvoTableView->model()->index(row, 0).data(Qt::BackgroundRole);
        EXPECT_EQ(color.isValid() && color.value<QBrush>().color() == QColor(255, 128, 0), row == 3) << row;
    }
    EXPECT_TRUE(
        waitFor([&] { return player().videoTotalText->text() == QStringLiteral("00:00:03"); }, 30000));
    EXPECT_TRUE(waitFor([&] { return player().orvoPlayer->currentSeconds() > 0.2; }));

    // One space pauses every player; the next plays again.
    keyboard::type(w.window(), Qt::Key_Space, QStringLiteral(" "));
    EXPECT_EQ(playState, 2);
    EXPECT_TRUE(waitFor([&] {
        for (Player* p : player().players)
            if (p->currentItem() && p->rate() > 0.0)
                return false;
        return true;
    }));
    keyboard::type(w.window(), Qt::Key_Space, QStringLiteral(" "));
    EXPECT_TRUE(waitFor([&] { return playing(3); }));

    // Every rewrap ran under the busy cursor, with the players done with their files.
    ASSERT_GE(runs.size(), 2);
    for (const RewrapRun& run : runs) {
        EXPECT_TRUE(run.busyCursor);
        EXPECT_TRUE(run.playersStopped);
    }
    EXPECT_FALSE(QGuiApplication::overrideCursor());
}

TEST_F(QuickInputTest, FullStopsThatQueueUpLoadOnlyWhereTheyEnd) {
    const playbacktest::Files& f = files();
    list({entry(f.twoStreamAvi), entry(f.single), entry(f.twoStreamAvi), entry(f.frontSilent)});
    playMode = mode::ch1;
    isRepeatOne = true;
    doubleClickRow(0);
    ASSERT_TRUE(waitFor([&] { return playing(0); }));
    ASSERT_EQ(runs.size(), 1);

    struct Case {
        std::vector<int> keys;
        int gapMs; // between the presses; 0: they queued up while the main thread was busy
        qint64 endsOn;
        int rewraps; // runs of the tool for the whole series
    };
    const int period = Qt::Key_Period, comma = Qt::Key_Comma;
    const Case cases[] = {
        {{period, period, period, period, period, period}, 0, 2, 1},
        {{comma, comma, comma}, 0, 3, 0},
        {{period, comma}, 0, 3, 0}, // back where it was: nothing loads
        {{period, period, period}, 40, 2, 1},
        {{comma, comma, comma, comma, comma}, 0, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << currentIndex << " to " << c.endsOn);
        const qsizetype before = runs.size();
        for (int key : c.keys) {
            keyboard::type(w.window(), key, key == period ? QStringLiteral(".") : QStringLiteral(","));
            if (c.gapMs > 0)
                looptest::spinFor(c.gapMs);
        }
        EXPECT_TRUE(waitFor([&] { return playing(c.endsOn); }));
        EXPECT_EQ(runs.size() - before, c.rewraps);
    }
}

TEST_F(QuickInputTest, ASeekPastTheEndRepeatsOrGoesOn) {
    const playbacktest::Files& f = files();
    struct Case {
        mode channels;
        bool repeat;
        qint64 endsOn;
    };
    for (const Case& c : {Case{mode::ch1, false, 1}, Case{mode::multiple_ch, false, 1},
                          Case{mode::ch1, true, 0}, Case{mode::multiple_ch, true, 0}}) {
        SCOPED_TRACE(testing::Message() << "mode " << int(c.channels) << " repeat " << c.repeat);
        list({entry(f.front, f.rear, f.inside), entry(f.single)});
        playMode = c.channels;
        isRepeatOne = c.repeat;
        doubleClickRow(0);
        ASSERT_TRUE(waitFor([&] { return playing(0) && player().orvoPlayer->currentSeconds() > 0.3; }));
        const std::shared_ptr<PlayerItem> ended = player().orvoPlayer->currentItem();
        // Two presses in quick succession: the second while the first seek is under way.
        keyboard::type(w.window(), Qt::Key_Right);
        keyboard::type(w.window(), Qt::Key_Right);
        // A new item (of the next recording, or the same one again) plays from its start.
        EXPECT_TRUE(waitFor([&] {
            return playing(c.endsOn) && player().orvoPlayer->currentItem() != ended &&
                   player().orvoPlayer->currentSeconds() > 0.2;
        })) << "index "
            << currentIndex << " state " << int(playState);
        player().stopPlayback();
    }
}
