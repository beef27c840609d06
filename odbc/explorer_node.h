// One node of the ODBC explorer's tree (and, later, of the commander's lists): what the node stands
// for and the data source's connection it works through. Windows build only.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "odbc/odbc_types.h"

// The kinds of nodes; the numbers are stable and shared with the commander.
namespace node_kind {
constexpr int kRoot = 0;        // "DSN", "Direct dBase III-access", the desktop
constexpr int kFileFolder = 1;  // my computer, drives, local folders and files
constexpr int kNetwork = 2;     // the network branch
constexpr int kDataSource = 3;
constexpr int kTable = 4;
constexpr int kColumnList = 5;  // "Fields"
constexpr int kBrowse = 6;      // "Browse"
constexpr int kCommand = 7;     // the saved SQL command of a data source
constexpr int kTextFile = 8;
constexpr int kPrimaryKeys = 9;
constexpr int kForeignKeys = 10;
constexpr int kProcedures = 11;
constexpr int kInformation = 12;
constexpr int kStatistics = 13;
constexpr int kTablePrivileges = 14;
constexpr int kColumnPrivileges = 15;
constexpr int kShowDatabases = 17;  // 17-21: the MySQL-family status views
constexpr int kShowTableStatus = 18;
constexpr int kShowStatus = 19;
constexpr int kShowVariables = 20;
constexpr int kShowProcesslist = 21;
constexpr int kShowUnusedSpace = 22;  // SQL Server
}  // namespace node_kind

// Flavours of tables and their children (and of file-branch nodes: 1 = text file on a share).
namespace node_flavour {
constexpr int kTable = 0;
constexpr int kSystemTable = 1;
constexpr int kView = 2;
constexpr int kSynonym = 3;
constexpr int kProcedureList = 4;
}  // namespace node_flavour

struct ExplorerNode {
    int kind = node_kind::kRoot;
    int level = 0;
    bool populated = false;
    NETRESOURCEA network{};  // network containers; its strings point into networkNames
    std::string networkNames[4];
    std::string name;     // table, data-source, drive, folder or file name
    std::string schema;   // a table's schema (owner); may be empty
    std::string catalog;  // a table's catalog as the listing reported it; may be empty
    HTREEITEM item = nullptr;
    SqlHdbc connection = nullptr;  // the data source's, copied into every node below it
    std::string text;              // the saved command's text (command nodes)
    int flavour = node_flavour::kTable;
    std::string path;  // the path text shown above the tree (data source and names joined by ".")
};
