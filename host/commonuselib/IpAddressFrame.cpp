#include "IpAddressFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace COMMONUSELIB {

namespace {

const QString octetPattern = QStringLiteral("(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])");

// An octet is complete when no further digit can be typed into it.
bool octetComplete(const QString &text)
{
    if (text.isEmpty())
        return false;
    return text.size() >= 3 || text == QLatin1String("0") || text.toInt() * 10 > 255;
}

} // namespace

IpAddressFrame::IpAddressFrame(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 1, 4, 1);
    layout->setSpacing(0);

    const QRegularExpression octet(QLatin1Char('^') + octetPattern + QLatin1String("?$"));
    for (int i = 0; i < 4; ++i) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("ipField%1").arg(i));
        edit->setFrame(false);
        edit->setAlignment(Qt::AlignCenter);
        edit->setMaxLength(3);
        edit->setValidator(new QRegularExpressionValidator(octet, edit));
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textEdited, this,
                [this, i](const QString &text) { slotFieldEdited(i, text); });
        connect(edit, &QLineEdit::textChanged, this, &IpAddressFrame::updateIp);
        m_fields[i] = edit;
        layout->addWidget(edit, 1);
        if (i < 3) {
            auto *dot = new QLabel(QStringLiteral("."), this);
            dot->setAlignment(Qt::AlignCenter);
            layout->addWidget(dot);
        }
    }
    setFocusProxy(m_fields[0]);
}

IpAddressFrame::~IpAddressFrame() = default;

QLineEdit *IpAddressFrame::field(int index) const
{
    return index >= 0 && index < 4 ? m_fields[index] : nullptr;
}

bool IpAddressFrame::isValidIp(const QString &ip)
{
    // Anchored at both ends of the text: a trailing line break is not part of an address.
    static const QRegularExpression full(QRegularExpression::anchoredPattern(
            octetPattern + QLatin1String("\\.") + octetPattern + QLatin1String("\\.") + octetPattern
            + QLatin1String("\\.") + octetPattern));
    return full.match(ip).hasMatch();
}

QString IpAddressFrame::getIp() const
{
    QStringList parts;
    for (const QLineEdit *edit : m_fields) {
        if (edit->text().isEmpty())
            return QString();
        parts << QString::number(edit->text().toInt());
    }
    return parts.join(QLatin1Char('.'));
}

void IpAddressFrame::setIp(const QString &ip)
{
    const QStringList parts = isValidIp(ip) ? ip.split(QLatin1Char('.')) : QStringList();
    m_filling = true;
    for (int i = 0; i < 4; ++i)
        m_fields[i]->setText(parts.isEmpty() ? QString() : parts.at(i));
    m_filling = false;
    updateIp();
}

void IpAddressFrame::clear()
{
    setIp(QString());
}

void IpAddressFrame::setReadOnly(bool readOnly)
{
    for (QLineEdit *edit : m_fields)
        edit->setReadOnly(readOnly);
}

void IpAddressFrame::slotFieldEdited(int index, const QString &text)
{
    QLineEdit *edit = m_fields[index];
    if (index < 3 && edit->cursorPosition() == text.size() && octetComplete(text)) {
        focusField(index + 1, false);
        // A dot typed right after this move ends the octet already ended.
        m_autoAdvancedTo = index + 1;
    }
}

void IpAddressFrame::updateIp()
{
    if (m_filling)
        return;
    const QString ip = getIp();
    if (ip != m_lastIp) {
        m_lastIp = ip;
        emit ipChanged(ip);
    }
}

void IpAddressFrame::focusField(int index, bool atEnd)
{
    QLineEdit *edit = m_fields[index];
    edit->setFocus(Qt::OtherFocusReason);
    if (atEnd)
        edit->setCursorPosition(edit->text().size());
    else
        edit->selectAll();
}

bool IpAddressFrame::eventFilter(QObject *watched, QEvent *event)
{
    // A click or a focus change since the move is a new start: the next dot moves on.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::FocusIn)
        m_autoAdvancedTo = -1;
    if (event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    int index = -1;
    for (int i = 0; i < 4; ++i) {
        if (m_fields[i] == watched)
            index = i;
    }
    if (index < 0)
        return QFrame::eventFilter(watched, event);

    auto *key = static_cast<QKeyEvent *>(event);
    QLineEdit *edit = m_fields[index];
    const bool autoAdvanced = m_autoAdvancedTo == index;
    m_autoAdvancedTo = -1;
    const bool atStart = edit->cursorPosition() == 0 && !edit->hasSelectedText();
    const bool atEnd = edit->cursorPosition() == edit->text().size() && !edit->hasSelectedText();

    if (key->matches(QKeySequence::Paste) && !edit->isReadOnly()) {
        const QString pasted = QApplication::clipboard()->text().trimmed();
        if (isValidIp(pasted)) {
            setIp(pasted);
            return true;
        }
        return false;
    }
    switch (key->key()) {
    case Qt::Key_Period:
    case Qt::Key_Space:
        if (index < 3 && !edit->text().isEmpty() && !autoAdvanced)
            focusField(index + 1, false);
        return true; // never typed into a field
    case Qt::Key_Tab:
        // As with a dot: a Tab right after the move ends the octet already ended, so that
        // "127", Tab, "0", Tab ... fills the fields in turn instead of skipping one.
        if (autoAdvanced && edit->text().isEmpty() && key->modifiers() == Qt::NoModifier)
            return true;
        break;
    case Qt::Key_Backspace:
    case Qt::Key_Left:
        if (atStart && index > 0 && key->modifiers() == Qt::NoModifier) {
            focusField(index - 1, true);
            return true;
        }
        break;
    case Qt::Key_Right:
        if (atEnd && index < 3 && key->modifiers() == Qt::NoModifier) {
            focusField(index + 1, false);
            m_fields[index + 1]->setCursorPosition(0);
            return true;
        }
        break;
    default:
        break;
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace COMMONUSELIB
