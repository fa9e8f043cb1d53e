#pragma once

#include "digitalmatrix_export.h"

#include "AreaWithChannelTree.h"

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
};

} // namespace LUMO_DIGITALMATRIX_MODULE
