#pragma once

#include "layout_setup/layout_wizard_answers.h"

#include <QString>
#include <QWizard>

class SummaryPage;

// The wizard in which the operator describes a new wall: model or connector
// configuration, size, how this PC reaches the first display and how the
// displays are chained, the first address or ID, the first display's
// corner, the numbering order and the orientation. It only collects named
// fields (layout_wizard_field_name); its opener presets and reads them.
class display_layout_wizard_advanced : public QWizard
{
    Q_OBJECT

public:
    explicit display_layout_wizard_advanced(QWidget *parent = nullptr);

    int modelConfigurationType() const { return model_configuration_type; }
    QString selectedModelName() const { return selected_model_name; }
    // Every field as it stands, and the model page's choices.
    layout_wizard_answers answers() const;
    SummaryPage *summaryPage() const;

    int nextId() const override;

public slots:
    void SetModelConfigurationType(int value);
    void SetSelectedModelName(QString name);
    void update_size();

protected:
    bool event(QEvent *event) override;

private:
    void fit_current_page();

    int model_configuration_type = 0;
    QString selected_model_name;
};
