#pragma once

#include "digitalmatrix_export.h"

#include <QLabel>

namespace LUMO_DIGITALMATRIX_MODULE {

// A one-line plain-text label for texts that come from outside (host names, operators): it
// never widens its window for them. Given less room than the text needs it paints the text
// elided and shows the whole of it as its tool tip; text() stays the whole text.
class DIGITALMATRIX_EXPORT ElidingLabel : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY(ElidingLabel)

public:
    explicit ElidingLabel(QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;
    // The text as painted in the room the label has now.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
