#include "dialogs/KQ_Preferences_Dialog.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "app/services/preferences.h"
#include "app/services/string_resource.h"
#include "app/services/ui/message_boxes.h"
#include "dialogs/dialog_strings.h"
#include "dialogs/preference_rows.h"
#include "dialogs/preferences_speech.h"
#include "sensors/CSensor.h"
#include "sensors/CTargetSensor.h"
#include "ui_KQ_Preferences_Dialog.h"

#include <QButtonGroup>
#include <QMutexLocker>
#include <QSignalBlocker>
#include <QStandardItemModel>

namespace {

constexpr int kPageRole = Qt::UserRole;

struct choice
{
    const char *text;
    int data;
};

void fill_combo(QComboBox *combo, const char *context, std::initializer_list<choice> choices)
{
    for (const choice &c : choices)
        combo->addItem(context ? QCoreApplication::translate(context, c.text) : KQ_Preferences_Dialog::tr(c.text),
                       c.data);
}

const char *kDarkTree =
    "QTreeView { background: black; show-decoration-selected: 1; outline: 0; }"
    "QTreeView::item { padding: 5px; }"
    "QTreeView::item:selected { color: black; }"
    "QTreeView::branch:has-siblings:!adjoins-item { border-image: url(:/images/Resources/tv-vertline_invert.png) 0; }";
const char *kLightTree =
    "QTreeView { background: white; show-decoration-selected: 1; outline: 0; }"
    "QTreeView::item { padding: 5px; }"
    "QTreeView::item:selected { color: white; }"
    "QTreeView::branch:has-siblings:!adjoins-item { border-image: url(:/images/Resources/tv-vertline.png) 0; }";
const char *kTreeHighlights =
    "QTreeView::item:hover { background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #e7effd, stop: 1 #cbdaf1); }"
    "QTreeView::item:selected { border: 1px solid #567dbc; }"
    "QTreeView::item:selected:active { background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #6ea1f1, stop: 1 #567dbc); }"
    "QTreeView::item:selected:!active { background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #6b9be8, stop: 1 #577fbf); }";

} // namespace

KQ_Preferences_Dialog::KQ_Preferences_Dialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::KQ_Preferences_DialogClass>())
{
    m_preferences = g_master ? g_master->getPreferences() : nullptr;
    ui->setupUi(this);
    ui->treeWidget->setHeaderLabel(tr("Preference Item"));
    ui->treeWidget->setMinimumWidth(300);

    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &KQ_Preferences_Dialog::onAccept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &KQ_Preferences_Dialog::onReject);
    connect(ui->preferences_SensorAutoDetect_pushButton, &QPushButton::clicked, this,
            &KQ_Preferences_Dialog::onSensorAutoDetect);
    connect(ui->preferences_SensorType_comboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &KQ_Preferences_Dialog::onSensorSelectionChanged);
    connect(ui->treeWidget, &QTreeWidget::currentItemChanged, this, &KQ_Preferences_Dialog::changePage);

    fill_sensor_list();
    fill_choice_lists();
    fill_languages();
    if (g_master && !g_master->hasEnglishSpeechLocale())
        ui->preferences_text_to_speech_engine_warning_label->setText(
            string_resource(dialog_strings::kSpeechLocaleNotInstalled));
    load_controls();
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    update_sensor_info();
    ui->stackedWidget->setCurrentIndex(2);
    ui->stackedWidget->setCurrentIndex(3);
    ui->stackedWidget->setCurrentIndex(0);
    build_page_tree();
    setMinimumHeight(500);
    update_graphics();
}

KQ_Preferences_Dialog::~KQ_Preferences_Dialog() = default;

void KQ_Preferences_Dialog::fill_sensor_list()
{
    CTargetSensor *factory = g_master ? g_master->getTargetSensor() : nullptr;
    if (!factory)
        return;
    QComboBox *combo = ui->preferences_SensorType_comboBox;
    const QSignalBlocker block(combo);
    auto *model = qobject_cast<QStandardItemModel *>(combo->model());
    QString name;
    bool offered = false;
    for (int kind = 0; factory->GetSensorTypeName(kind, name, offered); ++kind) {
        combo->addItem(name, kind);
        if (!offered && model)
            model->item(combo->count() - 1)->setEnabled(false);
    }
    combo->setCurrentIndex(combo->findData(factory->GetSensorType()));
}

QButtonGroup *KQ_Preferences_Dialog::make_group(const char *name, const QVector<QPair<QAbstractButton *, int>> &buttons)
{
    auto *group = new QButtonGroup(this);
    group->setObjectName(QLatin1String(name));
    for (const auto &button : buttons)
        group->addButton(button.first, button.second);
    return group;
}

