// The explorer's command editor: executing its selection and inserting from SQL assist, and the
// table menu's drop table / delete from.
#include "odbc/sql_editor.h"

#include <algorithm>

#include "base/ui.h"
#include "odbc/explorer_node.h"
#include "odbc/odbc_binding.h"
#include "odbc/select_text.h"
#include "odbc/statement_exec.h"

namespace {

std::string windowText(HWND editor) {
    int length = GetWindowTextLengthA(editor);
    std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    int got = GetWindowTextA(editor, &text[0], static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return text;
}

// The dialog's EM_GETSEL in characters, ordered.
void selection(HWND editor, DWORD* start, DWORD* end) {
    SendMessageA(editor, EM_GETSEL, reinterpret_cast<WPARAM>(start), reinterpret_cast<LPARAM>(end));
    if (*start > *end)
        std::swap(*start, *end);
}

}  // namespace

void executeSelection(HWND, ExplorerNode& node, HWND editor) {
    DWORD start = 0;
    DWORD end = 0;
    selection(editor, &start, &end);
    if (start == end) {
        warningBox("Only the selected text is executeable.");
        return;
    }
    // Taken whole: what the user selected is what runs.
    std::string whole = windowText(editor);
    std::string selected = whole.substr(std::min<std::size_t>(start, whole.size()), end - start);
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    std::string text = executeSelectionText(odbcBinding(), node.connection, node.name, selected, whole);
    SetWindowTextA(editor, text.c_str());
    int length = GetWindowTextLengthA(editor);
    SendMessageA(editor, EM_SETSEL, length, length);
    SendMessageA(editor, EM_SCROLLCARET, 0, 0);
    SetFocus(editor);
    node.text = text;
    SetCursor(previous ? previous : LoadCursorA(nullptr, IDC_ARROW));
}

void assistIntoEditor(HWND owner, ExplorerNode& node, HWND editor) {
    AssistRequest request;
    request.node = &node;
    request.quote = identifierQuote(odbcBinding(), node.connection);
    if (!openSqlAssist(owner, request))
        return;
    DWORD start = 0;
    DWORD end = 0;
    selection(editor, &start, &end);
    SendMessageA(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(request.command.c_str()));
    // The inserted statement stays selected, so that "&Execute" runs just it.
    SendMessageA(editor, EM_SETSEL, start, start + static_cast<DWORD>(request.command.size()));
    SendMessageA(editor, EM_SCROLLCARET, 0, 0);
    SetFocus(editor);
}

void dropOrDeleteTable(HWND owner, const ExplorerNode& table, const std::string& dataSource, bool drop) {
    OdbcBinding& binding = odbcBinding();
    std::string text =
        tableStatement(drop ? "drop table" : "delete from", table.catalog, table.schema, table.name,
                       identifierQuote(binding, table.connection), currentCatalog(binding, table.connection));
    if (!binding.ui().question(owner, text.c_str(), "Are you sure?"))
        return;
    executeStatement(binding, owner, table.connection, dataSource, text);
}
