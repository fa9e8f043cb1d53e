// The host's message box: a short notice or a yes/no question.
#pragma once

#include "lumohost_export.h"

#include "MoveableDialog.h"

#include <QString>

#include <functional>

class QLabel;
class QPushButton;

namespace COMMONUSELIB {

// A frameless box with its own title line and a framed body, dragged by its body like the
// host's other dialogs. It opens centred on its owner's window (or, without one, on the window
// the person is working in); the answer Enter gives is drawn apart from the other one.
class LUMOHOST_EXPORT MessageBoxW : public MoveableDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(MessageBoxW)

public:
    // Button sets: one "OK" button, "OK" and "Cancel", or "Yes" and "No".
    // Any other value shows a notice with one "OK" button.
    enum Buttons : short { NoticeButtons = 1, OkCancelButtons = 2, YesNoButtons = 3 };

    // One box as it was asked for; handed to the answer hook.
    struct Record
    {
        QString kind; // "warning", "infomation", "question" or "critical"
        QWidget *parent = nullptr;
        QString title;
        QString text;
        short buttons = NoticeButtons;
    };
    // Answers boxes instead of showing them (automation and tests).
    using AnswerHook = std::function<short(const Record &)>;

    // Each shows a modal box over the parent's window (the box's parent is that window, so
    // disabling the parent itself leaves the box usable) and returns 1 when the person
    // accepted ("OK" or "Yes"), 0 otherwise (the negative button, Escape or closing it).
    static short warning(QWidget *parent, const QString &title, const QString &text,
                         short buttons = NoticeButtons);
    static short infomation(QWidget *parent, const QString &title, const QString &text,
                            short buttons = NoticeButtons);
    static short question(QWidget *parent, const QString &title, const QString &text,
                          short buttons = YesNoButtons);
    static short critical(QWidget *parent, const QString &title, const QString &text,
                          short buttons = NoticeButtons);

    // Installs a process-wide hook (an empty function removes it). While a hook is
    // installed no box is shown: the hook's answer is returned instead.
    static void setAnswerHook(AnswerHook hook);
    static AnswerHook answerHook();

    // A box that can also be used directly; exec() returns 1 when accepted.
    MessageBoxW(QWidget *parent, const QString &kind, const QString &title, const QString &text,
                short buttons);
    ~MessageBoxW() override;

    QString kind() const { return m_kind; }
    QString text() const;
    QString title() const;
    // The button Enter presses.
    QPushButton *defaultButton() const { return m_defaultButton; }
    short buttons() const { return m_buttons; }

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    static short ask(const Record &record);
    // The window this box is centred on.
    QWidget *placementWindow() const;

    QString m_kind;
    short m_buttons = NoticeButtons;
    QLabel *m_iconLabel = nullptr;
    QLabel *m_textLabel = nullptr;
    QLabel *m_titleLabel = nullptr;
    QPushButton *m_defaultButton = nullptr;
};

} // namespace COMMONUSELIB
