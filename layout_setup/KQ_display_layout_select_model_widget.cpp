#include "layout_setup/KQ_display_layout_select_model_widget.h"

#include "app/services/model_table.h"
#include "layout_setup/model_configuration_type.h"

#include <QCoreApplication>
#include <QIcon>

namespace {

constexpr int kNoModel = -1;

} // namespace

KQ_display_layout_select_model_widget::KQ_display_layout_select_model_widget(QWidget *parent,
                                                                             const QString &modelTable)
    : QWidget(parent)
{
    ui.setupUi(this);
    ui.model_list_comboBox->addItem(tr("Select a display model..."), kNoModel);
    addModels(modelTable);
    addConfigurations();
    connect(ui.configuration_list_comboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &KQ_display_layout_select_model_widget::configuration_list_comboBox_currentIndexChanged);
    connect(ui.model_list_comboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &KQ_display_layout_select_model_widget::model_list_comboBox_currentIndexChanged);
}

void KQ_display_layout_select_model_widget::addModels(const QString &modelTable)
{
    QList<QPair<QString, int>> models;
    read_models_file_entries(modelTable, models);
    for (const QPair<QString, int> &model : models) {
        // A model whose configuration the list does not know could only
        // select a configuration that does not exist.
        if (is_model_configuration_type(model.second))
            ui.model_list_comboBox->addItem(model.first, model.second);
    }
}

void KQ_display_layout_select_model_widget::addConfigurations()
{
    for (const model_configuration_choice &choice : model_configuration_choices()) {
        const QString text = QCoreApplication::translate("KQ_display_layout_select_model_widget", choice.text);
        const int type = choice.type;
        if (*choice.icon)
            ui.configuration_list_comboBox->addItem(QIcon(QString::fromLatin1(choice.icon)), text, type);
        else
            ui.configuration_list_comboBox->addItem(text, type);
    }
}

void KQ_display_layout_select_model_widget::model_list_comboBox_currentIndexChanged(int index)
{
    const QVariant data = ui.model_list_comboBox->itemData(index);
    const int type = data.isValid() ? data.toInt() : kNoModel;
    if (!m_configurationChanging)
        m_modelChanging = true;
    emit selected_model_name(type < 0 ? QString() : ui.model_list_comboBox->itemText(index));
    if (type >= 0 && !m_configurationChanging)
        ui.configuration_list_comboBox->setCurrentIndex(ui.configuration_list_comboBox->findData(type));
    m_modelChanging = false;
}

void KQ_display_layout_select_model_widget::configuration_list_comboBox_currentIndexChanged(int index)
{
    if (!m_modelChanging)
        m_configurationChanging = true;
    emit selected_model_type(ui.configuration_list_comboBox->itemData(index).toInt());
    if (m_configurationChanging)
        ui.model_list_comboBox->setCurrentIndex(ui.model_list_comboBox->findData(kNoModel));
    m_configurationChanging = false;
}
