#include "odbc/select_text.h"

#include "odbc/dbms_kind.h"

namespace {

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string identifierQuote(OdbcBinding& binding, SqlHdbc connection) {
    return trimmed(connectionInfo(binding, connection, sql::kInfoIdentifierQuoteChar));
}

std::string currentCatalog(OdbcBinding& binding, SqlHdbc connection) {
    if (binding.fn().SQLGetConnectOption && connection) {
        // The option answers into a buffer the size of the longest name the driver allows.
        char name[1024] = "";
        if (sql::succeeded(binding.fn().SQLGetConnectOption(connection, sql::kCurrentQualifier, name)) && name[0]) {
            name[sizeof name - 1] = '\0';
            return name;
        }
    }
    return connectionInfo(binding, connection, sql::kInfoDatabaseName);
}

std::string quoteIdentifier(const std::string& name, const std::string& quote) {
    std::string text = trimmed(name);
    if (quote.empty())
        return text;
    std::string out = quote;
    for (size_t at = 0; at < text.size();) {
        if (text.compare(at, quote.size(), quote) == 0) {
            out += quote + quote;
            at += quote.size();
        } else {
            out += text[at++];
        }
    }
    return out + quote;
}

std::string qualifiedTableName(const std::string& catalog,
                               const std::string& schema,
                               const std::string& table,
                               const std::string& quote,
                               const std::string& current) {
    std::string q = trimmed(quote);
    std::string name;
    if (!trimmed(catalog).empty() && trimmed(catalog) != trimmed(current))
        name = quoteIdentifier(catalog, q) + ".";
    if (!trimmed(schema).empty())
        name += quoteIdentifier(schema, q) + ".";
    return name + quoteIdentifier(table, q);
}

std::string buildSelectText(const std::string& catalog,
                            const std::string& schema,
                            const std::string& table,
                            const std::string& quote,
                            const std::string& current) {
    return "SELECT * FROM " + qualifiedTableName(catalog, schema, table, quote, current);
}
