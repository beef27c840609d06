// The listings behind the explorer's tree and the commander's lists: a data source's objects and a
// table's sub-entries, as the driver and the server offer them.
#include "odbc/node_listing.h"

#include "base/text_rules.h"
#include "odbc/command_file.h"
#include "odbc/data_sources.h"
#include "odbc/dbms_kind.h"
#include "odbc/explorer_internal.h"
#include "odbc/odbc_handles.h"
#include "odbc/select_text.h"

namespace {

constexpr std::size_t kNameLimit = 260;

// Each table picture comes in the four flavours, in the order plain, system, view, synonym.
int byFlavour(int flavour, int plain, int system, int view, int synonym) {
    switch (flavour) {
        case node_flavour::kSystemTable:
            return system;
        case node_flavour::kView:
            return view;
        case node_flavour::kSynonym:
            return synonym;
        default:
            return plain;
    }
}

void addChild(const NodeSink& sink, const ExplorerNode& parent, int kind, const std::string& text) {
    sink(childOf(parent, kind), text, false);
}

bool supported(SqlHdbc connection, SqlUSmallInt function) {
    const OdbcFunctions& fn = odbcBinding().fn();
    if (!fn.SQLGetFunctions)
        return false;
    SqlUSmallInt exists = 0;
    return sql::succeeded(fn.SQLGetFunctions(connection, function, &exists)) && exists != 0;
}

std::string trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The flavour of a table type SQLTables reports, and whether the display flags show it.
bool classify(const std::string& type, int* flavour) {
    const ExplorerFlags& flags = explorerFlags();
    if (type.find("SYNONYM") != std::string::npos || type.find("ALIAS") != std::string::npos) {
        *flavour = node_flavour::kSynonym;
        return flags.showSynonyms;
    }
    if (type == "VIEW") {
        *flavour = node_flavour::kView;
        return flags.showViews;
    }
    if (type == "SYSTEM TABLE") {
        *flavour = node_flavour::kSystemTable;
        return flags.showSystemTables;
    }
    *flavour = node_flavour::kTable;
    return true;
}

}  // namespace

ExplorerFlags& explorerFlags() {
    static ExplorerFlags flags;
    return flags;
}

int imageOf(const ExplorerNode& node) {
    using namespace tree_image;
    if (node.image >= 0)
        return node.image;
    switch (node.kind) {
        case node_kind::kRoot:
            return kDsn;
        case node_kind::kDataSource:
            return kDatabase;
        case node_kind::kTable:
            return byFlavour(node.flavour, kTables, kTablesSystem, kTablesView, kTablesSynonym);
        case node_kind::kColumnList:
            return byFlavour(node.flavour, kProperties, kPropertiesSystem, kPropertiesView, kPropertiesSynonym);
        case node_kind::kBrowse:
            return byFlavour(node.flavour, kTable, kTableSystem, kTableView, kTableSynonym);
        case node_kind::kCommand:
            return kCommand;
        case node_kind::kPrimaryKeys:
            return kIndex;
        case node_kind::kForeignKeys:
            return kIndexF;
        case node_kind::kProcedures:
            return kProcedures;
        case node_kind::kStatistics:
            return kStatistics;
        case node_kind::kTablePrivileges:
            return kTPriv;
        case node_kind::kColumnPrivileges:
            return kCPriv;
        default:
            return kInfo;
    }
}

std::unique_ptr<ExplorerNode> childOf(const ExplorerNode& parent, int kind) {
    auto node = std::make_unique<ExplorerNode>();
    node->kind = kind;
    node->level = parent.level + 1;
    node->connection = parent.connection;
    node->name = parent.name;
    node->schema = parent.schema;
    node->catalog = parent.catalog;
    node->flavour = parent.flavour;
    return node;
}

bool connectAndProbe(HWND owner,
                     ExplorerNode& source,
                     bool driverMode,
                     int driverType,
                     const bool& ownerGone,
                     bool* loginUsed) {
    OdbcBinding& binding = odbcBinding();
    SqlHdbc connection = nullptr;
    if (!sql::succeeded(binding.allocConnection(&connection))) {
        binding.reportError(binding.environment(), nullptr, nullptr, owner);
        return false;
    }
    bool login = false;
    SqlReturn result =
        connect(owner, source.name, connection, &source.connection, &login, driverMode, driverType, binding);
    if (loginUsed)
        *loginUsed = login;
    if (ownerGone)
        return false;
    // A failed node keeps no connection: the next attempt connects anew.
    if (sql::succeeded(result)) {
        char probe[64] = "";
        SqlSmallInt length = 0;
        result = binding.fn().SQLGetInfo(connection, sql::kInfoMaxQualifierNameLen, probe, sizeof probe, &length);
        if (sql::succeeded(result))
            return true;
    }
    binding.reportError(binding.environment(), connection, nullptr, owner);
    binding.freeConnection(connection);
    source.connection = nullptr;
    return false;
}

