// The host's checkable table: column 0 is a check column, every row has a unique key.
#pragma once

#include "lumohost_export.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QTableWidget>

namespace COMMONUSELIB {

class TableCheckHeaderView;

// Rows are appended with insertBack(texts, key, editableColumns): texts[i] goes into
// table column i + 1 (column 0 holds the row's check box), the key (unique per table)
// identifies the row, and editableColumns names the table columns (1-based, as counted
// in the table) whose cells the person may edit; all other cells are read-only.
// With withCheckAll the header of column 0 shows a box that checks or unchecks every
// row and shows whether all, some or none are checked.
class LUMOHOST_EXPORT TableWidget : public QTableWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(TableWidget)

public:
    explicit TableWidget(QWidget *parent = nullptr, bool withCheckAll = true);
    ~TableWidget() override;

    // Sets the columns and their header texts (the first name belongs to the check
    // column and is usually empty).
    void setHeaderViewColumnName(const QStringList &names);

    // Appends a row and returns its index; returns -1 (and adds nothing) for an empty
    // key or a key already present. Missing columns are added as needed.
    int insertBack(const QStringList &rowTexts, const QString &key,
                   const QSet<int> &editableColumns = QSet<int>());
    void deleteAllRows();
    // Deletes the row with this key; returns whether there was one.
    bool deleteRowByKeyValue(const QString &key);

    // The key of a row, or an empty text for a row that does not exist.
    QString getRowKeyValue(int row) const;
    // Row of a key, or -1.
    int rowOfKeyValue(const QString &key) const;
    QStringList getAllRowsKeyValues() const;
    // Keys of the checked rows, top to bottom.
    QStringList getCheckedRowsKeyValues() const;

    bool isRowChecked(int row) const;
    void setRowChecked(int row, bool checked);
    void setAllRowsChecked(bool checked);
    bool hasCheckAll() const { return m_header != nullptr; }
    // State of the check-all box (also kept without one): all, some or none checked.
    Qt::CheckState checkAllState() const;

signals:
    // A row's check box changed (by the person, the check-all box or a call).
    void signalCheckedRowsChanged();

private:
    void slotItemChanged(QTableWidgetItem *item);
    void updateCheckAll();

    TableCheckHeaderView *m_header = nullptr;
    bool m_bulkUpdate = false;
};

} // namespace COMMONUSELIB
