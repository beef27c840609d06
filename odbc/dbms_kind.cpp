#include "odbc/dbms_kind.h"

#include <algorithm>
#include <cctype>

namespace {

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

}  // namespace

bool isMySqlFamily(const std::string& dbmsName) {
    std::string name = upper(dbmsName);
    return name.find("MYSQL") != std::string::npos || name.find("MARIADB") != std::string::npos;
}

bool isSqlServer(const std::string& dbmsName) {
    return upper(dbmsName).find("MICROSOFT SQL SERVER") != std::string::npos;
}

std::string connectionInfo(OdbcBinding& binding, SqlHdbc connection, SqlUSmallInt item) {
    if (!binding.fn().SQLGetInfo || !connection)
        return std::string();
    char text[256] = "";
    SqlSmallInt length = 0;
    if (!sql::succeeded(binding.fn().SQLGetInfo(connection, item, text, sizeof text, &length)))
        return std::string();
    text[sizeof text - 1] = '\0';
    return text;
}

std::string dbmsName(OdbcBinding& binding, SqlHdbc connection) {
    return connectionInfo(binding, connection, sql::kInfoDbmsName);
}
