// Program entry: start-up, main window, message loop.
#include <windows.h>

#include "app/main_window.h"
#include "app/shell_hooks.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int) {
    startUp(commandLine);
    installModules();
    if (!previous && !registerWindowClasses(instance))
        return 0;
    if (!createMainWindow(instance))
        return 0;
    runMessageLoop();
    ExitProcess(0);
    return 0;
}
