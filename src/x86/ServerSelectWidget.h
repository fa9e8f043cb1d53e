#pragma once

#include "digitalmatrix_export.h"

#include "ServerButton.h"

#include <QList>
#include <QWidget>

namespace LUMO_DIGITALMATRIX_MODULE {

// Pop-up list of the X86 matrix servers, one entry per server; clicking an entry selects
// that server.
class DIGITALMATRIX_EXPORT ServerSelectWidget : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(ServerSelectWidget)

public:
    static constexpr int DefaultItemWidth = 150;
    static constexpr int ItemHeight = 30;
    // An entry and its separator line.
    static constexpr int RowHeight = 31;

    explicit ServerSelectWidget(QWidget *parent = nullptr);
    ~ServerSelectWidget() override;

    void addServer(const UServerInfo &info);
    void clearServers();
    int serverCount() const { return buttons.size(); }
    // The caller first makes sure the list is not empty.
    PUServerInfo firstServer() const;
    PUServerInfo lastServer() const;
    // A width above 0 becomes the width of every entry.
    void updateLayout(int width);

    QList<ServerButton *> serverButtons() const { return buttons; }
    QList<QWidget *> separatorLines() const { return lines; }
    int getItemWidth() const { return itemWidth; }

signals:
    void sigAddButtonPressed();
    void sigServerSelected(PUServerInfo info);
    void sigServerSelectedFO();

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private slots:
    void slotServerSelected(ServerButton *button);

private:
    int itemWidth = DefaultItemWidth;
    QList<ServerButton *> buttons;
    QList<QWidget *> lines;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
