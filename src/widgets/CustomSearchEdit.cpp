#include "CustomSearchEdit.h"

#include <QEvent>
#include <QFocusEvent>
#include <QSignalBlocker>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {
const char kHintStyle[] = "color:rgb(100,100,100);";
const char kEditingStyle[] = "QLineEdit#SearchEdit{color:rgb(0,0,0);}";
const int kMaxSearchLength = 15;
} // namespace

CustomSearchEdit::CustomSearchEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setFocusPolicy(Qt::ClickFocus);
    setText(tr("Search ..."));
    setMaxLength(kMaxSearchLength);
    setObjectName(QStringLiteral("SearchEdit"));
    setStyleSheet(QLatin1String(kHintStyle));
    connect(this, &QLineEdit::textChanged, this, &CustomSearchEdit::slottextChanged);
    m_showingHint = true;
}

CustomSearchEdit::~CustomSearchEdit() = default;

QString CustomSearchEdit::searchText() const
{
    return m_searchText;
}

bool CustomSearchEdit::isShowingHint() const
{
    return m_showingHint;
}

void CustomSearchEdit::slottextChanged(const QString &text)
{
    if (text == tr("Search ..."))
        return;
    m_searchText = text;
    emit sigDoSearch();
}

void CustomSearchEdit::focusInEvent(QFocusEvent *event)
{
    setStyleSheet(QLatin1String(kEditingStyle));
    if (m_showingHint) {
        clear();
        m_showingHint = false;
    }
    QLineEdit::focusInEvent(event);
}

void CustomSearchEdit::focusOutEvent(QFocusEvent *event)
{
    // The hint is not put back: the field keeps whatever the user left in it.
    setStyleSheet(QLatin1String(kHintStyle));
    emit sigDoSearch();
    QLineEdit::focusOutEvent(event);
}

void CustomSearchEdit::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    // Only the hint is a text of the console; what the user typed stays.
    if (event->type() == QEvent::LanguageChange && m_showingHint) {
        const QSignalBlocker quiet(this);
        setText(tr("Search ..."));
    }
}

} // namespace LUMO_DIGITALMATRIX_MODULE
