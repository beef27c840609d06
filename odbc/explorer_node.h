// One node of the ODBC explorer's tree (and, later, of the commander's lists): what the node stands
// for and the data source's connection it works through. Windows build only.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "odbc/explorer_kinds.h"
#include "odbc/odbc_types.h"

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
    int image = -1;    // the tree picture when the kind alone does not tell it (file-branch nodes)
    std::string path;  // the path text shown above the tree (data source and names joined by ".")
};
