#pragma once

#include "digitalmatrix_export.h"

#include "DataCoreTypes.h"

#include <QList>
#include <QWidget>

#include <memory>

class QTreeWidgetItem;

namespace LUMO_DIGITALMATRIX_MODULE {

namespace Ui {
class MatrixViewTree;
}

// View page of the source dialog: the saved views of the data centre with their channels.
// Setting a view splits the window into the view's panes and puts every channel of the view
// into the pane the view keeps for it.
class DIGITALMATRIX_EXPORT MatrixViewTree : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(MatrixViewTree)

public:
    // Most panes a window of the matrix shows.
    static constexpr int MaxViewPanes = 25;

    explicit MatrixViewTree(QWidget *parent = nullptr);
    ~MatrixViewTree() override;

    void setMonitor(int monitor);
    int getMonitor() const { return monitor; }

    // Lists the data centre's views and their channels.
    void loadViews();
    int viewCount() const { return views.size(); }

    // The split a window needs for a view of this many panes: 1, 4, 9, 16 or 25.
    static int splitForPanes(int paneCount);

signals:
    void sigSetViewFinished(int paneCount);
    void sigSpliteButtonClicked(int paneCount);

public slots:
    void slotSetSource();
    void slotEditLostFocus();
    void slotDoSearch();
    void on__searchButton_clicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    // One channel of the view being set and the pane it goes to.
    struct ViewChannelEntry
    {
        QString channelGuid;
        int channelNo = 0;
        int localNO = 0;
    };

    const AllPlayViewInfo *viewByKey(const QString &key) const;

    std::unique_ptr<Ui::MatrixViewTree> ui;

    int monitor = -1;
    QList<ViewChannelEntry> localNumbers;
    QList<AllPlayViewInfo> views;
    QList<QTreeWidgetItem *> matches;
    int matchCursor = 0;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
