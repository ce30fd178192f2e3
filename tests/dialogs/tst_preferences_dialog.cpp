#include "app/services/preferences.h"
#include "dialogs/KQ_Preferences_Dialog.h"
#include "dialogs/preference_rows.h"
#include "dialogs/preferences_speech.h"
#include "modal_answer.h"
#include "sensors/CSensor.h"
#include "sensors/CTargetSensor.h"
#include "tests/support/headless_controller.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTreeWidget>
#include <QtTest>

namespace {

// A speech engine with two voices per locale.
class fake_speech : public preferences_speech
{
public:
    QVector<QLocale> locales{QLocale(QLocale::English, QLocale::UnitedStates),
                             QLocale(QLocale::German, QLocale::Germany)};
    QLocale current = locales[0];
    int voice = 1;
    QStringList said;
    bool error = false;

    bool backend_error() const override { return error; }
    QVector<QLocale> available_locales() const override { return locales; }
    QLocale locale() const override { return current; }
    void set_locale(const QLocale &locale) override
    {
        current = locale;
        voice = 0;
        emit localeChanged(locale);
    }
    QStringList voice_texts() const override
    {
        const QString language = QLocale::languageToString(current.language());
        return {language + QStringLiteral(" A - Female - Adult"), language + QStringLiteral(" B - Male - Adult")};
    }
    int current_voice() const override { return voice; }
    void set_voice(int index) override { voice = index; }
    void say(const QString &text) override { said << text; }
};

QStringList row_controls()
{
    QStringList names;
    for (const preference_row &row : preference_rows())
        names << QLatin1String(row.control);
    return names;
}

} // namespace

class tst_preferences_dialog : public QObject
{
    Q_OBJECT

    std::unique_ptr<headless_controller> m_wall;
    fake_speech *m_speech = nullptr; // owned by the dialog that asked for it

    CPreferences &preferences() { return *m_wall->controller().getPreferences(); }

