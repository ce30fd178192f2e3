#include "layout_setup/IntroPage.h"

#include <QLabel>

namespace {

QLabel *introduction_label()
{
    auto *label = new QLabel(IntroPage::tr(
        "The following pages will configure the size of the video wall layout and the settings for communicating "
        "with each display. Settings for individual displays can be modified later if necessary.<br><br>The order "
        "in which displays are calibrated can also be set later using the <i>Edit - Calibration Order</i> "
        "menu.<br><br>Click <b>Next</b> to continue."));
    label->setWordWrap(true);
    return label;
}

} // namespace

IntroPage::IntroPage(display_layout_wizard_advanced *wizard)
    : layout_wizard_page(tr("Introduction"),
                         tr("This wizard will assist in configuring the video wall layout and connections."),
                         wizard)
{
    addContent(introduction_label());
}
