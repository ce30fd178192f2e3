#pragma once

class QString;

// The display backlight code for |model|: 0 (CCFL) or 3 (LED), from the
// preferences' backlight type; on automatic choice 0 for the models of the
// program's model list and 3 for the rest. 0 without preferences.
int backlight_type_for_model(const QString &model);
