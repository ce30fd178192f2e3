#pragma once

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "colour/CAdjustValue.h"
#include "tests/app/recording_voice_output.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <memory>

class CMonitorTracker;

// The application controller as the program builds it, without start-up's
// window, splash or detection thread, for tests of everything above it. It
// lives in a home folder of its own (so its documents folder and
// preferences file are temporary), looks for instruments in an empty folder
// unless asked for the simulated ones, runs waits at time scale 0, and sends
// prompts and speech to a recording voice output. g_master points at it for
// its lifetime. Construct it after the test's core application.
//
//   headless_controller wall;
//   wall.create_wall(3, 2);
//   wall.store_record(0, wall.measured_record(...));
class headless_controller
{
public:
    enum instrument_libraries { no_instruments, simulated_instruments };

    explicit headless_controller(instrument_libraries libraries = no_instruments);
    ~headless_controller();
    headless_controller(const headless_controller &) = delete;
    headless_controller &operator=(const headless_controller &) = delete;

    MasterControl &controller() { return *m_controller; }
    layout_manager &layout() { return *m_controller->getLayoutManager(); }
    CMonitorTracker &records() { return *m_controller->getMonitorTracker(); }
    recording_voice_output &voice() { return *m_voice; }

    QString home_folder() const;
    // <home>/Documents: the preferences, projects and backups go below it.
    QString documents_folder() const;
    // The simulated instrument libraries of the build.
    static QString simulated_instrument_folder();

    // Destroys the controller now (its preferences file is written), for
    // tests of what shutdown leaves behind; the accessors are unusable after.
    void shut_down();

    // A LAN wall numbered row by row from the top left, monitor IDs from 1,
    // one address per display from |first_address| upward. Fails the test
    // for an invalid size.
    void create_wall(int columns, int rows, const QString &first_address = QStringLiteral("127.0.0.1"));
    // Identifies the display at |index| (verified, as |model| / |serial|)
    // and stores |record| in the record store under that key.
    void store_record(int index, const CAdjustValue &record, const QString &model = QStringLiteral("P555"),
                      const QString &serial = QString());
    // A record whose native primaries and white are measured: the white is
    // the sum of the primaries (a display without a white error).
    static CAdjustValue measured_record(const CCIEXYZ &red, const CCIEXYZ &green, const CCIEXYZ &blue);
    static CAdjustValue measured_record(const CCIEXYZ &red, const CCIEXYZ &green, const CCIEXYZ &blue,
                                        const CCIEXYZ &white);

private:
    void setEnvironment(const char *name, const QByteArray &value);

    QTemporaryDir m_root;
    QList<QPair<QByteArray, QByteArray>> m_savedEnvironment; // name, previous value ("\0" unset)
    double m_savedTimeScale;
    std::unique_ptr<recording_voice_output> m_voice;
    std::unique_ptr<MasterControl> m_controller;
};
