// The window player's recording table: rows, columns and texts, the row
// marks, the double click that plays a row, the delete key, and a table of
// 5,000 recordings.

#include "common/EventLoopWait.h"
#include "common/FolderOpenTestCard.h"

#include "controls/DefaultImgBtnCell.h"
#include "controls/OrvoPopupBtnCell.h"
#include "controls/OrvoTableRowView.h"
#include "controls/OrvoVerticalAlignText.h"
#include "library/RecordingTableModel.h"
#include "platform/media/Player.h"
#include "playback/ChannelComposition.h"
#include "player/window/OrvoViewController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolTip>

#include <iostream>

using namespace cardtest;
using namespace looptest;

namespace {

const QColor kOrange(255, 128, 0);

orvoTableModel makeEntry(int i, const QString& location = QStringLiteral("-")) {
    orvoTableModel entry;
    entry.url =
        QUrl::fromLocalFile(QStringLiteral("/nowhere/20241108-%1_F_N.mp4").arg(i, 6, 10, QLatin1Char('0')));
    entry.row.Date = QStringLiteral("2024-11-08");
    entry.row.Time = QStringLiteral("%1:%2:%3")
                         .arg(i / 3600 % 24, 2, 10, QLatin1Char('0'))
                         .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
                         .arg(i % 60, 2, 10, QLatin1Char('0'));
    entry.row.Channel = i % 2 ? QStringLiteral("F+R") : QStringLiteral("F");
    entry.row.location = location;
    return entry;
}

QList<orvoTableModel> makeEntries(int count) {
    QList<orvoTableModel> entries;
    entries.reserve(count);
    for (int i = 0; i < count; ++i)
        entries.append(makeEntry(i, i % 3 ? QStringLiteral("Jongno-gu") : QStringLiteral("-")));
    return entries;
}

class RecordingTableModelTest : public ::testing::Test {
protected:
    void SetUp() override { resetPlayerState(); }
    void TearDown() override { resetPlayerState(); }
};

} // namespace

TEST_F(RecordingTableModelTest, RowsShowTheDisplayedListInFourColumns) {
    displayedRecordingList = QList<orvoTableModel>{makeEntry(0, QStringLiteral("Mapo-gu")), makeEntry(61)};
    RecordingTableModel model;
    ASSERT_EQ(model.rowCount(), 2);
    ASSERT_EQ(model.columnCount(), 4);

    const struct {
        int row;
        int column;
        const char* text;
        const char* identifier;
    } cells[] = {
        {0, 0, "2024-11-08", "dateCell"},  {0, 1, "00:00:00", "timeCell"}, {0, 2, "F", "channelCell"},
        {0, 3, "Mapo-gu", "locationCell"}, {1, 1, "00:01:01", "timeCell"}, {1, 2, "F+R", "channelCell"},
        {1, 3, "-", "locationCell"},
    };
    for (const auto& cell : cells) {
        SCOPED_TRACE(testing::Message() << cell.row << "," << cell.column);
        EXPECT_EQ(model.data(model.index(cell.row, cell.column)).toString(), QString::fromLatin1(cell.text));
        EXPECT_EQ(RecordingTableModel::textForColumn(cell.column, cell.row), QString::fromLatin1(cell.text));
        EXPECT_EQ(RecordingTableModel::cellIdentifier(cell.column), QString::fromLatin1(cell.identifier));
    }
    // Outside the list or the four columns: no text.
    EXPECT_EQ(RecordingTableModel::textForColumn(4, 0), QString());
    EXPECT_EQ(RecordingTableModel::textForColumn(0, 2), QString());
    EXPECT_EQ(RecordingTableModel::textForColumn(0, -1), QString());
    EXPECT_EQ(RecordingTableModel::cellIdentifier(4), QString());
    EXPECT_EQ(RecordingTableModel::heightOfRow(0), 19.0);
    EXPECT_EQ(RecordingTableModel::heightOfRow(1), 19.0);
    // No cell takes edits or holds children.
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);

    // The table follows the list when reloaded, not before.
    displayedRecordingList->removeLast();
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(1, 0)).toString(), QString());
    model.reloadData();
    EXPECT_EQ(model.rowCount(), 1);
}

TEST_F(RecordingTableModelTest, RowCountIsPrintedOnlyWhileTheListExists) {
    const struct {
        std::optional<QList<orvoTableModel>> list;
        qint64 rows;
        QStringList printed;
    } cases[] = {
        {std::nullopt, 0, {}},
        {QList<orvoTableModel>{}, 0, {QStringLiteral("numberOfRows - 0")}},
        {makeEntries(3), 3, {QStringLiteral("numberOfRows - 3")}},
    };
    for (const auto& c : cases) {
        displayedRecordingList = c.list;
        qint64 rows = -1;
        const QStringList printed =
            printedLines([&] { rows = RecordingTableModel::numberOfRowsInTableView(); });
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(printed, c.printed);
    }
}

