#pragma once

#include "digitalmatrix_export.h"

#include "TableWidget.h"

namespace LUMO_DIGITALMATRIX_MODULE {

// The table of the cell channel check: a check column, the channel's name and its device's
// name; rows are keyed by channel GUID.
class DIGITALMATRIX_EXPORT CellChannelsTableWt : public COMMONUSELIB::TableWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(CellChannelsTableWt)

public:
    explicit CellChannelsTableWt(QWidget *parent = nullptr, bool withCheckAll = true);
    ~CellChannelsTableWt() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    void nameColumns();
};

} // namespace LUMO_DIGITALMATRIX_MODULE
