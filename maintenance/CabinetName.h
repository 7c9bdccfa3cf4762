#pragma once
// A file name as a cabinet stores it, made into a path below the folder it is
// extracted to. Cabinets come from outside the program, so a name may try to
// reach out of that folder; such a name is refused rather than cleaned up.
#include <string>

// The name as a relative path with the platform's separator ('\' and '/' both
// separate in a cabinet). False, with relative untouched, when the name is empty
// or absolute, holds a colon (a drive or a stream), a control character, an empty
// component, a component of dots only (once the trailing dots and spaces that
// Windows drops are gone) or a device name such as CON, NUL or COM1. utf8 tells
// the cabinet's UTF-8 names from those in the system's ANSI code page; the check runs
// on the converted text, where a double-byte character cannot pass for a '\'.
bool cabinetNameToRelativePath(const std::string& name, bool utf8, std::wstring& relative);
