// Listing the driver manager's data sources and connecting, by data-source name or by a driver
// connection string built from a database file's type, with one login retry.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "odbc/odbc_binding.h"

// The user name and password every connection attempt passes; emptied when the explorer or the
// commander opens, changed by the "LOGIN" dialog, never written anywhere.
OdbcCredentials& odbcCredentials();
void clearOdbcCredentials();

// Zeroes a buffer that held a password, in a way the compiler keeps.
void wipeSecret(void* buffer, std::size_t size);

// The byte of a UTF-16 unit in the ANSI code page (Windows-1250 outside Windows); false when the
// code page has none (no best-fit substitute is taken).
bool ansiByteOf(SqlWchar unit, char* out);

// Driver types of database files, chosen from the file's extension.
namespace driver_type {
constexpr int kNone = 0;
constexpr int kAccess = 1;   // MDB
constexpr int kExcel = 2;    // XLS, XLSX
constexpr int kParadox = 3;  // DB
constexpr int kDbase = 4;    // DBF
constexpr int kMySql = 5;    // MYD, FRM, MYI
constexpr int kSqlite = 6;   // a DB file that is an SQLite database
}  // namespace driver_type

// The driver type of a file extension (without the dot, any case); kNone when no driver is known.
int driverTypeForExtension(const std::string& extension);

// The driver type of the database file at `path`, from its extension; a DB file that begins with
// SQLite's header is an SQLite database, not a Paradox table.
int driverTypeForFile(const std::string& path);

// The path a driver is given for the database file at `path`. Under Wine the drivers are the host's
// and take the host's path ("/home/x/shop.db" for "Z:\home\x\shop.db"); elsewhere it is `path`.
std::string driverFilePath(const std::string& path);

// The driver connection strings are built in buffers of this size.
constexpr std::size_t kConnectionStringSize = 4096;

// Builds a driver connection string in the caller's fixed buffer, so that no copy of a password
// is left where it cannot be wiped. A value is written in braces, with "}" doubled, when it holds
// one of []{}(),;?*=!@ or starts or ends with a space: a ";" in a password then adds no attribute.
class ConnectionStringWriter {
  public:
    ConnectionStringWriter(char* text, std::size_t size);
    // Text of the program's own, as it is.
    void put(const char* part);
    // An attribute value.
    void value(const char* part);
    // False when something did not fit; the text is then incomplete.
    bool ok() const { return ok_; }

  private:
    void putChar(char c);
    char* text_;
    std::size_t size_;
    std::size_t length_ = 0;
    bool ok_ = true;
};

// Writes the connection string of `type` for the database file at `path` into `text`, each value
// braced where needed. False for an unknown type or when it does not fit (`text` is then wiped).
// The caller wipes `text` after use: it may hold the password.
bool driverConnectionString(int type,
                            const std::string& path,
                            const OdbcCredentials& credentials,
                            char* text,
                            std::size_t size);

// Calls `receiver` with the name and description of each data source in the ANSI code page, the
// text the ANSI calls (SQLConnect) take.
// Shows "Can't access for the datasources." and returns 0 when the first call fails (also when
// there is none); 1 otherwise.
using DataSourceReceiver = std::function<void(const char* name, const char* description)>;
int enumerateDataSources(SqlHenv environment, const DataSourceReceiver& receiver, OdbcBinding& binding = odbcBinding());

// Connects `connection` (allocated by the caller on the shared environment) to the data source
// `name`, or in driver mode to the database file `name` of `driverType`. On failure asks once for
// new credentials ("LOGIN") and tries again. `nodeConnection` receives the handle in every case;
// `loginUsed` tells whether the dialog was confirmed. Returns the ODBC code of the last attempt.
SqlReturn connect(void* owner,
                  const std::string& name,
                  SqlHdbc connection,
                  SqlHdbc* nodeConnection,
                  bool* loginUsed,
                  bool driverMode,
                  int driverType,
                  OdbcBinding& binding = odbcBinding());
