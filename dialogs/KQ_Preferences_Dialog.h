#pragma once

#include <QDialog>
#include <QLocale>

#include <memory>
#include <optional>

class CPreferences;
class QAbstractButton;
class QButtonGroup;
class QTreeWidgetItem;
class preferences_speech;
struct preference_row;

namespace Ui {
class KQ_Preferences_DialogClass;
}

// The program's preferences, page by page. The record is written on OK
// (and at once by Defaults); the sensor choice opens the instrument live;
// the speech engine follows the operator's language and voice and is put
// back by Cancel.
class KQ_Preferences_Dialog : public QDialog
{
    Q_OBJECT

public:
    explicit KQ_Preferences_Dialog(QWidget *parent = nullptr);
    ~KQ_Preferences_Dialog() override;

    bool event(QEvent *event) override;

public slots:
    void changePage(QTreeWidgetItem *current, QTreeWidgetItem *previous);
    void on_preferences_calibration_method_rgb_gains_radioButton_toggled(bool checked);
    void on_preferences_calibration_method_luts_radioButton_toggled(bool checked);
    void onSensorAutoDetect();
    void onAccept();
    void onReject();
    void on_preferences_Defaults_pushButton_clicked();
    void onSensorSelectionChanged(int index);
    void on_preferences_use_quillon_engine_checkBox_toggled(bool checked);
    void update_graphics();
    void voiceSelected(int index);
    void languageSelected(int index);
    void localeChanged(const QLocale &locale);
    void on_preferences_text_to_speech_engine_test_pushButton_clicked();
    void on_preferences_PlayVoicePromptAudio_checkBox_toggled(bool checked);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void update_controls_enabled();
    void update_sensor_info();
    void fill_sensor_list();
    void fill_choice_lists();
    void fill_languages();
    void load_controls();
    void build_page_tree();
    QButtonGroup *make_group(const char *name, const QVector<QPair<QAbstractButton *, int>> &buttons);
    void show_row(const preference_row &row, int value);
    std::optional<int> read_row(const preference_row &row) const;

    std::unique_ptr<Ui::KQ_Preferences_DialogClass> ui;
    CPreferences *m_preferences = nullptr;
    std::unique_ptr<preferences_speech> m_speech;
    bool m_speechUsable = false;
    QLocale m_initialLocale;
    int m_initialVoice = -1;
};
