#include "MessageBoxW.h"

#include <QDialogButtonBox>
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
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_kind(kind)
    , m_buttons(buttons == OkCancelButtons || buttons == YesNoButtons ? buttons
                                                                      : short(NoticeButtons))
{
    setObjectName(QStringLiteral("MessageBoxW"));
    setWindowTitle(title);
    setModal(true);
    setMinimumWidth(360);

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
        no->setDefault(true);
        no->setFocus();
        break;
    }
    case OkCancelButtons: {
        addButton(tr("OK"), "okBt", QDialogButtonBox::AcceptRole)->setDefault(true);
        addButton(tr("Cancel"), "cancelBt", QDialogButtonBox::RejectRole);
        break;
    }
    default: {
        QPushButton *ok = addButton(tr("OK"), "okBt", QDialogButtonBox::AcceptRole);
        ok->setDefault(true);
        ok->setFocus();
        break;
    }
    }
    connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *body = new QHBoxLayout;
    body->setSpacing(12);
    body->addWidget(m_iconLabel, 0, Qt::AlignTop);
    body->addWidget(m_textLabel, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(16);
    layout->addLayout(body);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

MessageBoxW::~MessageBoxW() = default;

QString MessageBoxW::text() const
{
    return m_textLabel->text();
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
