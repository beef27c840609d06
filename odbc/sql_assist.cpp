#include "odbc/sql_assist.h"

#include <algorithm>
#include <cctype>

#include "odbc/dbms_kind.h"
#include "odbc/odbc_handles.h"
#include "odbc/result_columns.h"
#include "odbc/select_text.h"

namespace {

constexpr std::size_t kNameLimit = 260;

std::string trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Words no server takes as a bare name.
const char* const kReserved[] = {
    "ADD",        "ALL",    "ALTER",  "AND",     "AS",     "ASC",   "BETWEEN",  "BY",     "CASE",  "CHECK",  "COLUMN",
    "CREATE",     "CROSS",  "DATE",   "DEFAULT", "DELETE", "DESC",  "DISTINCT", "DROP",   "ELSE",  "EXISTS", "FOREIGN",
    "FROM",       "FULL",   "GROUP",  "HAVING",  "IN",     "INDEX", "INNER",    "INSERT", "INTO",  "IS",     "JOIN",
    "KEY",        "LEFT",   "LIKE",   "LIMIT",   "NOT",    "NULL",  "ON",       "OR",     "ORDER", "OUTER",  "PRIMARY",
    "REFERENCES", "RIGHT",  "SELECT", "SET",     "TABLE",  "THEN",  "TIME",     "TO",     "UNION", "UNIQUE", "UPDATE",
    "USER",       "VALUES", "VIEW",   "WHEN",    "WHERE",  "WITH",
};

bool plainIdentifier(const std::string& name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0])))
        return false;
    std::string upper;
    for (char c : name) {
        unsigned char u = static_cast<unsigned char>(c);
        if (!std::isalnum(u) && c != '_')
            return false;
        upper += static_cast<char>(std::toupper(u));
    }
    return std::none_of(std::begin(kReserved), std::end(kReserved), [&](const char* word) { return upper == word; });
}

const char kSelectSyntax[] =
    "SELECT [ALL | DISTINCT]\r\n"
    "   [Alias.] Select_Item [AS Column_Name]\r\n"
    "   [, [Alias.] Select_Item [AS Column_Name] ...]\r\n"
    "FROM [DatabaseName!]Table [Local_Alias]\r\n"
    "   [, [DatabaseName!]Table [Local_Alias] ...]\r\n"
    "[WHERE JoinCondition [AND JoinCondition ...]\r\n"
    "   [AND | OR FilterCondition [AND | OR FilterCondition ...]]]\r\n"
    "[GROUP BY GroupColumn [, GroupColumn ...]]\r\n"
    "[HAVING FilterCondition]\r\n"
    "[UNION [ALL] SELECTCommand]\r\n"
    "[ORDER BY Order_Item [ASC | DESC] [, Order_Item [ASC | DESC] ...]]";
const char kInsertSyntax[] =
    "INSERT INTO dbf_name [(fname1 [, fname2, ...])]\r\n"
    "   VALUES (eExpression1 [, eExpression2, ...])";
const char kUpdateSyntax[] =
    "UPDATE [DatabaseName1!]TableName1\r\n"
    "SET Column_Name1 = eExpression1\r\n"
    "   [, Column_Name2 = eExpression2 ...]\r\n"
    "WHERE FilterCondition1 [AND | OR FilterCondition2 ...]";
const char kDeleteSyntax[] =
    "DELETE FROM [DatabaseName!]TableName\r\n"
    "   [WHERE FilterCondition1 [AND | OR FilterCondition2 ...]]";
