// Where each module plugs its windows and commands into the shell, one line per module.
#include "app/shell_hooks.h"

#include "app/table_window.h"
#include "browse/browse_commands.h"
#include "browse/browse_view.h"
#include "browse/command_support.h"
#include "browse/structure_dialog.h"
#include "browse/table_window.h"
#include "copy/commander.h"
#include "odbc/explorer_window.h"
#include "odbc/sql_editor.h"
#include "picture/picture_viewer.h"
#include "print/preview.h"

ShellHooks& shellHooks() {
    static ShellHooks hooks;
    return hooks;
}

void installModules() {
    ShellHooks& hooks = shellHooks();
    hooks.tableWindowProc = gridWindowProc;
    hooks.openTable = openTableFile;
    hooks.closeTable = closeTableFile;
    hooks.createTableWindow = createTableWindow;
    setTableWindowClosedHandler(releaseTableWindow);
    hooks.createTable = showCreateTableDialog;
    setTableOpener(openTableWindow);
    // The ODBC explorer.
    hooks.openExplorer = openExplorer;
    // The commander.
    hooks.openCommander = openCommander;
    // INSERT scripts from result grids and table windows.
    setInsertScriptWriter(saveAsInsertScript);
    hooks.emfWindowProc = emfWindowProc;
    // The picture viewer, for picture files on the command line.
    hooks.openPictureViewer = showPictureViewer;
}
