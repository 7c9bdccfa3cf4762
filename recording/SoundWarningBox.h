#pragma once
// Windows only: the viewer's form of the sound warning, a message box without
// owner, caption 5005, warning icon. Called once at start-up.
void installSoundWarningBox();
