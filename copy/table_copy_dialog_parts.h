// What the two table copy dialogs share: the type lists, the destination list, the run under
// PROGRESS2 and the offer of the error log. Windows build only.
#pragma once

#include <windows.h>

#include <string>

#include "base/progress.h"
#include "copy/output_types.h"
#include "odbc/odbc_types.h"

// The state both dialogs keep while open.
struct CopyDialogState {
    SqlHdbc source = nullptr;
    std::string sourceName;
    TypeMapping mapping = identityTypeMapping();
    ProgressJob job;
    bool running = false;
    HWND dialog = nullptr;
};

// Empties and fills the mapping list (115) with the identity mapping and the field type list (116).
void fillTypeLists(HWND dialog, CopyDialogState& state);
// The double click in 116: the selected mapping row now writes the selected field type. False when
// either list has no selection.
bool changeMapping(HWND dialog, CopyDialogState& state);
struct CopyTableTarget;

// Fills the destination list (113) with `first` (when not null) and the data sources, none when the
// commander's `target` is a folder. Selects the target's data source when the list holds it (the
// case and the surrounding blanks aside), otherwise entry 0: a list without a selection copies nothing.
void fillDestinations(HWND dialog, const char* first, const CopyTableTarget* target = nullptr);
// Closes the dialog with `result`, or, while a copy runs, asks the copy to stop instead: ending the
// dialog would pull it out from under the copy's loop.
void closeUnlessCopying(HWND dialog, CopyDialogState& state, INT_PTR result);
// Runs `run` under PROGRESS2 titled "Table copy ...", with the dialog's inputs disabled meanwhile.
void runCopyJob(HWND dialog, CopyDialogState& state, int (*run)(ProgressJob*), const int* inputs, int inputCount);
// Opens the error log in Notepad; "Can't load the notepad.exe." when it does not start.
void openErrorLog(const std::string& path);
// Marks a dialog's state as the one whose copy may run, for tableCopyRunning.
void registerCopyDialog(CopyDialogState* state);
void unregisterCopyDialog(CopyDialogState* state);
