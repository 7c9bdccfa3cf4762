#pragma once
// Message loops for tests: everything peeked is dispatched, so paints and
// timers run as in the application.
#include <windows.h>

#include <functional>

// Dispatches messages until done() holds or timeoutMs have passed; false on time-out or quit.
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
void pumpFor(DWORD ms);