TEST_F(RecordingTableModelTest, MarksColourEveryCellOfARowUntilTheNextReload) {
    displayedRecordingList = makeEntries(4);
    RecordingTableModel model;
    model.markRow(2, kOrange);
    model.markRow(7, kOrange); // outside: ignored
    model.markRow(-1, kOrange);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            const QVariant background = model.data(model.index(row, column), Qt::BackgroundRole);
            if (row == 2)
                EXPECT_EQ(background.value<QBrush>().color(), kOrange) << row << "," << column;
            else
                EXPECT_FALSE(background.isValid()) << row << "," << column;
        }
    }
    // A clear colour unmarks; so does a reload (cells of the new rows start uncoloured).
    model.markRow(2, Qt::transparent);
    EXPECT_FALSE(model.markColor(2, 0).isValid());
    model.markRow(1, kOrange);
    model.reloadData();
    EXPECT_FALSE(model.markColor(1, 3).isValid());
}

namespace {

// A loaded window player over a copy of the generated card, its list built.
class RecordingTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetPlayerState();
        playMode = mode::ch1;
        windowTransition = 0;
        speedIndex = 1;
        zoomIndex = 0;
        isMono = false;
        ASSERT_TRUE(temp.isValid());
        channelCompositionEnvironment().moviesFolder = [this] { return temp.path(); };
        channelCompositionEnvironment().alert = [this](const QString& title, const QString& message) {
            alerts.append(title + QStringLiteral(" / ") + message);
        };
        player = std::make_unique<OrvoViewController>();
        player->folderOpener().hooks().showAlert = [this](const QString& title, const QString&) {
            alerts.append(title);
        };
        player->loadViewIfNeeded();
        card = copyCard(temp.path());
        player->openFileVolume(QUrl::fromLocalFile(card));
        ASSERT_GE(recordingList.size(), 5);
        table = player->orvoTableView;
        model = player->recordingTableModel();
        ASSERT_NE(model, nullptr);
    }

    void TearDown() override {
        if (player)
            player->stopPlayback();
        player.reset();
        channelCompositionEnvironment().alert = {};
        channelCompositionEnvironment().moviesFolder = {};
        resetPlayerState();
    }

    void selectRow(int row) {
        table->selectionModel()->select(model->index(row, 0),
                                        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    void doubleClickRow(int row) {
        selectRow(row);
        player->tableClickedRow = row;
        player->tableViewDoubleActionWithTable();
    }

    QList<int> orangeRows() const {
        QList<int> rows;
        for (int row = 0; row < model->rowCount(); ++row) {
            bool all = true;
            for (int column = 0; column < 4; ++column)
                all = all && model->markColor(row, column) == kOrange;
            if (all)
                rows.append(row);
        }
        return rows;
    }

    QTemporaryDir temp;
    QString card;
    QStringList alerts;
    std::unique_ptr<OrvoViewController> player;
    QTableView* table = nullptr;
    RecordingTableModel* model = nullptr;
};

} // namespace

