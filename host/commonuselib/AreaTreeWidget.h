// The tree widget inside AreaTree: asks its owner for the drag payload.
#pragma once

#include <QTreeWidget>

namespace COMMONUSELIB {

class AreaTree;

class AreaTreeWidget : public QTreeWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(AreaTreeWidget)

public:
    explicit AreaTreeWidget(AreaTree *owner);
    ~AreaTreeWidget() override;

protected:
    // Dragging copies: a drop accepted as a move would make the view delete the dragged
    // items from the tree.
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QList<QTreeWidgetItem *> items) const override;

private:
    AreaTree *m_owner = nullptr;
};

} // namespace COMMONUSELIB
