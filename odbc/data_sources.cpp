// Data-source enumeration, driver connection strings, and connecting with the login retry.
#include "odbc/data_sources.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr SqlSmallInt kDataSourceChars = 256;
constexpr std::size_t kConnectionStringSize = 4096;
constexpr SqlSmallInt kCompletedStringChars = 2048;

// Keeps the low byte of each UTF-16 unit: data-source names are expected in the Latin-1 range.
void narrow(const SqlWchar* wide, char* text, std::size_t size) {
    std::size_t i = 0;
    for (; i + 1 < size && wide[i] != 0; ++i)
        text[i] = static_cast<char>(wide[i] & 0xFF);
    text[i] = '\0';
}

// A file's folder: the path without its last separator and what follows.
std::string folderOf(const std::string& path) {
    std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(0, cut);
}

std::string lastComponent(const std::string& path) {
    std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string format(const char* pattern, const char* a, const char* b = "", const char* c = "") {
    char text[kConnectionStringSize];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

SqlReturn attempt(OdbcBinding& binding,
                  const std::string& name,
                  SqlHdbc connection,
                  bool driverMode,
                  int driverType,
                  OdbcCredentials& credentials) {
    const OdbcFunctions& fn = binding.fn();
    if (driverMode) {
        std::string text = driverConnectionString(driverType, name, credentials);
        std::vector<SqlChar> completed(kCompletedStringChars);
        SqlSmallInt completedLength = 0;
        return fn.SQLDriverConnect(connection, nullptr, reinterpret_cast<SqlChar*>(text.data()),
                                   static_cast<SqlSmallInt>(text.size()), completed.data(), kCompletedStringChars,
                                   &completedLength, sql::kDriverNoPrompt);
    }
    std::string dataSource = name;
    return fn.SQLConnect(
        connection, reinterpret_cast<SqlChar*>(dataSource.data()), static_cast<SqlSmallInt>(dataSource.size()),
        reinterpret_cast<SqlChar*>(credentials.user), static_cast<SqlSmallInt>(std::strlen(credentials.user)),
        reinterpret_cast<SqlChar*>(credentials.password), static_cast<SqlSmallInt>(std::strlen(credentials.password)));
}

}  // namespace

OdbcCredentials& odbcCredentials() {
    static OdbcCredentials credentials;
    return credentials;
}

void clearOdbcCredentials() {
    odbcCredentials() = OdbcCredentials();
}

int driverTypeForExtension(const std::string& extension) {
    std::string upper;
    for (char c : extension)
        upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    if (upper == "MDB")
        return driver_type::kAccess;
    if (upper == "XLS" || upper == "XLSX")
        return driver_type::kExcel;
    if (upper == "DB")
        return driver_type::kParadox;
    if (upper == "DBF")
        return driver_type::kDbase;
    if (upper == "MYD" || upper == "FRM" || upper == "MYI")
        return driver_type::kMySql;
    return driver_type::kNone;
}

std::string driverConnectionString(int type, const std::string& path, const OdbcCredentials& credentials) {
    switch (type) {
        case driver_type::kAccess:
            return format("Driver={Microsoft Access Driver (*.mdb)};DBQ=%s;UID=%s;PWD=%s", path.c_str(),
                          credentials.user, credentials.password);
        case driver_type::kExcel:
            return format("Driver={Microsoft Excel Driver (*.xls, *.xlsx, *.xlsm, *.xlsb)};DBQ=%s;READONLY=FALSE;",
                          path.c_str());
        case driver_type::kParadox:
            return format("Driver={Microsoft Paradox Driver (*.db )};DBQ=%s;DriverID=26", folderOf(path).c_str());
        case driver_type::kDbase:
            return format("Driver={Microsoft dBASE Driver (*.dbf)};DBQ=%s;DriverID=277", folderOf(path).c_str());
        case driver_type::kMySql:
            return format("Driver={MySQL ODBC 3.51 Driver};DATABASE=%s;UID=%s;PWD=%s;",
                          lastComponent(folderOf(path)).c_str(), credentials.user, credentials.password);
    }
    return std::string();
}

int enumerateDataSources(SqlHenv environment, const DataSourceReceiver& receiver, OdbcBinding& binding) {
    const OdbcFunctions& fn = binding.fn();
    SqlWchar wideName[kDataSourceChars] = {};
    SqlWchar wideDescription[kDataSourceChars] = {};
    char name[kDataSourceChars];
    char description[kDataSourceChars];
    SqlSmallInt nameLength = 0;
    SqlSmallInt descriptionLength = 0;
    auto next = [&](SqlUSmallInt direction) {
        if (!fn.SQLDataSourcesW)
            return sql::kError;
        return fn.SQLDataSourcesW(environment, direction, wideName, kDataSourceChars, &nameLength, wideDescription,
                                  kDataSourceChars, &descriptionLength);
    };
    // Success with information means a text was cut to its buffer; the entry is still listed.
    SqlReturn rc = next(sql::kFetchFirst);
    if (!sql::succeeded(rc)) {
        binding.ui().warning("Can't access for the datasources.");
        return 0;
    }
    while (sql::succeeded(rc)) {
        wideName[kDataSourceChars - 1] = 0;
        wideDescription[kDataSourceChars - 1] = 0;
        narrow(wideName, name, sizeof name);
        narrow(wideDescription, description, sizeof description);
        receiver(name, description);
        rc = next(sql::kFetchNext);
    }
    return 1;
}

SqlReturn connect(void* owner,
                  const std::string& name,
                  SqlHdbc connection,
                  SqlHdbc* nodeConnection,
                  bool* loginUsed,
                  bool driverMode,
                  int driverType,
                  OdbcBinding& binding) {
    *nodeConnection = connection;
    if (loginUsed)
        *loginUsed = false;
    OdbcUi& ui = binding.ui();
    OdbcCredentials& credentials = odbcCredentials();
    ui.waitCursor(true);
    SqlReturn rc = attempt(binding, name, connection, driverMode, driverType, credentials);
    if (sql::succeeded(rc))
        return rc;
    ui.waitCursor(false);
    if (!ui.login(owner, credentials))
        return rc;
    ui.waitCursor(true);
    if (loginUsed)
        *loginUsed = true;
    return attempt(binding, name, connection, driverMode, driverType, credentials);
}