TEST_F(RecordingTableTest, TheTableShowsTheBuiltListWithNineteenPointRows) {
    EXPECT_EQ(model->rowCount(), displayedRecordingList->size());
    EXPECT_EQ(table->verticalHeader()->defaultSectionSize(), 19);
    EXPECT_EQ(table->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    for (int row = 0; row < model->rowCount(); ++row) {
        const orvoTableRowModel& texts = displayedRecordingList->at(row).row;
        EXPECT_EQ(model->data(model->index(row, 0)).toString(), texts.Date);
        EXPECT_EQ(model->data(model->index(row, 1)).toString(), texts.Time);
        EXPECT_EQ(model->data(model->index(row, 2)).toString(), texts.Channel);
        EXPECT_EQ(model->data(model->index(row, 3)).toString(), texts.location);
    }
}

TEST_F(RecordingTableTest, DoubleClickPlaysTheRowAndMovesTheOrangeMark) {
    // Another recording plays with zoom, speed and mono changed.
    doubleClickRow(0);
    ASSERT_EQ(playState, 1);
    zoomIndex = 2;
    speedIndex = 3;
    isMono = true;

    doubleClickRow(2);
    const orvoTableModel& entry = displayedRecordingList->at(2);
    EXPECT_EQ(currentIndex, 2);
    EXPECT_EQ(selectedRow, 2);
    EXPECT_EQ(orangeRows(), QList<int>{2});
    ASSERT_TRUE(currentRecording);
    EXPECT_EQ(currentRecording->url, entry.url);
    EXPECT_EQ(playState, 1);
    EXPECT_TRUE(currentAsset);
    EXPECT_EQ(zoomIndex, 0);
    EXPECT_EQ(speedIndex, 1);
    EXPECT_FALSE(isMono);
    EXPECT_EQ(player->zoomMenu->currentIndex(), 0);
    EXPECT_EQ(player->monoMenu->currentIndex(), 1);
    EXPECT_EQ(player->videoNameText->text(), OrvoViewController::recordingDisplayName(playMode, entry));
    EXPECT_TRUE(alerts.isEmpty()) << alerts.join(QLatin1Char('\n')).toStdString();
}

TEST_F(RecordingTableTest, ARecordingWithOneTrackStartsInChannelOne) {
    // A front file copied alone: a recording of one video track.
    const QString single = temp.path() + QStringLiteral("/single");
    QDir().mkpath(single);
    ASSERT_TRUE(QFile::copy(card + QStringLiteral("/20241108-083000_F_N.mp4"),
                            single + QStringLiteral("/20241108-083000_F_N.mp4")));
    player->openFileVolume(QUrl::fromLocalFile(single));
    ASSERT_EQ(displayedRecordingList->size(), 1);
    for (mode before : {mode::ch2, mode::ch4, mode::multiple_ch, mode::none_ch}) {
        playMode = before;
        doubleClickRow(0);
        EXPECT_EQ(channelCount, 1);
        EXPECT_EQ(playMode, mode::ch1) << modeIndex(before);
    }
}

TEST_F(RecordingTableTest, DoubleClickWithoutARowOnlyStopsAndResets) {
    doubleClickRow(1);
    ASSERT_EQ(playState, 1);
    zoomIndex = 3;
    table->clearSelection();
    player->tableClickedRow = -1;
    player->tableViewDoubleActionWithTable();
    EXPECT_EQ(playState, 0);
    EXPECT_EQ(zoomIndex, 0);
    EXPECT_EQ(currentIndex, 1);
    EXPECT_FALSE(currentAsset);
}

TEST_F(RecordingTableTest, ARecordingThatCannotBeLoadedIsReported) {
    // An AVI recording whose files are gone cannot be rewrapped.
    int row = -1;
    for (int i = 0; i < displayedRecordingList->size() && row < 0; ++i) {
        if (displayedRecordingList->at(i).url.fileName().endsWith(QLatin1String(".avi")))
            row = i;
    }
    ASSERT_GE(row, 0);
    const orvoTableModel entry = displayedRecordingList->at(row);
    QFile::remove(entry.url.toLocalFile());
    for (const std::optional<QUrl>& sibling : {entry.row.merge, entry.row.merge2}) {
        if (sibling)
            QFile::remove(sibling->toLocalFile());
    }
    doubleClickRow(row);
    EXPECT_FALSE(currentAsset);
    EXPECT_NE(playState, 1);
    ASSERT_FALSE(alerts.isEmpty());
    EXPECT_EQ(alerts.last(), QStringLiteral("Can't Play File / FilePath : ") + entry.url.toString());

    // An MP4 recording emptied or damaged after the list was built, double-clicked
    // while another one plays: the user is told, and no picture of the other stays.
    for (const QByteArray& content : {QByteArray(), QByteArray(4096, 'x')}) {
        doubleClickRow(0);
        ASSERT_EQ(playState, 1);
        int target = -1;
        for (int i = 1; i < displayedRecordingList->size() && target < 0; ++i) {
            if (displayedRecordingList->at(i).url.fileName().endsWith(QLatin1String(".mp4")))
                target = i;
        }
        ASSERT_GT(target, 0);
        const orvoTableModel broken = displayedRecordingList->at(target);
        for (const std::optional<QUrl>& url :
             {std::optional<QUrl>(broken.url), broken.row.merge, broken.row.merge2}) {
            QFile file(url ? url->toLocalFile() : QString());
            if (url && file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                file.write(content);
        }
        alerts.clear();
        doubleClickRow(target);
        EXPECT_FALSE(currentAsset);
        EXPECT_EQ(playState, 0);
        EXPECT_FALSE(player->orvoPlayer);
        EXPECT_TRUE(player->videoContentView->isHidden()) << "the earlier recording's pictures stay";
        EXPECT_FALSE(player->defaultImgBtn->isHidden());
        ASSERT_EQ(alerts.size(), 1);
        EXPECT_EQ(alerts.last(), QStringLiteral("Can't Play File / FilePath : ") + broken.url.toString());
    }
}

TEST_F(RecordingTableTest, TheDeleteKeyTakesARecordingOutOfTheListsOnly) {
    const struct {
        const char* name;
        int deleted;
        qint64 currentAfter;
        bool stopped;
    } cases[] = {
        {"above the playing row", 1, 2, false},
        {"the playing row", 3, 3, true},
        {"below the playing row", 4, 3, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        player->openFileVolume(QUrl::fromLocalFile(card));
        doubleClickRow(3);
        ASSERT_EQ(playState, 1);
        const qsizetype before = recordingList.size();
        const QList<orvoTableModel> shown = *displayedRecordingList;
        const orvoTableModel removed = shown.at(c.deleted);
        const orvoTableModel current = shown.at(3);

        selectRow(c.deleted);
        player->deleteSelectedRecording();

        EXPECT_EQ(recordingList.size(), before - 1);
        EXPECT_EQ(displayedRecordingList->size(), shown.size() - 1);
        EXPECT_FALSE(recordingList.contains(removed));
        EXPECT_EQ(model->rowCount(), shown.size() - 1);
        // Nothing is deleted on disk.
        EXPECT_TRUE(QFileInfo::exists(removed.url.toLocalFile()));
        EXPECT_EQ(currentIndex, c.currentAfter);
        EXPECT_EQ(playState == 0, c.stopped);
        // The mark is on the current row: the same recording, or the one that followed the deleted one.
        EXPECT_EQ(orangeRows(), QList<int>{int(c.currentAfter)});
        if (!c.stopped) {
            EXPECT_EQ(displayedRecordingList->at(currentIndex).url, current.url);
        } else {
            EXPECT_EQ(displayedRecordingList->at(currentIndex).url, shown.at(4).url);
        }
        player->stopPlayback();
    }
    // Opening the folder again lists everything again.
    player->openFileVolume(QUrl::fromLocalFile(card));
    EXPECT_EQ(recordingList.size(), displayedRecordingList->size());
}

TEST_F(RecordingTableTest, DeletingUnderAKindFilterRemovesFromTheWholeList) {
    const QString event = localized("Event");
    player->tableSortingMenu->setCurrentIndex(int(recordingCategories().indexOf(event)));
    player->onTableSortMenuTap();
    ASSERT_FALSE(displayedRecordingList->isEmpty());
    ASSERT_EQ(model->rowCount(), displayedRecordingList->size());
    const orvoTableModel removed = displayedRecordingList->first();
    const qsizetype all = recordingList.size();
    selectRow(0);
    player->deleteSelectedRecording();
    EXPECT_EQ(recordingList.size(), all - 1);
    // Choosing "All" again does not bring it back.
    player->tableSortingMenu->setCurrentIndex(0);
    player->onTableSortMenuTap();
    EXPECT_EQ(displayedRecordingList->size(), all - 1);
    EXPECT_FALSE(displayedRecordingList->contains(removed));
}

TEST_F(RecordingTableTest, TheDeleteKeyWithoutASelectionDoesNothing) {
    const qsizetype before = recordingList.size();
    table->clearSelection();
    player->deleteSelectedRecording();
    EXPECT_EQ(recordingList.size(), before);
    EXPECT_EQ(model->rowCount(), before);
}

TEST_F(RecordingTableTest, ThePlayingRowIsOrangeAndTheSelectionGrey) {
    player->resize(1280, 800);
    player->show();
    doubleClickRow(1);
    selectRow(3);
    QCoreApplication::processEvents();
    const QImage image = table->viewport()->grab().toImage();
    const auto rowColour = [&](int row) {
        const QRect rect = table->visualRect(model->index(row, 0));
        return image.pixelColor(rect.left() + 2, rect.center().y());
    };
    EXPECT_EQ(rowColour(1), kOrange);
    // The grey of the selection over the table's dark background; a plain row keeps the background.
    const QColor selected = rowColour(3);
    const QColor plain = rowColour(4);
    EXPECT_EQ(selected.red(), selected.green());
    EXPECT_EQ(selected.green(), selected.blue());
    EXPECT_NE(selected, plain);
    EXPECT_NE(selected, kOrange);
}

// Texts that come from the card (its "ver.txt", file names, districts) are
// shown as they are, never read as markup; a cell too narrow for its text
// shows the whole text as its tool tip.
TEST_F(RecordingTableTest, CardTextsShowAsPlainTextAndElidedCellsTellTheirWholeText) {
    player->resize(1280, 800);
    player->show();
    const QString markup = QStringLiteral("<img src=\"/etc/hostname\"><table><tr><td>x</td></tr></table>");
    writeFile(card + QStringLiteral("/ver.txt"), ("Model=" + markup + "\nVersion=" + markup + "\n").toUtf8());
    player->openFileVolume(QUrl::fromLocalFile(card));
    for (QLabel* label : {static_cast<QLabel*>(player->modelText), static_cast<QLabel*>(player->versionTxt),
                          static_cast<QLabel*>(player->videoNameText)}) {
        SCOPED_TRACE(label->objectName().toStdString());
        label->setText(markup);
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        // Drawn as characters, the markup is wider than any picture or table it could make.
        EXPECT_GE(label->sizeHint().width(), label->fontMetrics().horizontalAdvance(markup));
    }
    EXPECT_EQ(player->modelText->text(), markup);

    const QString longName = QStringLiteral("Gyeongsangbuk-do Uljin-gun Buk-myeon <b>Sincheon-ri</b> 1234");
    (*displayedRecordingList)[1].row.location = longName;
    (*displayedRecordingList)[2].row.location = QStringLiteral("Mapo-gu");
    player->reloadTableData();
    QCoreApplication::processEvents();
    const auto toolTipOf = [&](int row) {
        const QModelIndex index = model->index(row, 3);
        const QRect rect = table->visualRect(index);
        QHelpEvent event(QEvent::ToolTip, rect.center(), table->viewport()->mapToGlobal(rect.center()));
        QStyleOptionViewItem option;
        option.initFrom(table->viewport());
        option.rect = rect;
        option.font = table->font();
        option.fontMetrics = table->fontMetrics();
        table->itemDelegate()->helpEvent(&event, table, option, index);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    // A tip once shown fades out later: the short name is asked first.
    EXPECT_EQ(toolTipOf(2), QString());
    const QString whole = toolTipOf(1);
    EXPECT_TRUE(whole.contains(longName.toHtmlEscaped())) << whole.toStdString();
    QToolTip::hideText();
}

TEST(RecordingTableSizeTest, FiveThousandRecordingsReloadAndScrollSmoothly) {
    resetPlayerState();
    OrvoViewController player;
    player.loadViewIfNeeded();
    player.resize(1280, 800);
    player.show();
    QCoreApplication::processEvents();
    QTableView* table = player.orvoTableView;
    recordingList = makeEntries(5000);
    displayedRecordingList = recordingList;

    QElapsedTimer timer;
    timer.start();
    player.reloadTableData();
    const qint64 reloadNs = timer.nsecsElapsed();
    ASSERT_EQ(player.recordingTableModel()->rowCount(), 5000);

    timer.restart();
    table->viewport()->grab();
    const qint64 firstPaintNs = timer.nsecsElapsed();

    // Page by page to the end, painting each page.
    QScrollBar* bar = table->verticalScrollBar();
    timer.restart();
    int pages = 0;
    for (int value = 0; value <= bar->maximum(); value += bar->pageStep()) {
        bar->setValue(value);
        table->viewport()->grab();
        ++pages;
    }
    const qint64 scrollNs = timer.nsecsElapsed();

    timer.restart();
    player.markTableRow(4999, kOrange);
    table->scrollTo(player.recordingTableModel()->index(4999, 0));
    table->viewport()->grab();
    const qint64 markNs = timer.nsecsElapsed();

    // For comparison: the same rows as 20,000 items of a QStandardItemModel.
    timer.restart();
    QStandardItemModel items(0, 4);
    for (const orvoTableModel& entry : std::as_const(recordingList))
        items.appendRow({new QStandardItem(entry.row.Date), new QStandardItem(entry.row.Time),
                         new QStandardItem(entry.row.Channel), new QStandardItem(entry.row.location)});
    const qint64 itemsNs = timer.nsecsElapsed();

    std::cout << "[ table    ] 5000 rows: reload " << reloadNs / 1000 << " us, first paint "
              << firstPaintNs / 1000 << " us, " << pages << " pages scrolled and painted in "
              << scrollNs / 1000000 << " ms (" << scrollNs / std::max(1, pages) / 1000
              << " us a page), mark and scroll to the end " << markNs / 1000 << " us; item model fill "
              << itemsNs / 1000 << " us" << std::endl;
    RecordProperty("reload_us", int(reloadNs / 1000));
    RecordProperty("page_us", int(scrollNs / std::max(1, pages) / 1000));
    resetPlayerState();
}
