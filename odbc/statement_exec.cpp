#include "odbc/statement_exec.h"

#include <cctype>
#include <cstdio>
#include <memory>

#include "odbc/dbms_kind.h"
#include "odbc/odbc_handles.h"
#include "odbc/select_text.h"
#include "odbc/side_connection.h"

namespace {

constexpr std::size_t kColumnLimit = 255;

std::string firstWord(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
    std::string word;
    while (at < text.size() && std::isalpha(static_cast<unsigned char>(text[at])))
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(text[at++])));
    return word;
}

// A statement on the connection it must run on; the side connection lives as long as it.
struct Runner {
    std::unique_ptr<SideConnection> side;
    OdbcStatement statement;
};

Runner openRunner(OdbcBinding& binding,
                  void* owner,
                  SqlHdbc connection,
                  const std::string& dataSource,
                  const std::string& text,
                  bool* connected) {
    Runner runner;
    *connected = true;
    if (needsOwnConnection(text, dbmsName(binding, connection))) {
        runner.side = std::make_unique<SideConnection>(binding, dataSource, owner);
        *connected = runner.side->ok();
        if (!*connected)
            return runner;
        connection = runner.side->get();
    }
    runner.statement = OdbcStatement(binding, connection);
    return runner;
}

// The results a side connection's statement gives are all read before it is closed.
void drain(Runner& runner) {
    if (!runner.side)
        return;
    do {
        while (sql::succeeded(runner.statement.fetch())) {
        }
    } while (sql::succeeded(runner.statement.moreResults()));
}

class WaitCursor {
  public:
    explicit WaitCursor(OdbcUi& ui) : ui_(ui) { ui_.waitCursor(true); }
    ~WaitCursor() { ui_.waitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    OdbcUi& ui_;
};

}  // namespace

bool needsOwnConnection(const std::string& statement, const std::string& dbms) {
    std::string word = firstWord(statement);
    return isMySqlFamily(dbms) && (word == "OPTIMIZE" || word == "REPAIR");
}

SqlReturn executeStatement(OdbcBinding& binding,
                           void* owner,
                           SqlHdbc connection,
                           const std::string& dataSource,
                           const std::string& text,
                           std::string* output) {
    WaitCursor wait(binding.ui());
    bool connected = false;
    Runner runner = openRunner(binding, owner, connection, dataSource, text, &connected);
    if (!connected)
        return sql::kError;
    if (!runner.statement.ok()) {
        runner.statement.reportError(owner);
        return runner.statement.result();
    }
    SqlReturn rc = runner.statement.execDirect(text);
    if (!sql::succeeded(rc)) {
        if (rc != sql::kNoData)
            runner.statement.reportError(owner);
        return rc;
    }
    if (output) {
        SqlSmallInt columns = 0;
        if (!sql::succeeded(runner.statement.numResultCols(&columns)))
            columns = 0;
        // Left-aligned in 40, 16, 16 and 80 characters, never cut.
        static const std::size_t kWidths[] = {40, 16, 16, 80};
        while (columns > 0 && output->size() < kStatementOutputLimit &&
               (rc = runner.statement.fetch()) == sql::kSuccess) {
            std::string line;
            for (SqlSmallInt column = 1; column <= 4; ++column) {
                ColumnText value;
                if (column <= columns)
                    runner.statement.getText(static_cast<SqlUSmallInt>(column), value, kColumnLimit);
                std::size_t width = kWidths[column - 1];
                line += value.text;
                if (value.text.size() < width)
                    line.append(width - value.text.size(), ' ');
            }
            *output += line + "\r\n";
        }
        if (output->size() > kStatementOutputLimit)
            output->resize(kStatementOutputLimit);
    }
    drain(runner);
    return rc;
}

std::string executeSelectionText(OdbcBinding& binding,
                                 SqlHdbc connection,
                                 const std::string& dataSource,
                                 const std::string& selected,
                                 const std::string& whole) {
    std::string text = whole + "\r\n\r\n";
    bool connected = false;
    // The side connection's own failure is told in a box; the editor then says nothing more.
    Runner runner = openRunner(binding, nullptr, connection, dataSource, selected, &connected);
    if (!connected)
        return text;
    SqlReturn rc = runner.statement.ok() ? runner.statement.execDirect(selected) : sql::kError;
    std::string outcome =
        sql::succeeded(rc) || rc == sql::kNoData ? std::string("Success.") : runner.statement.errorText();
    drain(runner);
    if (text.size() + outcome.size() < kEditorTextLimit)
        text += outcome;
    return text;
}

std::string tableStatement(const char* verb,
                           const std::string& catalog,
                           const std::string& schema,
                           const std::string& table,
                           const std::string& quote,
                           const std::string& current) {
    return std::string(verb) + " " + qualifiedTableName(catalog, schema, table, quote, current);
}
