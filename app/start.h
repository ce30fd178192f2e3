#pragma once

class MasterControl;

// Starts the user interface on a constructed controller: the splash, the
// display model list, the job pool, the main window (shown once start-up
// completes), the sensor detection, the splash timer and the speech engine.
void start(MasterControl &controller);
