#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QString>

// The rows of the window player's recording table: entry i of
// displayedRecordingList in row i, in four columns (date, time, channel,
// location). The rows are read from the shared list when they are drawn, so
// a table of thousands of recordings costs no more than the rows on screen.
//
// The row of the recording being played is marked by colouring its cells
// (setData with Qt::BackgroundRole, or markRow); marks belong to the rows as
// they are shown and go with the next reload, as cell views that are reused
// lose their colour.
class RecordingTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kColumnCount = 4;
    // The height of every row, in points.
    static constexpr double kRowHeight = 19.0;

    explicit RecordingTableModel(QObject* parent = nullptr);

    // The number of entries of displayedRecordingList (0 when it is absent);
    // prints "numberOfRows - <n>" whenever the list exists.
    static qint64 numberOfRowsInTableView();
    // 19 for every row.
    static double heightOfRow(qint64 row);
    // The identifier of the cell view of a column: "dateCell", "timeCell",
    // "channelCell", "locationCell"; "" for any other column.
    static QString cellIdentifier(int column);
    // The text of the cell at `column` and `row`: the entry's Date, Time,
    // Channel or location; "" without a list, outside it, or in another column.
    static QString textForColumn(int column, qint64 row);

    // Reads the list again: the row count follows displayedRecordingList and
    // every mark is gone.
    void reloadData();

    // Colours every cell of `row`; a transparent or invalid colour unmarks it.
    // Rows outside the table are ignored.
    void markRow(qint64 row, const QColor& color);
    // The mark of a cell; invalid when it has none.
    QColor markColor(qint64 row, int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    static quint64 cellKey(qint64 row, int column) { return (quint64(row) << 3) | quint64(column); }

    // The row count as of the last reload: the table's rows change only when
    // it is told, even while the shared list is being rebuilt.
    int m_rowCount = 0;
    QHash<quint64, QColor> m_marks;
};
