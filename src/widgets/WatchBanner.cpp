#include "WatchBanner.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyleOption>

namespace LUMO_DIGITALMATRIX_MODULE {

WatchBanner::WatchBanner(QWidget *parent)
    : QWidget(parent)
    , textLabel(new QLabel(this))
    , takeControlBtn(new QPushButton(this))
{
    setObjectName(QStringLiteral("_watchBannerWdt"));
    setProperty("matrixWatchBanner", true);
    // One line above the wall, however tall the page.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    textLabel->setObjectName(QStringLiteral("_watchBannerLab"));
    textLabel->setTextFormat(Qt::PlainText);
    takeControlBtn->setObjectName(QStringLiteral("_takeControlBtn"));
    takeControlBtn->setProperty("lumo_blueButton", true);
    takeControlBtn->setAutoDefault(false);
    takeControlBtn->setFocusPolicy(Qt::ClickFocus);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 2, 8, 2);
    layout->addWidget(textLabel, 1);
    layout->addWidget(takeControlBtn);
    connect(takeControlBtn, &QPushButton::clicked, this, &WatchBanner::signalTakeControlClicked);
    retranslate();
}

void WatchBanner::setOperators(const QList<MatrixOperatorInfo> &list)
{
    operators = list;
    retranslate();
}

void WatchBanner::startWatch(QAbstractButton *watchButton)
{
    if (watchButton)
        watchButton->setChecked(true);
    show();
}

bool WatchBanner::endWatch(QAbstractButton *watchButton)
{
    const bool wasShown = !isHidden();
    hide();
    if (watchButton)
        watchButton->setChecked(false);
    return wasShown;
}

QString WatchBanner::text() const
{
    return textLabel->text();
}

void WatchBanner::retranslate()
{
    const MatrixOperatorInfo *holder = MatrixOperatorInfo::holder(operators);
    textLabel->setText(holder ? tr("Watching: %1 holds the matrix since %2. Commands are disabled.")
                                        .arg(holder->shownName(), holder->shownTime())
                              : tr("Watching: nobody holds the matrix. Commands are disabled."));
    takeControlBtn->setText(tr("Take control"));
}

void WatchBanner::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslate();
}

void WatchBanner::paintEvent(QPaintEvent *event)
{
    // The host style sheet gives the bar its look.
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
    QWidget::paintEvent(event);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
