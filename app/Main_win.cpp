// Process entry of OrvelleViewer.exe.
#include <windows.h>

#include "app/Application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    return startApplication(instance, showCommand);
}