    template <class T> static T *child(QObject &dialog, const char *name)
    {
        T *found = dialog.findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

    static void press(QDialog &dialog, QDialogButtonBox::StandardButton which)
    {
        child<QDialogButtonBox>(dialog, "buttonBox")->button(which)->click();
    }

    // The value a row's control shows, as OK would store it.
    static QVariant shown(QObject &dialog, const preference_row &row)
    {
        switch (row.kind) {
        case preference_row::combo_data: {
            auto *combo = child<QComboBox>(dialog, row.control);
            return combo->currentIndex() < 0 ? QVariant() : combo->currentData();
        }
        case preference_row::button_group: {
            const int id = child<QButtonGroup>(dialog, row.control)->checkedId();
            return id < 0 ? QVariant() : QVariant(id);
        }
        case preference_row::check_box:
            return int(child<QCheckBox>(dialog, row.control)->isChecked());
        case preference_row::group_box_check:
            return int(child<QGroupBox>(dialog, row.control)->isChecked());
        }
        return QVariant();
    }

    static void choose(QObject &dialog, const preference_row &row, int value)
    {
        switch (row.kind) {
        case preference_row::combo_data: {
            auto *combo = child<QComboBox>(dialog, row.control);
            combo->setCurrentIndex(combo->findData(value));
            break;
        }
        case preference_row::button_group:
            child<QButtonGroup>(dialog, row.control)->button(value)->click();
            break;
        case preference_row::check_box:
            child<QCheckBox>(dialog, row.control)->setChecked(value != 0);
            break;
        case preference_row::group_box_check:
            child<QGroupBox>(dialog, row.control)->setChecked(value != 0);
            break;
        }
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void init()
    {
        m_wall = std::make_unique<headless_controller>();
        preferences().SetDefaults();
        m_speech = nullptr;
        set_preferences_speech_factory([this] {
            auto speech = std::make_unique<fake_speech>();
            m_speech = speech.get();
            return speech;
        });
    }

    void cleanup()
    {
        cancel_pending_modal_answers();
        set_preferences_speech_factory(nullptr);
        m_wall.reset();
    }

    // --- the rows, the tree and the enable rules without a window ---

    void rows_follow_the_store_order()
    {
        QCOMPARE(row_controls(),
                 (QStringList{"preferences_CalibrationSteps_comboBox", "preferences_KQEPictureModeNumber_comboBox",
                              "preferences_KQE_color_gamut_comboBox", "preferences_KQE_uniformity_comboBox",
                              "preferences_ProgrammableGammaNumber_comboBox", preference_groups::kLuminanceUnits,
                              preference_groups::kBrightnessControl, preference_groups::kBacklight,
                              "preferences_ExtendedLuminanceStabilizationTime_checkBox",
                              preference_groups::kCalibrationMethod, "preferences_AutoCheckForUpdates_checkBox",
                              "preferences_PlayVoicePromptAudio_checkBox",
                              "preferences_MeasureDisplaysAfterCalibration_checkBox",
                              "preferences_use_quillon_engine_checkBox", "preferences_auto_set_rtc_checkBox",
                              "preferences_text_to_speech_engine_use_groupBox"}));
    }

    void rows_store_only_what_controls_hold()
    {
        CPreferences &p = preferences();
        p.SetQuillonUniformity(7);
        p.SetBacklightType(2);
        // A control without a value leaves its preference alone ...
        store_preference_rows(p, [](const preference_row &) { return std::nullopt; });
        QCOMPARE(p.GetQuillonUniformity(), quint8(7));
        QCOMPARE(p.GetBacklightType(), quint8(2));
        // ... and one with a value stores it through its row.
        store_preference_rows(p, [](const preference_row &row) -> std::optional<int> {
            if (row.kind == preference_row::combo_data)
                return 3;
            return std::nullopt;
        });
        QCOMPARE(p.GetQuillonUniformity(), quint8(3));
        QCOMPARE(p.GetCalibrationSteps(), quint8(3));
        QCOMPARE(p.GetBacklightType(), quint8(2));
        QList<int> loaded;
        load_preference_rows(p, [&](const preference_row &, int value) { loaded << value; });
        QCOMPARE(loaded.size(), preference_rows().size());
        QCOMPARE(loaded.first(), 3);
    }

    void page_tree_from_paths()
    {
        const QVector<page_tree_node> nodes = build_page_tree(preference_page_paths());
        QCOMPARE(nodes.size(), 13);
        auto find = [&](const QString &text) {
            for (int i = 0; i < nodes.size(); ++i)
                if (nodes[i].text == text)
                    return i;
            return -1;
        };
        const int method = find(QStringLiteral("Calibration Method"));
        const int nonEngine = find(QStringLiteral("non-Quillon Engine"));
        QCOMPARE(nodes[method].page, 2);
        QCOMPARE(nodes[nonEngine].parent, method);
        QCOMPARE(nodes[find(QStringLiteral("Gamma Correction LUT"))].parent, nonEngine);
        QCOMPARE(nodes[find(QStringLiteral("Gamma Correction LUT"))].page, 4);
        QCOMPARE(nodes[find(QStringLiteral("Voice Prompts"))].page, 12);

        // A path below a parent no page names makes that parent with -1.
        const QVector<page_tree_node> deep = build_page_tree({QStringLiteral("A/B/C"), QStringLiteral("A")});
        QCOMPARE(deep.size(), 3);
        QCOMPARE(deep[0].page, 1);
        QCOMPARE(deep[1].page, -1);
        QCOMPARE(deep[2].page, 0);
        QCOMPARE(deep[2].parent, 1);
    }

    void enable_rules_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<bool>("engine");
        QTest::addColumn<bool>("usable");
        QTest::addColumn<bool>("prompts");
        QTest::addColumn<bool>("tables");
        QTest::addColumn<bool>("pages");
        QTest::addColumn<bool>("speech");
        QTest::newRow("tables, engine") << 0 << true << true << true << true << true << true;
        QTest::newRow("tables, no engine") << 0 << false << true << false << true << false << false;
        QTest::newRow("gains, engine") << 1 << true << false << true << false << false << false;
        QTest::newRow("gains, no engine") << 1 << false << true << true << false << false << true;
    }

    void enable_rules()
    {
        QFETCH(int, method);
        QFETCH(bool, engine);
        QFETCH(bool, usable);
        QFETCH(bool, prompts);
        const preferences_enabled enabled = preferences_enable_rules(method, engine, usable, prompts);
        QTEST(enabled.lookup_table_controls, "tables");
        QTEST(enabled.engine_pages, "pages");
        QTEST(enabled.speech_group, "speech");
    }

    // --- the dialog ---

    void every_row_loads_and_stores_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("chosen");
        QTest::newRow("steps") << "preferences_CalibrationSteps_comboBox" << 16 << 52;
        QTest::newRow("picture mode") << "preferences_KQEPictureModeNumber_comboBox" << 3 << 5;
        QTest::newRow("gamut") << "preferences_KQE_color_gamut_comboBox" << 6 << 0;
        QTest::newRow("uniformity") << "preferences_KQE_uniformity_comboBox" << 20 << 13;
        QTest::newRow("gamma table") << "preferences_ProgrammableGammaNumber_comboBox" << 2 << 3;
        QTest::newRow("units") << preference_groups::kLuminanceUnits << 1 << 0;
        QTest::newRow("brightness") << preference_groups::kBrightnessControl << 2 << 1;
        QTest::newRow("backlight") << preference_groups::kBacklight << 1 << 2;
        QTest::newRow("stabilisation") << "preferences_ExtendedLuminanceStabilizationTime_checkBox" << 1 << 0;
        QTest::newRow("method") << preference_groups::kCalibrationMethod << 1 << 0;
        QTest::newRow("updates") << "preferences_AutoCheckForUpdates_checkBox" << 0 << 1;
        QTest::newRow("prompts") << "preferences_PlayVoicePromptAudio_checkBox" << 0 << 1;
        QTest::newRow("measure after") << "preferences_MeasureDisplaysAfterCalibration_checkBox" << 1 << 0;
        QTest::newRow("engine") << "preferences_use_quillon_engine_checkBox" << 0 << 1;
        QTest::newRow("clock") << "preferences_auto_set_rtc_checkBox" << 0 << 1;
        QTest::newRow("speech") << "preferences_text_to_speech_engine_use_groupBox" << 0 << 1;
    }

