#include "CellForAdjustNum.h"

#include "IntValidator.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace LUMO_DIGITALMATRIX_MODULE {

CellForAdjustNum::CellForAdjustNum(int index, QWidget *parent)
    : COMMONUSELIB::CanSelectWithNumWidget(index, parent)
    , editor(new QLineEdit(this))
{
    editor->setObjectName(QStringLiteral("showNumLineEt"));
    editor->hide();
    editor->setAlignment(Qt::AlignCenter);
    editor->installEventFilter(this);
    editor->setValidator(new COMMONUSELIB::IntValidator(1, 4, editor));
    setWidgetCheckable(false);
    connect(this, &CellForAdjustNum::signalWidgetDoubleClick, this,
            &CellForAdjustNum::slotCellDoubleClick);
}

CellForAdjustNum::~CellForAdjustNum() = default;

void CellForAdjustNum::slotCellDoubleClick(int)
{
    if (!isEnabled())
        return;
    const int side = qMin(width(), height());
    const int pointSize = qMax(1, int((side - 1) * 0.75));
    editor->setGeometry(1, 1, width() - 2, height() - 2);
    editor->setFont(QFont(QStringLiteral("Arial"), pointSize));
    editor->setText(getShowNum() < 1 ? QString() : QString::number(getShowNum()));
    editor->selectAll();
    editor->show();
    editor->raise();
    editor->setFocus();
}

bool CellForAdjustNum::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == editor) {
        const bool commit = event->type() == QEvent::FocusOut
                || (event->type() == QEvent::KeyRelease
                    && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Return);
        if (commit) {
            finishEditShowNum();
            return true;
        }
    }
    return COMMONUSELIB::CanSelectWithNumWidget::eventFilter(watched, event);
}

void CellForAdjustNum::finishEditShowNum()
{
    // Hiding the editor takes its focus away, which reports here a second time.
    if (editor->isHidden())
        return;
    editor->hide();
    const int oldNum = getShowNum();
    const int newNum = editor->text().toInt();
    // An emptied editor is no number: the cell keeps the one it had.
    if (newNum < 1 || newNum == oldNum)
        return;
    setShowNum(newNum);
    emit signalEditShowNumFinished(getIndex(), oldNum, newNum);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
