// "MSSQL_DETACH", "MSSQL_SHRINK", "MSSQL_FORATTACH", "MSSQL_ATTACH", "MSSQL_BACKUP" and
// "MSSQL_RESTORE": one statement each on a database, with their pickers and messages.
#include "admin/mssql_dialog_state.h"
#include "admin/mssql_sql.h"
#include "base/ui.h"
#include "resources/resource.h"

namespace {

const char kMdfFilter[] = "MDF files\0*.MDF\0All files\0*.*\0";
const char kLdfFilter[] = "LDF files\0*.LDF\0All files\0*.*\0";

bool isRun(UINT message, WPARAM wParam) {
    return message == WM_COMMAND && LOWORD(wParam) == IDC_MSSQL_RUN;
}

// Runs `text`; success shows `done` and ends the dialog, failure shows `failed` and it stays.
void runAndReport(HWND dialog,
                  SqlServerDialogState& state,
                  const std::string& text,
                  const char* failed,
                  const std::string& done) {
    if (!sql::succeeded(state.session.run(text))) {
        warningMessage(dialog, failed);
        return;
    }
    messageBox(dialog, done);
    EndDialog(dialog, 1);
}

// The detach and shrink dialogs: a database list and one statement.
INT_PTR handleOneDatabase(HWND dialog,
                          SqlServerDialogState& state,
                          UINT message,
                          WPARAM wParam,
                          std::string (*build)(const std::string&),
                          const char* failed,
                          const char* done) {
    if (message == WM_INITDIALOG) {
        fillNameCombo(dialog, state, IDC_MSSQL_DATABASE, kDatabaseListQuery);
        SetFocus(GetDlgItem(dialog, IDC_MSSQL_DATABASE));
        return FALSE;  // the focus is set
    }
    if (!isRun(message, wParam))
        return FALSE;
    std::string database = comboSelectedText(dialog, IDC_MSSQL_DATABASE);
    if (parametersFilled({database}))
        runAndReport(dialog, state, build(database), failed, done + database);
    return TRUE;
}

// The attach dialogs: a name and two files, each file with its picker.
INT_PTR handleFiles(HWND dialog,
                    SqlServerDialogState& state,
                    UINT message,
                    WPARAM wParam,
                    std::string (*build)(const std::string&, const std::string&, const std::string&),
                    const char* failed,
                    const char* done) {
    if (message == WM_INITDIALOG) {
        for (int id : {IDC_MSSQL_DATABASE, IDC_MSSQL_FIELD2, IDC_MSSQL_FIELD3})
            SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, 260, 0);
        addTooltip(dialog, IDC_MSSQL_PICK2, "MDF file selection...");
        addTooltip(dialog, IDC_MSSQL_PICK3, "LDF file selection...");
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
        case IDC_MSSQL_PICK2:
            pickFile(dialog, IDC_MSSQL_FIELD2, "MDF file selection", kMdfFilter, false);
            return TRUE;
        case IDC_MSSQL_PICK3:
            pickFile(dialog, IDC_MSSQL_FIELD3, "LDF file selection", kLdfFilter, false);
            return TRUE;
        case IDC_MSSQL_RUN: {
            std::string name = fieldText(dialog, IDC_MSSQL_DATABASE);
            std::string mdf = fieldText(dialog, IDC_MSSQL_FIELD2);
            std::string ldf = fieldText(dialog, IDC_MSSQL_FIELD3);
            if (parametersFilled({name, mdf, ldf}))
                runAndReport(dialog, state, build(name, mdf, ldf), failed, done + name);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

// The backup's description and file name follow the chosen database.
void proposeBackup(HWND dialog) {
    std::string database = comboSelectedText(dialog, IDC_MSSQL_DATABASE);
    SYSTEMTIME today;
    GetLocalTime(&today);
    setItemText(dialog, IDC_MSSQL_FIELD2, database.c_str());
    setItemText(dialog, IDC_MSSQL_FIELD3, backupFileName(database, today.wYear, today.wMonth, today.wDay).c_str());
}

}  // namespace

INT_PTR handleDetach(HWND dialog, SqlServerDialogState& state, UINT message, WPARAM wParam, LPARAM) {
    return handleOneDatabase(dialog, state, message, wParam, detachSql, "Disconnecting the database fails!",
                             "Successful separation of the database : ");
}

INT_PTR handleShrink(HWND dialog, SqlServerDialogState& state, UINT message, WPARAM wParam, LPARAM) {
    return handleOneDatabase(dialog, state, message, wParam, shrinkSql, "The shrink database failed!",
                             "The shrink database is finished : ");
}

INT_PTR handleForAttach(HWND dialog, SqlServerDialogState& state, UINT message, WPARAM wParam, LPARAM) {
    return handleFiles(dialog, state, message, wParam, forAttachSql, "Failed to create the database!",
                       "The database created successfully : ");
}

INT_PTR handleAttach(HWND dialog, SqlServerDialogState& state, UINT message, WPARAM wParam, LPARAM) {
    return handleFiles(dialog, state, message, wParam, attachSql, "Attach database failed!",
                       "Attach the database successfully : ");
}

INT_PTR handleBackup(HWND dialog, SqlServerDialogState& state, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        SendDlgItemMessageA(dialog, IDC_MSSQL_FIELD2, EM_LIMITTEXT, 260, 0);
        SendDlgItemMessageA(dialog, IDC_MSSQL_FIELD3, EM_LIMITTEXT, 260, 0);
        addTooltip(dialog, IDC_MSSQL_PICK3, "Select file...");
        fillNameCombo(dialog, state, IDC_MSSQL_DATABASE, kDatabaseListQuery);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
        case IDC_MSSQL_DATABASE:
            if (HIWORD(wParam) == CBN_SELCHANGE)
                proposeBackup(dialog);
            return HIWORD(wParam) == CBN_SELCHANGE;
        case IDC_MSSQL_PICK3:
            pickFile(dialog, IDC_MSSQL_FIELD3, nullptr, nullptr, true);
            return TRUE;
        case IDC_MSSQL_RUN: {
            std::string database = comboSelectedText(dialog, IDC_MSSQL_DATABASE);
            std::string file = fieldText(dialog, IDC_MSSQL_FIELD3);
            std::string description = fieldText(dialog, IDC_MSSQL_FIELD2);
            if (parametersFilled({database, file, description}))
                runAndReport(dialog, state, backupSql(database, file, description), "The database backup failed!",
                             "The database backup is finished : " + database + " - " + file);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

INT_PTR handleRestore(HWND dialog, SqlServerDialogState& state, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        SendDlgItemMessageA(dialog, IDC_MSSQL_FIELD3, EM_LIMITTEXT, 260, 0);
        addTooltip(dialog, IDC_MSSQL_PICK3, "Select file...");
        fillNameCombo(dialog, state, IDC_MSSQL_DATABASE, kDatabaseListQuery);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
        case IDC_MSSQL_PICK3:
            pickFile(dialog, IDC_MSSQL_FIELD3, nullptr, nullptr, true);
            return TRUE;
        case IDC_MSSQL_RUN: {
            std::string database = comboSelectedText(dialog, IDC_MSSQL_DATABASE);
            std::string file = fieldText(dialog, IDC_MSSQL_FIELD3);
            if (!parametersFilled({database, file}))
                return TRUE;
            // REPLACE overwrites the database: the user sees the statement first.
            std::string text = restoreSql(database, file);
            if (MessageBoxA(dialog, text.c_str(), "Are you sure?", MB_YESNO | MB_ICONQUESTION) != IDYES)
                return TRUE;
            runAndReport(dialog, state, text, "The restore fails!",
                         "The restore is finished : " + database + " - " + file);
            return TRUE;
        }
        default:
            return FALSE;
    }
}
