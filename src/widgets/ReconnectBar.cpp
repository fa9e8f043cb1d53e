#include "ReconnectBar.h"

#include "MatrixReconnector.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVariant>

namespace LUMO_DIGITALMATRIX_MODULE {

ReconnectBar::ReconnectBar(MatrixReconnector *reconnector, QWidget *parent)
    : QWidget(parent)
    , reconnector(reconnector)
{
    setObjectName(QStringLiteral("_reconnectBar"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(8, 2, 8, 2);
    // The server's name is data: never read as markup.
    label = new QLabel(this);
    label->setObjectName(QStringLiteral("_reconnectLab"));
    label->setProperty("lumo_grayYaHei", true);
    label->setTextFormat(Qt::PlainText);
    cancelBtn = new QPushButton(this);
    cancelBtn->setObjectName(QStringLiteral("_reconnectCancelBtn"));
    cancelBtn->setProperty("lumo_blueButton", true);
    cancelBtn->setFocusPolicy(Qt::ClickFocus);
    cancelBtn->setAutoDefault(false);
    row->addWidget(label, 1);
    row->addWidget(cancelBtn);
    backTimer.setSingleShot(true);
    backTimer.setInterval(BackShownMs);
    connect(&backTimer, &QTimer::timeout, this, [this] { present(Shown::Nothing); });
    connect(cancelBtn, &QPushButton::clicked, reconnector, &MatrixReconnector::cancel);
    connect(reconnector, &MatrixReconnector::countdown, this, [this](int n, int left) {
        attempt = n;
        seconds = left;
        present(Shown::Countdown);
    });
    connect(reconnector, &MatrixReconnector::attemptDue, this, [this](int n) {
        attempt = n;
        present(Shown::Attempt);
    });
    connect(reconnector, &MatrixReconnector::reconnected, this, [this] { present(Shown::Back); });
    connect(reconnector, &MatrixReconnector::cancelled, this, [this] { present(Shown::Nothing); });
    connect(reconnector, &MatrixReconnector::finished, this, [this] {
        if (shown != Shown::Back)
            present(Shown::Nothing);
    });
    render();
    hide();
}

ReconnectBar::~ReconnectBar() = default;

QString ReconnectBar::text() const
{
    return isVisibleTo(parentWidget()) ? label->text() : QString();
}

void ReconnectBar::present(Shown what)
{
    shown = what;
    if (what == Shown::Back)
        backTimer.start();
    else
        backTimer.stop();
    render();
    setVisible(what != Shown::Nothing);
}

void ReconnectBar::render()
{
    const QString name = reconnector->target();
    switch (shown) {
    case Shown::Countdown:
        label->setText(tr("Reconnecting to %1 in %2 s... (attempt %3)")
                               .arg(name)
                               .arg(seconds)
                               .arg(attempt));
        break;
    case Shown::Attempt:
        label->setText(tr("Reconnecting to %1... (attempt %2)").arg(name).arg(attempt));
        break;
    case Shown::Back:
        label->setText(tr("Connected to %1 again.").arg(name));
        break;
    case Shown::Nothing:
        label->clear();
        break;
    }
    cancelBtn->setText(tr("Cancel"));
    cancelBtn->setVisible(shown == Shown::Countdown || shown == Shown::Attempt);
}

void ReconnectBar::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        render();
}

} // namespace LUMO_DIGITALMATRIX_MODULE