void KQ_Preferences_Dialog::fill_choice_lists()
{
    fill_combo(ui->preferences_KQEPictureModeNumber_comboBox, "picture mode",
               {{"KQE-5", 5}, {"KQE-4", 4}, {"KQE-3", 3}, {"KQE-2", 2}, {"KQE-1", 1}});
    fill_combo(ui->preferences_CalibrationSteps_comboBox, nullptr,
               {{"52", 52}, {"32 (Default)", 32}, {"16", 16}, {"8", 8}});
    fill_combo(ui->preferences_KQE_color_gamut_comboBox, nullptr,
               {{"Native", 0}, {"sRGB (Default)", 1}, {"AdobeRGB", 2}, {"SMPTE-C", 3}, {"DCI P3", 4},
                {"EBU/ITU (PAL/SECAM)", 5}, {"BT.2020", 6}});
    fill_combo(ui->preferences_ProgrammableGammaNumber_comboBox, "programmable gamma #",
               {{"Programmable 3", 3}, {"Programmable 2", 2}, {"Programmable 1 (Default)", 1}});
    fill_combo(ui->preferences_KQE_uniformity_comboBox, nullptr,
               {{"Off", 0}, {"Level 1", 1}, {"Level 2", 2}, {"Level 3", 3}, {"Level 4", 4}, {"Level 5", 5},
                {"At least Level 1 (Default)", 11}, {"At least Level 2", 12}, {"At least Level 3", 13},
                {"At least Level 4", 14}, {"Don't change", 20}});

    make_group(preference_groups::kBrightnessControl, {{ui->preferences_Brightness_Control_Use_radioButton, 0},
                                                       {ui->preferences_Brightness_Control_Maximum_radioButton, 1},
                                                       {ui->preferences_Brightness_Control_Dont_Use_radioButton, 2}});
    make_group(preference_groups::kBacklight, {{ui->preferences_display_backlight_autoSelect_radioButton, 0},
                                               {ui->preferences_display_backlight_ccfl_radioButton, 1},
                                               {ui->preferences_display_backlight_led_radioButton, 2}});
    make_group(preference_groups::kLuminanceUnits, {{ui->preferences_LuminanceUnits_Candelas_radioButton, 0},
                                                    {ui->preferences_LuminanceUnits_FootLamberts_radioButton, 1}});
    make_group(preference_groups::kCalibrationMethod, {{ui->preferences_calibration_method_luts_radioButton, 0},
                                                       {ui->preferences_calibration_method_rgb_gains_radioButton, 1}});
}

void KQ_Preferences_Dialog::fill_languages()
{
    m_speech = make_preferences_speech();
    if (!m_speech || m_speech->backend_error()) {
        m_speech.reset();
        return;
    }
    m_speechUsable = true;
    m_initialLocale = m_speech->locale();
    m_initialVoice = m_speech->current_voice();
    QComboBox *languages = ui->preferences_text_to_speech_engine_language_comboBox;
    for (const QLocale &locale : m_speech->available_locales()) {
        languages->addItem(QStringLiteral("%1 (%2)").arg(QLocale::languageToString(locale.language()),
                                                         QLocale::countryToString(locale.country())),
                           locale);
        if (locale.name() == m_initialLocale.name())
            m_initialLocale = locale;
        localeChanged(m_initialLocale);
    }
    connect(languages, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &KQ_Preferences_Dialog::languageSelected);
    connect(m_speech.get(), &preferences_speech::localeChanged, this, &KQ_Preferences_Dialog::localeChanged);
}

void KQ_Preferences_Dialog::show_row(const preference_row &row, int value)
{
    switch (row.kind) {
    case preference_row::combo_data: {
        auto *combo = findChild<QComboBox *>(QLatin1String(row.control));
        combo->setCurrentIndex(combo->findData(value));
        break;
    }
    case preference_row::button_group: {
        auto *group = findChild<QButtonGroup *>(QLatin1String(row.control));
        if (QAbstractButton *button = group->button(value)) {
            button->click();
        } else if (QAbstractButton *checked = group->checkedButton()) {
            // No button for the stored value: none stays checked, so OK keeps it.
            group->setExclusive(false);
            checked->setChecked(false);
            group->setExclusive(true);
        }
        break;
    }
    case preference_row::check_box:
        findChild<QCheckBox *>(QLatin1String(row.control))->setChecked(value != 0);
        break;
    case preference_row::group_box_check:
        findChild<QGroupBox *>(QLatin1String(row.control))->setChecked(value != 0);
        break;
    }
}

