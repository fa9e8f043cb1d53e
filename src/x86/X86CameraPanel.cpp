#include "X86CameraPanel.h"

#include "AreaTreeForMatrixConfig.h"

#include "SystemConfig.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {
const QString CollapsedKey = QStringLiteral("X86Page/cameraPanelCollapsed");
} // namespace

X86CameraPanel::X86CameraPanel(QWidget *parent)
    : QWidget(parent)
    , foldBt(new QToolButton(this))
    , titleLabel(new QLabel(this))
    , areaTree(new AreaTreeForMatrixConfig(this))
{
    setObjectName(QStringLiteral("cameraPanel"));
    foldBt->setObjectName(QStringLiteral("cameraPanelFoldBt"));
    foldBt->setAutoRaise(true);
    foldBt->setFocusPolicy(Qt::ClickFocus);
    titleLabel->setObjectName(QStringLiteral("cameraPanelTitle"));
    titleLabel->setProperty("lumo_grayYaHei", true);
    areaTree->setObjectName(QStringLiteral("cameraTree"));

    auto *head = new QHBoxLayout;
    head->setContentsMargins(0, 0, 0, 0);
    head->addWidget(foldBt);
    head->addWidget(titleLabel, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addLayout(head);
    layout->addWidget(areaTree, 1);

    connect(foldBt, &QToolButton::clicked, this, [this] { setCollapsed(!collapsed); });
    const QString stored =
            PARSERXML::SystemConfig::instance()->value(CollapsedKey, QStringLiteral("true"));
    collapsed = stored != QLatin1String("false");
    areaTree->setVisible(!collapsed);
    titleLabel->setVisible(!collapsed);
    if (!collapsed)
        setFixedWidth(ExpandedWidth);
    else
        setFixedWidth(foldBt->sizeHint().width() + 4);
    retranslate();
}

X86CameraPanel::~X86CameraPanel() = default;

void X86CameraPanel::setCollapsed(bool on)
{
    collapsed = on;
    areaTree->setVisible(!on);
    titleLabel->setVisible(!on);
    setFixedWidth(on ? foldBt->sizeHint().width() + 4 : ExpandedWidth);
    if (!on && !loaded) {
        areaTree->reload();
        loaded = true;
    }
    retranslate();
    PARSERXML::SystemConfig::instance()->setValue(
            CollapsedKey, on ? QStringLiteral("true") : QStringLiteral("false"));
}

void X86CameraPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The site may have changed while the page was away.
    if (!collapsed) {
        areaTree->reload();
        loaded = true;
    }
}

void X86CameraPanel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslate();
}

void X86CameraPanel::retranslate()
{
    titleLabel->setText(tr("Cameras"));
    foldBt->setArrowType(collapsed ? Qt::LeftArrow : Qt::RightArrow);
    foldBt->setToolTip(collapsed ? tr("Show the cameras") : tr("Hide the cameras"));
}

} // namespace LUMO_DIGITALMATRIX_MODULE
