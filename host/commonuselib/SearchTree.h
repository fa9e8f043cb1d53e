// Search over a tree widget: hides the items that do not match a text.
#pragma once

#include "lumohost_export.h"

#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

namespace COMMONUSELIB {

// A mix-in (not a QObject) for widgets that show a QTreeWidget. An item stays visible
// when its own text matches (case-insensitive substring of column 0), when an ancestor
// matches (a matching area shows all it holds; with ShowMatchOnly a match shows itself
// only), or when a descendant matches (the path to a match stays visible and is expanded).
// All other items are hidden and leave the selection. An empty text shows everything.
class LUMOHOST_EXPORT SearchTree
{
public:
    enum MatchScope { ShowWhatAMatchHolds, ShowMatchOnly };

    explicit SearchTree(MatchScope scope = ShowWhatAMatchHolds);
    virtual ~SearchTree();

    // Applies the text and returns how many items matched it themselves.
    int searchTree(const QString &text);
    void clearSearch() { searchTree(QString()); }
    QString searchText() const { return m_searchText; }

protected:
    virtual QTreeWidget *searchedTreeWidget() const = 0;
    virtual bool itemMatchesSearch(const QTreeWidgetItem *item, const QString &text) const;

private:
    bool filterItem(QTreeWidgetItem *item, const QString &text, bool ancestorMatched,
                    int *matches) const;

    QString m_searchText;
    MatchScope m_scope;
};

} // namespace COMMONUSELIB
