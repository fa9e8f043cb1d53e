#pragma once

#include "digitalmatrix_export.h"

#include <QPointer>
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
    // The button that opens and closes the menu: a press on it while the menu is open only
    // closes the menu (the press does not reach the button, which would open it again).
    void setOpener(QWidget *button);

signals:
    void sigStartTurn();
    void sigPauseTurn();
    void sigStopTurn();
    // The menu closed, however it was closed: a choice, the focus leaving it, a click
    // outside it, Escape.
    void sigHideTurnButton();

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private slots:
    void slotStartTurn();
    void slotPauseTurn();
    void slotStopTurn();

protected:
    void changeEvent(QEvent *event) override;

private:
    // Hides the menu, which reports the close; a menu already hidden reports it at once.
    void closeMenu();

    std::unique_ptr<Ui::TurnControlWidget> ui;
    QPointer<QWidget> opener;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
