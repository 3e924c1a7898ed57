// The window player's start-up: what loading its view does (volume, interface
// language, menus, search field), the deferred step that runs the update check
// or reopens the last folder, a new window player after full screen, the
// notification handlers, and the location column of a generated card.

#include "common/EventLoopWait.h"
#include "common/FolderOpenTestCard.h"

#include "controls/CustomButton.h"
#include "controls/CustomNSView.h"
#include "controls/OrvoGrayView.h"
#include "controls/OrvoImgBtnCell.h"
#include "controls/OrvoPopupBtnCell.h"
#include "controls/OrvoVerticalAlignText.h"
#include "controls/VolumeSliderCell.h"
#include "library/RecordingTableModel.h"
#include "platform/media/Player.h"
#include "platform/system/Bookmark.h"
#include "platform/system/Localization.h"
#include "platform/system/NotificationCenter.h"
#include "platform/ui/KeyMonitor.h"
#include "platform/ui/Workspace.h"
#include "playback/ChannelComposition.h"
#include "player/dataviews/MapPage.h"
#include "player/window/OrvoViewController.h"
#include "settings/UpdateCheck.h"
#include "shared/NotificationNames.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>

using namespace cardtest;
using namespace looptest;

namespace {

QString key(const char* name) {
    return QString::fromLatin1(name);
}

class WindowPlayerStartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetPlayerState();
        loadDistricts();
        ASSERT_TRUE(temp.isValid());
        updateChecked = false;
        windowTransition = 0;
        playMode = mode::ch1;
        isMuted = false;
        isMono = false;
        isRepeatOne = false;
        volume = 0.5f;
        speedIndex = 1;
        zoomIndex = 0;
        dataPanelIndex = 0;
        channelCount = 0;
        UserDefaults::standard().removeObject(key(DefaultsKey::kVolume));
        UserDefaults::standard().removeObject(key(DefaultsKey::kAutoUpdate));
        channelCompositionEnvironment().moviesFolder = [this] { return temp.path(); };
        channelCompositionEnvironment().alert = [this](const QString& title, const QString&) {
            alerts.append(title);
        };
    }

    void TearDown() override {
        if (player)
            player->stopPlayback();
        player.reset();
        channelCompositionEnvironment().alert = {};
        channelCompositionEnvironment().moviesFolder = {};
        Workspace::setOpenURLHandler({});
        Workspace::setTerminateHandler({});
        resetPlayerState();
        updateChecked = false;
        windowTransition = 0;
    }

    // A new window player whose folder alerts are counted, its view loaded.
    OrvoViewController& loadPlayer() {
        player = std::make_unique<OrvoViewController>();
        player->folderOpener().hooks().showAlert = [this](const QString& title, const QString&) {
            alerts.append(title);
        };
        player->loadViewIfNeeded();
        return *player;
    }

    QString cardCopy() { return copyCard(temp.path()); }

    QTemporaryDir temp;
    QStringList alerts;
    std::unique_ptr<OrvoViewController> player;
};

QStringList storedLanguages() {
    return UserDefaults::standard().stringArray(key(DefaultsKey::kAppleLanguages)).value_or(QStringList());
}

QStringList menuTitles(const QComboBox* menu) {
    QStringList titles;
    for (int i = 0; i < menu->count(); ++i)
        titles.append(menu->itemText(i));
    return titles;
}

} // namespace

