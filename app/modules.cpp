// Where each module plugs its windows and commands into the shell, one line per module.
#include "app/shell_hooks.h"

ShellHooks& shellHooks() {
    static ShellHooks hooks;
    return hooks;
}

void installModules() {}
