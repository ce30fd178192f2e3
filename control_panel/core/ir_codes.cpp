#include "control_panel/core/ir_codes.h"

#include <QStringList>

namespace ir_codes {
namespace {

constexpr uint kLargestCode = 0xFF;

QString two_digits(quint8 code)
{
    return QStringLiteral("%1").arg(code, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

const QVector<key> &keypad()
{
    static const QVector<key> keys = {
        {"ir_remote_1_pushButton", 0x08}, {"ir_remote_2_pushButton", 0x09}, {"ir_remote_3_pushButton", 0x0A},
        {"ir_remote_4_pushButton", 0x0B}, {"ir_remote_5_pushButton", 0x0C}, {"ir_remote_6_pushButton", 0x0D},
        {"ir_remote_7_pushButton", 0x0E}, {"ir_remote_8_pushButton", 0x0F}, {"ir_remote_9_pushButton", 0x10},
        {"ir_remote_hyphen_pushButton", 0x44}, {"ir_remote_0_pushButton", 0x12},
        {"ir_remote_ent_pushButton", 0x45}, {"ir_remote_display_pushButton", 0x19},
        {"ir_remote_uparrow_pushButton", 0x15}, {"ir_remote_menu_pushButton", 0x20},
        {"ir_remote_minus_pushButton", 0x21}, {"ir_remote_set_pushButton", 0x23},
        {"ir_remote_plus_pushButton", 0x22}, {"ir_remote_auto_setup_pushButton", 0x1C},
        {"ir_remote_downarrow_pushButton", 0x14}, {"ir_remote_exit_pushButton", 0x1F},
        {"ir_remote_power_pushButton", 0x03}, {"ir_remote_standby_pushButton", 0x4E},
        {"ir_remote_poweron_pushButton", 0x52}, {"ir_remote_volplus_pushButton", 0x17},
        {"ir_remote_chplus_pushButton", 0x33}, {"ir_remote_guide_pushButton", 0x34},
        {"ir_remote_volminus_pushButton", 0x16}, {"ir_remote_chminus_pushButton", 0x32},
        {"ir_remote_mute_pushButton", 0x1B}, {"ir_remote_dvi_pushButton", 0x2D},
        {"ir_remote_displayport_pushButton", 0x55}, {"ir_remote_vga_pushButton", 0x04},
        {"ir_remote_ypbpr_pushButton", 0x31}, {"ir_remote_hdmi_pushButton", 0x42},
        {"ir_remote_dvdhd_pushButton", 0x31}, {"ir_remote_video_pushButton", 0x06},
        {"ir_remote_rgbhv_pushButton", 0x2E}, {"ir_remote_svideo_pushButton", 0x54},
        {"ir_remote_option_pushButton", 0x39}, {"ir_remote_dvi1_pushButton", 0x65},
        {"ir_remote_dvi2_pushButton", 0x5B}, {"ir_remote_hdmi1_pushButton", 0x64},
        {"ir_remote_hdmi2_pushButton", 0x58}, {"ir_remote_hdmi3_pushButton", 0x59},
        {"ir_remote_hdmi4_pushButton", 0x5A}, {"ir_remote_media_player_pushButton", 0x68},
        {"ir_remote_compute_module_pushButton", 0x69}, {"ir_remote_picturemode_pushButton", 0x1D},
        {"ir_remote_sound_pushButton", 0x43}, {"ir_remote_audio_input_pushButton", 0x1E},
        {"ir_remote_option_menu_pushButton", 0x56}, {"ir_remote_wait1s_pushButton", kPause},
        {"ir_remote_imageflip_pushButton", 0x57}, {"ir_remote_aspect_pushButton", 0x29},
        {"ir_remote_active_picture_pushButton", 0x5F}, {"ir_remote_preset1_pushButton", 0x5C},
        {"ir_remote_preset2_pushButton", 0x5D}, {"ir_remote_preset3_pushButton", 0x5E},
        {"ir_remote_multipicture_onoff_pushButton", 0x24}, {"ir_remote_multipicture_mode_pushButton", 0x63},
        {"ir_remote_multipicture_change_pushButton", 0x26},
        {"ir_remote_multipicture_pictureaspect_pushButton", 0x62},
        {"ir_remote_multipicture_rotate_pushButton", 0x60},
        {"ir_remote_multipicture_rotateall_pushButton", 0x61},
    };
    return keys;
}

QString append(const QString &text, quint8 code)
{
    QString out = text;
    if (!out.isEmpty() && !out.endsWith(QLatin1Char(' ')))
        out += QLatin1Char(' ');
    return out + two_digits(code);
}

sequence parse(const QString &text)
{
    sequence out;
    QStringList normal;
    for (const QString &token : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        bool ok = false;
        const uint value = token.toUInt(&ok, 16);
        if (!ok || value > kLargestCode)
            continue;
        out.codes.append(static_cast<char>(value));
        normal << two_digits(static_cast<quint8>(value));
    }
    out.normal = normal.join(QLatin1Char(' '));
    return out;
}

check validate(const QString &text)
{
    const QStringList tokens = text.split(QLatin1Char(' '));
    if (tokens.isEmpty())
        return check::invalid;
    bool incomplete = false;
    for (const QString &token : tokens) {
        if (token.isEmpty()) {
            incomplete = true;
            continue;
        }
        bool ok = false;
        const uint value = token.toUInt(&ok, 16);
        if (!ok)
            return check::intermediate;
        if (value > kLargestCode)
            return check::invalid;
    }
    return incomplete ? check::intermediate : check::acceptable;
}

} // namespace ir_codes
