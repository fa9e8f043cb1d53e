// Paints one WallPicture: the screens with their numbers, the windows or cells with their
// panes and channel names, and the screen numbers large while the matrix shows them.
#pragma once

#include "SimulatedWallScene.h"

#include <QWidget>

class SimulatedWallView : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(SimulatedWallView)

public:
    explicit SimulatedWallView(QWidget *parent = nullptr);
    ~SimulatedWallView() override;

    void setPicture(const WallPicture &picture);
    const WallPicture &picture() const { return m_picture; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    WallPicture m_picture;
};
