// Catalog and status views on the real drivers (SQLite, and MariaDB while its test server runs),
// and SQL Server's unused-space statement as it reaches the driver manager.
#include <gtest/gtest.h>

#include <cstdlib>

#include "odbc/catalog_views.h"
#include "odbc/data_sources.h"
#include "odbc/explorer_kinds.h"
#include "odbc/odbc_handles.h"
#include "odbc/procedure_columns.h"
#include "odbc/result_table.h"
#include "tests/dbf/dbf_test_util.h"
#include "tests/odbc/odbc_test_support.h"

namespace {

int owner = 0;
using Rows = std::vector<std::vector<std::string>>;

std::string trimmed(const char* text) {
    std::string value(text ? text : "");
    while (!value.empty() && value.back() == ' ')
        value.pop_back();
    std::size_t first = value.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : value.substr(first);
}

// Fills view `kind` into a new result table and reads it back, field by field.
Rows fillAndRead(OdbcBinding& binding, SqlHdbc connection, int kind, const CatalogSubject& subject, CatalogFill* fill) {
    std::string path = newResultTablePath();
    ResultTableError why = ResultTableError::None;
    std::unique_ptr<dbf> table = createResultTable(path, catalogViewFields(kind), false, &why);
    Rows rows;
    if (!table) {
        ADD_FAILURE() << "no table for view " << kind;
        deleteResultTable(path);
        return rows;
    }
    *fill = fillCatalogView(binding, connection, kind, subject, *table);
    for (int ok = table->goTop(); ok && !table->isEof(); ok = table->skip(1)) {
        rows.emplace_back();
        for (int i = 0; i < table->fieldCount(); ++i)
            rows.back().push_back(trimmed(table->getField(i)));
    }
    table->close();
    deleteResultTable(path);
    return rows;
}

const Rows::value_type* rowWith(const Rows& rows, std::size_t field, const std::string& value) {
    for (const auto& row : rows)
        if (row.size() > field && row[field] == value)
            return &row;
    return nullptr;
}

TEST(CatalogViews, EveryViewKindHasATableLayout) {
    for (int kind = 0; kind <= 23; ++kind) {
        std::vector<ResultField> fields = catalogViewFields(kind);
        bool view = (kind >= node_kind::kPrimaryKeys && kind <= node_kind::kColumnPrivileges) ||
                    (kind >= node_kind::kShowDatabases && kind <= node_kind::kShowUnusedSpace);
        ASSERT_EQ(!fields.empty(), view) << kind;
        if (!view)
            continue;
        dbftest::TempDir dir;
        dbf table((dir.path().string() + "/v.dbf").c_str());
        std::vector<FieldDef> defs;
        for (const ResultField& field : fields)
            defs.push_back(field.def);
        EXPECT_EQ(table.create(defs.data(), static_cast<int>(defs.size())), 1) << kind;
        int factor = kind >= node_kind::kShowDatabases ? 10 : 5;
        std::size_t last = fields.size() - 1;
        EXPECT_EQ(fields[last].pixels, fields[last].def.width * factor) << kind;
    }
    // The procedure list gives its catalog and schema columns half the width.
    EXPECT_EQ(catalogViewFields(node_kind::kProcedures)[0].pixels, 32 * 5 / 2);
    EXPECT_EQ(catalogViewFields(node_kind::kShowUnusedSpace)[1].def.decimals, 6);
}

TEST(CatalogViews, UnusedSpaceSendsItsStatementAndReadsTheRows) {
    odbc_test::FakeProbe probe("full");
    odbc_test::RecordingUi ui;
    OdbcBinding binding(odbc_test::fakeNames("full"), &ui);
    ASSERT_EQ(binding.acquire(&owner), 1);
    {
        dbftest::TempDir dir;
        OdbcConnection connection(binding);
        probe.setRows({"primary_data", nullptr, "log"});
        ResultTableError why = ResultTableError::None;
        std::unique_ptr<dbf> table = createResultTable(dir.path().string() + "/u.dbf",
                                                       catalogViewFields(node_kind::kShowUnusedSpace), false, &why);
        ASSERT_TRUE(table);
        CatalogFill fill = fillCatalogView(binding, connection.get(), node_kind::kShowUnusedSpace, {}, *table);
        EXPECT_STREQ(probe.state().lastExec,
                     "SELECT name, size/ 128.0- CAST(FILEPROPERTY(name, 'SpaceUsed') AS int)/ 128.0 AS "
                     "AvailableSpaceInMB FROM sys.database_files");
        EXPECT_EQ(fill.result, sql::kSuccess);
        EXPECT_EQ(fill.rows, 3);
        table->goTo(2);
        EXPECT_EQ(trimmed(table->getField(0)), "");  // NULL stays blank, not the row before
        table->close();
    }
    binding.release(&owner);
}

class CatalogReal : public testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        if (!odbc_test::realOdbcConfigured())
            GTEST_SKIP() << "no test ODBC configuration";
        mariaDb_ = std::string(GetParam()) == odbc_test::kMariaDbDsn;
        if (mariaDb_ && !odbc_test::mariaDbConfigured())
            GTEST_SKIP() << "no MariaDB server (tools/mariadb.sh start)";
#if !defined(_WIN32)
        setenv("TMPDIR", temp_.path().c_str(), 1);  // a temporary folder of this test's own
#endif
        clearOdbcCredentials();
        ASSERT_EQ(binding_.acquire(&owner), 1);
        ASSERT_EQ(binding_.allocConnection(&connection_), sql::kSuccess);
        std::snprintf(odbcCredentials().user, OdbcCredentials::kSize, "%s", mariaDb_ ? odbc_test::kMariaDbUser : "");
        std::snprintf(odbcCredentials().password, OdbcCredentials::kSize, "%s",
                      mariaDb_ ? odbc_test::kMariaDbPassword : "");
        SqlHdbc node = nullptr;
        bool login = false;
        ASSERT_TRUE(sql::succeeded(connect(&owner, GetParam(), connection_, &node, &login, false, 0, binding_)));
        makeTables();
    }
    void TearDown() override {
        if (connection_)
            binding_.freeConnection(connection_);
        binding_.release(&owner);
        clearOdbcCredentials();
#if !defined(_WIN32)
        unsetenv("TMPDIR");
#endif
    }
    void exec(const std::string& text) {
        OdbcStatement statement(binding_, connection_);
        SqlReturn rc = statement.execDirect(text);
        ASSERT_TRUE(sql::succeeded(rc) || rc == sql::kNoData) << text << ": " << statement.errorText();
    }
    void makeTables() {
        for (const char* table : {"qc_child", "qc_parent", "qc_auto"})
            exec(std::string("DROP TABLE IF EXISTS ") + table);
        exec("CREATE TABLE qc_parent (id INTEGER PRIMARY KEY, name VARCHAR(20))");
        exec(
            "CREATE TABLE qc_child (id INTEGER NOT NULL, part INTEGER NOT NULL, parent_id INTEGER, note "
            "VARCHAR(20), PRIMARY KEY (id, part), FOREIGN KEY (parent_id) REFERENCES qc_parent(id))");
        exec("CREATE INDEX qc_child_note ON qc_child (note)");
        if (!mariaDb_)
            return;
        exec("ALTER TABLE qc_child COMMENT = 'child rows'");
        exec("CREATE TABLE qc_auto (id INTEGER AUTO_INCREMENT PRIMARY KEY) COMMENT = 'counted'");
        exec("INSERT INTO qc_auto VALUES (NULL)");
        exec("CREATE DATABASE IF NOT EXISTS qc_other");
        exec("DROP TABLE IF EXISTS qc_other.t2");
        exec("CREATE TABLE qc_other.t2 (other_id INTEGER PRIMARY KEY)");
        exec("DROP PROCEDURE IF EXISTS p1");
        exec("CREATE PROCEDURE p1 (IN a INTEGER, OUT b VARCHAR(10)) SET b = 'x'");
        exec("CREATE USER IF NOT EXISTS 'qc_r'@'%'");
        exec("GRANT SELECT ON quarrow.qc_parent TO 'qc_r'@'%'");
        exec("GRANT SELECT (note), UPDATE (note) ON quarrow.qc_child TO 'qc_r'@'%'");
    }
    Rows view(int kind, const CatalogSubject& subject = {}) {
        return fillAndRead(binding_, connection_, kind, subject, &fill_);
    }

    bool mariaDb_ = false;
    dbftest::TempDir temp_;
    odbc_test::RecordingUi ui_;
    OdbcBinding binding_{platformOdbcLibraryNames(), &ui_};
    SqlHdbc connection_ = nullptr;
    CatalogFill fill_;
};