    void every_row_loads_and_stores()
    {
        QFETCH(QString, control);
        QFETCH(int, stored);
        QFETCH(int, chosen);
        const preference_row *row = nullptr;
        for (const preference_row &r : preference_rows())
            if (control == QLatin1String(r.control))
                row = &r;
        QVERIFY(row);
        row->set(preferences(), stored);
        {
            KQ_Preferences_Dialog dialog;
            QCOMPARE(shown(dialog, *row), QVariant(stored));
            choose(dialog, *row, chosen);
            press(dialog, QDialogButtonBox::Cancel);
            QCOMPARE(row->get(preferences()), stored);
        }
        KQ_Preferences_Dialog dialog;
        choose(dialog, *row, chosen);
        press(dialog, QDialogButtonBox::Ok);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(row->get(preferences()), chosen);
        preferences().SetLuminanceUnits(0);
    }

    void untouched_ok_keeps_every_preference()
    {
        CPreferences &p = preferences();
        QList<int> before;
        load_preference_rows(p, [&](const preference_row &, int value) { before << value; });
        KQ_Preferences_Dialog dialog;
        press(dialog, QDialogButtonBox::Ok);
        QList<int> after;
        load_preference_rows(p, [&](const preference_row &, int value) { after << value; });
        QCOMPARE(after, before);
    }

    void unselectable_stored_values_survive_ok()
    {
        CPreferences &p = preferences();
        p.SetQuillonUniformity(7);
        p.SetCalibrationSteps(33);
        p.SetBacklightType(9);
        p.SetBrightnessControlMode(5);
        KQ_Preferences_Dialog dialog;
        QCOMPARE(child<QComboBox>(dialog, "preferences_KQE_uniformity_comboBox")->currentIndex(), -1);
        QCOMPARE(child<QButtonGroup>(dialog, preference_groups::kBacklight)->checkedId(), -1);
        press(dialog, QDialogButtonBox::Ok);
        QCOMPARE(p.GetQuillonUniformity(), quint8(7));
        QCOMPARE(p.GetCalibrationSteps(), quint8(33));
        QCOMPARE(p.GetBacklightType(), quint8(9));
        QCOMPARE(p.GetBrightnessControlMode(), quint8(5));
    }

    void stored_uniformity_shows_its_item()
    {
        preferences().SetQuillonUniformity(11);
        KQ_Preferences_Dialog dialog;
        QCOMPARE(child<QComboBox>(dialog, "preferences_KQE_uniformity_comboBox")->currentText(),
                 QStringLiteral("At least Level 1 (Default)"));
    }

