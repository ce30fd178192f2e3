#include "control_panel/core/control_row_builders.h"

#include <QCoreApplication>

namespace control_row_builders {

QString dialog_tr(const char *text, const char *disambiguation)
{
    return QCoreApplication::translate("kq_monitor_control_panel_dialog", text, disambiguation);
}

control_row slider_pair(int code, const QString &stem, read_policy policy)
{
    control_row row;
    row.code = code;
    row.widget = stem + QStringLiteral("_horizontalSlider");
    row.partner = stem + QStringLiteral("_spinBox");
    row.update_button = QStringLiteral("update_%1_pushButton").arg(stem);
    row.on_failure = policy;
    return row;
}

control_row radio_pair(int code, const QString &stem, int on_value, int off_value, read_policy policy)
{
    control_row row;
    row.code = code;
    row.kind = control_kind::radio_pair;
    row.widget = stem + QStringLiteral("_enable_radioButton");
    row.partner = stem + QStringLiteral("_disable_radioButton");
    row.group = stem + QStringLiteral("_groupBox");
    row.read = read_operation::vcp;
    row.on_failure = policy;
    row.on_value = on_value;
    row.off_value = off_value;
    return row;
}

control_row combo_box(int code, const QString &combo, const QString &update_button, QList<control_item> items)
{
    control_row row;
    row.code = code;
    row.kind = control_kind::combo_box;
    row.widget = combo;
    row.update_button = update_button;
    row.on_failure = read_policy::go_on();
    row.items = std::move(items);
    return row;
}

} // namespace control_row_builders
