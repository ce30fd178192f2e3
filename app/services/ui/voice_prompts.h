#pragma once

#include <QString>

// Recorded voice prompts, played from .wav files beside the program, and
// spoken texts. Both honour the preferences' voice prompt switch and never
// wait for the sound to end.
enum voice_prompt_kind {
    kVoicePromptError = 0,          // "an error has occurred"
    kVoicePromptPlaceSensor = 1,    // "place color sensor on flashing display"
    kVoicePromptRemoveSensor = 2,   // "remove the color sensor from the display"
};

// "/an error has occurred.wav" and its companions; empty for another kind.
QString voice_prompt_file_name(int kind);

// 0 when the prompt plays or prompts are switched off, -1 (after a beep)
// when its file is missing, -2 for an unknown kind.
int play_voice_prompt(int kind);
// The same, with the prompt files looked up in |folder|.
int play_voice_prompt_from(const QString &folder, int kind);

// Says |text| unless the preferences switch prompts off; -1 when the speech
// engine is in its error state, else 0.
int speak_text(const QString &text);
