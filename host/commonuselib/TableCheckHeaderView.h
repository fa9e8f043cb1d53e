// Horizontal header of TableWidget: draws a check-all box in section 0.
#pragma once

#include <QHeaderView>

namespace COMMONUSELIB {

class TableCheckHeaderView : public QHeaderView
{
    Q_OBJECT
    Q_DISABLE_COPY(TableCheckHeaderView)

public:
    explicit TableCheckHeaderView(QWidget *parent = nullptr);
    ~TableCheckHeaderView() override;

    void setCheckState(Qt::CheckState state);
    Qt::CheckState checkState() const { return m_state; }
    // Where the box is drawn, in header coordinates.
    QRect checkBoxRect() const;

signals:
    // The person clicked the box; checked is the state it asks for.
    void checkAllClicked(bool checked);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QRect boxRectIn(const QRect &section) const;

    Qt::CheckState m_state = Qt::Unchecked;
};

} // namespace COMMONUSELIB
