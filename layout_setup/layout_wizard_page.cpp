#include "layout_setup/layout_wizard_page.h"

#include "layout_setup/display_layout_wizard_advanced.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QVBoxLayout>

layout_wizard_page::layout_wizard_page(const QString &title, const QString &subTitle,
                                       display_layout_wizard_advanced *wizard)
    : QWizardPage(wizard)
    , m_wizard(wizard)
{
    setTitle(title);
    setSubTitle(subTitle);
    new QVBoxLayout(this);
}

void layout_wizard_page::addWidget(QWidget *content)
{
    layout()->addWidget(content);
}

layout_wizard_answers layout_wizard_page::answers() const
{
    return m_wizard->answers();
}

void layout_wizard_page::resetFieldsToStart(const QList<QAbstractButton *> &choices)
{
    QList<QButtonGroup *> groups;
    QList<QAbstractButton *> loose;
    for (QAbstractButton *choice : choices) {
        QButtonGroup *group = choice->group();
        if (group && group->exclusive() && !groups.contains(group)) {
            groups.append(group);
            group->setExclusive(false);
        } else if (!group && choice->autoExclusive()) {
            loose.append(choice);
            choice->setAutoExclusive(false);
        }
    }
    QWizardPage::cleanupPage();
    for (QButtonGroup *group : groups)
        group->setExclusive(true);
    for (QAbstractButton *choice : loose)
        choice->setAutoExclusive(true);
}
