#pragma once

#include "digitalmatrix_export.h"

#include "MatrixOperatorInfo.h"

#include <QWidget>

class QAbstractButton;
class QLabel;
class QPushButton;

namespace LUMO_DIGITALMATRIX_MODULE {

// The bar a page shows while it only watches its matrix: who holds the matrix and the
// "Take control" button. Host names are shown as plain text.
class DIGITALMATRIX_EXPORT WatchBanner : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(WatchBanner)

public:
    explicit WatchBanner(QWidget *parent = nullptr);

    // Names the console that controls the matrix among operators (nobody when none does).
    void setOperators(const QList<MatrixOperatorInfo> &operators);
    QString text() const;
    QPushButton *takeControlButton() const { return takeControlBtn; }
    // The page watches: the banner shows and the page's watch button is down.
    void startWatch(QAbstractButton *watchButton);
    // The page no longer watches: the banner hides and the button comes up. True when the
    // banner was shown, that is when the page watched until now.
    bool endWatch(QAbstractButton *watchButton);

signals:
    void signalTakeControlClicked();

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void retranslate();

    QList<MatrixOperatorInfo> operators;
    QLabel *textLabel = nullptr;
    QPushButton *takeControlBtn = nullptr;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
