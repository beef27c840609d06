// "&Print..." on a grid: the column choice PRINTCOL, then the table as a fixed-pitch list through a
// page printer in preview mode.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/bound_dialog.h"
#include "base/dates.h"
#include "base/properties.h"
#include "base/settings.h"
#include "browse/browse_commands.h"
#include "browse/command_support.h"
#include "dbf/dbf.h"
#include "print/emf_printer.h"
#include "print/table_print.h"
#include "resources/print_ids.h"

namespace {

bool g_printing = false;

bool isDeletionFlag(const BrowseColumn& column) {
    return std::strcmp(column.fieldName, "deleted()") == 0;
}

INT_PTR handleColumns(HWND dialog, BrowseView& view, UINT message, WPARAM wParam, LPARAM) {
    HWND list = GetDlgItem(dialog, IDC_PRINTCOL_LIST);
    if (message == WM_INITDIALOG) {
        ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_TRACKSELECT);
        LVCOLUMNA lvc = {};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH;
        lvc.cx = 300;
        lvc.pszText = const_cast<char*>("Field name");
        SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&lvc));
        for (size_t i = 0; i < view.columns.size(); ++i) {
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(i);
            item.pszText = view.columns[i].caption;
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            ListView_SetCheckState(list, static_cast<int>(i), !isDeletionFlag(view.columns[i]));
        }
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        for (size_t i = 0; i < view.columns.size(); ++i)
            view.columns[i].printSelected = ListView_GetCheckState(list, static_cast<int>(i)) != 0;
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    return FALSE;
}

// The table's field width of a column (its edit length when the field is not found).
int fieldWidth(BrowseView& view, const BrowseColumn& column) {
    int index = view.table ? view.table->fieldIndex(column.fieldName) : -1;
    if (index < 0)
        return static_cast<int>(column.editLength);
    return view.table->fieldInfo(index)->width;
}

std::vector<PrintColumn> printColumns(BrowseView& view) {
    std::vector<PrintColumn> columns;
    for (const BrowseColumn& c : view.columns) {
        PrintColumn column;
        column.fieldWidth = fieldWidth(view, c);
        column.captionLength = static_cast<int>(std::strlen(c.caption));
        column.type = c.type;
        column.selected = c.printSelected;
        column.deletionFlag = isDeletionFlag(c);
        columns.push_back(column);
    }
    return columns;
}

void printHeader(EmfPrinter& printer, BrowseView& view, const std::vector<int>& positions, int width, HFONT font) {
    width = width > 80 ? 132 : 80;
    std::string company = std::string(setting(SET_CEGNEV)) + " T100";
    printer.textAt(1, 0, company.c_str(), nullptr, font, 0, 1);
    printer.textAt(1, width - 10, Date().stored(), "@D", font, 0, 1);
    int titleColumn = centredColumn(width, static_cast<int>(std::strlen(view.title)));
    if (titleColumn >= 0)
        printer.textAt(2, titleColumn, view.title, nullptr, font, 0, 1);
    printer.textAt(2, width - 9, pageNumberText(printer.pageCount()).c_str(), nullptr, font, 0, 1);
    for (size_t i = 0; i < positions.size(); ++i) {
        if (positions[i] >= 0 && positions[i] < width)
            printer.textAt(3, positions[i], view.columns[i].caption, nullptr, font, 0, 0);
    }
    printer.textAt(4, 0, std::string(static_cast<size_t>(width), '-').c_str(), nullptr, font, 0, 0);
}

// Every record as one line; 0 when a page could not be made (the printer has said why).
int printRecords(EmfPrinter& printer, BrowseView& view, const std::vector<int>& positions, int width, HFONT font) {
    dbf& table = *view.table;
    long line = 999;
    table.goTop();
    while (!table.isEof()) {
        if (line > printer.linesPerPage()) {
            if (!printer.startPage())
                return 0;
            printHeader(printer, view, positions, width, font);
            line = 5;
        }
        for (size_t i = 0; i < positions.size(); ++i) {
            const BrowseColumn& column = view.columns[i];
            int index = table.fieldIndex(column.fieldName);
            if (positions[i] < 0 || positions[i] >= width || index < 0)
                continue;
            const char* picture = column.type == 'N' ? nullptr : column.picture;
            printer.textAt(static_cast<int>(line), positions[i], table.getField(index), picture, font, 0, 0);
        }
        ++line;
        if (!table.skip(1))
            break;
    }
    return printer.endPage();
}

void printTable(BrowseView& view) {
    std::vector<PrintColumn> columns = printColumns(view);
    int width = printLineWidth(columns);
    std::vector<int> positions = printPositions(columns);
    HINSTANCE instance = commandInstance(&view);
    // Made before the printer, so it outlives the printer DC it is selected into.
    GdiObject<HFONT> font;
    EmfPrinter printer(instance, view.window, view.title, 1, width, 1);
    // Without a printer there are no page metrics: the printer has said so, and nothing is printed.
    if (!printer.hasPrinter() || printer.linesPerPage() <= 0)
        return;
    dbf& table = *view.table;
    long record = table.recNo();
    printer.beginDocument(view.title);
    int height = fontHeightForPoints(printFontPoints(width), printer.pixelsPerInchY());
    font.reset(CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                           static_cast<const char*>(property("PRINT_FONT"))));
    // Lines are as high as the print font's, not the printer's default font.
    printer.useFont(font.get());
    int completed;
    {
        WaitCursor wait;
        completed = printRecords(printer, view, positions, width, font.get());
    }
    if (completed)
        printer.endDocument();
    table.goTo(record);
}

}  // namespace

int printTableCommand(BrowseView& view) {
    if (g_printing || !view.table)
        return 1;
    for (BrowseColumn& column : view.columns)
        column.printSelected = false;
    HINSTANCE instance = commandInstance(&view);
    DialogBoxParamA(instance, "PRINTCOL", GetActiveWindow(), boundDialogProc<BrowseView, handleColumns>,
                    reinterpret_cast<LPARAM>(&view));
    printSelectedColumns(view);
    return 1;
}

void printSelectedColumns(BrowseView& view) {
    bool any = false;
    for (const BrowseColumn& column : view.columns)
        any = any || (column.printSelected && !isDeletionFlag(column));
    if (g_printing || !any || !view.table)
        return;
    g_printing = true;
    printTable(view);
    g_printing = false;
}
