#pragma once

#include <functional>

class CMonitorTracker;
class QObject;

// Runs |refresh| when |records| change: at once for a record stored on
// |context|'s thread; the records the display jobs store from their own
// threads, dozens at a time on a large wall, are gathered into one call once
// that thread has taken in every report waiting. Ends with |context|.
void follow_stored_records(CMonitorTracker &records, QObject *context, std::function<void()> refresh);
