#pragma once
// The recorder's program files, carried by the executable as one cabinet
// (resource "BINARY" 309), unpacked onto a card (Windows only).
#include <string>

// Unpacks the embedded cabinet through a temporary copy in "C:\Temp" into the
// card's folder: every file hidden, read-only and dated as in the cabinet. A
// failure leaves none of the cabinet's files and no temporary copy behind.
// Throws WindowException when the executable carries no cabinet, Exception 5006
// when its bytes cannot be had, and the IOException of makeTempFileName or of
// the extraction (5040, 5027 to 5039, 5041).
void extractProgramFiles(const std::wstring& cardPath);

// True when the executable carries a cabinet that can be read: the resource is
// there and opens with a cabinet's header. Nothing thrown. The restore asks it
// before any question, so a build without the recorder's programs never starts
// to change a card that it cannot finish.
bool hasProgramFiles();

// A new, empty, uniquely named file "cab????.tmp" in "C:\Temp" (the folder is
// created when missing). Throws IOException 5026 when none can be made.
std::wstring makeTempFileName();
