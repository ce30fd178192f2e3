#include "layout_setup/com_port_combo.h"

#include <QComboBox>
#include <QIcon>
#include <QSignalBlocker>

namespace {

const char *const kPresentIcon = ":/images/Resources/green circle icon.png";
const char *const kAbsentIcon = ":/images/Resources/red circle icon.png";

} // namespace

void fill_com_port_combo(QComboBox *combo, const QList<serial_port_record> &ports)
{
    const bool refresh = combo->count() > 0;
    const int current = combo->currentIndex();
    const QSignalBlocker blocker(combo);
    combo->clear();
    QStringList names;
    list_com_port_names(names);
    const QIcon present(QString::fromLatin1(kPresentIcon));
    const QIcon absent(QString::fromLatin1(kAbsentIcon));
    for (const QString &name : names)
        combo->addItem(com_port_present(name, ports) ? present : absent, name);
    if (refresh)
        combo->setCurrentIndex(current);
}
