// The kinds of explorer nodes, shared by the windows and by the portable views they show.
#pragma once

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
