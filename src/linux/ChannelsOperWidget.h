#pragma once

#include "digitalmatrix_export.h"

#include <QWidget>

class QPushButton;

namespace LUMO_DIGITALMATRIX_MODULE {

// The two buttons under the area tree: put the selected channels into the checked cell,
// and delete the channels of the checked cell.
class DIGITALMATRIX_EXPORT ChannelsOperWidget : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(ChannelsOperWidget)

public:
    explicit ChannelsOperWidget(QWidget *parent = nullptr);
    ~ChannelsOperWidget() override;

    QPushButton *setChannelsButton() const { return setChannelsBt; }
    QPushButton *deleteChannelsButton() const { return deleteChannelsBt; }

signals:
    void signalSetChannelsToCellBtClicked();
    void signalDeleteChannelsFromCellBtClicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();

    QPushButton *setChannelsBt = nullptr;
    QPushButton *deleteChannelsBt = nullptr;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
