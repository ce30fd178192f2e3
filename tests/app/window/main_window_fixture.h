#pragma once

#include "app/services/held_keys.h"
#include "app/services/preferences.h"
#include "app/services/ui/file_dialogs.h"
#include "app/window/Tessaline.h"
#include "app/window/introduction_choices.h"
#include "app/window/shutdown_marker.h"
#include "tests/support/headless_controller.h"
#include "tests/support/modal_box_answerer.h"

#include <QCoreApplication>
#include <QList>

#include <memory>

// The main window on a headless controller in a home of its own: its
// preferences, projects, backups and settings store are temporary, the
// automatic update check is off, the start-up introduction is suppressed
// unless asked for, and every file dialog is answered from
// a script (an empty answer cancels). Waits run at time scale 0. The window
// belongs to the controller, as in the program. A message box that the test
// leaves unanswered for seconds is closed with a warning instead of hanging.
class main_window_fixture
{
public:
    enum introduction { no_introduction, with_introduction };

    explicit main_window_fixture(
        headless_controller::instrument_libraries libraries = headless_controller::no_instruments,
        introduction shown = no_introduction)
        : m_wall(libraries), m_unansweredBoxes({}, kPatienceMs)
    {
        QCoreApplication::setOrganizationName(QStringLiteral("VARKEL"));
        QCoreApplication::setApplicationName(QStringLiteral("Tessaline"));
        m_wall.controller().getPreferences()->SetAutoCheckForUpdates(false);
        if (shown == no_introduction)
            m_wall.controller().getPreferences()->SuppressMessage(kIntroductionMessageId);
        set_file_dialog_answerer([this](const file_dialog_request &request) {
            m_dialogs.append(request);
            return m_fileAnswers.isEmpty() ? QString() : m_fileAnswers.takeFirst();
        });
    }
    ~main_window_fixture()
    {
        close_window();
        set_file_dialog_answerer({});
        set_held_keyboard_modifiers_source({});
    }

    headless_controller &wall() { return m_wall; }
    CPreferences &preferences() { return *m_wall.controller().getPreferences(); }

    Tessaline &window()
    {
        if (!m_window) {
            auto window = std::make_unique<Tessaline>();
            m_window = window.get();
            m_wall.controller().setMainWindow(std::move(window));
        }
        return *m_window;
    }
    // Destroys the window as the controller's shutdown does.
    void close_window()
    {
        m_window = nullptr;
        m_wall.controller().setMainWindow(nullptr);
    }
    Tessaline &new_window()
    {
        close_window();
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
    static constexpr int kPatienceMs = 3000;

    headless_controller m_wall;
    modal_box_answerer m_unansweredBoxes;
    Tessaline *m_window = nullptr;
    QStringList m_fileAnswers;
    QList<file_dialog_request> m_dialogs;
};
