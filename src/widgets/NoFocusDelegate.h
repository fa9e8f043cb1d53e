#pragma once

#include "digitalmatrix_export.h"

#include <QStyledItemDelegate>

namespace LUMO_DIGITALMATRIX_MODULE {
namespace private_impl {

// Item delegate that paints items without the focus rectangle around the current cell.
class DIGITALMATRIX_EXPORT NoFocusDelegate : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY(NoFocusDelegate)

public:
    explicit NoFocusDelegate(QObject *parent = nullptr);
    ~NoFocusDelegate() override;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};

} // namespace private_impl
} // namespace LUMO_DIGITALMATRIX_MODULE
