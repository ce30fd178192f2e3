#pragma once

// What the control panel dialog tests share: a wall of simulated LAN
// displays on this process's loopback block behind the headless controller,
// the frames of a write, and guards against a modal window left open.
#include "app/controller/MasterControl.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/wait_service.h"
#include "resources/tessaline_resources.h"
#include "simulator/loopback_block.h"
#include "simulator/simulated_wall.h"
#include "tests/support/headless_controller.h"

#include <QApplication>
#include <QHostAddress>
#include <QLabel>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QtTest>

#include <functional>

namespace control_panel_fixture {

// Hosts 1.. of this process's loopback block; the last is never listened on.
constexpr int kFirstHost = 11;
constexpr int kSilentHost = 99;
constexpr qint64 kAnsweringDisplayFloorMs = 2000;

inline QByteArray hex4(int value)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(4, '0');
}
inline QByteArray write_body(int code, int value)
{
    return hex4(code) + hex4(value);
}

// Set-parameter bodies of |code| among |frames|, optionally of one display.
inline QList<QByteArray> writes_of(const QList<sim_log_entry> &frames, int code, char display = 0)
{
    QList<QByteArray> out;
    for (const sim_log_entry &e : frames) {
        if (e.type == 'E' && e.body.startsWith(hex4(code)) && (display == 0 || e.answered_by == display))
            out << e.body;
    }
    return out;
}

// A wall of |columns| × |rows| LAN displays (one row of |count|), each on
// the host and with the monitor ID its layout item gives, the first at host
// kFirstHost with monitor ID 1; each is simulated as a model with the
// control panel's controls. displays and ids follow the layout's indexes.
struct panel_wall
{
    explicit panel_wall(int count) : panel_wall(count, 1) {}
    panel_wall(int columns, int rows)
        : links(controller.controller().getMonitor(), &basic_monitor::com_port_changed)
    {
        controller.create_wall(columns, rows, loopback_block::address(kFirstHost));
        display_layout_item item;
        for (int i = 0; controller.layout().get_item(i, item) == 0; ++i) {
            const int host = static_cast<int>(QHostAddress(item.connection_address).toIPv4Address() & 0xFF);
            add(host, char(basic_monitor::kMonitorIdBase + item.monitor_id));
        }
    }

    // A display on |host| (a new endpoint, or the chain already there).
    int add(int host, char id)
    {
        if (!endpoints.contains(host))
            endpoints.insert(host, sim.add_lan_endpoint(loopback_block::address(host)));
        const int display = sim.add_display(endpoints.value(host), id);
        sim.with_display(display, [](sim_display &d) { d.apply_model("VW-5530Q"); });
        displays << display;
        ids << id;
        ok = ok && endpoints.value(host) >= 0 && display >= 0;
        return display;
    }

    void set_item(int index, const std::function<void(display_layout_item &)> &change)
    {
        display_layout_item item;
        QCOMPARE(controller.layout().get_item(index, item), 0);
        change(item);
        QCOMPARE(controller.layout().set_item(index, item, false), 0);
    }

    basic_monitor &monitor() { return *controller.controller().getMonitor(); }
    // The shared link was last switched to a display, or to the null link.
    bool link_open() const { return !links.isEmpty() && !links.last().at(0).toString().isEmpty(); }
    bool link_released() const { return !links.isEmpty() && links.last().at(0).toString().isEmpty(); }

    simulated_wall sim;
    headless_controller controller;
    QSignalSpy links;
    QMap<int, int> endpoints;
    QList<int> displays;
    QList<char> ids;   // monitor IDs, as the frame log's answered_by
    bool ok = true;
};

template <typename Widget>
Widget *child(QWidget &dialog, const char *name)
{
    auto *widget = dialog.findChild<Widget *>(QLatin1String(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

inline QTreeWidgetItem *tree_item(QTreeWidget *tree, int page)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toInt() == page)
            return *it;
    }
    return nullptr;
}

// Shows stack page |page| through the page tree, as the operator does.
inline void show_page(QWidget &dialog, int page)
{
    auto *tree = child<QTreeWidget>(dialog, "treeWidget");
    tree->setCurrentItem(tree_item(tree, page));
}

inline QString status_line(QWidget &dialog)
{
    return child<QLabel>(dialog, "status_label")->text();
}

// A change made straight into a simulated display's state (a fault, a
// garbled value), for data-driven tests.
using display_change = std::function<void(sim_display &)>;

// What every dialog test case starts from: the resources, this process's
// loopback block, |time_scale| for the waits and reply waits that displays
// which answer always meet.
inline bool prepare_panel_test_case()
{
    tessaline_init_resources();
    return !loopback_block::address(kFirstHost).isEmpty();
}
inline void prepare_panel_test(double time_scale)
{
    wait_service::set_time_scale(time_scale);
    wait_service::set_io_timeout_floor_ms(kAnsweringDisplayFloorMs);
}

// Closes a modal window left open past |ms|, so that a fault fails the test
// instead of hanging it.
struct modal_watchdog
{
    explicit modal_watchdog(int ms)
    {
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                ++closed;
                modal->close();
            }
        });
        timer.start(ms);
    }
    QTimer timer;
    int closed = 0;
};

} // namespace control_panel_fixture

Q_DECLARE_METATYPE(control_panel_fixture::display_change)

using namespace control_panel_fixture;
