// The SQL editors' windows: "&Execute" and "&Assist" of the explorer's command editor, the
// "SQL assist" dialog, drop table / delete from, and INSERT scripts from grids. Windows build only.
#pragma once

#include <windows.h>

#include <string>

#include "odbc/command_window.h"

struct BrowseView;
struct ExplorerNode;

// "&Execute": runs the editor's selected text on the node's connection and appends "Success." or
// the driver's message to the editor's text (and to the node's text).
void executeSelection(HWND owner, ExplorerNode& node, HWND editor);

// "&Assist": SQL assist with an empty statement; on "&Ok" the statement replaces the editor's
// selection and is left selected, ready for "&Execute".
void assistIntoEditor(HWND owner, ExplorerNode& node, HWND editor);

// The "SQL assist" dialog (SQL_BUILDER); true when "&Ok" was pressed (request.command then holds
// the composed statement, which is also recorded in the history).
bool openSqlAssist(HWND owner, AssistRequest& request);

// "&drop table..." / "&delete from...": asks "Are you sure?" with the statement, and runs it on Yes.
// `dataSource` is the table's data source (for a statement that needs a connection of its own).
void dropOrDeleteTable(HWND owner, const ExplorerNode& table, const std::string& dataSource, bool drop);

// "&Save as 'insert into ...'" of result grids and table windows.
int saveAsInsertScript(BrowseView& view);
