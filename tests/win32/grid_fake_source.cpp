// The in-memory data source and the grid windows of the grid tests.
#include "tests/win32/grid_fake_source.h"

#include <algorithm>
#include <cstdio>

#include "app/main_window.h"
#include "app/shell_hooks.h"
#include "browse/browse_commands.h"
#include "browse/data_source.h"
#include "tests/win32/harness.h"

namespace gridtest {

namespace {

FakeTable g_fake;
CommandLog g_log;

// One record forward or back; skip has already stopped at the ends.
void step(FakeTable& t, long d) {
    ++t.steps;
    t.record += d;
    t.bof = t.eof = false;
}

long positionForPaint(BrowseView& view) {
    FakeTable& t = g_fake;
    view.cachedCount = t.count;
    if (view.navigationPending) {
        if (view.recordDelta != 0)
            t.skip(view.recordDelta);
        view.curRecord = std::max(1L, std::min(view.curRecord, std::max(1L, t.count)));
    } else {
        view.topOffset = 1 - view.curRow;
        view.recordDelta = 0;
    }
    long result = t.record;
    long back = 0;
    for (; back < view.curRow - 1 && t.record > 1; ++back)
        t.skip(-1);
    if (back < view.curRow - 1)
        view.curRow = back + 1;
    t.skip(0);
    t.shown.clear();
    return result;
}

long nextRow(BrowseView& view) {
    g_fake.skip(view.direction);
    return g_fake.record;
}

void goToRecord(BrowseView&, long n) {
    g_fake.goTo(n);
}

long currentRecord(BrowseView&) {
    return g_fake.record;
}

long recordCount(BrowseView&) {
    return g_fake.count;
}

int atTop(BrowseView&) {
    return g_fake.bof;
}

int atEnd(BrowseView&) {
    return g_fake.eof;
}

CellStyle* flagStyle(BrowseView&) {
    static CellStyle style;
    bool deleted = std::find(g_fake.deleted.begin(), g_fake.deleted.end(), g_fake.record) != g_fake.deleted.end();
    style.textColor = 0x00FF00;
    style.background = 0xFFFFFF;
    lstrcpyA(style.text, deleted ? "*" : " ");
    ++g_fake.styleCalls;
    return &style;
}

CellStyle* fieldStyle(BrowseView& view) {
    static CellStyle style;
    style.textColor = 0;
    style.background = 0xFFFFFF;
    snprintf(style.text, sizeof style.text, "R%ldC%ld", g_fake.record, view.callbackColumn);
    ++g_fake.styleCalls;
    if (view.callbackColumn == 1 && view.painting)
        g_fake.shown.push_back(g_fake.record);
    return &style;
}

int recordCommand(BrowseView& view) {
    g_log.codes.push_back(static_cast<int>(view.pendingCode));
    return 1;
}

}  // namespace

void FakeTable::reset(long records) {
    *this = FakeTable{};
    count = records;
    record = 1;
    eof = records < 1;
    bof = records < 1;
}

void FakeTable::skip(long n) {
    if (n == 0) {
        // Re-reading clears the flags when the record exists.
        bof = false;
        eof = count < 1;
        return;
    }
    long d = n > 0 ? 1 : -1;
    for (long i = 0; i < (n > 0 ? n : -n); ++i) {
        if (record == 1 && d < 0) {
            bof = true;
            return;
        }
        if (record >= count && d > 0) {
            eof = true;
            return;
        }
        step(*this, d);
    }
}

void FakeTable::goTo(long n) {
    ++steps;
    if (n > count)
        n = count;
    record = n < 1 ? 1 : n;
    skip(0);
}

void installGrid(HINSTANCE instance) {
    // The shell registers Tbl; its class calls the grid through the hook the modules install.
    registerWindowClasses(instance);
    installModules();
}

FakeTable& fake() {
    return g_fake;
}

CommandLog& commandLog() {
    return g_log;
}

// Codes the tests press that a real table window also has, plus one of their own (F5).
const BrowseCommand kTestCommands[] = {
    {116, "&Go to", recordCommand},
    {13, "&Modify", recordCommand},
    {27, "&Exit", exitCommand},
    {0, "", nullptr},
};

void useFakeSource(BrowseView& view) {
    view.positionForPaint = positionForPaint;
    view.nextRow = nextRow;
    view.goToRecord = goToRecord;
    view.currentRecord = currentRecord;
    view.recordCount = recordCount;
    view.atTop = atTop;
    view.atEnd = atEnd;
}

void makeFakeColumns(BrowseView& view, int fields, int width) {
    setColumnCount(view, fields + 1);
    BrowseColumn& flag = view.columns[0];
    flag.width = 20;
    lstrcpyA(flag.fieldName, "deleted()");
    lstrcpyA(flag.caption, "Deleted");
    flag.cellStyle = flagStyle;
    for (int i = 1; i <= fields; ++i) {
        BrowseColumn& column = view.columns[static_cast<size_t>(i)];
        column.width = width;
        snprintf(column.fieldName, sizeof column.fieldName, "F%d", i);
        snprintf(column.caption, sizeof column.caption, "F%d", i);
        column.cellStyle = fieldStyle;
        column.type = 'C';
        column.editLength = 10;
    }
}

GridWindow::GridWindow(long records, const BrowseCommand* commands, int fields) {
    g_fake.reset(records);
    g_log.codes.clear();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    installGrid(instance);
    initBrowseView(view_, "FAKE.DBF", 30, 30, 750, 450, 20);
    view_.rows -= 2;
    view_.instance = instance;
    useFakeSource(view_);
    makeFakeColumns(view_, fields, 110);
    view_.cachedCount = records;
    view_.commands = commands ? commands : kTestCommands;
    view_.gridLines = true;
    view_.topLevel = true;
    view_.updateCaption = windowTitleCaption;
    HWND window = CreateWindowExA(WS_EX_LEFT, kGridClass, view_.title, WS_VISIBLE | WS_OVERLAPPEDWINDOW | WS_VSCROLL,
                                  view_.left, view_.top, 750, 450, nullptr, nullptr, instance, nullptr);
    if (!window)
        return;
    attachBrowseView(window, &view_);
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    SetFocus(window);
    UpdateWindow(window);
    settle();
}

GridWindow::~GridWindow() {
    if (view_.window && IsWindow(view_.window))
        DestroyWindow(view_.window);
    harness::pumpMessages();
}

void GridWindow::settle() {
    if (!view_.window)
        return;
    UpdateWindow(view_.window);
    harness::pumpUntil([this] { return !IsWindow(view_.window) || !view_.navigationPending; }, 2000);
}

void GridWindow::key(UINT vk, bool control) {
    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE saved = keys[VK_CONTROL];
    if (control) {
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
    }
    SendMessageA(view_.window, WM_KEYDOWN, vk, 1);
    if (control) {
        keys[VK_CONTROL] = saved;
        SetKeyboardState(keys);
    }
    settle();
}

void GridWindow::scroll(UINT message, WORD code, WORD position) {
    SendMessageA(view_.window, message, MAKEWPARAM(code, position), 0);
    settle();
}

std::string GridWindow::caption() const {
    return harness::windowText(view_.window);
}

}  // namespace gridtest
