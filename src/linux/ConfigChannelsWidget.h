#pragma once

#include "digitalmatrix_export.h"

#include "CellChannelItem.h"
#include "CellForConfigChannels.h"
#include "CellsArrangeWidget.h"

#include <QList>
#include <QPointer>
#include <QVector>

class QLabel;

namespace LUMO_DIGITALMATRIX_MODULE {

// The wall's channel grid, one cell per grid position. Until a grid has been read from
// the matrix or saved, it shows a single placeholder cell. One cell at a time can be
// spread over the whole wall. From the keyboard the arrow keys move the checked cell through
// the grid and Enter opens the checked cell's menu.
class DIGITALMATRIX_EXPORT ConfigChannelsWidget : public CellsArrangeWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(ConfigChannelsWidget)

public:
    explicit ConfigChannelsWidget(QWidget *parent = nullptr);
    ~ConfigChannelsWidget() override;

    void setRowColumn(int rows, int columns) override;
    void createCells(int rows, int columns) override;

    // Drops the grid and shows the placeholder cell again.
    void resetToPlaceholder();
    // Reads the grid, the screen numbers, the cell spread over the wall and every cell
    // from the connected matrix; a matrix without a usable grid gets the placeholder, which
    // then says how to arrange the screens (placeholderText()).
    void loadFromServer();
    QString placeholderText() const;
    // True while a real grid (not the placeholder) is shown.
    bool isConfigured() const { return configured; }
    // Index of the cell spread over the whole wall, -1 if none.
    int wallCellIndex() const { return wallCell; }

    // Puts the channels into a cell as its whole content (with the notices of a refusal
    // and the offer to start a turn show).
    void setChannelsToCell(const QList<CellChannelItem> &channels, int cellIndex);
    // Puts one channel into the pane of a cell given by its position.
    void setChannelToCellPane(const CellChannelItem &channel, int cellIndex);
    // Asks, then deletes every channel of a cell.
    void clearCellChannels(int cellIndex);
    // Asks, then deletes every channel of every cell.
    void clearAllChannels();

    bool hasAnyChannel() const;
    bool allCellsStopped() const;
    // Where the matrix reports each cell's turn show (the page on air).
    void applyTurnPages(const QVector<CellTurnPage> &pages);
    // Stops every turn show that runs or is paused. A refusal is told once and leaves that
    // cell as the matrix holds it; true when every one stopped.
    bool stopAllTurnShows();
    bool isCellTurnStarted(int cellIndex) const;
    bool startCellTurnShow(int cellIndex);
    // The cell's split count, -1 when there is no such cell.
    int cellSplitCount(int cellIndex) const;
    // Cells not hidden (all but the spread one while a cell is spread over the wall).
    int shownCellCount() const;

    Q_INVOKABLE LUMO_DIGITALMATRIX_MODULE::CellForConfigChannels *getCellByIndex(int index) const;

signals:
    void signalSetSelChannelsToCheckedCell(int channelWtIndex);
    // The matrix took a change of a cell or of the spread cell, which the grid now shows.
    void signalWallChanged();
    // The grid shows what it read from the matrix (the wall, or where turn shows stand).
    void signalWallRead();

public slots:
    void slotCellDoubleClicked(int index);
    void slotHideCellsButThisIndex(int index, bool flag = true);
    void slotShowAllCells();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void restoreSpreadCell(int index);
    void updatePlaceholderText();

    bool configured = false;
    // The connected matrix reported no grid of its screens.
    bool noGridReported = false;
    QPointer<QLabel> placeholderLabel;
    int wallCell = -1;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