    void defaults_then_cancel_keeps_defaults()
    {
        CPreferences &p = preferences();
        p.SetCalibrationSteps(8);
        p.SetQuillonColorGamut(4);
        p.SetAutoCheckForUpdates(false);
        KQ_Preferences_Dialog dialog;
        QString question;
        answer_message_box(QMessageBox::Yes, &question);
        child<QPushButton>(dialog, "preferences_Defaults_pushButton")->click();
        QCOMPARE(question, QStringLiteral("This will reset all Preferences to default values. Continue?"));
        QCOMPARE(p.GetCalibrationSteps(), quint8(32));
        QCOMPARE(child<QComboBox>(dialog, "preferences_CalibrationSteps_comboBox")->currentData().toInt(), 32);
        QCOMPARE(child<QComboBox>(dialog, "preferences_KQE_color_gamut_comboBox")->currentData().toInt(), 1);
        press(dialog, QDialogButtonBox::Cancel);
        QCOMPARE(p.GetCalibrationSteps(), quint8(32));
        QCOMPARE(p.GetQuillonColorGamut(), quint8(1));
        QVERIFY(p.GetAutoCheckForUpdates());
    }

    void defaults_declined_changes_nothing()
    {
        preferences().SetCalibrationSteps(8);
        KQ_Preferences_Dialog dialog;
        answer_message_box(QMessageBox::No);
        child<QPushButton>(dialog, "preferences_Defaults_pushButton")->click();
        QCOMPARE(preferences().GetCalibrationSteps(), quint8(8));
    }

    void rgb_gains_disable_table_and_engine_controls()
    {
        preferences().SetCalibrationMethod(1);
        preferences().SetUseQuillonEngine(true);
        KQ_Preferences_Dialog dialog;
        for (const char *name : {"preferences_CalibrationSteps_comboBox", "preferences_ProgrammableGammaNumber_comboBox",
                                 "kqe_settings_widget_1", "kqe_settings_widget_2", "kqe_settings_widget_3",
                                 "preferences_use_quillon_engine_checkBox", "preferences_quillon_engine_label"})
            QVERIFY2(!child<QWidget>(dialog, name)->isEnabled(), name);
        child<QAbstractButton>(dialog, "preferences_calibration_method_luts_radioButton")->click();
        for (const char *name : {"preferences_CalibrationSteps_comboBox", "kqe_settings_widget_2",
                                 "preferences_use_quillon_engine_checkBox", "preferences_quillon_engine_label"})
            QVERIFY2(child<QWidget>(dialog, name)->isEnabled(), name);
        child<QCheckBox>(dialog, "preferences_use_quillon_engine_checkBox")->setChecked(false);
        QVERIFY(!child<QWidget>(dialog, "kqe_settings_widget_1")->isEnabled());
        QVERIFY(child<QWidget>(dialog, "preferences_CalibrationSteps_comboBox")->isEnabled());
    }

    void speech_group_needs_a_usable_engine_and_prompts()
    {
        {
            KQ_Preferences_Dialog dialog;
            auto *group = child<QGroupBox>(dialog, "preferences_text_to_speech_engine_use_groupBox");
            QVERIFY(group->isEnabled());
            child<QCheckBox>(dialog, "preferences_PlayVoicePromptAudio_checkBox")->setChecked(false);
            QVERIFY(!group->isEnabled());
        }
        set_preferences_speech_factory([] {
            auto speech = std::make_unique<fake_speech>();
            speech->error = true;
            return speech;
        });
        KQ_Preferences_Dialog dialog;
        QVERIFY(!child<QGroupBox>(dialog, "preferences_text_to_speech_engine_use_groupBox")->isEnabled());
        QCOMPARE(child<QComboBox>(dialog, "preferences_text_to_speech_engine_language_comboBox")->count(), 0);
        child<QPushButton>(dialog, "preferences_text_to_speech_engine_test_pushButton")->click();
    }

