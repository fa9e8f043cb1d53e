#include "MessageBoxW.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPainter>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <QVariant>

namespace COMMONUSELIB {

namespace {

MessageBoxW::AnswerHook &hookSlot()
{
    static MessageBoxW::AnswerHook hook;
    return hook;
}

QStyle::StandardPixmap iconFor(const QString &kind)
{
    if (kind == QLatin1String("warning"))
        return QStyle::SP_MessageBoxWarning;
    if (kind == QLatin1String("question"))
        return QStyle::SP_MessageBoxQuestion;
    if (kind == QLatin1String("critical"))
        return QStyle::SP_MessageBoxCritical;
    return QStyle::SP_MessageBoxInformation;
}

} // namespace

MessageBoxW::MessageBoxW(QWidget *parent, const QString &kind, const QString &title,
                         const QString &text, short buttons)
    : MoveableDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_kind(kind)
    , m_buttons(buttons == OkCancelButtons || buttons == YesNoButtons ? buttons
                                                                      : short(NoticeButtons))
{
    setObjectName(QStringLiteral("MessageBoxW"));
    setWindowTitle(title);
    setModal(true);
    setMinimumWidth(360);

    m_titleLabel = new QLabel(title, this);
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));
    m_titleLabel->setTextFormat(Qt::PlainText);
    m_titleLabel->setProperty("lumo_modifyServerTitle", true);
    QFont titleFont = m_titleLabel->font();
    titleFont.setBold(true);
    m_titleLabel->setFont(titleFont);

    m_iconLabel = new QLabel(this);
    m_iconLabel->setObjectName(QStringLiteral("iconLabel"));
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    m_iconLabel->setPixmap(style()->standardIcon(iconFor(kind), nullptr, this).pixmap(iconSize));
    m_iconLabel->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    m_textLabel = new QLabel(text, this);
    m_textLabel->setObjectName(QStringLiteral("textLabel"));
    m_textLabel->setWordWrap(true);
    m_textLabel->setTextFormat(Qt::PlainText);
    m_textLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_textLabel->setMinimumWidth(280);

    auto *buttonBox = new QDialogButtonBox(this);
    auto addButton = [buttonBox](const QString &caption, const char *name,
                                 QDialogButtonBox::ButtonRole role) {
        // The style name is set before the box lays the button out (which polishes it), so
        // that the host style sheet's rule for it applies.
        auto *button = new QPushButton(caption, buttonBox);
        button->setObjectName(QLatin1String(name));
        button->setProperty("lumo_blueButton", true);
        buttonBox->addButton(button, role);
        return button;
    };
    switch (m_buttons) {
    case YesNoButtons: {
        addButton(tr("Yes"), "yesBt", QDialogButtonBox::AcceptRole);
        // A question is declined by a stray Enter: its negative button is the default.
        QPushButton *no = addButton(tr("No"), "noBt", QDialogButtonBox::RejectRole);
        m_defaultButton = no;
        break;
    }
    case OkCancelButtons: {
        m_defaultButton = addButton(tr("OK"), "okBt", QDialogButtonBox::AcceptRole);
        addButton(tr("Cancel"), "cancelBt", QDialogButtonBox::RejectRole);
        break;
    }
    default: {
        m_defaultButton = addButton(tr("OK"), "okBt", QDialogButtonBox::AcceptRole);
        break;
    }
    }
    // The answer Enter gives is told from the other at a glance: bold, and selected by the
    // host style sheet through lumo_defaultAnswer.
    for (QAbstractButton *button : buttonBox->buttons()) {
        const bool isDefault = button == m_defaultButton;
        button->setProperty("lumo_defaultAnswer", isDefault);
        QFont font = button->font();
        font.setBold(isDefault);
        button->setFont(font);
    }
    m_defaultButton->setDefault(true);
    m_defaultButton->setFocus();
    connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *body = new QHBoxLayout;
    body->setSpacing(12);
    body->addWidget(m_iconLabel, 0, Qt::AlignTop);
    body->addWidget(m_textLabel, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 10, 16, 12);
    layout->setSpacing(12);
    layout->addWidget(m_titleLabel);
    layout->addLayout(body);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

MessageBoxW::~MessageBoxW() = default;

QString MessageBoxW::text() const
{
    return m_textLabel->text();
}

QString MessageBoxW::title() const
{
    return m_titleLabel->text();
}

QWidget *MessageBoxW::placementWindow() const
{
    if (QWidget *owner = parentWidget())
        return owner->window();
    // Without an owner: the window the person works in (a dialog over the page, say), never
    // the screen, and never the wait window, which gives way to the box.
    const auto usable = [this](QWidget *w) {
        return w && w != this && w->isVisible() && w->objectName() != QLatin1String("WaitDialog");
    };
    QWidget *candidate = QApplication::activeModalWidget();
    if (!usable(candidate))
        candidate = QApplication::activeWindow();
    if (!usable(candidate)) {
        candidate = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (usable(w) && !(w->windowFlags() & Qt::WindowStaysOnTopHint)
                && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog)) {
                candidate = w;
                break;
            }
        }
    }
    return candidate ? candidate->window() : nullptr;
}

void MessageBoxW::showEvent(QShowEvent *event)
{
    adjustSize();
    if (QWidget *over = placementWindow()) {
        const QRect area = over->frameGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    MoveableDialog::showEvent(event);
}

void MessageBoxW::paintEvent(QPaintEvent *event)
{
    MoveableDialog::paintEvent(event);
    // A frameless box keeps a visible edge on any background.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Dark), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

short MessageBoxW::warning(QWidget *parent, const QString &title, const QString &text,
                           short buttons)
{
    return ask({QStringLiteral("warning"), parent, title, text, buttons});
}

short MessageBoxW::infomation(QWidget *parent, const QString &title, const QString &text,
                              short buttons)
{
    return ask({QStringLiteral("infomation"), parent, title, text, buttons});
}

short MessageBoxW::question(QWidget *parent, const QString &title, const QString &text,
                            short buttons)
{
    return ask({QStringLiteral("question"), parent, title, text, buttons});
}

short MessageBoxW::critical(QWidget *parent, const QString &title, const QString &text,
                            short buttons)
{
    return ask({QStringLiteral("critical"), parent, title, text, buttons});
}

void MessageBoxW::setAnswerHook(AnswerHook hook)
{
    hookSlot() = std::move(hook);
}

MessageBoxW::AnswerHook MessageBoxW::answerHook()
{
    return hookSlot();
}

short MessageBoxW::ask(const Record &record)
{
    // Copy first: the hook may replace itself while it runs.
    const AnswerHook hook = hookSlot();
    if (hook)
        return hook(record);

    // The box belongs to the caller's window, not to the caller: a part of a window that is
    // disabled or hidden while the box is open must not take the box with it.
    QWidget *owner = record.parent ? record.parent->window() : nullptr;
    MessageBoxW box(owner, record.kind, record.title, record.text, record.buttons);
    return box.exec() == QDialog::Accepted ? 1 : 0;
}

} // namespace COMMONUSELIB
