#include "TableWidget.h"
#include "TableCheckHeaderView.h"

#include <QHeaderView>

namespace COMMONUSELIB {

namespace {
const int KeyRole = Qt::UserRole;
const int CheckColumnWidth = 32;
} // namespace

TableWidget::TableWidget(QWidget *parent, bool withCheckAll)
    : QTableWidget(parent)
{
    if (withCheckAll) {
        m_header = new TableCheckHeaderView(this);
        setHorizontalHeader(m_header);
        connect(m_header, &TableCheckHeaderView::checkAllClicked, this,
                &TableWidget::setAllRowsChecked);
    }
    setColumnCount(1);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(CheckColumnWidth);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    horizontalHeader()->resizeSection(0, CheckColumnWidth);

    connect(this, &QTableWidget::itemChanged, this, &TableWidget::slotItemChanged);
}

TableWidget::~TableWidget() = default;

void TableWidget::setHeaderViewColumnName(const QStringList &names)
{
    setColumnCount(qMax(1, names.size()));
    setHorizontalHeaderLabels(names);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    horizontalHeader()->resizeSection(0, CheckColumnWidth);
}

int TableWidget::insertBack(const QStringList &rowTexts, const QString &key,
                            const QSet<int> &editableColumns)
{
    if (key.isEmpty() || rowOfKeyValue(key) >= 0)
        return -1;
    if (columnCount() < rowTexts.size() + 1)
        setColumnCount(rowTexts.size() + 1);

    const int row = rowCount();
    m_bulkUpdate = true;
    insertRow(row);
    auto *check = new QTableWidgetItem;
    check->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    check->setCheckState(Qt::Unchecked);
    check->setData(KeyRole, key);
    setItem(row, 0, check);
    for (int i = 0; i < rowTexts.size(); ++i) {
        auto *cell = new QTableWidgetItem(rowTexts.at(i));
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (editableColumns.contains(i + 1))
            flags |= Qt::ItemIsEditable;
        cell->setFlags(flags);
        setItem(row, i + 1, cell);
    }
    m_bulkUpdate = false;
    updateCheckAll();
    return row;
}

void TableWidget::deleteAllRows()
{
    const bool hadChecked = !getCheckedRowsKeyValues().isEmpty();
    setRowCount(0);
    updateCheckAll();
    if (hadChecked)
        emit signalCheckedRowsChanged();
}

bool TableWidget::deleteRowByKeyValue(const QString &key)
{
    const int row = rowOfKeyValue(key);
    if (row < 0)
        return false;
    const bool wasChecked = isRowChecked(row);
    removeRow(row);
    updateCheckAll();
    if (wasChecked)
        emit signalCheckedRowsChanged();
    return true;
}

QString TableWidget::getRowKeyValue(int row) const
{
    const QTableWidgetItem *check = row >= 0 && row < rowCount() ? item(row, 0) : nullptr;
    return check ? check->data(KeyRole).toString() : QString();
}

int TableWidget::rowOfKeyValue(const QString &key) const
{
    if (key.isEmpty())
        return -1;
    for (int row = 0; row < rowCount(); ++row) {
        if (getRowKeyValue(row) == key)
            return row;
    }
    return -1;
}

QStringList TableWidget::getAllRowsKeyValues() const
{
    QStringList keys;
    for (int row = 0; row < rowCount(); ++row)
        keys << getRowKeyValue(row);
    return keys;
}

QStringList TableWidget::getCheckedRowsKeyValues() const
{
    QStringList keys;
    for (int row = 0; row < rowCount(); ++row) {
        if (isRowChecked(row))
            keys << getRowKeyValue(row);
    }
    return keys;
}

bool TableWidget::isRowChecked(int row) const
{
    const QTableWidgetItem *check = row >= 0 && row < rowCount() ? item(row, 0) : nullptr;
    return check && check->checkState() == Qt::Checked;
}

void TableWidget::setRowChecked(int row, bool checked)
{
    QTableWidgetItem *check = row >= 0 && row < rowCount() ? item(row, 0) : nullptr;
    if (check)
        check->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TableWidget::setAllRowsChecked(bool checked)
{
    bool changed = false;
    m_bulkUpdate = true;
    for (int row = 0; row < rowCount(); ++row) {
        if (QTableWidgetItem *check = item(row, 0)) {
            const Qt::CheckState state = checked ? Qt::Checked : Qt::Unchecked;
            if (check->checkState() != state) {
                check->setCheckState(state);
                changed = true;
            }
        }
    }
    m_bulkUpdate = false;
    updateCheckAll();
    if (changed)
        emit signalCheckedRowsChanged();
}

Qt::CheckState TableWidget::checkAllState() const
{
    int checked = 0;
    for (int row = 0; row < rowCount(); ++row) {
        if (isRowChecked(row))
            ++checked;
    }
    if (checked == 0)
        return Qt::Unchecked;
    return checked == rowCount() ? Qt::Checked : Qt::PartiallyChecked;
}

void TableWidget::slotItemChanged(QTableWidgetItem *item)
{
    if (m_bulkUpdate || !item || item->column() != 0)
        return;
    updateCheckAll();
    emit signalCheckedRowsChanged();
}

void TableWidget::updateCheckAll()
{
    if (m_header)
        m_header->setCheckState(checkAllState());
}

} // namespace COMMONUSELIB
