#pragma once

#include "digitalmatrix_export.h"

#include <QWidget>

class QLabel;
class QToolButton;

namespace LUMO_DIGITALMATRIX_MODULE {

class AreaTreeForMatrixConfig;

// The cameras beside the X86 wall: the data centre's areas with their channels and a search
// line, from which cameras are dragged onto a window's pane. It folds to a narrow strip; the
// host settings keep whether it is folded ("X86Page/cameraPanelCollapsed").
class DIGITALMATRIX_EXPORT X86CameraPanel : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(X86CameraPanel)

public:
    static constexpr int ExpandedWidth = 220;

    explicit X86CameraPanel(QWidget *parent = nullptr);
    ~X86CameraPanel() override;

    bool isCollapsed() const { return collapsed; }
    // Folds or unfolds the panel and keeps the choice in the host settings.
    void setCollapsed(bool on);
    AreaTreeForMatrixConfig *tree() const { return areaTree; }

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslate();

    QToolButton *foldBt = nullptr;
    QLabel *titleLabel = nullptr;
    AreaTreeForMatrixConfig *areaTree = nullptr;
    bool collapsed = true;
    bool loaded = false;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
