#pragma once
// Message loops for tests: everything taken from the queue is dispatched, so
// paints, timers and posted notifications run as in the application.
#include <windows.h>

#include <functional>

// Dispatches the messages waiting now.
void pumpMessages();
// Dispatches messages until done() holds, asking after every message; false
// when timeoutMs pass first or a quit message arrives.
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 60000);
void pumpFor(DWORD ms);
