// What the SQL Server dialogs share while open: the session on the explorer's connection, the
// one-open-dialog-per-kind slot, and the control helpers their handlers use. Windows build only.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

#include "admin/mssql_dialogs.h"
#include "admin/mssql_session.h"

struct SqlServerDialogState;
using SqlServerHandler = INT_PTR (*)(HWND, SqlServerDialogState&, UINT, WPARAM, LPARAM);

struct SqlServerDialogState {
    SqlServerDialogState(SqlServerDialog kind,
                         SqlHdbc connection,
                         HWND owner,
                         SqlServerHandler handler,
                         OdbcBinding& binding);
    // Frees the kind's slot when this dialog held it, whichever way the dialog ended.
    ~SqlServerDialogState();
    SqlServerDialogState(const SqlServerDialogState&) = delete;
    SqlServerDialogState& operator=(const SqlServerDialogState&) = delete;

    SqlServerDialog kind;
    SqlHdbc connection;
    SqlServerSession session;
    SqlServerHandler handler;
    bool holdsSlot = false;
};

// The dialog of `kind` open now, or null.
const SqlServerDialogState* openSqlServerDialogOf(SqlServerDialog kind);

// Each dialog's own handler.
INT_PTR handleDetach(HWND dialog, SqlServerDialogState& state, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR handleShrink(HWND dialog, SqlServerDialogState& state, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR handleForAttach(HWND dialog, SqlServerDialogState& state, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR handleAttach(HWND dialog, SqlServerDialogState& state, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR handleBackup(HWND dialog, SqlServerDialogState& state, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR handleRestore(HWND dialog, SqlServerDialogState& state, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR handleRepair(HWND dialog, SqlServerDialogState& state, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR handleLogins(HWND dialog, SqlServerDialogState& state, UINT message, WPARAM wParam, LPARAM lParam);

// Fills combo `id` with `query`'s names and selects the first.
void fillNameCombo(HWND dialog, SqlServerDialogState& state, int id, const char* query);
// False, after "The parameters are filled in!", when any of the texts is blank.
bool parametersFilled(std::initializer_list<std::string> texts);
// A message box with caption "Message", or "Warning".
void messageBox(HWND dialog, const std::string& text);
void warningMessage(HWND dialog, const std::string& text);
// An edit's text, read up to `limit` characters.
std::string fieldText(HWND dialog, int id, int limit = 259);
// The "?" button of edit `editId`: a file dialog starting in the edit's folder (the current one
// when the edit is blank); a chosen path replaces the text and the edit gets the focus.
void pickFile(HWND dialog, int editId, const char* title, const char* filter, bool save);
