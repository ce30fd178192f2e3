#include "app/services/english_locale.h"

QLocale english_locale()
{
    return QLocale(QLocale::English, QLocale::AnyCountry);
}
