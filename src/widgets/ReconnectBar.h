#pragma once

#include "digitalmatrix_export.h"

#include <QTimer>
#include <QWidget>

class QLabel;
class QPushButton;

namespace LUMO_DIGITALMATRIX_MODULE {

class MatrixReconnector;

// A page's line about connecting again by itself: the countdown to the next attempt with
// its number and a "Cancel", the attempt under way, and for a while that the matrix is
// back. Hidden while the reconnector has nothing to say.
class DIGITALMATRIX_EXPORT ReconnectBar : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(ReconnectBar)

public:
    // How long "connected again" stays on the page.
    static constexpr int BackShownMs = 10000;

    explicit ReconnectBar(MatrixReconnector *reconnector, QWidget *parent = nullptr);
    ~ReconnectBar() override;

    QString text() const;
    QPushButton *cancelButton() const { return cancelBtn; }

protected:
    void changeEvent(QEvent *event) override;

private:
    enum class Shown { Nothing, Countdown, Attempt, Back };
    void present(Shown what);
    void render();

    MatrixReconnector *const reconnector;
    QLabel *label = nullptr;
    QPushButton *cancelBtn = nullptr;
    QTimer backTimer;
    Shown shown = Shown::Nothing;
    int attempt = 0;
    int seconds = 0;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
