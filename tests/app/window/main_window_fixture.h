#pragma once

#include "app/services/file_dialogs.h"
#include "app/services/held_keys.h"
#include "app/services/preferences.h"
#include "app/window/Tessaline.h"
#include "app/window/shutdown_marker.h"
#include "tests/support/headless_controller.h"

#include <QCoreApplication>
#include <QList>

#include <memory>

// The main window on a headless controller in a home of its own: its
// preferences, projects, backups and settings store are temporary, the
// automatic update check is off and every file dialog is answered from
// a script (an empty answer cancels). Waits run at time scale 0.
class main_window_fixture
{
public:
    explicit main_window_fixture(
        headless_controller::instrument_libraries libraries = headless_controller::no_instruments)
        : m_wall(libraries)
    {
        QCoreApplication::setOrganizationName(QStringLiteral("VARKEL"));
        QCoreApplication::setApplicationName(QStringLiteral("Tessaline"));
        m_wall.controller().getPreferences()->SetAutoCheckForUpdates(false);
        set_file_dialog_answerer([this](const file_dialog_request &request) {
            m_dialogs.append(request);
            return m_fileAnswers.isEmpty() ? QString() : m_fileAnswers.takeFirst();
        });
    }
    ~main_window_fixture()
    {
        m_window.reset();
        set_file_dialog_answerer({});
        set_held_keyboard_modifiers_source({});
    }

    headless_controller &wall() { return m_wall; }
    CPreferences &preferences() { return *m_wall.controller().getPreferences(); }

    Tessaline &window()
    {
        if (!m_window)
            m_window = std::make_unique<Tessaline>();
        return *m_window;
    }
    // Destroys the window as the controller's shutdown does.
    void close_window() { m_window.reset(); }
    Tessaline &new_window()
    {
        m_window.reset();
        return window();
    }

    // The next file dialog's answer; an empty one cancels.
    void answer_file_dialog(const QString &path) { m_fileAnswers.append(path); }
    const QList<file_dialog_request> &file_dialogs() const { return m_dialogs; }

    void hold_shift(bool held)
    {
        set_held_keyboard_modifiers_source(
            [held] { return held ? Qt::KeyboardModifiers(Qt::ShiftModifier) : Qt::KeyboardModifiers(); });
    }

    QString projects_folder() const
    {
        return m_wall.documents_folder() + QStringLiteral("/Varkel/Tessaline/Projects/");
    }
    QString backups_folder() const { return projects_folder() + QStringLiteral("backups/"); }

private:
    headless_controller m_wall;
    std::unique_ptr<Tessaline> m_window;
    QStringList m_fileAnswers;
    QList<file_dialog_request> m_dialogs;
};
