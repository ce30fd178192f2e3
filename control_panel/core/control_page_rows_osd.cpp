#include "control_panel/core/control_page_rows.h"

#include "display_protocol/control_codes.h"

#include <QCoreApplication>

namespace control_page {

QList<control_row> osd_rows()
{
    const auto tr = [](const char *text) {
        return QCoreApplication::translate("kq_monitor_control_panel_dialog", text);
    };
    control_row rotation;
    rotation.code = control_code::kOsdOrientation;
    rotation.kind = control_kind::combo_box;
    rotation.widget = QStringLiteral("osd_rotation_comboBox");
    rotation.update_button = QStringLiteral("update_osd_rotation_pushButton");
    // Only failures other than "not supported" are worth a message.
    rotation.on_failure = read_policy{false, true, false, false};
    rotation.write = write_sequence::set_save;
    rotation.then = after_write::page_refresh;
    rotation.update = update_rule::several_only;
    rotation.items = {{tr("Landscape"), 0, QStringLiteral(":/images/Resources/orientation_landscape.png")},
                      {tr("Portrait"), 1, QStringLiteral(":/images/Resources/orientation_portrait.png")},
                      {tr("Auto"), 2, QString()}};
    return {rotation};
}

} // namespace control_page
