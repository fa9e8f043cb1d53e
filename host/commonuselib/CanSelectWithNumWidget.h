// The host's numbered cell: a checkable tile that shows a large number.
#pragma once

#include "lumohost_export.h"

#include <QWidget>

namespace COMMONUSELIB {

// A tile of a grid of cells, created with its index in the grid. It paints its number
// (getShowNum(), index + 1 at first; numbers below 1 are not drawn) large and centred,
// and a highlighted frame while checked. It holds an inner widget (getWidget()) that
// fills the tile inside a 2-pixel border; subclasses put their own children and layouts
// there. The inner widget is transparent, so the number shows through it.
//
// Mouse events the base handles:
// - left button press: on a checkable cell, checks it and emits
//   signalWidgetIsChecked(index); the press is then left unaccepted, so it also
//   reaches the parent (a grid that drags numbers sees every press);
// - left button double click: emits signalWidgetDoubleClick(index) (checkable or not)
//   and accepts the event, which is the only mouse event the base consumes.
// Releases, moves, other buttons, wheel, context-menu, enter/leave and drag-and-drop
// events are not touched. The base installs no event filter, and its eventFilter()
// consumes nothing, so subclasses may filter their children freely.
class LUMOHOST_EXPORT CanSelectWithNumWidget : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(CanSelectWithNumWidget)

public:
    explicit CanSelectWithNumWidget(int index, QWidget *parent = nullptr);
    ~CanSelectWithNumWidget() override;

    int getIndex() const { return m_index; }

    int getShowNum() const { return m_showNum; }
    virtual void setShowNum(int num);
    void setShowNumVisible(bool visible);
    bool isShowNumVisible() const { return m_showNumVisible; }

    // A cell that is not checkable ignores clicks and stays unchecked:
    // setWidgetChecked(true) does nothing, and turning checkable off unchecks it.
    void setWidgetCheckable(bool checkable);
    bool isWidgetCheckable() const { return m_checkable; }
    void setWidgetChecked(bool checked);
    bool isWidgetChecked() const { return m_checked; }

    // How many cells the grid holds (this one included); 1 at first. Only stored.
    void setPeerWidgetCount(int count);
    int getPeerWidgetCount() const { return m_peerCount; }

    // Number of panes the owner splits the cell into; 1 at first. Only stored.
    void setSplitScreenCount(int count);
    int getSplitScreenCount() const { return m_splitCount; }

    // The inner widget that fills the cell inside its border.
    QWidget *getWidget() const { return m_innerWidget; }

    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    void signalWidgetIsChecked(int index);
    void signalWidgetDoubleClick(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void repolish();

    QWidget *m_innerWidget = nullptr;
    int m_index = 0;
    int m_showNum = 0;
    int m_peerCount = 1;
    int m_splitCount = 1;
    bool m_showNumVisible = true;
    bool m_checkable = true;
    bool m_checked = false;
};

} // namespace COMMONUSELIB
