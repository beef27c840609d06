// "&Save as 'insert into ...'" of a query result grid over SQLite: the file chosen in the save
// dialog, the finishing box, and a script that recreates the rows in an empty copy of the table,
// also when the table's name holds a dot.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "browse/browse_commands.h"
#include "browse/browse_view.h"
#include "odbc/data_sources.h"
#include "odbc/odbc_handles.h"
#include "odbc/result_view.h"
#include "odbc/sql_editor.h"
#include "tests/dbf/dbf_test_util.h"
#include "tests/odbc/odbc_test_support.h"
#include "tests/win32/dialog_script.h"
#include "tests/win32/grid_fake_source.h"
#include "tests/win32/grid_host_fixture.h"
#include "tests/win32/harness.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

class InsertScriptGrid : public GridHostTest {
  protected:
    void SetUp() override {
        GridHostTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        setInsertScriptWriter(saveAsInsertScript);
    }
    void TearDown() override {
        GridHostTest::TearDown();
        setInsertScriptWriter(nullptr);
    }
    Rows rows(const std::string& text) {
        OdbcStatement statement(odbcBinding(), connection_);
        EXPECT_TRUE(sql::succeeded(statement.execDirect(text))) << text;
        SqlSmallInt count = 0;
        statement.numResultCols(&count);
        Rows out;
        while (sql::succeeded(statement.fetch())) {
            out.emplace_back();
            for (SqlSmallInt i = 1; i <= count; ++i) {
                ColumnText value;
                statement.getText(static_cast<SqlUSmallInt>(i), value);
                out.back().push_back(value.null ? "<null>" : value.text);
            }
        }
        return out;
    }
};

TEST_F(InsertScriptGrid, ScriptFromTheGridRecreatesTheRowsOfADottedTable) {
    exec("DROP TABLE IF EXISTS \"sqe.rows\"");
    exec("CREATE TABLE \"sqe.rows\" (name VARCHAR(30), qty NUMERIC(8,2), day DATE, note TEXT, spare VARCHAR(5))");
    exec(
        "INSERT INTO \"sqe.rows\" VALUES ('O''Brien', 2.5, '2024-02-29', 'say \"hi\", it''s C:\\', NULL), "
        "('plain', NULL, NULL, NULL, 'x')");
    ExplorerNode node;
    node.kind = node_kind::kBrowse;
    node.connection = connection_;
    node.name = "sqe.rows";
    node.path = "QuarrowSQLite.sqe.rows.Browse";
    ASSERT_EQ(showQueryResult(host_, node, "SELECT * FROM \"sqe.rows\""), 1);
    BrowseView* view = browseViewOf(GetDlgItem(host_.dialog, kGrid));
    ASSERT_NE(view, nullptr);
    const BrowseCommand* save = nullptr;
    for (const BrowseCommand* c = view->commands; c && c->code; ++c)
        if (c->code == 123)
            save = c;
    ASSERT_NE(save, nullptr) << "no command 123";

    dbftest::TempDir dir;
    harness::FileDialogAnswer script;
    script.title = "Generate 'INSERT INTO ...' commands";
    script.name = dir.file("rows.sql");
    harness::answerFileDialog(script, [&] { save->handler(*view); });
    EXPECT_TRUE(script.chosen);
    EXPECT_EQ(script.warnings, std::vector<std::string>{"End ??? :)"});

    std::ifstream in(script.name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(),
              "insert into \"sqe.rows\" (\"name\", \"qty\", \"day\", \"note\") values('O''Brien', '2.5', "
              "{d'2024-02-29'}, 'say \"hi\", it''s C:\\')\r\n"
              "insert into \"sqe.rows\" (\"name\", \"spare\") values('plain', 'x')\r\n");
    // SQLite's NUMERIC column arrives as text. Replayed into an empty copy, the rows come back as they were.
    Rows before = rows("SELECT * FROM \"sqe.rows\" ORDER BY name");
    exec("DELETE FROM \"sqe.rows\"");
    std::string all = text.str();
    for (std::size_t at = 0, end; (end = all.find(")\r\n", at)) != std::string::npos; at = end + 3)
        exec(all.substr(at, end + 1 - at));
    EXPECT_EQ(rows("SELECT * FROM \"sqe.rows\" ORDER BY name"), before);
    exec("DROP TABLE \"sqe.rows\"");
}

}  // namespace
