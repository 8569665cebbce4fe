#include "recordlistmodels.h"

#include <QPainter>
#include <QPixmap>

#include "views/listtexts.h"

int RecordListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RecordListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_titles.size());
}

QVariant RecordListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return cellText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        // Every column but the first is centred.
        return index.column() == 0 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter) : QVariant(Qt::AlignCenter);
    case kDataIndexRole:
        return m_rows[index.row()];
    default:
        return {};
    }
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_titles.size())
        return m_titles[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

void RecordListModel::setTitles(const QStringList &titles)
{
    if (titles.size() != m_titles.size()) {
        beginResetModel();
        m_titles = titles;
        endResetModel();
        return;
    }
    m_titles = titles;
    if (!titles.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, int(titles.size()) - 1);
}

int RecordListModel::dataIndexAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows[row] : -1;
}

int RecordListModel::rowOfDataIndex(int dataIndex) const
{
    return int(m_rows.indexOf(dataIndex));
}

void RecordListModel::setRowOrder(const QVector<int> &rows)
{
    if (rows.size() != m_rows.size())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before) {
        const int newRow = int(rows.indexOf(m_rows.value(index.row(), -1)));
        after << (newRow < 0 ? QModelIndex() : createIndex(newRow, index.column()));
    }
    m_rows = rows;
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QString RecordListModel::cellText(int row, int column) const
{
    const int item = dataIndexAt(row);
    if (item < 0 || item >= m_texts.size())
        return {};
    return m_texts[item].value(column);
}

std::optional<MeterCellSource> RecordListModel::cellSource(int, int) const
{
    return std::nullopt;
}

void RecordListModel::removeDataIndex(int dataIndex)
{
    const int row = rowOfDataIndex(dataIndex);
    if (row < 0)
        return;
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    if (dataIndex < m_texts.size())
        m_texts.removeAt(dataIndex);
    for (int &item : m_rows)
        if (item > dataIndex)
            --item;
    removeDataAt(dataIndex);
    endRemoveRows();
}

void RecordListModel::removeDataAt(int) {}

void RecordListModel::resetRows(QVector<QStringList> texts)
{
    beginResetModel();
    m_texts = std::move(texts);
    m_rows.resize(m_texts.size());
    for (int i = 0; i < m_rows.size(); ++i)
        m_rows[i] = i;
    endResetModel();
}

void RecordListModel::resetRows(qsizetype count)
{
    beginResetModel();
    m_texts.clear();
    m_rows.resize(count);
    for (int i = 0; i < m_rows.size(); ++i)
        m_rows[i] = i;
    endResetModel();
}

void MeterListModel::fill(const QVector<ListedMeter> *meters, const TextLookup &lookup, const QLocale &locale)
{
    m_meters = meters;
    m_rowTexts = MeterRowTexts(lookup, locale);
    resetRows(meters ? meters->size() : 0);
}

void MeterListModel::clear()
{
    m_meters = nullptr;
    resetRows(0);
}

void MeterListModel::dataIndexChanged(int dataIndex)
{
    const int row = rowOfDataIndex(dataIndex);
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

const ListedMeter *MeterListModel::meterAt(int row) const
{
    // The store drops a meter just before the list drops its row.
    const int item = dataIndexAt(row);
    return m_meters && item >= 0 && item < m_meters->size() ? &m_meters->at(item) : nullptr;
}

QString MeterListModel::cellText(int row, int column) const
{
    const ListedMeter *meter = meterAt(row);
    return meter ? m_rowTexts.cell(*meter, column) : QString();
}

std::optional<MeterCellSource> MeterListModel::cellSource(int row, int column) const
{
    const ListedMeter *meter = meterAt(row);
    return meter ? m_rowTexts.source(*meter, column) : std::nullopt;
}

namespace {

// A verdict mark as a small icon in the mark's colour.
QPixmap verdictGlyph(const QString &mark, const QColor &colour)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QFont font = painter.font();
    font.setPixelSize(13);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(colour.isValid() ? colour : QColor(Qt::black));
    painter.drawText(pixmap.rect(), Qt::AlignCenter, mark);
    return pixmap;
}

} // namespace

void PowerListModel::fill(const pcn::_totalblockdata &meter, const TextLookup &lookup, const QLocale &locale)
{
    QVector<QStringList> texts;
    m_powerTypes.clear();
    for (const pcn::_blockdata &verification : meter.verifications) {
        texts << verificationRowTexts(verification, lookup, locale);
        m_powerTypes << verification.powerType;
    }
    m_checked = QVector<bool>(texts.size(), false);
    resetRows(std::move(texts));
}

void PowerListModel::setVerdicts(const QStringList &marks, const QVector<QColor> &colours, const QStringList &lines)
{
    m_verdictMarks = marks;
    m_verdictColours = colours;
    m_verdictLines = lines;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DecorationRole, Qt::ToolTipRole});
}

void PowerListModel::clear()
{
    m_verdictMarks.clear();
    m_verdictColours.clear();
    m_verdictLines.clear();
    m_checked.clear();
    m_powerTypes.clear();
    resetRows({});
}

QVariant PowerListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::CheckStateRole && index.column() == 0)
        return isChecked(index.row()) ? Qt::Checked : Qt::Unchecked;
    if (role == kPowerTypeRole)
        return m_powerTypes.value(dataIndexAt(index.row()), -1);
    if (role == kVerdictMarkRole)
        return m_verdictMarks.value(dataIndexAt(index.row()));
    if (index.column() == 0 && role == Qt::ToolTipRole && !m_verdictLines.isEmpty())
        return m_verdictLines.value(dataIndexAt(index.row()));
    if (index.column() == 0 && role == Qt::DecorationRole) {
        const int k = dataIndexAt(index.row());
        const QString mark = m_verdictMarks.value(k);
        if (!mark.isEmpty())
            return verdictGlyph(mark, m_verdictColours.value(k));
    }
    return RecordListModel::data(index, role);
}

bool PowerListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() != 0 || role != Qt::CheckStateRole)
        return false;
    setChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags PowerListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = RecordListModel::flags(index);
    if (index.isValid() && index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool PowerListModel::isChecked(int row) const
{
    return m_checked.value(dataIndexAt(row), false);
}

void PowerListModel::setChecked(int row, bool checked)
{
    const int item = dataIndexAt(row);
    if (item < 0 || item >= m_checked.size() || m_checked[item] == checked)
        return;
    m_checked[item] = checked;
    const QModelIndex cell = index(row, 0);
    emit dataChanged(cell, cell, {Qt::CheckStateRole});
}

int PowerListModel::checkedCount() const
{
    return int(std::count(m_checked.begin(), m_checked.end(), true));
}

QVector<int> PowerListModel::checkedDataIndices() const
{
    QVector<int> result;
    for (int item : m_rows)
        if (m_checked.value(item, false))
            result << item;
    return result;
}

void PowerListModel::removeDataAt(int dataIndex)
{
    if (dataIndex < m_checked.size())
        m_checked.removeAt(dataIndex);
    if (dataIndex < m_powerTypes.size())
        m_powerTypes.removeAt(dataIndex);
}
