#include "library/RecordingTableModel.h"

#include "shared/PlayerState.h"

#include "platform/system/Localization.h"
#include "platform/system/LogCategories.h"

#include <QBrush>
#include <QSize>

#include <limits>

RecordingTableModel::RecordingTableModel(QObject* parent) : QAbstractTableModel(parent) {
    m_rowCount = displayedRecordingList ? int(displayedRecordingList->size()) : 0;
}

qint64 RecordingTableModel::numberOfRowsInTableView() {
    if (!displayedRecordingList)
        return 0;
    const qint64 count = displayedRecordingList->size();
    qCInfo(platform::lcLibrary, "numberOfRows - %lld", static_cast<long long>(count));
    return count;
}

double RecordingTableModel::heightOfRow(qint64) {
    return kRowHeight;
}

QString RecordingTableModel::cellIdentifier(int column) {
    switch (column) {
    case 0:
        return QStringLiteral("dateCell");
    case 1:
        return QStringLiteral("timeCell");
    case 2:
        return QStringLiteral("channelCell");
    case 3:
        return QStringLiteral("locationCell");
    default:
        return QString();
    }
}

QString RecordingTableModel::textForColumn(int column, qint64 row) {
    if (!displayedRecordingList || row < 0 || row >= displayedRecordingList->size())
        return QString();
    const orvoTableRowModel& texts = displayedRecordingList->at(row).row;
    switch (column) {
    case 0:
        return texts.Date;
    case 1:
        return texts.Time;
    case 2:
        return texts.Channel;
    case 3:
        return texts.location;
    default:
        return QString();
    }
}

void RecordingTableModel::reloadData() {
    const qint64 count = numberOfRowsInTableView();
    beginResetModel();
    m_rowCount = int(std::min<qint64>(count, std::numeric_limits<int>::max()));
    m_marks.clear();
    endResetModel();
}

void RecordingTableModel::markRow(qint64 row, const QColor& color) {
    if (row < 0 || row >= m_rowCount)
        return;
    for (int column = 0; column < kColumnCount; ++column)
        setData(index(int(row), column), color, Qt::BackgroundRole);
}

QColor RecordingTableModel::markColor(qint64 row, int column) const {
    return m_marks.value(cellKey(row, column));
}

int RecordingTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rowCount;
}

int RecordingTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant RecordingTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rowCount)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return textForColumn(index.column(), index.row());
    case Qt::BackgroundRole: {
        const auto mark = m_marks.constFind(cellKey(index.row(), index.column()));
        if (mark == m_marks.constEnd())
            return {};
        return QBrush(*mark);
    }
    case Qt::TextAlignmentRole:
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::SizeHintRole:
        return QSize(-1, int(kRowHeight));
    default:
        return {};
    }
}

bool RecordingTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::BackgroundRole || !index.isValid() || index.row() >= m_rowCount ||
        index.column() >= kColumnCount)
        return false;
    QColor color;
    if (value.canConvert<QBrush>() && value.userType() == QMetaType::QBrush)
        color = value.value<QBrush>().color();
    else if (value.userType() == QMetaType::QColor)
        color = value.value<QColor>();
    const quint64 key = cellKey(index.row(), index.column());
    if (!color.isValid() || color.alpha() == 0)
        m_marks.remove(key);
    else
        m_marks.insert(key, color);
    emit dataChanged(index, index, {Qt::BackgroundRole});
    return true;
}

QVariant RecordingTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case 0:
        return localized("Date");
    case 1:
        return localized("Time");
    case 2:
        return localized("Channel");
    case 3:
        return localized("Location");
    default:
        return {};
    }
}

Qt::ItemFlags RecordingTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
