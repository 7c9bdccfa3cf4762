#pragma once
// Windows only: the viewer's form of the sound warning, a message box without
// owner, caption 5005, warning icon, always shown by the thread that installed
// it (readers on other threads post their warning to it). Called at start-up
// on the interface thread.
void installSoundWarningBox();
