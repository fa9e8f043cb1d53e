#pragma once

#include "digitalmatrix_export.h"

#include "MoveableDialog.h"

#include <memory>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace Ui {
class SetChannelSource;
}

class MatrixGroupTree;
class MatrixViewTree;

// The source dialog of a window on the X86 wall: a group page (channels of the areas, as a
// fixed set or a turn show) and a view page (a saved view). The view page and its tab are
// offered only while the data centre holds a view. It closes once a source has been set and
// passes the page's report on.
class DIGITALMATRIX_EXPORT SetChannelSource : public COMMONUSELIB::MoveableDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(SetChannelSource)

public:
    explicit SetChannelSource(QWidget *parent = nullptr);
    ~SetChannelSource() override;

    // The window being edited; passed to both pages.
    void setMonitor(int monitor);
    int getMonitor() const { return monitor; }

    MatrixGroupTree *groupTree() const;
    MatrixViewTree *viewTree() const;

    void done(int result) override;

signals:
    void sigViewSetSource();
    void sigGroupSetSource();
    void sigSpliteButtonClicked(int splitCount);
    void sigSetGroupFinished(int splitCount, bool turning);
    void sigSetViewFinished(int splitCount);

public slots:
    void on__viewBtn_clicked(bool checked);
    void on__groupBtn_clicked(bool checked);
    void on__setBtn_clicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::SetChannelSource> ui;
    int monitor = -1;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