    void speech_follows_choices_and_cancel_restores()
    {
        preferences().SetTextToSpeechLocale(QLocale(QLocale::English));
        preferences().SetTextToSpeechVoice(1);
        KQ_Preferences_Dialog dialog;
        QVERIFY(m_speech);
        auto *languages = child<QComboBox>(dialog, "preferences_text_to_speech_engine_language_comboBox");
        auto *voices = child<QComboBox>(dialog, "preferences_text_to_speech_engine_voicename_comboBox");
        QCOMPARE(languages->count(), 2);
        QCOMPARE(languages->itemText(1), QStringLiteral("German (Germany)"));
        QCOMPARE(voices->currentIndex(), 1);

        languages->setCurrentIndex(1);
        QCOMPARE(m_speech->current.language(), QLocale::German);
        QCOMPARE(voices->count(), 2);
        QCOMPARE(voices->itemText(0), QStringLiteral("German A - Female - Adult"));
        voices->setCurrentIndex(1);
        QCOMPARE(m_speech->voice, 1);
        child<QPushButton>(dialog, "preferences_text_to_speech_engine_test_pushButton")->click();
        QCOMPARE(m_speech->said, QStringList{QStringLiteral("This is a speech test. 1, 2, 3.")});

        languages->setCurrentIndex(0);
        voices->setCurrentIndex(0);
        press(dialog, QDialogButtonBox::Cancel);
        QCOMPARE(m_speech->current, QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(m_speech->voice, 1);
        QCOMPARE(preferences().GetTextToSpeechVoice(), quint8(1));
    }

    void speech_choice_is_stored_on_ok()
    {
        KQ_Preferences_Dialog dialog;
        child<QComboBox>(dialog, "preferences_text_to_speech_engine_language_comboBox")->setCurrentIndex(1);
        child<QComboBox>(dialog, "preferences_text_to_speech_engine_voicename_comboBox")->setCurrentIndex(1);
        press(dialog, QDialogButtonBox::Ok);
        QCOMPARE(preferences().GetTextToSpeechLocale().language(), QLocale::German);
        QCOMPARE(preferences().GetTextToSpeechVoice(), quint8(1));
    }

    void tree_selects_pages()
    {
        KQ_Preferences_Dialog dialog;
        auto *tree = child<QTreeWidget>(dialog, "treeWidget");
        auto *stack = child<QStackedWidget>(dialog, "stackedWidget");
        QCOMPARE(stack->currentIndex(), 0);
        QCOMPARE(tree->currentItem()->text(0), QStringLiteral("Color Sensor"));
        const QList<QTreeWidgetItem *> found = tree->findItems(QStringLiteral("Uniformity"),
                                                               Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(found.size(), 1);
        tree->setCurrentItem(found[0]);
        QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("kqe_uniformity"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Tessaline Preferences"));
        QCOMPARE(dialog.minimumHeight(), 500);
    }

    void sensor_kinds_not_offered_are_disabled()
    {
        KQ_Preferences_Dialog dialog;
        auto *combo = child<QComboBox>(dialog, "preferences_SensorType_comboBox");
        QCOMPARE(combo->count(), CTargetSensor::kKindCount);
        auto *model = qobject_cast<QStandardItemModel *>(combo->model());
        CTargetSensor *factory = m_wall->controller().getTargetSensor();
        for (int kind = 0; kind < combo->count(); ++kind) {
            QString name;
            bool offered = false;
            QVERIFY(factory->GetSensorTypeName(kind, name, offered));
            QCOMPARE(combo->itemText(kind), name);
            QCOMPARE(model->item(kind)->isEnabled(), offered);
        }
        QCOMPARE(child<QLabel>(dialog, "preferences_SensorModelName_label")->text(), QStringLiteral("N/A"));
    }

    void choosing_a_kind_opens_the_simulated_instrument()
    {
        m_wall.reset();
        m_wall = std::make_unique<headless_controller>(headless_controller::simulated_instruments);
        KQ_Preferences_Dialog dialog;
        auto *combo = child<QComboBox>(dialog, "preferences_SensorType_comboBox");
        combo->setCurrentIndex(combo->findData(3));
        CTargetSensor *factory = m_wall->controller().getTargetSensor();
        QCOMPARE(factory->GetSensorType(), 3);
        QVERIFY(factory->GetSensor());
        QCOMPARE(child<QLabel>(dialog, "preferences_SensorModelName_label")->text(), factory->GetSensor()->GetName());
        QVERIFY(!child<QLabel>(dialog, "label_sensor_icon")->pixmap(Qt::ReturnByValue).isNull());
        // Cancel does not put the sensor back.
        press(dialog, QDialogButtonBox::Cancel);
        QCOMPARE(factory->GetSensorType(), 3);
    }

    void auto_detect_finds_the_simulated_instrument()
    {
        m_wall.reset();
        m_wall = std::make_unique<headless_controller>(headless_controller::simulated_instruments);
        KQ_Preferences_Dialog dialog;
        auto *combo = child<QComboBox>(dialog, "preferences_SensorType_comboBox");
        combo->blockSignals(true);
        combo->setCurrentIndex(0);
        combo->blockSignals(false);
        child<QPushButton>(dialog, "preferences_SensorAutoDetect_pushButton")->click();
        CTargetSensor *factory = m_wall->controller().getTargetSensor();
        QVERIFY(factory->GetSensorType() != 0);
        QCOMPARE(combo->currentData().toInt(), factory->GetSensorType());
    }
};

QTEST_MAIN(tst_preferences_dialog)
#include "tst_preferences_dialog.moc"