const char kDropSyntax[] = "DROP TABLE TableName | FileName | ?";
const char kAlterSyntax[] =
    "ALTER TABLE TableName1\r\n"
    "   ADD | ALTER [COLUMN] FieldName1 FieldType [(nFieldWidth [, nPrecision])]\r\n"
    "   [NULL | NOT NULL] [CHECK lExpression1 [ERROR cMessageText1]]\r\n"
    "   [DEFAULT eExpression1] [PRIMARY KEY | UNIQUE]\r\n"
    "   [REFERENCES TableName2 [TAG TagName1]] [NOCPTRANS]\r\n"
    "\x96 Or \x96\r\n"
    "ALTER TABLE TableName1\r\n"
    "   ALTER [COLUMN] FieldName2 [NULL | NOT NULL] [SET DEFAULT eExpression2]\r\n"
    "   [SET CHECK lExpression2 [ERROR cMessageText2]] [DROP DEFAULT] [DROP CHECK]\r\n"
    "\x96 Or \x96\r\n"
    "ALTER TABLE TableName1\r\n"
    "   [DROP [COLUMN] FieldName3] [SET CHECK lExpression3 [ERROR cMessageText3]]\r\n"
    "   [DROP CHECK] [ADD PRIMARY KEY eExpression3 TAG TagName2]\r\n"
    "   [DROP PRIMARY KEY] [ADD UNIQUE eExpression4 [TAG TagName3]]\r\n"
    "   [DROP UNIQUE TAG TagName4] [ADD FOREIGN KEY [eExpression5] TAG TagName4\r\n"
    "      REFERENCES TableName2 [TAG TagName5]] [DROP FOREIGN KEY TAG TagName6 [SAVE]]\r\n"
    "   [RENAME COLUMN FieldName4 TO FieldName5] [NOVALIDATE]";
const char kCreateTableSyntax[] =
    "CREATE TABLE | DBF TableName1 [NAME LongTableName] [FREE]\r\n"
    "   (FieldName1 FieldType [(nFieldWidth [, nPrecision])]\r\n"
    "      [NULL | NOT NULL] [CHECK lExpression1 [ERROR cMessageText1]]\r\n"
    "      [DEFAULT eExpression1] [PRIMARY KEY | UNIQUE]\r\n"
    "      [REFERENCES TableName2 [TAG TagName1]] [NOCPTRANS]\r\n"
    "   [, FieldName2 ...]\r\n"
    "   [, PRIMARY KEY eExpression2 TAG TagName2 | , UNIQUE eExpression3 TAG TagName3]\r\n"
    "   [, FOREIGN KEY eExpression4 TAG TagName4 [NODUP]\r\n"
    "      REFERENCES TableName3 [TAG TagName5]]\r\n"
    "   [, CHECK lExpression2 [ERROR cMessageText2]])\r\n"
    "| FROM ARRAY ArrayName";
const char kCreateIndexSyntax[] =
    "CREATE [UNIQUE] INDEX index-name ON table-name (column-identifier [ASC][DESC][, column-identifier "
    "[ASC][DESC]...]) WITH <index option list>\r\n"
    "<index option list> ::= PRIMARY | DISALLOW NULL | IGNORE NULL";

}  // namespace

const std::vector<AssistCommand>& assistCommands() {
    static const std::vector<AssistCommand> commands = {
        {"SELECT", kSelectSyntax},
        {"INSERT INTO", kInsertSyntax},
        {"UPDATE", kUpdateSyntax},
        {"DELETE FROM", kDeleteSyntax},
        {"DROP TABLE", kDropSyntax},
        {"ALTER TABLE", kAlterSyntax},
        {"CREATE TABLE", kCreateTableSyntax},
        {"CREATE INDEX", kCreateIndexSyntax},
        {"CREATE VIEW AS", ""},
    };
    return commands;
}

const std::vector<std::string>& assistOperators() {
    static const std::vector<std::string> operators = {
        " ", "+",  "-",  "/",  "*",  "=", "==", "AND", "OR", "NOT", "IN", "LIKE", "BETWEEN", ">",
        "<", ">=", "<=", "<>", "!=", "#", "{",  "}",   "(",  ")",   ",",  "%",    ".",       "'"};
    return operators;
}

