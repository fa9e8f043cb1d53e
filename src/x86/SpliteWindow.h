#pragma once

#include "digitalmatrix_export.h"

#include <QWidget>

#include <memory>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace Ui {
class SpliteWindow;
}

// Pop-up chooser of the number of panes of a window: 1, 4, 9, 16, 25 or 36.
class DIGITALMATRIX_EXPORT SpliteWindow : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(SpliteWindow)

public:
    explicit SpliteWindow(QWidget *parent = nullptr);
    ~SpliteWindow() override;

signals:
    // A count was chosen, or -1 when the chooser closed.
    void sigSpliteButtonClicked(int count);

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private slots:
    void slotDivideOneScreen();
    void slotDivideFourScreen();
    void slotDivideNineScreen();
    void slotDivideSixteenScreen();
    void slotDivideTwentyfiveScreen();
    void slotDivideThirtysixScreen();

protected:
    void changeEvent(QEvent *event) override;

private:
    void choose(int count);

    std::unique_ptr<Ui::SpliteWindow> ui;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
