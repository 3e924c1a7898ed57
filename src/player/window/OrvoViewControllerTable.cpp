// The window player's recording table: its rows (RecordingTableModel over
// displayedRecordingList), the double click that plays a row, the delete key
// that takes a recording out of the list, and the orange mark of the row
// being played.

#include "player/window/OrvoViewController.h"

#include "controls/OrvoVerticalAlignText.h"
#include "library/FolderOpener.h"
#include "library/RecordingListBuilder.h"
#include "library/RecordingTableModel.h"
#include "platform/system/LogCategories.h"
#include "platform/ui/showAlert.h"
#include "playback/ChannelComposition.h"
#include "shared/PlayerState.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QTableView>

namespace {

// The platform's orange, which marks the row being played.
const QColor kPlayingRowColor(255, 128, 0);

// A double click anywhere in the table, on a row or below the last one:
// remembers the clicked row (-1 below the rows) and runs the double action.
class TableDoubleClickFilter : public QObject {
public:
    TableDoubleClickFilter(QTableView* table, OrvoViewController* controller)
        : QObject(table), m_table(table), m_controller(controller) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonDblClick && m_table && m_controller &&
            watched == m_table->viewport()) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                m_controller->tableClickedRow = m_table->rowAt(mouse->position().toPoint().y());
                m_controller->tableViewDoubleActionWithTable();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QTableView> m_table;
    QPointer<OrvoViewController> m_controller;
};

} // namespace

RecordingTableModel* OrvoViewController::recordingTableModel() const {
    return orvoTableView ? qobject_cast<RecordingTableModel*>(orvoTableView->model()) : nullptr;
}

void OrvoViewController::setUpRecordingTable() {
    QTableView* table = orvoTableView;
    if (!table)
        return;
    if (!recordingTableModel())
        table->setModel(new RecordingTableModel(table));
    // Every row is 19 points high: fixed sections keep thousands of rows cheap.
    QHeaderView* rows = table->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(int(RecordingTableModel::kRowHeight));
    rows->setDefaultSectionSize(int(RecordingTableModel::kRowHeight));

    table->viewport()->installEventFilter(new TableDoubleClickFilter(table, this));
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { tableViewSelectionDidChange(); });
    // The list building and the search and kind filter reload the table through this hook.
    folderOpener().builder().outlets().reloadTable = [this] { reloadTableData(); };
}

void OrvoViewController::reloadTableData() {
    RecordingTableModel* model = recordingTableModel();
    if (!model)
        return;
    // The selection stays on its row index, as long as that row still exists.
    const qint64 selected = tableSelectedRow();
    model->reloadData();
    if (selected >= 0 && selected < model->rowCount() && orvoTableView->selectionModel())
        orvoTableView->selectionModel()->select(
            model->index(int(selected), 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

qint64 OrvoViewController::tableSelectedRow() const {
    if (!orvoTableView || !orvoTableView->selectionModel())
        return -1;
    const QModelIndexList selected = orvoTableView->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void OrvoViewController::markTableRow(qint64 row, const QColor& color) {
    if (RecordingTableModel* model = recordingTableModel())
        model->markRow(row, color);
}

void OrvoViewController::tableViewSelectionDidChange() {
    const qint64 row = tableSelectedRow();
    if (row >= 0) {
        qCInfo(platform::lcPlayer, "Selected row: %lld", static_cast<long long>(row));
    }
}

void OrvoViewController::tableViewDoubleActionWithTable() {
    stopPlayback();
    zoomIndex = 0;
    setZoom(0);
    speedIndex = 1;
    setPlaySpeed(1);
    isMono = false;
    setMonoFilter(false);

    const qint64 index = tableSelectedRow();
    if (index < 0 || !displayedRecordingList || index >= displayedRecordingList->size())
        return;
    if (videoNameText)
        videoNameText->setText(QString());
    loadEntry(index, true);
}

void OrvoViewController::deleteSelectedRecording() {
    const qint64 index = tableSelectedRow();
    if (index < 0)
        return;
    const qint64 previous = selectedRow.value_or(-1);

    // Only the lists forget the recording; its files stay where they are.
    if (displayedRecordingList && index < displayedRecordingList->size()) {
        const QUrl url = displayedRecordingList->at(index).url;
        displayedRecordingList->removeAt(index);
        for (qsizetype i = 0; i < recordingList.size(); ++i) {
            if (recordingList.at(i).url == url) {
                recordingList.removeAt(i);
                break;
            }
        }
    }

    if (index < currentIndex) {
        --currentIndex;
        selectedRow = currentIndex;
    } else if (index == currentIndex) {
        // currentIndex now names the recording that followed the removed one.
        stopPlayback();
    }

    reloadTableData();
    const qint64 rows = recordingTableModel() ? recordingTableModel()->rowCount() : 0;
    if (previous >= 0 && previous < rows)
        markTableRow(previous, Qt::transparent);
    markTableRow(currentIndex, kPlayingRowColor);
}
