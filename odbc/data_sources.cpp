// Data-source enumeration, driver connection strings, and connecting with the login retry.
#include "odbc/data_sources.h"

#include <cstring>
#include <fstream>

namespace {

constexpr SqlSmallInt kDataSourceChars = 256;
constexpr SqlSmallInt kCompletedStringChars = 2048;

// Each UTF-16 unit as its byte in the ANSI code page. A unit up to U+00FF that the code page lacks
// can only be a byte the driver manager widened as Latin-1 (unixODBC widens its files' bytes so),
// and its low byte is the name the ANSI calls know.
void narrow(const SqlWchar* wide, char* text, std::size_t size) {
    std::size_t i = 0;
    for (; i + 1 < size && wide[i] != 0; ++i) {
        char ansi = '?';
        if (!ansiByteOf(wide[i], &ansi) && wide[i] <= 0xFF)
            ansi = static_cast<char>(wide[i]);
        text[i] = ansi;
    }
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

SqlReturn attempt(OdbcBinding& binding,
                  const std::string& name,
                  SqlHdbc connection,
                  bool driverMode,
                  int driverType,
                  OdbcCredentials& credentials) {
    const OdbcFunctions& fn = binding.fn();
    if (driverMode) {
        char text[kConnectionStringSize];
        SqlChar completed[kCompletedStringChars];
        SqlSmallInt completedLength = 0;
        SqlReturn rc = sql::kError;
        if (driverConnectionString(driverType, driverFilePath(name), credentials, text, sizeof text))
            rc = fn.SQLDriverConnect(connection, nullptr, reinterpret_cast<SqlChar*>(text),
                                     static_cast<SqlSmallInt>(std::strlen(text)), completed, kCompletedStringChars,
                                     &completedLength, sql::kDriverNoPrompt);
        // Both strings may carry the password.
        wipeSecret(text, sizeof text);
        wipeSecret(completed, sizeof completed);
        return rc;
    }
    std::string dataSource = name;
    return fn.SQLConnect(
        connection, reinterpret_cast<SqlChar*>(dataSource.data()), static_cast<SqlSmallInt>(dataSource.size()),
        reinterpret_cast<SqlChar*>(credentials.user), static_cast<SqlSmallInt>(std::strlen(credentials.user)),
        reinterpret_cast<SqlChar*>(credentials.password), static_cast<SqlSmallInt>(std::strlen(credentials.password)));
}

}  // namespace

void wipeSecret(void* buffer, std::size_t size) {
    // Through a volatile pointer: a plain memset of a buffer about to die may be left out.
    volatile unsigned char* bytes = static_cast<volatile unsigned char*>(buffer);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = 0;
}

namespace {

bool needsBraces(const char* value) {
    std::size_t length = std::strlen(value);
    if (length > 0 && (value[0] == ' ' || value[length - 1] == ' '))
        return true;
    return std::strpbrk(value, "[]{}(),;?*=!@") != nullptr;
}

}  // namespace

ConnectionStringWriter::ConnectionStringWriter(char* text, std::size_t size) : text_(text), size_(size) {
    text_[0] = '\0';
}

void ConnectionStringWriter::put(const char* part) {
    for (; *part; ++part)
        putChar(*part);
}

void ConnectionStringWriter::value(const char* part) {
    if (!needsBraces(part)) {
        put(part);
        return;
    }
    putChar('{');
    for (; *part; ++part) {
        if (*part == '}')
            putChar('}');
        putChar(*part);
    }
    putChar('}');
}

void ConnectionStringWriter::putChar(char c) {
    if (length_ + 1 >= size_) {
        ok_ = false;
        return;
    }
    text_[length_++] = c;
    text_[length_] = '\0';
}

OdbcCredentials& odbcCredentials() {
    static OdbcCredentials credentials;
    return credentials;
}

void clearOdbcCredentials() {
    wipeSecret(&odbcCredentials(), sizeof(OdbcCredentials));
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

int driverTypeForFile(const std::string& path) {
    std::size_t dot = path.find_last_of('.');
    std::size_t slash = path.find_last_of("\\/");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return driver_type::kNone;
    int type = driverTypeForExtension(path.substr(dot + 1));
    if (type != driver_type::kParadox)
        return type;
    static const char kSqliteHeader[] = "SQLite format 3";  // and its closing zero: 16 bytes
    char header[sizeof kSqliteHeader] = {};
    std::ifstream file(path, std::ios::binary);
    if (file.read(header, sizeof header) && std::memcmp(header, kSqliteHeader, sizeof header) == 0)
        return driver_type::kSqlite;
    return type;
}

bool driverConnectionString(int type,
                            const std::string& path,
                            const OdbcCredentials& credentials,
                            char* text,
                            std::size_t size) {
    ConnectionStringWriter out(text, size);
    switch (type) {
        case driver_type::kAccess:
            out.put("Driver={Microsoft Access Driver (*.mdb)};DBQ=");
            out.value(path.c_str());
            out.put(";UID=");
            out.value(credentials.user);
            out.put(";PWD=");
            out.value(credentials.password);
            break;
        case driver_type::kExcel:
            out.put("Driver={Microsoft Excel Driver (*.xls, *.xlsx, *.xlsm, *.xlsb)};DBQ=");
            out.value(path.c_str());
            out.put(";READONLY=FALSE;");
            break;
        case driver_type::kParadox:
            out.put("Driver={Microsoft Paradox Driver (*.db )};DBQ=");
            out.value(folderOf(path).c_str());
            out.put(";DriverID=26");
            break;
        case driver_type::kDbase:
            out.put("Driver={Microsoft dBASE Driver (*.dbf)};DBQ=");
            out.value(folderOf(path).c_str());
            out.put(";DriverID=277");
            break;
        case driver_type::kMySql:
            out.put("Driver={MySQL ODBC 3.51 Driver};DATABASE=");
            out.value(lastComponent(folderOf(path)).c_str());
            out.put(";UID=");
            out.value(credentials.user);
            out.put(";PWD=");
            out.value(credentials.password);
            out.put(";");
            break;
        case driver_type::kSqlite:
            out.put("Driver={SQLite3 ODBC Driver};Database=");
            out.value(path.c_str());
            // Opening a file never makes an empty database where none was.
            out.put(";NoCreat=1");
            break;
        default:
            return false;
    }
    if (!out.ok())
        wipeSecret(text, size);
    return out.ok();
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
    ui.waitCursor(false);
    if (sql::succeeded(rc) || !ui.login(owner, credentials))
        return rc;
    ui.waitCursor(true);
    if (loginUsed)
        *loginUsed = true;
    rc = attempt(binding, name, connection, driverMode, driverType, credentials);
    ui.waitCursor(false);
    return rc;
}
