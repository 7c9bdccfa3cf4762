#pragma once
// The help page: the executable's HTML resource 22100, with its pictures in the
// HTML resources 22101 to 22118, which the page names by number.
#include <functional>
#include <string>

// Opens a document or address with the shell's default verb; false when that
// fails, with the system's last error telling why.
using DocumentOpener = std::function<bool(const std::wstring& target)>;

// Opens the page's "res://" address. Current browsers no longer open such
// addresses; where that fails, the page and its pictures are written to a
// folder in the temporary folder and that copy is opened. Throws
// WindowException when neither can be opened.
void openHelp();

// Replaces the final opening step (tests); an empty opener restores the shell's.
void setDocumentOpener(DocumentOpener opener);

// Writes the page and its pictures into folder (created when missing) and
// returns the page's path; throws WindowException when a file cannot be written.
std::wstring writeHelpCopy(const std::wstring& folder);
