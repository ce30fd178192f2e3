#pragma once

#include "app/controller/layout_manager.h"
#include "app/window/project_file.h"
#include "colour/CMonitorTracker.h"
#include "colour/CTargetValue.h"

#include <QString>

// A project's three parts apart from any controller, to write project files
// for a test or read back what the program wrote.
struct project_parts
{
    CMonitorTracker records;
    layout_manager layout{&records, nullptr};
    CTargetValue target;

    // A LAN wall of |columns| x |rows| displays.
    void create_wall(int columns, int rows)
    {
        layout.create_layout(columns, rows, 1, 0, QStringLiteral("127.0.0.1"), display_layout_item::kLan, true, true,
                             false, true, display_layout_item::kLandscape);
    }
    int write(const QString &path) const { return project_file::write(path, layout, records, target); }
    int read(const QString &path)
    {
        bool layoutRead = false;
        return project_file::read(path, layout, records, target, &layoutRead);
    }
};
