#pragma once

#include <QString>

// The program's build number: the update check compares it with the newest
// build the update service offers.
constexpr int kProgramBuildNumber = 210208;

// "Version 2.1.20 (Build 210208)", translated.
QString version_text();
