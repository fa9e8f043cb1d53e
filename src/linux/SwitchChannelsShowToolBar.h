#pragma once

#include "digitalmatrix_export.h"

#include <QWidget>

#include <memory>

class QButtonGroup;
class QHBoxLayout;
class QPushButton;

namespace LUMO_DIGITALMATRIX_MODULE {

namespace Ui {
class SwitchChannelsShowToolBar;
}

// The page bar of a channel cell: one small button per page of channels (at most five).
class DIGITALMATRIX_EXPORT SwitchChannelsShowToolBar : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(SwitchChannelsShowToolBar)

public:
    // Most page buttons the bar shows.
    static constexpr int MaxPageButtons = 5;

    explicit SwitchChannelsShowToolBar(QWidget *parent = nullptr);
    ~SwitchChannelsShowToolBar() override;

    // Replaces the page buttons: none for one page or less, else one per page up to five.
    void setPageCount(int count);
    // Checks the button of a page that has one; emits nothing.
    void setCurrentPage(int page);

    int pageButtonCount() const;
    QPushButton *pageButton(int page) const;
    int currentPage() const { return curPage; }
    QPushButton *toggleButton() const;

signals:
    void signalCurSwitchPageNumChanged(int curNum);

public slots:
    void slotHidePanelBtClicked(bool hide);
    void slotGroupButtonClicked(int id);

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::SwitchChannelsShowToolBar> ui;
    QHBoxLayout *pageLayout = nullptr;
    QButtonGroup *pageGroup = nullptr;
    int curPage = 0;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
