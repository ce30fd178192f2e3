#pragma once

class voice_output;

// Where recorded prompts and speech go. The controller registers the
// program's output; tests register one that records what it was asked to do.
namespace voice_registry {

// Null withdraws a registration.
void register_output(voice_output *output);
// The registered output; without one a process-wide system output that has
// no speech engine.
voice_output &output();

} // namespace voice_registry
