#pragma once

#include "digitalmatrix_export.h"

#include <QHeaderView>

class QCheckBox;

namespace LUMO_DIGITALMATRIX_MODULE {
namespace private_impl {

// Table header with fixed column proportions and, optionally, an "All" check box over the first
// column.
class DIGITALMATRIX_EXPORT LumoTableHeader : public QHeaderView
{
    Q_OBJECT
    Q_DISABLE_COPY(LumoTableHeader)

public:
    LumoTableHeader(Qt::Orientation orientation, QWidget *parent = nullptr,
                    bool withCheckBox = false);
    ~LumoTableHeader() override;

    // The "All" check box; null when the header was built without it.
    QCheckBox *checkBox() const;
    bool hasCheckBox() const;

    // A flag the owner keeps with the header; false after construction.
    bool checkState() const;
    void setCheckState(bool checked);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void placeCheckBox();
    void layoutSections();

    QCheckBox *m_checkBox = nullptr;
    bool m_checkState = false;
    bool m_hasCheckBox = false;
};

} // namespace private_impl
} // namespace LUMO_DIGITALMATRIX_MODULE
