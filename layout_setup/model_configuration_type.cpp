#include "layout_setup/model_configuration_type.h"

#include <QCoreApplication>

const QVector<model_configuration_choice> &model_configuration_choices()
{
    static const QVector<model_configuration_choice> choices{
        {MODEL_CONFIGURATION_TYPE_ALL,
         QT_TRANSLATE_NOOP("KQ_display_layout_select_model_widget", "Show all configurations"), ""},
        {MODEL_CONFIGURATION_TYPE_LAN1_LAN2_RS232,
         QT_TRANSLATE_NOOP("KQ_display_layout_select_model_widget", "RS-232C IN, and LAN1 and LAN2 connections"),
         ":/images/Resources/lan1 lan2 and rs232 connectors_sm.png"},
        {MODEL_CONFIGURATION_TYPE_RS232_IN_OUT_LAN,
         QT_TRANSLATE_NOOP("KQ_display_layout_select_model_widget", "RS-232C IN, OUT, and LAN connections"),
         ":/images/Resources/rs232 in-out and lan connectors_sm.png"},
        {MODEL_CONFIGURATION_TYPE_RS232_IN_OUT,
         QT_TRANSLATE_NOOP("KQ_display_layout_select_model_widget", "RS-232C IN and OUT connections"),
         ":/images/Resources/rs232 in-out connectors_sm.png"},
        {MODEL_CONFIGURATION_TYPE_RS232_IN_LAN,
         QT_TRANSLATE_NOOP("KQ_display_layout_select_model_widget", "RS-232C IN and LAN connections"),
         ":/images/Resources/rs232 in and lan connectors_sm.png"},
    };
    return choices;
}

bool is_model_configuration_type(int type)
{
    for (const model_configuration_choice &choice : model_configuration_choices()) {
        if (choice.type == type)
            return true;
    }
    return false;
}
