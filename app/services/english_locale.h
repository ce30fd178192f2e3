#pragma once

#include <QLocale>

// English without a country: the speech default and the fixed locale of
// texts that must not follow the operator's locale.
QLocale english_locale();
