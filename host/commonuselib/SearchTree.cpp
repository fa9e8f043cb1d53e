#include "SearchTree.h"

#include <QTreeWidget>

namespace COMMONUSELIB {

SearchTree::SearchTree(MatchScope scope)
    : m_scope(scope)
{ }

SearchTree::~SearchTree() = default;

int SearchTree::searchTree(const QString &text)
{
    m_searchText = text.trimmed();
    QTreeWidget *tree = searchedTreeWidget();
    if (!tree)
        return 0;
    int matches = 0;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        filterItem(tree->topLevelItem(i), m_searchText, m_searchText.isEmpty(), &matches);
    return matches;
}

bool SearchTree::itemMatchesSearch(const QTreeWidgetItem *item, const QString &text) const
{
    return item->text(0).contains(text, Qt::CaseInsensitive);
}

bool SearchTree::filterItem(QTreeWidgetItem *item, const QString &text, bool ancestorMatched,
                            int *matches) const
{
    const bool selfMatched = !text.isEmpty() && itemMatchesSearch(item, text);
    if (selfMatched)
        ++*matches;
    bool descendantVisible = false;
    for (int i = 0; i < item->childCount(); ++i) {
        const bool shownByMatch = selfMatched && m_scope == ShowWhatAMatchHolds;
        if (filterItem(item->child(i), text, ancestorMatched || shownByMatch, matches))
            descendantVisible = true;
    }
    const bool visible = ancestorMatched || selfMatched || descendantVisible;
    item->setHidden(!visible);
    if (!visible && item->isSelected())
        item->setSelected(false);
    if (!text.isEmpty() && descendantVisible)
        item->setExpanded(true);
    return visible;
}

} // namespace COMMONUSELIB
