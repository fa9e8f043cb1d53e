#pragma once

#include "digitalmatrix_export.h"

#include "CellChannelItem.h"

#include "AreaWithChannelTree.h"

#include <QList>

namespace LUMO_DIGITALMATRIX_MODULE {

// The channel source of the Linux page: the data centre's areas with their channels,
// several of which can be selected and dragged onto the wall's cells.
class DIGITALMATRIX_EXPORT AreaTreeForMatrixConfig : public COMMONUSELIB::AreaWithChannelTree
{
    Q_OBJECT
    Q_DISABLE_COPY(AreaTreeForMatrixConfig)

public:
    explicit AreaTreeForMatrixConfig(QWidget *parent = nullptr);
    ~AreaTreeForMatrixConfig() override;

    // The selected channels in selection order, each once where it was first met: a
    // channel item gives itself, an area item the channels directly under it (which also
    // sets areaSelected). Items come with the owning area's key and position -1.
    void getSelectedChannels(QList<CellChannelItem> &out, bool &areaSelected) const;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