// A server that lists every database's tables (MariaDB leaves the schema empty and names the
// database as catalog) gets each table of another database labelled with it, so that mysql.user and
// user stay apart.
bool listTables(HWND owner, const ExplorerNode& source, const NodeSink& sink) {
    OdbcBinding& binding = odbcBinding();
    OdbcStatement statement(binding, source.connection);
    if (!statement.ok()) {
        statement.reportError(owner);
        return false;
    }
    if (!sql::succeeded(binding.fn().SQLTables(statement.get(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0))) {
        binding.reportError(binding.environment(), source.connection, statement.get(), owner);
        return false;
    }
    const std::string current = currentCatalog(binding, source.connection);
    ColumnText catalog, schema, name, type;
    while (sql::succeeded(statement.fetch())) {
        statement.getText(1, catalog, kNameLimit);
        statement.getText(2, schema, kNameLimit);
        statement.getText(3, name, kNameLimit);
        statement.getText(4, type, kNameLimit);
        auto node = childOf(source, node_kind::kTable);
        node->catalog = trimmed(catalog.text);
        node->schema = trimmed(schema.text);
        node->name = trimmed(name.text);
        if (!classify(trimmed(type.text), &node->flavour))
            continue;
        std::string text = node->name;
        if (!node->catalog.empty() && !current.empty() && node->catalog != current && node->schema.empty())
            text = node->catalog + "." + node->name;
        sink(std::move(node), text, true);
    }
    return true;
}

void listSourceExtras(const ExplorerNode& source, const NodeSink& sink) {
    if (odbcBinding().fn().SQLProcedures && supported(source.connection, sql::kApiProcedures)) {
        auto node = childOf(source, node_kind::kProcedures);
        node->flavour = node_flavour::kProcedureList;
        node->schema.clear();
        sink(std::move(node), "Stored procedures", false);
    }
    std::string dbms = dbmsName(odbcBinding(), source.connection);
    if (isMySqlFamily(dbms)) {
        static const char* const kMySqlViews[] = {"Show databases", "Show table status", "Show status",
                                                  "Show variables", "Show processlist"};
        for (int i = 0; i < 5; ++i)
            addChild(sink, source, node_kind::kShowDatabases + i, kMySqlViews[i]);
    } else if (isSqlServer(dbms)) {
        addChild(sink, source, node_kind::kShowUnusedSpace, "Show unused space");
    }
    addChild(sink, source, node_kind::kInformation, "General information");
    auto command = childOf(source, node_kind::kCommand);
    command->text = loadCommandText(source.name);
    sink(std::move(command), label("BR_COMMAND"), false);
}

void listTableChildren(const ExplorerNode& table, const NodeSink& sink) {
    addChild(sink, table, node_kind::kColumnList, label("BR_FIELDS"));
    addChild(sink, table, node_kind::kBrowse, label("BR_BROWSE"));
    if (table.flavour != node_flavour::kTable)
        return;
    const OdbcFunctions& fn = odbcBinding().fn();
    bool mySql = isMySqlFamily(dbmsName(odbcBinding(), table.connection));
    addChild(sink, table, node_kind::kStatistics, "Statistics");
    if (fn.SQLPrimaryKeys && supported(table.connection, sql::kApiPrimaryKeys))
        addChild(sink, table, node_kind::kPrimaryKeys, label("BR_PRIMARY"));
    if (!mySql && fn.SQLForeignKeys && supported(table.connection, sql::kApiForeignKeys))
        addChild(sink, table, node_kind::kForeignKeys, label("BR_FOREIGN"));
    if (supported(table.connection, sql::kApiTablePrivileges))
        addChild(sink, table, node_kind::kTablePrivileges, label("BR_TPRIV"));
    if (!mySql && supported(table.connection, sql::kApiColumnPrivileges))
        addChild(sink, table, node_kind::kColumnPrivileges, label("BR_CPRIV"));
}

void saveCommandOf(const ExplorerNode& node) {
    if (node.kind != node_kind::kCommand || saveCommandText(node.name, node.text))
        return;
    std::string text = "Can't save the SQL command of " + node.name + " to " + commandFilePath(node.name) + ".";
    odbcBinding().ui().warning(text.c_str());
}
