#include "layout_setup/DisplayOrientationPage.h"

#include <QIcon>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QRadioButton *add_orientation(QWidget *content, const char *objectName, const QString &text, const char *icon)
{
    auto *choice = new QRadioButton(text, content);
    choice->setObjectName(QString::fromLatin1(objectName));
    choice->setIcon(QIcon(QString::fromLatin1(icon)));
    content->layout()->addWidget(choice);
    return choice;
}

} // namespace

DisplayOrientationPage::DisplayOrientationPage(display_layout_wizard_advanced *wizard)
    : layout_wizard_page(tr("Select the physical orientation of the displays"),
                         tr("This setting is used to automatically configure the OSD (On Screen Display) orientation "
                            "as well as other orientation dependent features."),
                         wizard)
{
    auto *content = addContent(new QWidget);
    auto *layout = new QVBoxLayout(content);
    QRadioButton *landscape = add_orientation(content, "landscape_radioButton", tr("Landscape"),
                                              ":/images/Resources/orientation_landscape.png");
    QRadioButton *portrait = add_orientation(content, "portrait_radioButton", tr("Portrait"),
                                             ":/images/Resources/orientation_portrait.png");
    layout->addStretch();
    landscape->setChecked(true);
    registerField(QString::fromLatin1(layout_wizard_field_name::orientation_landscape), landscape);
    registerField(QString::fromLatin1(layout_wizard_field_name::orientation_portrait), portrait);
}
