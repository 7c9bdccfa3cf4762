#pragma once
// Numeric ids of the executable's resources, shared by the resource script and
// the code. Text ids are the numbers of resources/texts.txt.

#define IDI_APPLICATION_ICON 294
