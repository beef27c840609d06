// Where each module plugs its windows and commands into the shell, one line per module.
#include "app/shell_hooks.h"

#include "browse/browse_view.h"

ShellHooks& shellHooks() {
    static ShellHooks hooks;
    return hooks;
}

void installModules() {
    shellHooks().tableWindowProc = gridWindowProc;
}