std::optional<int> KQ_Preferences_Dialog::read_row(const preference_row &row) const
{
    switch (row.kind) {
    case preference_row::combo_data: {
        const auto *combo = findChild<QComboBox *>(QLatin1String(row.control));
        if (combo->currentIndex() < 0)
            return std::nullopt;
        return combo->currentData().toInt();
    }
    case preference_row::button_group: {
        const int id = findChild<QButtonGroup *>(QLatin1String(row.control))->checkedId();
        if (id < 0)
            return std::nullopt;
        return id;
    }
    case preference_row::check_box:
        return findChild<QCheckBox *>(QLatin1String(row.control))->isChecked() ? 1 : 0;
    case preference_row::group_box_check:
        return findChild<QGroupBox *>(QLatin1String(row.control))->isChecked() ? 1 : 0;
    }
    return std::nullopt;
}

void KQ_Preferences_Dialog::load_controls()
{
    if (!m_preferences)
        return;
    load_preference_rows(*m_preferences, [this](const preference_row &row, int value) { show_row(row, value); });
    QComboBox *languages = ui->preferences_text_to_speech_engine_language_comboBox;
    const int language = languages->findData(m_preferences->GetTextToSpeechLocale());
    languages->setCurrentIndex(language >= 0 ? language : 0);
    QComboBox *voices = ui->preferences_text_to_speech_engine_voicename_comboBox;
    const int voice = m_preferences->GetTextToSpeechVoice();
    voices->setCurrentIndex(voice < voices->count() ? voice : 0);
    update_controls_enabled();
}

void KQ_Preferences_Dialog::build_page_tree()
{
    QVector<QTreeWidgetItem *> items;
    for (const page_tree_node &node : ::build_page_tree(preference_page_paths())) {
        const QString text = QCoreApplication::translate("preferences menu list item", node.text.toUtf8().constData());
        auto *item = node.parent < 0 ? new QTreeWidgetItem(ui->treeWidget, QStringList(text))
                                     : new QTreeWidgetItem(items[node.parent], QStringList(text));
        item->setData(0, kPageRole, node.page);
        items.append(item);
        if (node.page >= 0 && node.page == ui->stackedWidget->currentIndex())
            ui->treeWidget->setCurrentItem(item);
    }
    ui->treeWidget->expandAll();
}

void KQ_Preferences_Dialog::update_controls_enabled()
{
    const int method = ui->preferences_calibration_method_rgb_gains_radioButton->isChecked() ? 1 : 0;
    const preferences_enabled enabled =
        preferences_enable_rules(method, ui->preferences_use_quillon_engine_checkBox->isChecked(), m_speechUsable,
                                 ui->preferences_PlayVoicePromptAudio_checkBox->isChecked());
    for (QWidget *w : {static_cast<QWidget *>(ui->preferences_CalibrationSteps_comboBox),
                       static_cast<QWidget *>(ui->preferences_grayscale_steps_label),
                       static_cast<QWidget *>(ui->preferences_ProgrammableGammaNumber_comboBox),
                       static_cast<QWidget *>(ui->preferences_ProgrammableGammaNumber_label)})
        w->setEnabled(enabled.lookup_table_controls);
    for (QWidget *w : {ui->kqe_settings_widget_1, ui->kqe_settings_widget_2, ui->kqe_settings_widget_3})
        w->setEnabled(enabled.engine_pages);
    ui->preferences_text_to_speech_engine_use_groupBox->setEnabled(enabled.speech_group);
}

void KQ_Preferences_Dialog::update_sensor_info()
{
    QString name = tr("N/A");
    QString serial = tr("N/A");
    QString picture;
    if (CTargetSensor *factory = g_master ? g_master->getTargetSensor() : nullptr) {
        QMutexLocker lock(&factory->DriverMutex());
        CSensor *sensor = factory->GetSensor();
        if (sensor && sensor->IsOpen()) {
            name = sensor->GetName();
            serial = sensor->GetSerialNumber();
            SensorPlacementInfo info;
            sensor->GetPlacementInfo(info);
            picture = info.iconPicture;
        }
    }
    ui->label_sensor_icon->setPixmap(picture.isEmpty() ? QPixmap() : QPixmap(picture));
    ui->preferences_SensorModelName_label->setText(name);
    ui->preferences_SensorSerialNumber_label->setText(serial);
}

void KQ_Preferences_Dialog::changePage(QTreeWidgetItem *current, QTreeWidgetItem *previous)
{
    QTreeWidgetItem *item = current ? current : previous;
    if (!item)
        return;
    const int page = item->data(0, kPageRole).toInt();
    if (page >= 0)
        ui->stackedWidget->setCurrentIndex(page);
}

void KQ_Preferences_Dialog::on_preferences_calibration_method_rgb_gains_radioButton_toggled(bool)
{
    update_controls_enabled();
}

void KQ_Preferences_Dialog::on_preferences_calibration_method_luts_radioButton_toggled(bool)
{
    update_controls_enabled();
}

