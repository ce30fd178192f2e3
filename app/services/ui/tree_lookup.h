#pragma once

class QString;
class QTreeWidgetItem;

// The first child of |parent| whose column-0 text equals |text|, or null.
QTreeWidgetItem *find_tree_child_by_text(QTreeWidgetItem *parent, const QString &text);
