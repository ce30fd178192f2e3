#pragma once

#include <QStringList>

class CPreferences;
class voice_output;

// Where the shell services find the program's shared records before (and
// without) the application controller: the controller registers its model
// list and its voice output here, and the preferences record registers
// itself. Each accessor
// answers "none" (null or empty) while nothing is registered, which the
// services treat as "no preferences" / "no model list".
namespace shell_registry {

// The program's preferences record, or null. The first CPreferences alive
// claims the slot and releases it when it is destroyed; a claim while the
// slot is taken fails, so a temporary second record never stands in for the
// program's one. The pointer may be read from any thread, the record only
// on the user-interface thread: what worker threads need of it is published
// as atomic values (luminance_units.h, measurement_preferences.h).
CPreferences *preferences();
bool claim_preferences(CPreferences *preferences);
void release_preferences(CPreferences *preferences);

// The display model list read from the model table at start-up; |models|
// must outlive its registration (null withdraws it).
void register_model_list(const QStringList *models);
QStringList model_list();

// Where prompts and speech go; null withdraws a registration. Without one
// the voice prompts use a process-wide system output that has no speech
// engine (app/services/ui/voice_prompts.h).
void register_voice_output(voice_output *output);
voice_output *registered_voice_output();

} // namespace shell_registry
