#pragma once

#include <QString>

// "Version 2.1.20 (Build 210208)", translated.
QString version_text();
