#pragma once

#include "digitalmatrix_export.h"

#include <QWidget>

#include <memory>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace Ui {
class TurnControlWidget;
}

// Pop-up menu of the turn show of the selected window: start or pause, and stop.
class DIGITALMATRIX_EXPORT TurnControlWidget : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(TurnControlWidget)

public:
    explicit TurnControlWidget(QWidget *parent = nullptr);
    ~TurnControlWidget() override;

    // Paused: offer "start" and "stop"; running: "pause" and "stop".
    void setPausedState(bool paused);

signals:
    void sigStartTurn();
    void sigPauseTurn();
    void sigStopTurn();
    // The menu closed.
    void sigHideTurnButton();

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private slots:
    void slotStartTurn();
    void slotPauseTurn();
    void slotStopTurn();

private:
    std::unique_ptr<Ui::TurnControlWidget> ui;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
