#include "layout_setup/SummaryPage.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "app/services/preferences.h"
#include "app/services/string_resource.h"
#include "app/services/ui/report_preview.h"
#include "app/services/version_text.h"
#include "layout_setup/display_layout_wizard_advanced.h"
#include "layout_setup/layout_configuration.h"
#include "layout_setup/layout_summary_html.h"
#include "layout_setup/layout_wizard_builder.h"

#include <QAction>
#include <QDateTime>
#include <QLocale>
#include <QPrinter>
#include <QTextBrowser>

namespace {

constexpr int kApplicationNameId = 1;

CPreferences *preferences()
{
    return g_master ? g_master->getPreferences() : nullptr;
}

QFont summary_font()
{
    CPreferences *kept = preferences();
    return kept ? kept->GetFont() : QFont();
}

layout_summary_footer print_footer()
{
    return {string_resource(kApplicationNameId), version_text(),
            QLocale::system().toString(QDateTime::currentDateTime(), QLocale::system().dateTimeFormat())};
}

} // namespace

SummaryPage::SummaryPage(display_layout_wizard_advanced *wizard)
    : layout_wizard_page(tr("Summary"),
                         tr("Review the following configuration settings and click <b>Finish</b> to create the new "
                            "display layout."),
                         wizard)
    , m_view(addContent(new QTextBrowser))
    , m_fontAction(new QAction(QIcon(QStringLiteral(":/images/Resources/fonts-icon 24.png")), tr("Font"), this))
{
    connect(m_fontAction, &QAction::triggered, this, &SummaryPage::on_font_pushButton_clicked);
    m_view->setReadOnly(true);
}

int SummaryPage::build_layout_list()
{
    m_layout = build_summary_layout_list(answers());
    return 0;
}

QString SummaryPage::generate_summary(bool printed)
{
    if (configuration_ids_start_at_one(layout_configuration_code(answers())))
        setField(QString::fromLatin1(layout_wizard_field_name::id_first), 1);
    build_layout_list();
    if (!printed)
        return layout_summary_html(answers(), m_layout);
    const layout_summary_footer footer = print_footer();
    return layout_summary_html(answers(), m_layout, &footer);
}

void SummaryPage::initializePage()
{
    m_view->setHtml(generate_summary(false));
}

void SummaryPage::setVisible(bool visible)
{
    QWizardPage::setVisible(visible);
    QWizard *owner = wizard();
    if (!owner)
        return;
    if (visible) {
        owner->setButtonText(QWizard::CustomButton1, tr("&Print"));
        owner->setButtonText(QWizard::CustomButton2, tr("&Save as PDF"));
        owner->setOption(QWizard::HaveCustomButton1, true);
        owner->setOption(QWizard::HaveCustomButton2, true);
        connect(owner, &QWizard::customButtonClicked, this, &SummaryPage::printButtonClicked, Qt::UniqueConnection);
    } else {
        owner->setOption(QWizard::HaveCustomButton1, false);
        owner->setOption(QWizard::HaveCustomButton2, false);
        disconnect(owner, &QWizard::customButtonClicked, this, &SummaryPage::printButtonClicked);
    }
}

void SummaryPage::printButtonClicked(int selection)
{
    m_document.setHtml(generate_summary(true));
    m_document.setDefaultFont(summary_font());
    run_report_preview(this,
                       Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                           | Qt::WindowCloseButtonHint,
                       selection == QWizard::CustomButton2 ? tr("Video wall layout summary") : QString(), m_fontAction,
                       [this](QPrinter *printer) { printPreview(printer); }, this, SIGNAL(updatePreview()));
}

void SummaryPage::printPreview(QPrinter *printer)
{
    print_report(m_document, printer);
}

void SummaryPage::on_font_pushButton_clicked()
{
    if (choose_report_font(this, m_document, preferences()))
        emit updatePreview();
}
