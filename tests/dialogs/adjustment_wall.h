#pragma once

#include "app/controller/MasterControl.h"
#include "app/controller/layout_manager.h"
#include "colour/CAdjustValue.h"
#include "colour/CMonitorTracker.h"
#include "colour/monitor_tracker_item.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/wait_service.h"
#include "simulator/loopback_block.h"
#include "tests/jobs/wall_task_fixture.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <memory>

// The adjustment dialogs' world: the controller without a window, a pool
// of real display workers, and a row of simulated displays of one model,
// display i on address i + 1 of this process's loopback block with monitor
// ID 1, verified in the layout as |model| with serial "SN<i>". The shared
// link's port changes are recorded, to tell whether a dialog let it go.
struct adjustment_wall
{
    static constexpr qint64 kAnsweringDisplayFloorMs = 2000;

    adjustment_wall(int count, const QByteArray &model) : model(model)
    {
        wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs);
        if (!f.ready())
            return;
        for (int i = 0; i < count; ++i)
            displays << f.add_display(model);
        if (displays.contains(-1))
            return;
        // Jobs find a display's record by what the display says it is.
        for (int i = 0; i < count; ++i)
            f.wall().with_display(displays.at(i), [i](sim_display &d) { d.serial_number = serial(i).toLatin1(); });
        lay_out();
        links = std::make_unique<QSignalSpy>(&monitor(), &basic_monitor::com_port_changed);
        ok = true;
    }

    // The layout of the displays, verified; again after something (a new
    // main window) replaced it.
    void lay_out()
    {
        f.controller().create_wall(displays.size(), 1, loopback_block::address(1));
        for (int i = 0; i < displays.size(); ++i) {
            display_layout_item item;
            layout().get_item(i, item);
            item.monitor_id = 1;
            layout().set_item(i, item, false);
            layout().update_display_model_info_status_item(i, QString::fromLatin1(model), serial(i),
                                                           display_layout_item::kVerified);
        }
    }

    static QString serial(int index) { return QStringLiteral("SN%1").arg(index); }

    void store(int index, CAdjustValue record)
    {
        display_layout_item item;
        layout().get_item(index, item);
        monitor_tracker_item stored(item.model_name, item.serial_number);
        static_cast<CAdjustValue &>(stored) = record;
        records().SetAdjustValue(stored);
    }
    CAdjustValue record(int index)
    {
        display_layout_item item;
        layout().get_item(index, item);
        monitor_tracker_item found(item.model_name, item.serial_number);
        records().GetAdjustValue(found);
        return found;
    }
    int stored_count() { return records().GetCount(); }

    template <typename F>
    auto on_display(int index, F &&change)
    {
        return f.wall().with_display(displays.at(index), std::forward<F>(change));
    }
    int control(int index, int code) { return f.control(displays.at(index), code); }
    QList<int> writes(int index, int code) const { return f.writes(displays.at(index), code); }
    QList<QByteArray> frames(int index) const { return f.frames(displays.at(index)); }
    void clear_log() { f.wall().clear_log(); }

    // The shared link was last switched to the null link (or never opened).
    bool link_released() const { return !links || links->isEmpty() || links->last().at(0).toString().isEmpty(); }

    layout_manager &layout() { return f.controller().layout(); }
    CMonitorTracker &records() { return f.controller().records(); }
    basic_monitor &monitor() { return *f.controller().controller().getMonitor(); }

    QByteArray model;
    wall_task_fixture f;
    QList<int> displays;
    std::unique_ptr<QSignalSpy> links;
    bool ok = false;
};

// Closes a modal window left open past |ms| (real time), so that a fault
// fails the test instead of hanging it.
struct modal_watchdog
{
    explicit modal_watchdog(int ms)
    {
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            while (QWidget *modal = QApplication::activeModalWidget()) {
                ++closed;
                qWarning("closing a modal window left open: %s %s", modal->metaObject()->className(),
                         qPrintable(modal->windowTitle()));
                modal->close();
                if (modal == QApplication::activeModalWidget())
                    break;
            }
        });
        timer.start(ms);
    }
    QTimer timer;
    int closed = 0;
};
