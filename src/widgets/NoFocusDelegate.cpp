#include "NoFocusDelegate.h"

namespace LUMO_DIGITALMATRIX_MODULE {
namespace private_impl {

NoFocusDelegate::NoFocusDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{ }

NoFocusDelegate::~NoFocusDelegate() = default;

void NoFocusDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const
{
    QStyleOptionViewItem withoutFocus(option);
    withoutFocus.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, withoutFocus, index);
}

} // namespace private_impl
} // namespace LUMO_DIGITALMATRIX_MODULE
