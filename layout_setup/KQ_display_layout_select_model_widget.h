#pragma once

#include "ui_KQ_display_layout_select_model_widget.h"

#include <QString>
#include <QWidget>

// Which connectors the wall's displays have: picked through a display model
// from the display model table (which knows its configuration) or as the
// configuration itself. Picking a model selects its configuration and keeps
// the model; picking a configuration puts the model list back on its
// placeholder.
class KQ_display_layout_select_model_widget : public QWidget
{
    Q_OBJECT

public:
    // |modelTable| names the display model table to offer; by default the
    // compiled-in one.
    explicit KQ_display_layout_select_model_widget(
        QWidget *parent = nullptr, const QString &modelTable = QStringLiteral(":/files/Resources/models.txt"));

    Ui::KQ_display_layout_select_model_widgetClass ui;

signals:
    void selected_model_type(int value);
    void selected_model_name(QString name);

public slots:
    void configuration_list_comboBox_currentIndexChanged(int index);
    void model_list_comboBox_currentIndexChanged(int index);

private:
    void addModels(const QString &modelTable);
    void addConfigurations();

    // Keep the two lists from answering each other's changes.
    bool m_modelChanging = false;
    bool m_configurationChanging = false;
};
