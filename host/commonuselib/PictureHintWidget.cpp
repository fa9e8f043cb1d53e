#include "PictureHintWidget.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyleOption>
#include <QVariant>

namespace COMMONUSELIB {

namespace {
const QColor WallFrame(0x3a, 0x41, 0x4c);
const QColor ScreenColor(0x24, 0x6b, 0xb3);
const QColor ScreenLight(0x5a, 0xa5, 0xe8);
const QColor ServerColor(0x4a, 0x52, 0x5e);
const QColor CableColor(0x8a, 0x93, 0x9f);
const QColor HintColor(0x60, 0x66, 0x70);
} // namespace

PictureHintWidget::PictureHintWidget(int pictureType, int pictureLanguage, QWidget *parent)
    : QWidget(parent)
    , m_pictureType(pictureType)
    , m_pictureLanguage(pictureLanguage == Chinese ? Chinese : English)
{
    setMinimumSize(320, 300);
    m_addServerBt = new QPushButton(tr("Add Server"), this);
    m_addServerBt->setObjectName(QStringLiteral("addServerBt"));
    m_addServerBt->setProperty("lumo_blueButton", true);
    m_addServerBt->setMinimumSize(120, 32);
    connect(m_addServerBt, &QPushButton::clicked, this, &PictureHintWidget::addServerBtClicked);
    connect(m_addServerBt, &QPushButton::clicked, this,
            &PictureHintWidget::signalAddServerBtClicked);
    placeButton();
}

PictureHintWidget::~PictureHintWidget() = default;

void PictureHintWidget::setPictureLanguage(int pictureLanguage)
{
    m_pictureLanguage = pictureLanguage == Chinese ? Chinese : English;
    update();
}

void PictureHintWidget::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        m_addServerBt->setText(tr("Add Server"));
        placeButton();
    }
}

QString PictureHintWidget::hintText() const
{
    if (m_pictureLanguage == Chinese)
        return QString::fromUtf8("尚未添加数字矩阵服务器，请点击下方按钮添加。");
    return QStringLiteral("No digital matrix server yet. Click the button below to add one.");
}

QRect PictureHintWidget::pictureRect() const
{
    // The picture keeps a 4:3 shape in the upper part, above the hint and the button.
    const int reserved = 110;
    const int availableHeight = qMax(60, height() - reserved);
    int w = qMin(width() - 40, availableHeight * 4 / 3);
    w = qMax(80, qMin(w, 520));
    const int h = w * 3 / 4;
    const int top = qMax(10, (height() - reserved - h) / 2);
    return QRect((width() - w) / 2, top, w, h);
}

void PictureHintWidget::placeButton()
{
    const QRect picture = pictureRect();
    const QSize size = m_addServerBt->sizeHint().expandedTo(m_addServerBt->minimumSize());
    m_addServerBt->setGeometry((width() - size.width()) / 2, picture.bottom() + 56, size.width(),
                               size.height());
}

void PictureHintWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeButton();
}

void PictureHintWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRect picture = pictureRect();
    // The wall: a frame holding 3 x 2 screens in the upper two thirds.
    const QRectF wall(picture.left(), picture.top(), picture.width(), picture.height() * 0.62);
    painter.setPen(Qt::NoPen);
    painter.setBrush(WallFrame);
    painter.drawRoundedRect(wall, 6, 6);
    const int columns = 3;
    const int rows = 2;
    const qreal gap = wall.width() * 0.02;
    const qreal cellW = (wall.width() - gap * (columns + 1)) / columns;
    const qreal cellH = (wall.height() - gap * (rows + 1)) / rows;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const QRectF screen(wall.left() + gap + c * (cellW + gap),
                                wall.top() + gap + r * (cellH + gap), cellW, cellH);
            QLinearGradient shade(screen.topLeft(), screen.bottomRight());
            shade.setColorAt(0, ScreenLight);
            shade.setColorAt(1, ScreenColor);
            painter.setBrush(shade);
            painter.drawRect(screen);
        }
    }

    // The matrix server below the wall, with a cable up to it.
    const qreal serverW = picture.width() * 0.36;
    const qreal serverH = picture.height() * 0.14;
    const QRectF server(picture.center().x() - serverW / 2, picture.bottom() - serverH, serverW,
                        serverH);
    painter.setPen(QPen(CableColor, qMax(2.0, picture.width() / 160.0)));
    painter.drawLine(QPointF(server.center().x(), server.top()),
                     QPointF(server.center().x(), wall.bottom()));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ServerColor);
    painter.drawRoundedRect(server, 4, 4);
    painter.setBrush(QColor(0x3c, 0xd0, 0x70));
    const qreal led = serverH * 0.22;
    for (int i = 0; i < 3; ++i) {
        painter.drawEllipse(QRectF(server.left() + serverH * 0.35 + i * led * 1.8,
                                   server.center().y() - led / 2, led, led));
    }

    // The hint between the picture and the button.
    QFont font = painter.font();
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(HintColor);
    const QRect hintRect(0, picture.bottom() + 12, width(), 36);
    painter.drawText(hintRect, Qt::AlignCenter | Qt::TextWordWrap, hintText());
}

} // namespace COMMONUSELIB
