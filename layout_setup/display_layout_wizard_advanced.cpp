#include "layout_setup/display_layout_wizard_advanced.h"

#include "layout_setup/DisplayOrientationPage.h"
#include "layout_setup/FirstConnectionPage.h"
#include "layout_setup/FirstDisplayPage.h"
#include "layout_setup/IDPage.h"
#include "layout_setup/IPAddressSelectPage.h"
#include "layout_setup/InterConnectionPage.h"
#include "layout_setup/IntroPage.h"
#include "layout_setup/LANTranslateDirectSelectionPage.h"
#include "layout_setup/LayoutDirectionPage.h"
#include "layout_setup/RS232InterconnectionSelectionPage.h"
#include "layout_setup/SelectModelPage.h"
#include "layout_setup/SizePage.h"
#include "layout_setup/SummaryPage.h"
#include "layout_setup/layout_wizard_flow.h"

#include <QEvent>
#include <QIcon>
#include <QPixmap>
#include <QScreen>

namespace {

constexpr double kMinimumScreenShare = 0.4;
constexpr int kLargestMinimumWidth = 850;
constexpr int kLargestMinimumHeight = 550;

} // namespace

display_layout_wizard_advanced::display_layout_wizard_advanced(QWidget *parent)
    : QWizard(parent)
{
    setPage(kIntroPage, new IntroPage(this));
    setPage(kSelectModelPage, new SelectModelPage(this));
    setPage(kSizePage, new SizePage(this));
    setPage(kFirstConnectionPage, new FirstConnectionPage(this));
    setPage(kInterConnectionPage, new InterConnectionPage(this));
    setPage(kLANTranslateDirectSelectionPage, new LANTranslateDirectSelectionPage(this));
    setPage(kRS232InterconnectionSelectionPage, new RS232InterconnectionSelectionPage(this));
    setPage(kIPAddressSelectPage, new IPAddressSelectPage(this));
    setPage(kIDPage, new IDPage(this));
    setPage(kFirstDisplayPage, new FirstDisplayPage(this));
    setPage(kLayoutDirectionPage, new LayoutDirectionPage(this));
    setPage(kDisplayOrientationPage, new DisplayOrientationPage(this));
    setPage(kSummaryPage, new SummaryPage(this));
    setStartId(kIntroPage);

    setWizardStyle(QWizard::ModernStyle);
    setPixmap(QWizard::LogoPixmap, QPixmap(QStringLiteral(":/images/Resources/varkel icon 32.png")));
    setWindowIcon(QIcon(QStringLiteral(":/images/Resources/varkel icon.png")));
    setWindowTitle(tr("Display Layout Configuration Wizard"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    // Pages differ in size (the cabling pictures are wider than the first
    // pages), so a page that needs more room gets it when it is shown.
    connect(this, &QWizard::currentIdChanged, this, &display_layout_wizard_advanced::fit_current_page);

    if (const QScreen *shown = screen()) {
        const QRect area = shown->geometry();
        if (area.width() > 0)
            setMinimumSize(qMin(int(area.width() * kMinimumScreenShare), kLargestMinimumWidth),
                           qMin(int(area.height() * kMinimumScreenShare), kLargestMinimumHeight));
    }
}

layout_wizard_answers display_layout_wizard_advanced::answers() const
{
    layout_wizard_answers a = read_layout_wizard_answers([this](const QString &name) { return field(name); });
    a.model_configuration_type = model_configuration_type;
    a.selected_model_name = selected_model_name;
    return a;
}

SummaryPage *display_layout_wizard_advanced::summaryPage() const
{
    return static_cast<SummaryPage *>(page(kSummaryPage));
}

int display_layout_wizard_advanced::nextId() const
{
    return layout_wizard_next_id(currentId(), answers());
}

void display_layout_wizard_advanced::SetModelConfigurationType(int value)
{
    model_configuration_type = value;
}

void display_layout_wizard_advanced::SetSelectedModelName(QString name)
{
    selected_model_name = name;
}

void display_layout_wizard_advanced::update_size()
{
    const QScreen *shown = screen();
    if (!shown || shown->geometry().width() == 0)
        return;
    adjustSize();
    const QRect area = shown->geometry();
    move(area.x() + area.width() / 2 - width() / 2, area.y() + area.height() / 2 - height() / 2);
}

void display_layout_wizard_advanced::fit_current_page()
{
    const QScreen *shown = screen();
    if (!isVisible() || !shown || shown->geometry().width() == 0)
        return;
    const QRect area = shown->availableGeometry();
    const QSize frame = frameGeometry().size() - size();
    // Grows only: a size the operator chose is kept, and the screen bounds
    // only what the page asks for.
    const QSize wanted = sizeHint().boundedTo(area.size() - frame).expandedTo(size());
    if (wanted == size())
        return;
    resize(wanted);
    const QRect placed = frameGeometry();
    move(qBound(area.left(), placed.left(), qMax(area.left(), area.right() + 1 - placed.width())),
         qBound(area.top(), placed.top(), qMax(area.top(), area.bottom() + 1 - placed.height())));
}

bool display_layout_wizard_advanced::event(QEvent *event)
{
    if (event->type() == QEvent::PolishRequest)
        update_size();
    return QWizard::event(event);
}
