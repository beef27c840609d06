// Filling the catalog and status views: one driver call per view, its columns copied into the
// view's fields, with the few codes the driver reports as numbers turned into words.
#include <cctype>
#include <cstdlib>

#include "odbc/catalog_views.h"
#include "odbc/explorer_kinds.h"
#include "odbc/odbc_handles.h"

namespace {

constexpr std::size_t kTextLimit = 255;
constexpr std::size_t kKeyTextLimit = 64;

// How a driver column becomes a field's text.
enum class Conversion { none, indexType, sortOrder, procedureType };

struct Source {
    int column;  // 1-based
    Conversion conversion = Conversion::none;
};

std::string converted(const ColumnText& value, Conversion conversion) {
    if (value.null)
        return std::string();
    switch (conversion) {
        case Conversion::indexType: {
            // SQL_INDEX_CLUSTERED, _HASHED, _OTHER; 0 is the table's own statistics row.
            static const char* const kTypes[] = {"", "Clustered", "Hashed", "unidentified"};
            long type = std::strtol(value.text.c_str(), nullptr, 10);
            return type >= 1 && type <= 3 ? kTypes[type] : "";
        }
        case Conversion::sortOrder:
            return value.text == "A" ? "Ascending" : value.text == "D" ? "Descending" : "";
        case Conversion::procedureType:
            return value.text == "0" ? "Unknown" : value.text == "1" ? "Procedure" : "Function";
        default:
            return value.text;
    }
}

// A catalog argument: null when empty, so that the driver takes it as "any".
struct Argument {
    explicit Argument(const std::string& text) : text_(text) {}
    SqlChar* data() const {
        return text_.empty() ? nullptr : reinterpret_cast<SqlChar*>(const_cast<char*>(text_.c_str()));
    }
    SqlSmallInt length() const { return text_.empty() ? 0 : static_cast<SqlSmallInt>(sql::kNts); }

  private:
    const std::string& text_;
};

class Filler {
  public:
    Filler(OdbcBinding& binding, dbf& table, CatalogFill& fill) : binding_(binding), table_(table), fill_(fill) {}

    // Copies every row of the statement's result, column `sources[i]` into field i.
    void copyRows(OdbcStatement& statement, const std::vector<Source>& sources, std::size_t limit) {
        ColumnText value;
        SqlReturn rc;
        while (sql::succeeded(rc = statement.fetch())) {
            if (!table_.appendBlank())
                return;
            for (std::size_t i = 0; i < sources.size(); ++i) {
                if (sources[i].column <= 0)
                    continue;  // the result lacks this column
                statement.getText(static_cast<SqlUSmallInt>(sources[i].column), value, limit);
                table_.setField(static_cast<int>(i), converted(value, sources[i].conversion).c_str());
            }
            table_.writeRecord();
            ++fill_.rows;
        }
        if (rc != sql::kNoData)
            fail(statement, rc);
    }
    void append(const std::string& first, const std::string& second) {
        if (!table_.appendBlank())
            return;
        table_.setField(0, first.c_str());
        table_.setField(1, second.c_str());
        table_.writeRecord();
        ++fill_.rows;
    }
    bool check(OdbcStatement& statement, SqlReturn rc) {
        if (sql::succeeded(rc) || rc == sql::kNoData)
            return true;
        fail(statement, rc);
        return false;
    }
    void fail(OdbcStatement& statement, SqlReturn rc) {
        fill_.result = rc;
        fill_.error = statement.errorText();
    }
    OdbcBinding& binding() { return binding_; }

