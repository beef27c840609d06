// The "SQL command" window that comes before every query result: the statement in an editor,
// "OEM charset", "&Execute" and "&Assist". Windows build only.
#pragma once

#include <windows.h>

#include <string>

struct ExplorerNode;
class dbf;

// What a caller hands to the SQL command window and to SQL assist.
struct AssistRequest {
    std::string command;  // the initial statement; receives the edited one, whole
    std::string quote;    // the data source's identifier quote character
    ExplorerNode* node = nullptr;
    dbf* history = nullptr;  // the history table while SQL assist is open
};

// Shows the window; true when "&Execute" was pressed (request.command then holds the statement).
bool openCommandWindow(HWND owner, AssistRequest& request);

// "OEM charset": process-wide, off at start; results are converted to the OEM code page while on.
bool oemCharset();
void setOemCharset(bool on);
