// Listing a data source's objects and a table's sub-entries as explorer nodes, and connecting a data
// source: one way for the explorer's tree and the commander's lists. Windows build only.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "odbc/explorer_node.h"

// Receives each listed node with its label; `hasChildren` marks nodes that list more when opened.
using NodeSink = std::function<void(std::unique_ptr<ExplorerNode> node, const std::string& text, bool hasChildren)>;

// Process-wide display flags, all on at start and never saved.
struct ExplorerFlags {
    bool showSystemTables = true;
    bool showViews = true;
    bool showSynonyms = true;
};
ExplorerFlags& explorerFlags();

// The node's picture: its index in the image list of buildTreeImages.
int imageOf(const ExplorerNode& node);

// A child of `parent` that inherits its connection, names and flavour.
std::unique_ptr<ExplorerNode> childOf(const ExplorerNode& parent, int kind);

// Connects `source` (allocated on the shared environment) to the data source `source.name`, or in
// driver mode to the database file `source.name` of `driverType`, asking once for a login, and
// checks that the connection answers. On failure shows the "ODBC error" box over `owner`, frees the
// connection and leaves `source.connection` null. When `ownerGone` is set after the login dialog,
// the node keeps the connection for its owner's teardown and false is returned without a box.
bool connectAndProbe(HWND owner,
                     ExplorerNode& source,
                     bool driverMode,
                     int driverType,
                     const bool& ownerGone,
                     bool* loginUsed = nullptr);

// One node per table SQLTables lists on the source's connection, in its order, as the display flags
// allow. False (with the "ODBC error" box over `owner`) when the listing failed.
bool listTables(HWND owner, const ExplorerNode& source, const NodeSink& sink);

// What comes after the tables: procedures, the server's own views, "General information" and the
// saved command.
void listSourceExtras(const ExplorerNode& source, const NodeSink& sink);

// A table's sub-entries: "Fields", "Browse" and, for an ordinary table, the catalog views its
// driver offers (never foreign keys or column privileges for the MySQL family).
void listTableChildren(const ExplorerNode& table, const NodeSink& sink);

// The saved command's text leaves with its node: written to the data source's command file, with a
// warning when that fails.
void saveCommandOf(const ExplorerNode& node);