  private:
    OdbcBinding& binding_;
    dbf& table_;
    CatalogFill& fill_;
};

std::vector<Source> columns(std::initializer_list<int> numbers) {
    std::vector<Source> sources;
    for (int number : numbers)
        sources.push_back({number});
    return sources;
}

void fillInformation(Filler& filler, SqlHdbc connection) {
    static const struct {
        const char* name;
        SqlUSmallInt type;
        bool number;  // a 16-bit number, shown in decimal
    } kItems[] = {
        {"User name", sql::kInfoUserName, false},
        {"Data source name", sql::kInfoDataSourceName, false},
        {"Database name", sql::kInfoDatabaseName, false},
        {"Server name", sql::kInfoServerName, false},
        {"DBMS name", sql::kInfoDbmsName, false},
        {"DBMS version", sql::kInfoDbmsVersion, false},
        {"Driver name", sql::kInfoDriverName, false},
        {"Driver version", sql::kInfoDriverVersion, false},
        {"Driver ODBC version", sql::kInfoDriverOdbcVersion, false},
        {"ODBC version", sql::kInfoOdbcVersion, false},
        {"Read only", sql::kInfoDataSourceReadOnly, false},
        {"ODBC API conformance", sql::kInfoOdbcApiConformance, true},
        {"ODBC SQL conformance", sql::kInfoOdbcSqlConformance, true},
        {"Active connections", sql::kInfoActiveConnections, true},
        {"Active statements", sql::kInfoActiveStatements, true},
        {"Accessible procedures", sql::kInfoAccessibleProcedures, false},
        {"Accessible tables", sql::kInfoAccessibleTables, false},
    };
    for (const auto& item : kItems) {
        char text[81] = "";
        unsigned short number = 0;
        SqlSmallInt length = 0;
        SqlReturn rc = item.number
                           ? filler.binding().fn().SQLGetInfo(connection, item.type, &number, sizeof number, &length)
                           : filler.binding().fn().SQLGetInfo(connection, item.type, text, sizeof text, &length);
        if (!sql::succeeded(rc))
            continue;  // the driver does not know this item: no row
        text[sizeof text - 1] = '\0';
        filler.append(item.name, item.number ? std::to_string(number) : std::string(text));
    }
}

// Column privileges are asked column by column; the column names are read first, so that only one
// statement has a pending result at a time.
void fillColumnPrivileges(Filler& filler, OdbcStatement& statement, const CatalogSubject& subject) {
    OdbcBinding& binding = filler.binding();
    Argument catalog(subject.catalog), schema(subject.schema), name(subject.name);
    SqlReturn rc = binding.fn().SQLColumns(statement.get(), catalog.data(), catalog.length(), schema.data(),
                                           schema.length(), name.data(), name.length(), nullptr, 0);
    if (!filler.check(statement, rc))
        return;
    struct Column {
        std::string catalog, schema, table, name;
    };
    std::vector<Column> found;
    ColumnText value[4];
    while (sql::succeeded(statement.fetch())) {
        for (int i = 0; i < 4; ++i)
            statement.getText(static_cast<SqlUSmallInt>(i + 1), value[i], kTextLimit);
        found.push_back({value[0].text, value[1].text, value[2].text, value[3].text});
    }
    statement.reset();
    for (const Column& column : found) {
        OdbcStatement privileges(binding, statement.connection());
        Argument c(column.catalog), s(column.schema), t(column.table), n(column.name);
        rc = binding.fn().SQLColumnPrivileges(privileges.get(), c.data(), c.length(), s.data(), s.length(), t.data(),
                                              t.length(), n.data(), n.length());
        if (!filler.check(privileges, rc))
            return;
        filler.copyRows(privileges, columns({1, 2, 4, 5, 6, 7, 8}), kTextLimit);
    }
}

// Column names compare as the servers spell them differently over versions ("Rows", "rows").
bool sameName(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

// "show table status" changed its columns over the servers' versions: read them by name.
std::vector<Source> tableStatusSources(OdbcBinding& binding, OdbcStatement& statement) {
    static const char* const kNames[][2] = {
        {"Name", ""},           {"Engine", "Type"},     {"Row_format", ""},      {"Rows", ""},
        {"Avg_row_length", ""}, {"Data_length", ""},    {"Max_data_length", ""}, {"Index_length", ""},
        {"Data_free", ""},      {"Auto_increment", ""}, {"Create_time", ""},     {"Update_time", ""},
        {"Check_time", ""},     {"Create_options", ""}, {"Comment", ""},
    };
    SqlSmallInt count = 0;
    statement.numResultCols(&count);
    std::vector<ResultColumn> described;
    describeResultColumns(binding.fn(), statement.get(), count, described);
    std::vector<Source> sources;
    for (const auto& names : kNames) {
        Source source{0};
        for (std::size_t i = 0; i < described.size(); ++i) {
            const std::string& name = described[i].name;
            if (sameName(name, names[0]) || (names[1][0] && sameName(name, names[1])))
                source.column = static_cast<int>(i) + 1;
        }
        sources.push_back(source);
    }
    return sources;
}

void fillFromCatalog(Filler& filler, OdbcStatement& statement, int kind, const CatalogSubject& subject) {
    const OdbcFunctions& fn = filler.binding().fn();
    SqlHstmt handle = statement.get();
    Argument catalog(subject.catalog), schema(subject.schema), name(subject.name);
    SqlReturn rc = sql::kError;
    std::vector<Source> sources;
    std::size_t limit = kTextLimit;
    switch (kind) {
        case node_kind::kPrimaryKeys:
            // Every schema's table of that name: the schema is not passed.
            if (fn.SQLPrimaryKeys)
                rc =
                    fn.SQLPrimaryKeys(handle, catalog.data(), catalog.length(), nullptr, 0, name.data(), name.length());
            sources = columns({4, 5});
            limit = kKeyTextLimit;
            break;
        case node_kind::kForeignKeys:
            if (fn.SQLForeignKeys)
                rc = fn.SQLForeignKeys(handle, nullptr, 0, nullptr, 0, nullptr, 0, catalog.data(), catalog.length(),
                                       nullptr, 0, name.data(), name.length());
            sources = columns({7, 8, 9, 3, 4});
            limit = kKeyTextLimit;
            break;
        case node_kind::kStatistics:
            rc = fn.SQLStatistics(handle, catalog.data(), catalog.length(), schema.data(), schema.length(), name.data(),
                                  name.length(), sql::kIndexAll, sql::kQuick);
            sources = columns({2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 1});
            sources[5].conversion = Conversion::indexType;
            sources[8].conversion = Conversion::sortOrder;
            break;
        case node_kind::kTablePrivileges:
            rc = fn.SQLTablePrivileges(handle, catalog.data(), catalog.length(), schema.data(), schema.length(),
                                       name.data(), name.length());
            sources = columns({1, 2, 4, 5, 6, 7});
            break;
        case node_kind::kProcedures:
            if (fn.SQLProcedures)
                rc = fn.SQLProcedures(handle, catalog.data(), catalog.length(), schema.data(), schema.length(), nullptr,
                                      0);
            sources = columns({1, 2, 3, 7, 8});
            sources[4].conversion = Conversion::procedureType;
            break;
        default:
            return;
    }
    if (filler.check(statement, rc))
        filler.copyRows(statement, sources, limit);
}

}  // namespace

CatalogFill fillCatalogView(OdbcBinding& binding,
                            SqlHdbc connection,
                            int kind,
                            const CatalogSubject& subject,
                            dbf& table) {
    CatalogFill fill;
    Filler filler(binding, table, fill);
    if (kind == node_kind::kInformation) {
        fillInformation(filler, connection);
        return fill;
    }
    OdbcStatement statement(binding, connection);
    if (!statement.ok()) {
        filler.fail(statement, statement.result());
        fill.noStatement = true;
        return fill;
    }
    if (kind == node_kind::kColumnPrivileges) {
        fillColumnPrivileges(filler, statement, subject);
        return fill;
    }
    const char* text = catalogViewStatement(kind);
    if (!text) {
        fillFromCatalog(filler, statement, kind, subject);
        return fill;
    }
    if (!filler.check(statement, statement.execDirect(text)))
        return fill;
    std::vector<Source> sources;
    if (kind == node_kind::kShowTableStatus)
        sources = tableStatusSources(binding, statement);
    else
        for (std::size_t i = 1; i <= catalogViewFields(kind).size(); ++i)
            sources.push_back({static_cast<int>(i)});
    filler.copyRows(statement, sources, kTextLimit);
    return fill;
}
