#include "app/services/ui/tree_lookup.h"

#include <QTreeWidgetItem>

QTreeWidgetItem *find_tree_child_by_text(QTreeWidgetItem *parent, const QString &text)
{
    if (!parent)
        return nullptr;
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->text(0) == text)
            return parent->child(i);
    return nullptr;
}
