#pragma once

#include "layout_setup/layout_wizard_answers.h"

#include <QList>
#include <QWizardPage>

class QAbstractButton;
class display_layout_wizard_advanced;

// A page of the display layout wizard: a title, a sub-title and one widget
// in a vertical layout. Pages read the wizard's answers and keep no state of
// their own beyond the fields their controls hold.
class layout_wizard_page : public QWizardPage
{
    Q_OBJECT

public:
    layout_wizard_page(const QString &title, const QString &subTitle, display_layout_wizard_advanced *wizard);

protected:
    // Puts the page's widget into its layout.
    template <typename Widget>
    Widget *addContent(Widget *content)
    {
        addWidget(content);
        return content;
    }
    display_layout_wizard_advanced *layoutWizard() const { return m_wizard; }
    // Every field and the model page's choices, as they stand now.
    layout_wizard_answers answers() const;
    // The framework's reset: every field back to what its control held when
    // the page was added to the wizard. A checked choice of an exclusive set
    // cannot be cleared by that alone, so |choices| lose their exclusion
    // while it runs.
    void resetFieldsToStart(const QList<QAbstractButton *> &choices);

private:
    void addWidget(QWidget *content);

    display_layout_wizard_advanced *m_wizard;
};
