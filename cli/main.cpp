// orvelle: looks inside recorder archives, card folders and settings files and
// prints what it finds as JSON, for users and for tests.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "ProductVersion.h"
#include "cli/Command.h"
#include "platform/Utf8.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace {

std::vector<Command>& registry() {
    static std::vector<Command> list;
    return list;
}

std::vector<std::wstring> wideArguments(int argc, char** argv) {
    std::vector<std::wstring> arguments;
#ifdef _WIN32
    (void)argv;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 0; i < count && wide; ++i) arguments.emplace_back(wide[i]);
    LocalFree(wide);
    (void)argc;
#else
    for (int i = 0; i < argc; ++i) arguments.push_back(fromUtf8(argv[i]));
#endif
    return arguments;
}

void writeUsage(std::FILE* out) {
    std::fputs("usage: orvelle COMMAND ...\n", out);
    for (const Command& command : registry()) std::fprintf(out, "  orvelle %s\n", command.usage);
    std::fputs("  orvelle COMMAND --help\n", out);
}

// Asked for: standard output and success. After a mistake: standard error.
int printUsage() {
    writeUsage(stderr);
    return 2;
}

int printHelp() {
    writeUsage(stdout);
    return 0;
}

bool isHelp(const std::wstring& argument) {
    return argument == L"--help" || argument == L"-h";
}

bool asksForHelp(const std::vector<std::wstring>& arguments) {
    for (const std::wstring& argument : arguments) {
        if (isHelp(argument)) return true;
    }
    return false;
}

}  // namespace

bool registerCommand(const Command& command) {
    registry().push_back(command);
    return true;
}

const std::vector<Command>& commands() { return registry(); }

int fail(const std::wstring& path, const std::wstring& text) {
    std::cerr << "orvelle: " << toUtf8(path) << ": " << toUtf8(text) << std::endl;
    return 1;
}

int usageError(const char* name) {
    for (const Command& command : registry()) {
        if (std::strcmp(command.name, name) == 0) std::fprintf(stderr, "usage: orvelle %s\n", command.usage);
    }
    return 2;
}

int main(int argc, char** argv) {
    std::vector<std::wstring> arguments = wideArguments(argc, argv);
    if (arguments.size() < 2) return printUsage();
    const std::string name = toUtf8(arguments[1]);
    if (isHelp(arguments[1])) return printHelp();
    if (name == "--version") {
        std::printf("orvelle %s\n", ORVELLE_VERSION_TEXT);
        return 0;
    }
    for (const Command& command : registry()) {
        if (name == command.name) {
            const std::vector<std::wstring> rest(arguments.begin() + 2, arguments.end());
            if (asksForHelp(rest)) {
                std::printf("usage: orvelle %s\n", command.usage);
                return 0;
            }
            return command.run(std::vector<std::wstring>(arguments.begin() + 2, arguments.end()));
        }
    }
    return printUsage();
}
