#pragma once

// The system's message sounds. Every beep is also counted, so tests can tell which sound a
// window played.
namespace platform {

namespace Beep {
constexpr int Default = 0;
constexpr int Hand = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Asterisk = 64;
} // namespace Beep

void MessageBeep(int type); // one of Beep::...

int BeepCount();    // beeps since the start or ResetBeeps()
int LastBeepType(); // type of the last beep; -1 when none
void ResetBeeps();

} // namespace platform
