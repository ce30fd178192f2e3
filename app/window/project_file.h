#pragma once

#include <QString>

class CMonitorTracker;
class CTargetValue;
class layout_manager;

// A project file (".tslw"): one data stream in the records' format holding
// three parts back to back and nothing else: the wall layout, the display
// records and the calibration target, each starting with its own magic and
// version. Backup copies are project files too.
namespace project_file {

enum code {
    kErrOpen = -1500,         // the file cannot be opened for reading
    kErrRead = -1503,         // a part is damaged or cut short
    kErrSave = -1505,         // the project could not be saved
    kBackupRestored = -1506,  // not a failure: says that a backup copy was opened
};

// Writes the three parts to |path| in one step: the file is replaced only
// when every part and the stream succeeded, else it stays as it was.
// 0, or the failing writer's or the file's code. Modified flags are left alone.
int write(const QString &path, const layout_manager &layout, const CMonitorTracker &records,
          const CTargetValue &target);

// Reads the parts in order into |layout|, |records| and |target|, stopping at
// the first that fails; the parts before it stay read. A part whose reader
// succeeded on a failed stream (cut short) counts as kErrRead. |layout_read|
// tells whether the layout part was read whole. 0, kErrOpen or the failing
// part's code.
int read(const QString &path, layout_manager &layout, CMonitorTracker &records, CTargetValue &target,
         bool *layout_read);

} // namespace project_file
