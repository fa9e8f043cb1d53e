#pragma once

#include "digitalmatrix_export.h"

#include <QWidget>

#include <memory>

class QPushButton;

namespace LUMO_DIGITALMATRIX_MODULE {

namespace Ui {
class SplitScreenToolBar;
}

// The split bar of a channel cell: splits the cell into 1, 4, 9 or 16 panes.
class DIGITALMATRIX_EXPORT SplitScreenToolBar : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(SplitScreenToolBar)

public:
    explicit SplitScreenToolBar(QWidget *parent = nullptr);
    ~SplitScreenToolBar() override;

    // Shows or hides the button of a split (1, 4, 9 or 16); other numbers do nothing.
    void setSplitButtonVisible(int num, bool visible);
    // The button of a split (1, 4, 9 or 16), null for other numbers.
    QPushButton *splitButton(int num) const;

signals:
    void signalSplitScreenNum(int num);

public slots:
    void slotHidePanelBtClicked(bool show);
    void slotOneSpliterBtClicked();
    void slotFourSpliterBtClicked();
    void slotNineSpliterBtClicked();
    void slotSixteenSpliterBtClicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::SplitScreenToolBar> ui;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
