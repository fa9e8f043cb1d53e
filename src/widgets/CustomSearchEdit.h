#pragma once

#include "digitalmatrix_export.h"

#include <QLineEdit>

namespace LUMO_DIGITALMATRIX_MODULE {

// Search field of the trees: shows a grey hint until it first takes the focus and asks its owner
// to search whenever the text changes or the field is left.
class DIGITALMATRIX_EXPORT CustomSearchEdit : public QLineEdit
{
    Q_OBJECT
    Q_DISABLE_COPY(CustomSearchEdit)

public:
    explicit CustomSearchEdit(QWidget *parent = nullptr);
    ~CustomSearchEdit() override;

    // The last text typed by the user, never the hint.
    QString searchText() const;
    // True while the hint is shown, i.e. until the field first takes the focus.
    bool isShowingHint() const;

signals:
    void sigLostFocus();
    void sigDoSearch();

public slots:
    void slottextChanged(const QString &text);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QString m_searchText;
    bool m_showingHint = true;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
