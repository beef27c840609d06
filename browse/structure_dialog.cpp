// DBCREATE: the field list of a new table or of a table window's table. "&Create" writes a new
// table; "M&odify str." copies the records into the new structure and swaps the files.
#include "browse/structure_dialog.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/bound_dialog.h"
#include "base/find.h"
#include "base/ui.h"
#include "browse/browse_commands.h"
#include "browse/command_support.h"
#include "browse/data_source.h"
#include "browse/table_job.h"
#include "dbf/dbf.h"
#include "dbf/restructure.h"
#include "dbf/table_swap.h"
#include "resources/resource.h"

namespace {

const char* const kTypeNames[] = {"Character", "Numeric", "Date", "Logical", "Memo"};
constexpr int kTypeCount = 5;

// Create and modify share the one dialog: while it is open for either, neither opens again, since
// modifying a table the create dialog is about to overwrite (or the other way round) loses one.
HWND g_structureDialog = nullptr;

struct Row {
    std::string name;
    std::string type;  // type name as the drop-down shows it
    std::string length;
    std::string decimals;
};

struct StructureState {
    BrowseView* view = nullptr;  // null: create a new table
    std::vector<Row> rows;
};

HWND listOf(HWND dialog) {
    return GetDlgItem(dialog, IDC_CREATE_LIST);
}

void addColumn(HWND list, int index, const char* title, int width, int format) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(title);
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void setCell(HWND list, int row, int column, const std::string& text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void showRow(HWND list, int index, const Row& row, bool insert) {
    if (insert) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.pszText = const_cast<char*>(row.name.c_str());
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    setCell(list, index, 0, row.name);
    setCell(list, index, 1, row.type);
    setCell(list, index, 2, row.length);
    setCell(list, index, 3, row.decimals);
}

std::string typeNameFor(char letter) {
    for (const char* name : kTypeNames) {
        if (name[0] == letter)
            return name;
    }
    return std::string();
}

int findRow(const StructureState& state, const std::string& name) {
    for (size_t i = 0; i < state.rows.size(); ++i) {
        if (state.rows[i].name == name)
            return static_cast<int>(i);
    }
    return -1;
}

void initDialog(HWND dialog, StructureState& state) {
    HWND list = listOf(dialog);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    addColumn(list, 0, "Field name", 90, LVCFMT_LEFT);
    addColumn(list, 1, "Type", 80, LVCFMT_LEFT);
    addColumn(list, 2, "Len", 40, LVCFMT_RIGHT);
    addColumn(list, 3, "Dec.", 40, LVCFMT_RIGHT);
    for (const char* name : kTypeNames)
        SendDlgItemMessageA(dialog, IDC_CREATE_TYPE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendDlgItemMessageA(dialog, IDC_CREATE_TYPE, CB_SETCURSEL, 0, 0);
    SendDlgItemMessageA(dialog, IDC_CREATE_NAME, EM_LIMITTEXT, 10, 0);
    SendDlgItemMessageA(dialog, IDC_CREATE_LENGTH, EM_LIMITTEXT, 3, 0);
    SendDlgItemMessageA(dialog, IDC_CREATE_DECIMALS, EM_LIMITTEXT, 1, 0);
    SetDlgItemTextA(dialog, IDC_CREATE_LENGTH, "10");
    SetDlgItemTextA(dialog, IDC_CREATE_DECIMALS, "0");
    SendDlgItemMessageA(dialog, IDC_CREATE_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    if (state.view && state.view->table) {
        dbf& table = *state.view->table;
        for (int i = 0; i < table.fieldCount(); ++i) {
            const FieldInfo* info = table.fieldInfo(i);
            Row row{info->name, typeNameFor(info->type), std::to_string(info->width),
                    std::to_string(info->decimals % 10)};
            state.rows.push_back(row);
            showRow(list, i, row, true);
        }
        enableItem(dialog, IDC_CREATE_SELECT, false);
        SetDlgItemTextA(dialog, IDC_CREATE_CREATE, "M&odify str.");
        SetDlgItemTextA(dialog, IDC_CREATE_FILE, state.view->title);
        // The table is changed where it is: its name is not the user's to edit here.
        SendDlgItemMessageA(dialog, IDC_CREATE_FILE, EM_SETREADONLY, TRUE, 0);
        char caption[200];
        snprintf(caption, sizeof caption, "Modify stucture : %s", state.view->title);
        SetWindowTextA(dialog, caption);
    }
    SetFocus(GetDlgItem(dialog, IDC_CREATE_NAME));
}

// "&Append" and "&Modify": the row from the edits, after the name check and the size corrections.
void appendOrModify(HWND dialog, StructureState& state, bool append) {
    char name[129] = "";
    GetDlgItemTextA(dialog, IDC_CREATE_NAME, name, sizeof name);
    if (!name[0]) {
        warningBox("Empty field name!");
        return;
    }
    if (!isValidFieldName(name)) {
        warningBox("Bad field name!");
        return;
    }
    int index = findRow(state, name);
    if (append ? index >= 0 : index < 0)
        return;
    Row row;
    row.name = name;
    if (SendDlgItemMessageA(dialog, IDC_CREATE_TYPE, CB_GETCURSEL, 0, 0) == CB_ERR)
        SendDlgItemMessageA(dialog, IDC_CREATE_TYPE, CB_SETCURSEL, 0, 0);
    else
        row.type = comboSelectedText(dialog, IDC_CREATE_TYPE);
    char text[8] = "";
    GetDlgItemTextA(dialog, IDC_CREATE_LENGTH, text, sizeof text);
    int length = atoi(text);
    GetDlgItemTextA(dialog, IDC_CREATE_DECIMALS, text, sizeof text);
    int decimals = atoi(text);
    correctFieldSize(row.type.empty() ? 'C' : row.type[0], length, decimals);
    row.length = std::to_string(length);
    row.decimals = std::to_string(decimals % 10);
    SetDlgItemTextA(dialog, IDC_CREATE_LENGTH, row.length.c_str());
    SetDlgItemTextA(dialog, IDC_CREATE_DECIMALS, row.decimals.c_str());
    HWND list = listOf(dialog);
    if (append) {
        state.rows.push_back(row);
        showRow(list, static_cast<int>(state.rows.size()) - 1, row, true);
    } else {
        state.rows[static_cast<size_t>(index)] = row;
        showRow(list, index, row, false);
    }
    HWND edit = GetDlgItem(dialog, IDC_CREATE_NAME);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SetFocus(edit);
}

void deleteRow(HWND dialog, StructureState& state) {
    HWND list = listOf(dialog);
    int index = state.rows.size() == 1
                    ? 0
                    : static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (index < 0 || index >= static_cast<int>(state.rows.size()))
        return;
    state.rows.erase(state.rows.begin() + index);
    SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

std::vector<FieldDef> fieldDefs(const StructureState& state) {
    std::vector<FieldDef> defs;
    for (const Row& row : state.rows) {
        FieldDef def = {};
        lstrcpynA(def.name, row.name.c_str(), sizeof def.name);
        def.type = row.type.empty() ? 'C' : row.type[0];
        def.width = static_cast<uint16_t>(atoi(row.length.c_str()));
        def.decimals = static_cast<uint8_t>(row.decimals.empty() ? 0 : row.decimals[0] - '0');
        defs.push_back(def);
    }
    return defs;
}

void progressStep(void* context, int percent) {
    SendMessageA(static_cast<HWND>(context), PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    UpdateWindow(static_cast<HWND>(context));
}

// Copies the view's table into the new structure and swaps the files. True when the dialog closes.
bool modifyStructure(HWND dialog, BrowseView& view, const std::vector<FieldDef>& defs) {
    std::string name = view.table->fileName();
    std::string fresh;
    auto copy = [&](dbf& table) {
        return copyToNewStructure(table, defs.data(), static_cast<int>(defs.size()), name, systemFileOps(), fresh,
                                  progressStep, GetDlgItem(dialog, IDC_CREATE_PROGRESS));
    };
    if (!runTableJob(view, "Modify structure", copy, dialog)) {
        warnTableFailure(view, false);
        return false;
    }
    long refused = view.table->refusedValues();
    long record = view.table->recNo();
    closeViewTable(view);
    SwapOutcome outcome = swapTableFiles(systemFileOps(), name, fresh);
    if (outcome.result == kSwapDone) {
        warnRefusedValues(refused);
        // The grid's columns are the old structure's: the window goes, the user opens the table again.
        if (view.window)
            PostMessageA(view.window, WM_CLOSE, 0, 0);
        return true;
    }
    if (outcome.result == kSwapRestored) {
        dbf* table = new dbf(name.c_str());
        if (!table->open(1) && !table->open(0)) {
            delete table;
        } else {
            table->goTo(record);
            view.table = table;
        }
        warningBox("Very, very, very bad program.");
        if (!view.table && view.window)
            PostMessageA(view.window, WM_CLOSE, 0, 0);
        return true;
    }
    warningBox("Very, very, very bad program.");
    std::string where = "The table is kept as " + outcome.backup;
    if (!outcome.backupMemo.empty())
        where += " and " + outcome.backupMemo;
    where += ".";
    warningBox(where.c_str());
    if (view.window)
        PostMessageA(view.window, WM_CLOSE, 0, 0);
    return true;
}

void createOrModify(HWND dialog, StructureState& state) {
    char file[129] = "";
    GetDlgItemTextA(dialog, IDC_CREATE_FILE, file, sizeof file);
    if (!file[0]) {
        warningBox("Empty filename!");
        return;
    }
    if (fileExists(file) &&
        MessageBoxA(dialog, "The file already exist, overwite ?", "Warning", MB_OKCANCEL | MB_TASKMODAL) != IDOK)
        return;
    if (state.rows.empty()) {
        warningBox("Empty table!");
        return;
    }
    std::vector<FieldDef> defs = fieldDefs(state);
    if (state.view) {
        if (state.view->table && modifyStructure(dialog, *state.view, defs))
            EndDialog(dialog, 1);
        return;
    }
    dbf table(file);
    if (!table.create(defs.data(), static_cast<int>(defs.size()))) {
        std::string text = std::string("Can't create : ") + file;
        warningBox(text.c_str());
        return;
    }
    EndDialog(dialog, 1);
}

void selectFile(HWND dialog) {
    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof directory, directory);
    const char* chosen = chooseSaveFile(dialog, commandInstance(nullptr), directory, nullptr);
    if (chosen && chosen[0])
        SetDlgItemTextA(dialog, IDC_CREATE_FILE, chosen);
}

INT_PTR handleStructure(HWND dialog, StructureState& state, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            g_structureDialog = dialog;
            initDialog(dialog, state);
            return FALSE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    appendOrModify(dialog, state, true);
                    break;
                case IDC_CREATE_MODIFY:
                    appendOrModify(dialog, state, false);
                    break;
                case IDC_CREATE_DELETE:
                    deleteRow(dialog, state);
                    break;
                case IDC_CREATE_SELECT:
                    selectFile(dialog);
                    break;
                case IDC_CREATE_CREATE:
                    createOrModify(dialog, state);
                    break;
                case IDCANCEL:
                    return FALSE;  // boundDialogProc closes the dialog
                default:
                    break;
            }
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

namespace {

void runStructureDialog(HINSTANCE instance, HWND owner, StructureState& state) {
    if (g_structureDialog) {
        if (IsWindow(g_structureDialog))
            SetForegroundWindow(g_structureDialog);
        return;
    }
    struct Clear {
        ~Clear() { g_structureDialog = nullptr; }
    } clear;
    g_structureDialog = HWND_MESSAGE;  // taken until WM_INITDIALOG names the dialog
    DialogBoxParamA(instance, "DBCREATE", owner, boundDialogProc<StructureState, handleStructure>,
                    reinterpret_cast<LPARAM>(&state));
}

}  // namespace

int modifyStructureCommand(BrowseView& view) {
    if (!view.table)
        return 1;
    StructureState state;
    state.view = &view;
    runStructureDialog(commandInstance(&view), view.window, state);
    return 1;
}

void showCreateTableDialog(HWND owner) {
    StructureState state;
    runStructureDialog(commandInstance(nullptr), owner ? owner : mainWindow(), state);
}