TEST_F(WindowPlayerStartupTest, TheStoredVolumeShowsOnTheSliderInPercent) {
    const struct {
        std::optional<double> stored;
        bool muted;
        int shown;
    } cases[] = {
        {std::nullopt, false, 50}, {0.5, false, 50}, {0.25, true, 25}, {1.0, false, 100}, {7.0, false, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        volume = 0.5f;
        isMuted = c.muted;
        if (c.stored)
            UserDefaults::standard().set(key(DefaultsKey::kVolume), *c.stored);
        else
            UserDefaults::standard().removeObject(key(DefaultsKey::kVolume));
        OrvoViewController& view = loadPlayer();
        EXPECT_EQ(view.volumeSlider->value(), c.shown);
        EXPECT_EQ(view.volumeText->text(), QString::number(c.shown));
        EXPECT_EQ(view.volumeSlider->toolTip(), QString::number(c.shown));
        EXPECT_EQ(view.volumeSlider->isEnabled(), !c.muted);
        EXPECT_EQ(view.volumeBtn->imageName(),
                  c.muted ? QStringLiteral("btn_all_vol_mute") : QStringLiteral("btn_all_vol"));
    }
}

TEST_F(WindowPlayerStartupTest, TheInterfaceLanguageIsCutToItsLanguagePart) {
    const struct {
        QVariant stored;
        QStringList after;
        bool search;
        QStringList printed;
    } cases[] = {
        {QStringList{"ko-KR"}, {"ko"}, true, {"system language : [\"ko-KR\"]", "defaultLng : ko"}},
        {QStringList{"ja-JP", "en-US"},
         {"ja"},
         false,
         {"system language : [\"ja-JP\", \"en-US\"]", "defaultLng : ja"}},
        {QStringList{"en"}, {"en"}, false, {"system language : [\"en\"]"}},
        {QStringList{"ko"}, {"ko"}, true, {"system language : [\"ko\"]"}},
        {QStringList{"ko", "en"}, {"ko", "en"}, false, {"system language : [\"ko\", \"en\"]"}},
        {QStringList{}, {"en"}, false, {"system language : []"}},
        // Not a list of languages: as if there were none.
        {QVariant(5), {"en"}, false, {"nil system language. Not Normal Issue"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.toStringList().join(QLatin1Char(',')).toStdString());
        UserDefaults::standard().set(key(DefaultsKey::kAppleLanguages), c.stored);
        const QStringList printed = printedLines([&] { loadPlayer(); });
        EXPECT_EQ(storedLanguages(), c.after);
        EXPECT_EQ(!player->searchLayer->isHidden(), c.search);
        for (const QString& line : c.printed)
            EXPECT_TRUE(printed.contains(line)) << line.toStdString();
        if (c.after == c.stored.toStringList()) {
            EXPECT_TRUE(printed.filter(QStringLiteral("defaultLng")).isEmpty());
        }
    }
}

TEST_F(WindowPlayerStartupTest, ALanguageChosenDuringTheRunWaitsForTheNextStart) {
    // The language at start, then the one the settings screen stores (for the next start)
    // before a new window player is made, as after leaving full screen.
    const struct {
        QStringList atStart;
        QStringList chosen;
        bool search;
    } cases[] = {
        {{"ko"}, {"ja"}, true},
        {{"ko-KR"}, {"en"}, true},
        {{"ja"}, {"ko"}, false},
        {{"en"}, {"ko"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.atStart.join(',').toStdString());
        UserDefaults::standard().set(key(DefaultsKey::kAppleLanguages), c.atStart);
        loadInterfaceLanguage();
        loadPlayer();
        EXPECT_EQ(!player->searchLayer->isHidden(), c.search);
        UserDefaults::standard().set(key(DefaultsKey::kAppleLanguages), c.chosen);
        loadPlayer();
        EXPECT_EQ(!player->searchLayer->isHidden(), c.search);
        EXPECT_EQ(MapPage::isKoreanInterface(), c.search);
        EXPECT_EQ(storedLanguages(), c.chosen);
    }
    setLocalizationLanguage(QString());
}

TEST_F(WindowPlayerStartupTest, MenusButtonsAndTableAreSetUpWhenTheViewLoads) {
    OrvoViewController& view = loadPlayer();
    EXPECT_EQ(menuTitles(view.zoomMenu), (QStringList{"1.0x", "1.5x", "2.0x", "3.0x"}));
    EXPECT_EQ(view.zoomMenu->currentIndex(), 0);
    EXPECT_EQ(menuTitles(view.speedMenu), (QStringList{"0.5x", "1.0x", "1.5x", "2.0x"}));
    EXPECT_EQ(view.speedMenu->currentIndex(), 1);
    EXPECT_EQ(menuTitles(view.monoMenu), (QStringList{"ON", "OFF"}));
    EXPECT_EQ(view.monoMenu->currentText(), QStringLiteral("OFF"));
    EXPECT_EQ(menuTitles(view.tableSortingMenu), recordingCategories());
    EXPECT_EQ(view.tableSortingMenu->currentIndex(), 0);

    // The data panel shows the G-sensor chart; both its buttons take clicks.
    EXPECT_TRUE(view.speedView->isHidden());
    EXPECT_FALSE(view.motionView->isHidden());
    EXPECT_TRUE(view.motionBtn->isActivated());
    EXPECT_TRUE(view.speedBtn->isActivated());
    EXPECT_TRUE(view.logoFullScreenView->isHidden());
    // Four channel players, the play timer and the key monitor.
    EXPECT_EQ(view.players.size(), 4);
    EXPECT_TRUE(view.currentTrackTimer && view.currentTrackTimer->isActive());
    EXPECT_NE(view.hotKeyMonitor, 0u);
    EXPECT_NE(view.recordingTableModel(), nullptr);
}

TEST(UpdateCheckTest, RequestTextAndItem) {
    EXPECT_EQ(updateItemName(false), QStringLiteral("kavrin_player"));
    EXPECT_EQ(updateItemName(true), QStringLiteral("FILE_TEST"));
    EXPECT_EQ(updateRequestText(QStringLiteral("http://127.0.0.1:8080"), QStringLiteral("kavrin_player")),
              QStringLiteral(
                  "http://127.0.0.1:8080/file-server/services/kavrin_player?query=%7B%22name%22:%22KAVRIn_"
                  "Player_2.0_MacOS%22,%22last_field%22:%22version%22%7D"));
}

TEST_F(WindowPlayerStartupTest, TheUpdateCheckGateAsksNothingWhileAutomaticUpdateIsOff) {
    const struct {
        QVariant autoUpdate;
        bool asks;
    } cases[] = {
        {QVariant(), false},      {QVariant(false), false}, {QVariant(0), false},
        {QVariant("YES"), false}, {QVariant(1), true},      {QVariant(true), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.autoUpdate.toString().toStdString());
        updateChecked = false;
        UserDefaults::standard().set(key(DefaultsKey::kAutoUpdate), c.autoUpdate);
        int reopened = 0;
        int completed = 0;
        std::optional<QUrl> address = QUrl(QStringLiteral("http://unset"));
        const QStringList printed = printedLines([&] {
            checkForUpdate([&] { ++reopened; },
                           [&](const std::optional<QUrl>& url) {
                               ++completed;
                               address = url;
                           });
        });
        EXPECT_EQ(!printed.filter(QStringLiteral("update url = ")).isEmpty(), c.asks);
        if (c.asks) {
            EXPECT_EQ(completed, 1);
            EXPECT_FALSE(address);
            EXPECT_EQ(reopened, 0);
        } else {
            EXPECT_TRUE(updateChecked);
            EXPECT_EQ(reopened, 1);
            EXPECT_EQ(completed, 0);
        }
    }
}

TEST_F(WindowPlayerStartupTest, TheDebugMarkerIsReadFromTheBookmarkedFolder) {
    const QString folder = temp.path() + QStringLiteral("/marker");
    const struct {
        const char* file;
        const char* text;
        bool marker;
    } cases[] = {
        {"ver.txt", "Model=M\nVersion=1 DEBUG\n", true},
        {"ver.txt", "Model=M\nVersion=1 debug\n", false},
        {"sub/ver.txt", "DEBUG", false},
        {"VER.TXT", "DEBUG", false},
    };
    EXPECT_FALSE(cardHasDebugMarker()); // no bookmark
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        QDir(folder).removeRecursively();
        writeFile(folder + QLatin1Char('/') + QLatin1String(c.file), QByteArray(c.text));
        storeFolderBookmark(QUrl::fromLocalFile(folder));
        EXPECT_EQ(cardHasDebugMarker(), c.marker);
    }
    QDir(folder).removeRecursively();
    EXPECT_FALSE(cardHasDebugMarker()); // unresolvable
}

TEST_F(WindowPlayerStartupTest, TheDeferredStepReopensTheBookmarkedCard) {
    storeFolderBookmark(QUrl::fromLocalFile(cardCopy()));
    OrvoViewController& view = loadPlayer();
    EXPECT_FALSE(updateChecked);
    EXPECT_TRUE(recordingList.isEmpty());
    ASSERT_TRUE(waitUntil([] { return updateChecked && !recordingList.isEmpty(); }));
    EXPECT_EQ(view.recordingTableModel()->rowCount(), recordingList.size());
    EXPECT_EQ(view.modelText->text(), QStringLiteral("KV-1000"));
    EXPECT_TRUE(alerts.isEmpty());

    // A later window player reopens the folder at once, without the check.
    recordingList.clear();
    displayedRecordingList.reset();
    OrvoViewController& next = loadPlayer();
    ASSERT_TRUE(waitUntil([] { return !recordingList.isEmpty(); }));
    EXPECT_EQ(next.recordingTableModel()->rowCount(), recordingList.size());
}

TEST_F(WindowPlayerStartupTest, ABookmarkThatNoLongerResolvesLeavesThePlayerUsable) {
    const struct {
        const char* name;
        std::function<void(const QString& card)> spoil;
        bool listed;
    } cases[] = {
        {"folder deleted", [](const QString& card) { QDir(card).removeRecursively(); }, false},
        {"not a bookmark",
         [](const QString&) {
             UserDefaults::standard().set(key(DefaultsKey::kOrvoBookMark), QByteArray("garbage"));
         },
         false},
        {"folder replaced (stale)",
         [this](const QString& card) {
             QDir(card).removeRecursively();
             std::filesystem::copy(generatedCard().path.toStdString(), card.toStdString(),
                                   std::filesystem::copy_options::recursive);
         },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recordingList.clear();
        displayedRecordingList.reset();
        updateChecked = false;
        QTemporaryDir folder(temp.path() + QStringLiteral("/case-XXXXXX"));
        const QString card = copyCard(folder.path());
        storeFolderBookmark(QUrl::fromLocalFile(card));
        const QByteArray before =
            UserDefaults::standard().data(key(DefaultsKey::kOrvoBookMark)).value_or(QByteArray());
        c.spoil(card);

        const QStringList printed = printedLines([&] {
            loadPlayer();
            waitUntil([] { return updateChecked; });
            spinFor(100);
        });
        EXPECT_TRUE(updateChecked);
        EXPECT_TRUE(alerts.isEmpty()) << alerts.join(QLatin1Char(',')).toStdString();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(!recordingList.isEmpty(), c.listed);
        if (c.listed) {
            // Stored again under its key.
            EXPECT_NE(UserDefaults::standard().data(key(DefaultsKey::kOrvoBookMark)), before);
            EXPECT_TRUE(printed.contains(QStringLiteral("bookmark is stale.")));
        } else {
            EXPECT_TRUE(printed.contains(QStringLiteral("BookMark")));
        }

        // The player still opens a card.
        player->openFileVolume(QUrl::fromLocalFile(cardCopy()));
        EXPECT_FALSE(recordingList.isEmpty());
        EXPECT_EQ(player->recordingTableModel()->rowCount(), recordingList.size());
        player.reset();
        QDir(temp.path() + QStringLiteral("/card")).removeRecursively();
    }
}

TEST_F(WindowPlayerStartupTest, ANewWindowPlayerAfterFullScreenRestoresTheKindFilter) {
    const QString card = cardCopy();
    loadPlayer().openFileVolume(QUrl::fromLocalFile(card));
    storeFolderBookmark(QUrl::fromLocalFile(card));
    const QString event = localized("Event");
    typeFilterTitle = event;
    cardModel = QStringLiteral("KV-1000");
    cardVersion = QStringLiteral("1.0.2");
    const qsizetype all = recordingList.size();
    player.reset();

    OrvoViewController& view = loadPlayer();
    ASSERT_TRUE(displayedRecordingList);
    ASSERT_FALSE(displayedRecordingList->isEmpty());
    EXPECT_LT(displayedRecordingList->size(), all);
    for (const orvoTableModel& entry : std::as_const(*displayedRecordingList))
        EXPECT_EQ(entry.row.type, event) << entry.url.fileName().toStdString();
    EXPECT_EQ(view.tableSortingMenu->currentText(), event);
    EXPECT_EQ(view.recordingTableModel()->rowCount(), displayedRecordingList->size());
    EXPECT_EQ(view.modelText->text(), QStringLiteral("KV-1000"));
    EXPECT_EQ(view.versionTxt->text(), QStringLiteral("1.0.2"));

    // Nothing is scheduled: the folder is not listed again.
    const QList<orvoTableModel> shown = *displayedRecordingList;
    spinFor(1200);
    EXPECT_EQ(*displayedRecordingList, shown);
    EXPECT_EQ(recordingList.size(), all);
}

TEST_F(WindowPlayerStartupTest, ANewWindowPlayerResumesThePausedRecording) {
    const QString card = cardCopy();
    OrvoViewController& first = loadPlayer();
    first.openFileVolume(QUrl::fromLocalFile(card));
    first.orvoTableView->selectionModel()->select(first.recordingTableModel()->index(1, 0),
                                                  QItemSelectionModel::ClearAndSelect |
                                                      QItemSelectionModel::Rows);
    first.tableClickedRow = 1;
    first.tableViewDoubleActionWithTable();
    ASSERT_EQ(playState, 1);
    first.playPause();
    ASSERT_EQ(playState, 2);
    // Entering full screen tears the window player down.
    windowTransition = 2;
    first.show();
    first.hide();
    EXPECT_TRUE(first.players.isEmpty());
    EXPECT_EQ(first.hotKeyMonitor, 0u);
    EXPECT_FALSE(currentAsset);
    player.reset();

    // Leaving it: a new window player shows the same recording, still paused.
    windowTransition = 0;
    OrvoViewController& view = loadPlayer();
    view.resize(1280, 800);
    view.show();
    EXPECT_EQ(playState, 2);
    EXPECT_TRUE(currentAsset);
    EXPECT_EQ(currentIndex, 1);
    EXPECT_EQ(view.recordingTableModel()->markColor(1, 0), QColor(255, 128, 0));
    const QModelIndexList selected = view.orvoTableView->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.first().row(), 1);
    EXPECT_EQ(view.videoNameText->text(),
              OrvoViewController::recordingDisplayName(playMode, displayedRecordingList->at(1)));
}

TEST_F(WindowPlayerStartupTest, RequestPlayResumesOnlyAPlayingRecording) {
    OrvoViewController& view = loadPlayer();
    view.openFileVolume(QUrl::fromLocalFile(cardCopy()));
    view.orvoTableView->selectionModel()->select(view.recordingTableModel()->index(0, 0),
                                                 QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
    view.tableClickedRow = 0;
    view.tableViewDoubleActionWithTable();
    ASSERT_EQ(playState, 1);
    ASSERT_TRUE(view.orvoPlayer);

    // Paused by the user: the capture screen's "requestPlay" changes nothing.
    view.playPause();
    ASSERT_EQ(playState, 2);
    NotificationCenter::defaultCenter().post(key(NotificationName::kRequestPlay));
    EXPECT_EQ(playState, 2);
    EXPECT_EQ(view.orvoPlayer->rate(), 0.0);
    EXPECT_EQ(view.playPauseBtn->imageName(), QStringLiteral("btn_all_play"));

    // Paused by the capture button while playing: it plays on.
    view.playPause();
    ASSERT_EQ(playState, 1);
    for (Player* p : std::as_const(view.players))
        p->pause();
    NotificationCenter::defaultCenter().post(key(NotificationName::kRequestPlay));
    EXPECT_EQ(playState, 1);
    EXPECT_GT(view.orvoPlayer->rate(), 0.0);
    EXPECT_EQ(view.playPauseBtn->imageName(), QStringLiteral("btn_all_pause"));
}

TEST_F(WindowPlayerStartupTest, TheDownloadedInstallerIsOpenedAndTheApplicationEnds) {
    QList<QUrl> opened;
    int terminated = 0;
    Workspace::setOpenURLHandler([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    Workspace::setTerminateHandler([&] { ++terminated; });
    loadPlayer();
    const QUrl installer = QUrl::fromLocalFile(temp.path() + QStringLiteral("/KavrinPlayer.pkg"));
    NotificationCenter::defaultCenter().post(key(NotificationName::kInstallerDownloadComplete), nullptr,
                                             {{key(NotificationUserInfoKey::kDownloadPath), installer}});
    EXPECT_EQ(opened, QList<QUrl>{installer});
    EXPECT_EQ(terminated, 1);
    // Without a file the application ends all the same.
    NotificationCenter::defaultCenter().post(key(NotificationName::kInstallerDownloadComplete));
    EXPECT_EQ(opened.size(), 1);
    EXPECT_EQ(terminated, 2);
}

TEST(WindowPlayerDisplayNameTest, TheFileNameShownPerChannelMode) {
    orvoTableModel full;
    full.url = QUrl::fromLocalFile(QStringLiteral("/c/A_F_N.mp4"));
    full.row.merge = QUrl::fromLocalFile(QStringLiteral("/c/A_R_N.mp4"));
    full.row.merge2 = QUrl::fromLocalFile(QStringLiteral("/c/A_I_N.mp4"));
    orvoTableModel inside = full;
    inside.row.merge.reset();
    orvoTableModel alone = inside;
    alone.row.merge2.reset();
    const struct {
        mode m;
        const orvoTableModel& entry;
        const char* name;
    } cases[] = {
        {mode::ch1, full, "A_F_N.mp4"},  {mode::ch2, full, "A_R_N.mp4"}, {mode::ch2, inside, "A_I_N.mp4"},
        {mode::ch2, alone, "A_F_N.mp4"}, {mode::ch3, full, "A_I_N.mp4"}, {mode::ch3, alone, "A_F_N.mp4"},
        {mode::ch4, full, ""},           {mode::multiple_ch, full, ""},  {mode::none_ch, full, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OrvoViewController::recordingDisplayName(c.m, c.entry), QString::fromLatin1(c.name))
            << modeIndex(c.m);
}

TEST_F(WindowPlayerStartupTest, TheLocationColumnIsFilledOnlyForKorean) {
    const struct {
        QStringList languages;
        bool filled;
    } cases[] = {
        {{"ko"}, true}, {{"ko-KR"}, true}, {{"en"}, false}, {{"ja"}, false}, {{"ko", "en"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.languages.join(QLatin1Char(',')).toStdString());
        setLanguages(c.languages);
        OrvoViewController& view = loadPlayer();
        QTemporaryDir folder(temp.path() + QStringLiteral("/lang-XXXXXX"));
        view.openFileVolume(QUrl::fromLocalFile(copyCard(folder.path())));
        RecordingTableModel* model = view.recordingTableModel();
        ASSERT_GT(model->rowCount(), 0);
        for (int row = 0; row < model->rowCount(); ++row) {
            const QString location = model->data(model->index(row, 3)).toString();
            if (c.filled)
                EXPECT_NE(location, QStringLiteral("-")) << row;
            else
                EXPECT_EQ(location, QStringLiteral("-")) << row;
        }
        player.reset();
    }
}

TEST_F(WindowPlayerStartupTest, RenderTheWindowPlayerWithAGeneratedCard) {
    setLanguages({QStringLiteral("ko")});
    OrvoViewController& view = loadPlayer();
    view.resize(1280, 800);
    view.show();
    // The start-up step first (with no bookmark it opens nothing).
    ASSERT_TRUE(waitUntil([] { return updateChecked; }));
    view.openFileVolume(QUrl::fromLocalFile(cardCopy()));
    view.orvoTableView->selectionModel()->select(view.recordingTableModel()->index(0, 0),
                                                 QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
    view.tableClickedRow = 0;
    view.tableViewDoubleActionWithTable();
    view.orvoTableView->selectionModel()->select(view.recordingTableModel()->index(2, 0),
                                                 QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
    ASSERT_TRUE(waitUntil([&] { return view.orvoPlayer && view.orvoPlayer->currentSeconds() > 0.5; }));
    spinFor(300);
    const QString path = QStringLiteral(KAVRIN_BINARY_DIR "/window-player-startup.png");
    EXPECT_TRUE(view.grab().save(path));
}
