#pragma once
// Subcommands of the command-line tool register themselves here, one file each.
#include <string>
#include <vector>

struct Command {
    const char* name;   // e.g. "info"
    const char* usage;  // e.g. "info [--frames] FILE"
    // Arguments after the command name; returns the process exit code.
    int (*run)(const std::vector<std::wstring>& arguments);
};

// Called from a static initialiser in each command's file.
bool registerCommand(const Command& command);
const std::vector<Command>& commands();

// Prints "orvelle: PATH: text" (UTF-8) to standard error, naming what failed;
// returns exit code 1.
int fail(const std::wstring& path, const std::wstring& text);
// Prints the usage line of the named command to standard error; returns 2.
int usageError(const char* name);
