#pragma once
// The user text for a Win32 error code (Windows only).
#include "app/Exception.h"

// The system's own text for code (default language, line end kept), or text
// 5070 with the code when the system has none. The caller throws the result.
WindowException makeWindowException(unsigned long code);
