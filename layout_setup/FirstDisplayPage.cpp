#include "layout_setup/FirstDisplayPage.h"

#include "layout_setup/layout_wizard_entry_rules.h"

#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QRadioButton *add_corner(QWidget *content, const char *objectName, const QString &text)
{
    auto *choice = new QRadioButton(text, content);
    choice->setObjectName(QString::fromLatin1(objectName));
    content->layout()->addWidget(choice);
    return choice;
}

} // namespace

FirstDisplayPage::FirstDisplayPage(display_layout_wizard_advanced *wizard)
    : layout_wizard_page(tr("Specify the video wall orientation"), QStringLiteral(" "), wizard)
{
    auto *content = addContent(new QWidget);
    auto *layout = new QVBoxLayout(content);
    m_topLeft = add_corner(content, "top_left_radioButton", tr("Top Left"));
    m_topRight = add_corner(content, "top_right_radioButton", tr("Top Right"));
    m_bottomLeft = add_corner(content, "bottom_left_radioButton", tr("Bottom Left"));
    m_bottomRight = add_corner(content, "bottom_right_radioButton", tr("Bottom Right"));
    layout->addStretch();
    m_topLeft->setChecked(true);

    namespace f = layout_wizard_field_name;
    registerField(QString::fromLatin1(f::firstdisplay_top_left), m_topLeft);
    registerField(QString::fromLatin1(f::firstdisplay_top_right), m_topRight);
    registerField(QString::fromLatin1(f::firstdisplay_bottom_left), m_bottomLeft);
    registerField(QString::fromLatin1(f::firstdisplay_bottom_right), m_bottomRight);
}

void FirstDisplayPage::initializePage()
{
    const first_display_page_entry entry = first_display_page_entry_for(answers());
    m_topRight->setEnabled(entry.topRightEnabled);
    m_bottomLeft->setEnabled(entry.bottomLeftEnabled);
    m_bottomRight->setEnabled(entry.bottomRightEnabled);
    setSubTitle(entry.subTitle);
}
