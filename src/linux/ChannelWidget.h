#pragma once

#include "digitalmatrix_export.h"

#include "CellChannelItem.h"

#include <QWidget>

namespace LUMO_DIGITALMATRIX_MODULE {

// One pane of a channel cell: shows the name of the channel on air on it (while its cell runs
// a turn show, the channel of the page on air) and, on the cell's first pane, a caption with
// the cell's turn show.
class DIGITALMATRIX_EXPORT ChannelWidget : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(ChannelWidget)

public:
    explicit ChannelWidget(int index, QWidget *parent = nullptr);
    ~ChannelWidget() override;

    int getIndex() const { return index; }
    void setIndex(int index);

    CellChannelItem getChannelItem() const { return item; }
    void setChannelItem(const CellChannelItem &item);
    void clearChannelItem();
    bool holdsChannel() const { return !item.channelId.isEmpty(); }

    bool isTurning() const { return turning; }
    void setTurning(bool turning);

    // The text painted now: the channel name broken into lines.
    QString displayText() const;
    // A line painted along the pane's top edge (the cell's turn show); empty for none.
    QString getCaption() const { return caption; }
    void setCaption(const QString &text);
    // Breaks a name into lines of `width` characters ("\r\n" after each full line but the
    // last).
    static QString wrapName(const QString &name, int width);

signals:
    void signalChannelWidgetDoubleClicked(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    CellChannelItem item;
    int index = 0;
    bool turning = false;
    const int wrapWidth = 6;
    QString caption;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