// Keys, indexes and information: what both drivers give for the same tables.
TEST_P(CatalogReal, KeysIndexesAndInformation) {
    const std::string catalog = mariaDb_ ? "quarrow" : "";
    struct Case {
        int kind;
        std::string table;
        std::size_t field;
        std::string key;  // the row whose `field` holds this
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {node_kind::kPrimaryKeys, "qc_child", 0, "part", {"part", "2"}},
        {node_kind::kForeignKeys, "qc_child", 1, "parent_id", {"qc_child", "parent_id", "1", "qc_parent", "id"}},
        {node_kind::kInformation, "", 0, "DBMS name", {"DBMS name", mariaDb_ ? "MariaDB" : "SQLite"}},
        {node_kind::kInformation, "", 0, "Read only", {"Read only", "N"}},
    };
    for (const Case& c : cases) {
        Rows rows = view(c.kind, {catalog, "", c.table});
        EXPECT_EQ(fill_.result, sql::kSuccess) << c.kind << ": " << fill_.error;
        const auto* row = rowWith(rows, c.field, c.key);
        ASSERT_TRUE(row) << c.kind << " " << c.key;
        EXPECT_EQ(std::vector<std::string>(row->begin(), row->begin() + c.expected.size()), c.expected) << c.kind;
    }
    // Statistics: the index of qc_child's note column, its type in words, the catalog last.
    Rows statistics = view(node_kind::kStatistics, {catalog, "", "qc_child"});
    EXPECT_EQ(fill_.result, sql::kSuccess) << fill_.error;
    const auto* note = rowWith(statistics, 7, "note");
    ASSERT_TRUE(note);
    EXPECT_EQ((*note)[1], "qc_child");
    EXPECT_EQ((*note)[4], "qc_child_note");
    EXPECT_EQ((*note)[5], "unidentified");
    EXPECT_EQ((*note)[6], "1");
    EXPECT_EQ((*note)[12], catalog);
}

