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

std::string dbmsName(OdbcBinding& binding, SqlHdbc connection) {
    if (!binding.fn().SQLGetInfo || !connection)
        return std::string();
    char name[256] = "";
    SqlSmallInt length = 0;
    SqlReturn result = binding.fn().SQLGetInfo(connection, sql::kInfoDbmsName, name, sizeof name, &length);
    if (result != sql::kSuccess && result != sql::kSuccessWithInfo)
        return std::string();
    name[sizeof name - 1] = '\0';
    return name;
}