std::vector<std::string> assistKeywordsAndTypes(OdbcBinding& binding, SqlHdbc connection) {
    std::vector<std::string> items = {
        "ALL",
        "DISTINCT",
        "AS",
        "FROM",
        "WHERE",
        "GROUP BY",
        "HAVING",
        "UNION",
        "ORDER BY",
        "ASC",
        "DESC",
        "VALUES",
        "SET",
        "ADD",
        "ALTER",
        "COLUMN",
        "NULL",
        "NOT NULL",
        "CHECK",
        "SET CHECK",
        "DROP CHECK",
        "ERROR",
        "DEFAULT",
        "SET DEFAULT",
        "DROP DEFAULT",
        "PRIMARY KEY",
        "ADD PRIMARY KEY",
        "DROP PRIMARY KEY",
        "UNIQUE",
        "REFERENCES",
        "TAG",
        "NOCPTRANS",
        "ADD UNIQUE",
        "DROP UNIQUE TAG",
        "DROP FOREIGN KEY TAG",
        "RENAME COLUMN",
        "NOVALIDATE",
        "DBF",
        "NAME",
        "FREE",
        "FROM ARRAY",
        "ON",
        "TO",
        "WITH",
        "PRIMARY",
        "DISALLOW NULL",
        "IGNORE NULL",
    };
    static const SqlSmallInt kTypes[] = {1, 2, 3, 4, 5, 6, 7, 8, 12, 9, 10, 11, -1, -2, -3, -4, -5, -6, -7};
    std::string dbms = dbmsName(binding, connection);
    for (SqlSmallInt type : kTypes)
        items.push_back(sqlTypeName(std::string(), type, dbms));
    return items;
}

bool listAssistTables(OdbcBinding& binding, SqlHdbc connection, void* owner, std::vector<AssistTable>* tables) {
    tables->clear();
    OdbcStatement statement(binding, connection);
    if (!statement.ok()) {
        statement.reportError(owner);
        return false;
    }
    if (!binding.fn().SQLTables ||
        !sql::succeeded(binding.fn().SQLTables(statement.get(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0))) {
        statement.reportError(owner);
        return false;
    }
    ColumnText catalog, schema, name;
    while (sql::succeeded(statement.fetch())) {
        statement.getText(1, catalog, kNameLimit);
        statement.getText(2, schema, kNameLimit);
        statement.getText(3, name, kNameLimit);
        tables->push_back({trimmed(catalog.text), trimmed(schema.text), trimmed(name.text)});
    }
    std::stable_sort(tables->begin(), tables->end(),
                     [](const AssistTable& a, const AssistTable& b) { return a.name < b.name; });
    return true;
}

std::string assistName(const std::string& name, const std::string& quote) {
    std::string text = trimmed(name);
    return plainIdentifier(text) ? text : quoteIdentifier(text, quote);
}

std::string assistTableName(const AssistTable& table, const std::string& quote, const std::string& current) {
    std::string name;
    if (!table.catalog.empty() && table.catalog != trimmed(current))
        name = assistName(table.catalog, quote) + ".";
    if (!table.schema.empty())
        name += assistName(table.schema, quote) + ".";
    return name + assistName(table.name, quote);
}

bool listAssistFields(OdbcBinding& binding,
                      SqlHdbc connection,
                      void* owner,
                      const std::string& tableName,
                      std::vector<std::string>* fields) {
    fields->clear();
    OdbcStatement statement(binding, connection);
    SqlSmallInt count = 0;
    if (!sql::succeeded(statement.prepare("SELECT * FROM " + tableName)) ||
        !sql::succeeded(statement.numResultCols(&count)) || !binding.fn().SQLDescribeCol) {
        statement.reportError(owner);
        return false;
    }
    for (SqlSmallInt column = 1; column <= count; ++column) {
        char name[kNameLimit] = "";
        SqlSmallInt length = 0, type = 0, digits = 0, nullable = 0;
        SqlULen size = 0;
        if (!sql::succeeded(binding.fn().SQLDescribeCol(statement.get(), static_cast<SqlUSmallInt>(column),
                                                        reinterpret_cast<SqlChar*>(name), sizeof name, &length, &type,
                                                        &size, &digits, &nullable))) {
            statement.reportError(owner);
            fields->clear();
            return false;
        }
        name[sizeof name - 1] = '\0';
        fields->push_back(name);
    }
    std::sort(fields->begin(), fields->end());
    return true;
}
