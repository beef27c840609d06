// The "SQL assist" dialog (SQL_BUILDER): composes a statement from lists of tables, fields,
// commands, operators, keywords and types, and keeps the history of confirmed statements.
#include <memory>
#include <string>
#include <vector>

#include "base/bound_dialog.h"
#include "base/ui.h"
#include "odbc/explorer_node.h"
#include "odbc/select_text.h"
#include "odbc/sql_assist.h"
#include "odbc/sql_editor.h"
#include "odbc/sql_history.h"
#include "resources/resource.h"

namespace {

// The statement editor holds as much as the command editors: what it shows is what is taken.
constexpr WPARAM kStatementLimit = 32000;

struct SqlAssist {
    AssistRequest& request;
    std::vector<AssistTable> tables;
    std::unique_ptr<dbf> history;
    std::string current;  // the connection's catalog
};

SqlHdbc connectionOf(const SqlAssist& assist) {
    return assist.request.node ? assist.request.node->connection : nullptr;
}

LRESULT send(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendDlgItemMessageA(dialog, id, message, wParam, lParam);
}

void addString(HWND dialog, int id, const std::string& text, LPARAM data = 0) {
    LRESULT at = send(dialog, id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (at >= 0)
        send(dialog, id, LB_SETITEMDATA, static_cast<WPARAM>(at), data);
}

std::string listText(HWND dialog, int id, LRESULT at) {
    LRESULT length = send(dialog, id, LB_GETTEXTLEN, static_cast<WPARAM>(at));
    if (length < 0)
        return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    send(dialog, id, LB_GETTEXT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

const AssistTable* selectedTable(HWND dialog, const SqlAssist& assist) {
    LRESULT at = send(dialog, IDC_ASSIST_TABLES, LB_GETCURSEL);
    if (at < 0)
        return nullptr;
    auto index = static_cast<std::size_t>(send(dialog, IDC_ASSIST_TABLES, LB_GETITEMDATA, static_cast<WPARAM>(at)));
    return index < assist.tables.size() ? &assist.tables[index] : nullptr;
}

void loadFields(HWND dialog, SqlAssist& assist) {
    send(dialog, IDC_ASSIST_FIELDS, LB_RESETCONTENT);
    const AssistTable* table = selectedTable(dialog, assist);
    if (!table)
        return;
    std::vector<std::string> fields;
    std::string name = assistTableName(*table, assist.request.quote, assist.current);
    listAssistFields(odbcBinding(), connectionOf(assist), dialog, name, &fields);
    for (const std::string& field : fields)
        addString(dialog, IDC_ASSIST_FIELDS, field);
}

void showSyntax(HWND dialog) {
    LRESULT at = send(dialog, IDC_ASSIST_COMMANDS, LB_GETCURSEL);
    const auto& commands = assistCommands();
    if (at >= 0 && static_cast<std::size_t>(at) < commands.size())
        setItemText(dialog, IDC_ASSIST_SYNTAX, commands[static_cast<std::size_t>(at)].syntax);
}

void fillHistory(HWND dialog, SqlAssist& assist) {
    send(dialog, IDC_ASSIST_HISTORY, CB_RESETCONTENT);
    if (!assist.history)
        return;
    for (const std::string& entry : historyEntries(*assist.history))
        send(dialog, IDC_ASSIST_HISTORY, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    send(dialog, IDC_ASSIST_HISTORY, CB_SETCURSEL, 0);
}

void onInit(HWND dialog, SqlAssist& assist) {
    // Room on top of what is handed in: the editor always holds the whole statement.
    send(dialog, IDC_ASSIST_STATEMENT, EM_LIMITTEXT, kStatementLimit + assist.request.command.size());
    OdbcBinding& binding = odbcBinding();
    SqlHdbc connection = connectionOf(assist);
    if (connection) {
        assist.current = currentCatalog(binding, connection);
        if (listAssistTables(binding, connection, dialog, &assist.tables))
            for (std::size_t i = 0; i < assist.tables.size(); ++i)
                addString(dialog, IDC_ASSIST_TABLES, assist.tables[i].name, static_cast<LPARAM>(i));
        send(dialog, IDC_ASSIST_TABLES, LB_SETCURSEL, 0);
    }
    for (const AssistCommand& command : assistCommands())
        addString(dialog, IDC_ASSIST_COMMANDS, command.name);
    send(dialog, IDC_ASSIST_COMMANDS, LB_SETCURSEL, 0);
    showSyntax(dialog);
    for (const std::string& item : assistOperators())
        addString(dialog, IDC_ASSIST_OPERATORS, item);
    send(dialog, IDC_ASSIST_OPERATORS, LB_SETCURSEL, 0);
    if (connection)
        for (const std::string& item : assistKeywordsAndTypes(binding, connection))
            addString(dialog, IDC_ASSIST_KEYWORDS, item);
    send(dialog, IDC_ASSIST_KEYWORDS, LB_SETCURSEL, 0);
    assist.history = openHistory();
    if (connection)
        loadFields(dialog, assist);
    fillHistory(dialog, assist);
    setItemText(dialog, IDC_ASSIST_STATEMENT, assist.request.command.c_str());
    SetFocus(GetDlgItem(dialog, IDC_ASSIST_STATEMENT));
}

// What a double-click on an item puts at the caret.
std::string insertionFor(HWND dialog, const SqlAssist& assist, int id) {
    LRESULT at = send(dialog, id, LB_GETCURSEL);
    if (at < 0)
        return std::string();
    if (id == IDC_ASSIST_TABLES) {
        const AssistTable* table = selectedTable(dialog, assist);
        return table ? assistTableName(*table, assist.request.quote, assist.current) + " " : std::string();
    }
    std::string text = listText(dialog, id, at);
    if (id == IDC_ASSIST_FIELDS)
        return assist.request.quote + text + assist.request.quote + ", ";
    return text + " ";
}

void insertAtCaret(HWND dialog, const std::string& text) {
    if (text.empty())
        return;
    send(dialog, IDC_ASSIST_STATEMENT, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    SetFocus(GetDlgItem(dialog, IDC_ASSIST_STATEMENT));
}

void recallHistory(HWND dialog, SqlAssist& assist) {
    LRESULT at = send(dialog, IDC_ASSIST_HISTORY, CB_GETCURSEL);
    if (at < 0 || !assist.history)
        return;
    std::string statement = historyStatement(*assist.history, static_cast<std::size_t>(at));
    if (!statement.empty())
        setItemText(dialog, IDC_ASSIST_STATEMENT, statement.c_str());
}

void finish(HWND dialog, SqlAssist& assist, bool confirmed) {
    if (confirmed) {
        assist.request.command = itemText(dialog, IDC_ASSIST_STATEMENT);
        if (assist.history)
            addToHistory(*assist.history, assist.request.command);
    }
    assist.history.reset();
    EndDialog(dialog, confirmed ? TRUE : FALSE);
}

INT_PTR handleAssist(HWND dialog, SqlAssist& assist, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            onInit(dialog, assist);
            return FALSE;  // the focus is set
        case WM_COMMAND: {
            int id = LOWORD(wParam);
            int code = HIWORD(wParam);
            switch (id) {
                case IDC_ASSIST_OK:
                    finish(dialog, assist, true);
                    return TRUE;
                case IDCANCEL:
                    finish(dialog, assist, false);
                    return TRUE;
                case IDC_ASSIST_HISTORY:
                    if (code == CBN_CLOSEUP)
                        recallHistory(dialog, assist);
                    return TRUE;
                case IDC_ASSIST_TABLES:
                case IDC_ASSIST_FIELDS:
                case IDC_ASSIST_COMMANDS:
                case IDC_ASSIST_OPERATORS:
                case IDC_ASSIST_KEYWORDS:
                    if (code == LBN_DBLCLK)
                        insertAtCaret(dialog, insertionFor(dialog, assist, id));
                    else if (code == LBN_SELCHANGE && id == IDC_ASSIST_TABLES)
                        loadFields(dialog, assist);
                    else if (code == LBN_SELCHANGE && id == IDC_ASSIST_COMMANDS)
                        showSyntax(dialog);
                    return TRUE;
                default:
                    return FALSE;
            }
        }
        default:
            return FALSE;
    }
}

}  // namespace

bool openSqlAssist(HWND owner, AssistRequest& request) {
    SqlAssist assist{request, {}, {}, {}};
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), "SQL_BUILDER", owner,
                                     boundDialogProc<SqlAssist, handleAssist>, reinterpret_cast<LPARAM>(&assist));
    return result == TRUE;
}