// Views SQLite has no data for, or no call: empty, and which of them report.
TEST_P(CatalogReal, PrivilegesProceduresAndServerViews) {
    if (!mariaDb_) {
        EXPECT_TRUE(view(node_kind::kProcedures).empty());
        Rows privileges = view(node_kind::kTablePrivileges, {"", "", "qc_parent"});
        EXPECT_EQ(fill_.result, sql::kSuccess) << fill_.error;
        for (const auto& row : privileges)
            EXPECT_EQ(row[2], "") << "SQLite names no grantor";
        // No column privileges (IM001), and no "show": the failure and its text come back.
        for (int kind : {int(node_kind::kColumnPrivileges), int(node_kind::kShowDatabases)}) {
            view(kind, {"", "", "qc_child"});
            EXPECT_FALSE(sql::succeeded(fill_.result)) << kind;
            EXPECT_FALSE(fill_.error.empty()) << kind;
            EXPECT_TRUE(catalogViewReportsFailure(kind));
        }
        return;
    }
    // A table of another database is found through the node's catalog.
    Rows keys = view(node_kind::kPrimaryKeys, {"qc_other", "", "t2"});
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0][0], "other_id");

    Rows tablePrivileges = view(node_kind::kTablePrivileges, {"quarrow", "", "qc_parent"});
    // The grantee is cut to its 16 characters: a short user name keeps it whole.
    const auto* select = rowWith(tablePrivileges, 3, "'qc_r'@'%'");
    ASSERT_TRUE(select) << fill_.error;
    EXPECT_EQ((*select)[4], "SELECT");
    Rows columnPrivileges = view(node_kind::kColumnPrivileges, {"quarrow", "", "qc_child"});
    EXPECT_EQ(fill_.result, sql::kSuccess) << fill_.error;
    int noteGrants = 0;
    for (const auto& row : columnPrivileges)
        noteGrants += row[2] == "note" && row[4] == "'qc_r'@'%'";
    EXPECT_EQ(noteGrants, 2);

    Rows procedures = view(node_kind::kProcedures, {"quarrow", "", ""});
    const auto* p1 = rowWith(procedures, 2, "p1");
    ASSERT_TRUE(p1) << fill_.error;
    EXPECT_EQ((*p1)[4], "Procedure");
    // "Sho&w columns": one line per parameter after the title and the header.
    std::string columns = procedureColumnsText(binding_, connection_, (*p1)[0], (*p1)[1], "p1");
    EXPECT_EQ(columns.substr(0, 19), "p1 :\r\n\r\nColumn name");
    EXPECT_NE(columns.find("\r\na                               ;          1;"), std::string::npos) << columns;
    EXPECT_NE(columns.find("\r\nb                               ;          4;"), std::string::npos) << columns;
    std::string header = columns.substr(8, columns.find("\r\n", 8) + 2 - 8);
    EXPECT_EQ(procedureColumnsText(binding_, connection_, "quarrow", "", "no_such"), "no_such :\r\n\r\n" + header)
        << "an unknown procedure leaves the title and the header";

    Rows databases = view(node_kind::kShowDatabases);
    EXPECT_TRUE(rowWith(databases, 0, "qc_other"));
    // Read by column name, and a NULL never repeats the row before it.
    Rows status = view(node_kind::kShowTableStatus);
    EXPECT_EQ(fill_.result, sql::kSuccess) << fill_.error;
    const auto* autoRow = rowWith(status, 0, "qc_auto");
    const auto* child = rowWith(status, 0, "qc_child");
    ASSERT_TRUE(autoRow && child);
    EXPECT_EQ((*autoRow)[1], "InnoDB");
    EXPECT_EQ((*autoRow)[2], "Dynamic");
    EXPECT_EQ((*autoRow)[9], "2");
    EXPECT_EQ((*autoRow)[14], "counted");
    EXPECT_EQ((*child)[9], "");
    EXPECT_EQ((*child)[14], "child rows");
    EXPECT_EQ((*child)[12], "");  // Check_time is NULL

    for (int kind : {int(node_kind::kShowStatus), int(node_kind::kShowVariables)})
        EXPECT_GT(view(kind).size(), 10u) << kind;
    Rows processes = view(node_kind::kShowProcesslist);
    const auto* own = rowWith(processes, 7, "show processlist");
    ASSERT_TRUE(own) << fill_.error;
    EXPECT_EQ((*own)[1], "quarrow");
    EXPECT_EQ((*own)[3], "quarrow");
}

INSTANTIATE_TEST_SUITE_P(Drivers,
                         CatalogReal,
                         testing::Values(odbc_test::kSqliteDsn, odbc_test::kMariaDbDsn),
                         [](const testing::TestParamInfo<const char*>& param) {
                             return std::string(param.param) == odbc_test::kSqliteDsn ? "SQLite" : "MariaDB";
                         });

}  // namespace