void KQ_Preferences_Dialog::on_preferences_use_quillon_engine_checkBox_toggled(bool)
{
    update_controls_enabled();
}

void KQ_Preferences_Dialog::on_preferences_PlayVoicePromptAudio_checkBox_toggled(bool)
{
    update_controls_enabled();
}

void KQ_Preferences_Dialog::onSensorSelectionChanged(int)
{
    if (CTargetSensor *factory = g_master ? g_master->getTargetSensor() : nullptr)
        factory->SetSensorType(ui->preferences_SensorType_comboBox->currentData().toInt());
    update_sensor_info();
}

void KQ_Preferences_Dialog::onSensorAutoDetect()
{
    CTargetSensor *factory = g_master ? g_master->getTargetSensor() : nullptr;
    if (!factory)
        return;
    QComboBox *combo = ui->preferences_SensorType_comboBox;
    const QSignalBlocker block(combo);
    if (factory->SetSensorType(combo->currentData().toInt()) != 0) {
        factory->DetectSensor();
        combo->setCurrentIndex(combo->findData(factory->GetSensorType()));
    }
    update_sensor_info();
}

void KQ_Preferences_Dialog::onAccept()
{
    if (!m_preferences)
        return;
    store_preference_rows(*m_preferences, [this](const preference_row &row) { return read_row(row); });
    const QComboBox *languages = ui->preferences_text_to_speech_engine_language_comboBox;
    if (languages->currentIndex() >= 0)
        m_preferences->SetTextToSpeechLocale(QLocale(languages->currentData().toLocale().language()));
    const int voice = ui->preferences_text_to_speech_engine_voicename_comboBox->currentIndex();
    m_preferences->SetTextToSpeechVoice(static_cast<quint8>(voice < 0 ? 0 : voice));
}

void KQ_Preferences_Dialog::onReject()
{
    if (!m_speech)
        return;
    m_speech->set_locale(m_initialLocale);
    m_speech->set_voice(m_initialVoice);
}

void KQ_Preferences_Dialog::on_preferences_Defaults_pushButton_clicked()
{
    if (!m_preferences)
        return;
    const int answer = show_message_box(this, string_resource(dialog_strings::kResetAllPreferences), nullptr,
                                        QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::Question,
                                        false, false);
    if (answer != QMessageBox::Yes)
        return;
    m_preferences->SetDefaults();
    m_preferences->SetDefaultsRestored(true);
    if (g_master && !g_master->hasEnglishSpeechLocale())
        m_preferences->SetUseTextToSpeechEngine(false);
    load_controls();
}

void KQ_Preferences_Dialog::languageSelected(int index)
{
    if (m_speech)
        m_speech->set_locale(ui->preferences_text_to_speech_engine_language_comboBox->itemData(index).toLocale());
}

void KQ_Preferences_Dialog::localeChanged(const QLocale &locale)
{
    if (!m_speech)
        return;
    QComboBox *languages = ui->preferences_text_to_speech_engine_language_comboBox;
    {
        const QSignalBlocker block(languages);
        languages->setCurrentIndex(languages->findData(locale));
    }
    QComboBox *voices = ui->preferences_text_to_speech_engine_voicename_comboBox;
    disconnect(voices, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &KQ_Preferences_Dialog::voiceSelected);
    voices->clear();
    voices->addItems(m_speech->voice_texts());
    voices->setCurrentIndex(m_speech->current_voice());
    connect(voices, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &KQ_Preferences_Dialog::voiceSelected);
}

void KQ_Preferences_Dialog::voiceSelected(int index)
{
    if (m_speech)
        m_speech->set_voice(index);
}

void KQ_Preferences_Dialog::on_preferences_text_to_speech_engine_test_pushButton_clicked()
{
    if (m_speech)
        m_speech->say(QCoreApplication::translate("text to speech test text", "This is a speech test. 1, 2, 3."));
}

void KQ_Preferences_Dialog::update_graphics()
{
    const bool dark = palette().color(QPalette::Window).lightnessF() < 0.5;
    ui->treeWidget->setStyleSheet(QLatin1String(dark ? kDarkTree : kLightTree) + QLatin1String(kTreeHighlights));
    for (QLabel *logo : {ui->kqe_logo_label, ui->kqe_logo_label2, ui->kqe_logo_label3})
        logo->setPixmap(QPixmap(QStringLiteral(":/images/Resources/about_box_logo_3.png")));
}

bool KQ_Preferences_Dialog::event(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        update_graphics();
    return QDialog::event(event);
}

void KQ_Preferences_Dialog::showEvent(QShowEvent *)
{
    // Left empty on purpose: the dialog stays where the window system puts it.
}
