#pragma once

#include "layout_setup/display_layout_wizard_advanced.h"
#include "layout_setup/layout_wizard_flow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QString>
#include <QTimer>

#include <functional>

// Operates the display layout wizard as an operator does: through its named
// controls and its Next, Back and Finish buttons.
namespace layout_wizard_driver {

// How the wall is reached and chained.
enum link_kind {
    separate_lan,
    separate_lan_one_id,
    lan_chain_direct,
    lan_chain_translated,
    lan_then_rs232_chain,
    rs232_chain,
    rs232_then_lan_chain,
};

struct wall_description
{
    int columns = 1;
    int rows = 1;
    int configuration_type = 0; // chosen on the model page
    link_kind link = separate_lan;
    int com_port = 0;           // index in the port list
    QString address = QStringLiteral("192.168.0.10");
    int first_id = 1;           // typed on the ID page when it is shown
    const char *corner = "top_left_radioButton";
    bool clockwise = true;
    bool zigzag = false;
    bool portrait = false;
};

template <typename Control>
Control *control(const QWizard &wizard, int page, const char *name)
{
    QWizardPage *owner = wizard.page(page);
    return owner ? owner->findChild<Control *>(QString::fromLatin1(name)) : nullptr;
}

inline bool press(QWizard &wizard, QWizard::WizardButton which)
{
    QAbstractButton *button = wizard.button(which);
    if (!button->isVisible() || !button->isEnabled())
        return false;
    button->click();
    return true;
}

inline bool next(QWizard &wizard)
{
    return press(wizard, QWizard::NextButton);
}

inline bool back(QWizard &wizard)
{
    return press(wizard, QWizard::BackButton);
}

inline bool finish(QWizard &wizard)
{
    return press(wizard, QWizard::FinishButton);
}

inline void click(QWizard &wizard, int page, const char *name)
{
    if (auto *button = control<QAbstractButton>(wizard, page, name))
        button->click();
}

inline void choose_configuration(QWizard &wizard, int type)
{
    auto *combo = control<QComboBox>(wizard, kSelectModelPage, "configuration_list_comboBox");
    combo->setCurrentIndex(combo->findData(type));
}

// Answers the page shown now as |wall| says.
inline void answer_page(QWizard &wizard, const wall_description &wall)
{
    const bool overRs232 = wall.link == rs232_chain || wall.link == rs232_then_lan_chain;
    const int page = wizard.currentId();
    switch (page) {
    case kSelectModelPage:
        choose_configuration(wizard, wall.configuration_type);
        break;
    case kSizePage:
        control<QSpinBox>(wizard, page, "columns_spinBox")->setValue(wall.columns);
        control<QSpinBox>(wizard, page, "rows_spinBox")->setValue(wall.rows);
        break;
    case kFirstConnectionPage:
        click(wizard, page, overRs232 ? "rs232_radioButton" : "lan_radioButton");
        control<QComboBox>(wizard, page, "com_port_comboBox")->setCurrentIndex(wall.com_port);
        break;
    case kInterConnectionPage:
        switch (wall.link) {
        case lan_chain_direct:
        case lan_chain_translated:
            click(wizard, page, "intereconnect_via_LAN_daisychain_radioButton");
            break;
        case lan_then_rs232_chain:
            click(wizard, page, "intereconnect_via_RS232_daisychain_radioButton");
            break;
        default: {
            click(wizard, page, "intereconnect_via_separate_LAN_radioButton");
            auto *sameId = control<QAbstractButton>(wizard, page, "intereconnect_via_all_LAN_have_same_ID_checkBox");
            if (sameId->isChecked() != (wall.link == separate_lan_one_id))
                sameId->click();
        }
        }
        break;
    case kLANTranslateDirectSelectionPage:
        click(wizard, page,
              wall.link == lan_chain_translated ? "translate_translate_radioButton" : "translate_direct_radioButton");
        break;
    case kRS232InterconnectionSelectionPage:
        click(wizard, page,
              wall.link == rs232_chain ? "rs232_intereconnect_via_RS232_daisychain_radioButton"
                                       : "rs232_intereconnect_via_LAN_daisychain_radioButton");
        break;
    case kIPAddressSelectPage:
        control<QLineEdit>(wizard, page, "ip_address_lineEdit")->setText(wall.address);
        break;
    case kIDPage:
        control<QSpinBox>(wizard, page, "starting_id_spinBox")->setValue(wall.first_id);
        break;
    case kFirstDisplayPage:
        click(wizard, page, wall.corner);
        break;
    case kLayoutDirectionPage:
        click(wizard, page, wall.clockwise ? "clockwise_radioButton" : "anticlockwise_radioButton");
        click(wizard, page, wall.zigzag ? "zigzag_radioButton" : "scanline_radioButton");
        break;
    case kDisplayOrientationPage:
        click(wizard, page, wall.portrait ? "portrait_radioButton" : "landscape_radioButton");
        break;
    default:
        break;
    }
}

// From the page shown now to the summary page, answering each page and
// pressing Next. Returns the ids of the pages passed, "-" and the page
// where Next could not be pressed when it could not.
inline QString describe_wall(QWizard &wizard, const wall_description &wall)
{
    QStringList visited;
    for (int guard = 0; guard < kLayoutWizardPageCount && wizard.currentId() != kSummaryPage; ++guard) {
        visited << QString::number(wizard.currentId());
        answer_page(wizard, wall);
        if (!next(wizard))
            return visited.join(QLatin1Char('-')) + QStringLiteral(" stuck");
    }
    visited << QString::number(wizard.currentId());
    return visited.join(QLatin1Char('-'));
}

// Runs |steps| on the display layout wizard once it is shown modally. A
// wizard that the steps leave open (a failed check) is cancelled, so that
// the test goes on.
inline void when_wizard_opens(std::function<void(display_layout_wizard_advanced &)> steps, int attempts = 100)
{
    QTimer::singleShot(10, [steps, attempts]() {
        auto *wizard = qobject_cast<display_layout_wizard_advanced *>(QApplication::activeModalWidget());
        if (!wizard) {
            if (attempts > 0)
                when_wizard_opens(steps, attempts - 1);
            return;
        }
        steps(*wizard);
        if (wizard->isVisible())
            wizard->reject();
    });
}

} // namespace layout_wizard_driver
