// Listing the driver manager's data sources and connecting, by data-source name or by a driver
// connection string built from a database file's type, with one login retry.
#pragma once

#include <functional>
#include <string>

#include "odbc/odbc_binding.h"

// The user name and password every connection attempt passes; emptied when the explorer or the
// commander opens, changed by the "LOGIN" dialog, never written anywhere.
OdbcCredentials& odbcCredentials();
void clearOdbcCredentials();

// Driver types of database files, chosen from the file's extension.
namespace driver_type {
constexpr int kNone = 0;
constexpr int kAccess = 1;   // MDB
constexpr int kExcel = 2;    // XLS, XLSX
constexpr int kParadox = 3;  // DB
constexpr int kDbase = 4;    // DBF
constexpr int kMySql = 5;    // MYD, FRM, MYI
}  // namespace driver_type

// The driver type of a file extension (without the dot, any case); kNone when no driver is known.
int driverTypeForExtension(const std::string& extension);

// The connection string of `type` for the database file at `path`; empty for an unknown type.
std::string driverConnectionString(int type, const std::string& path, const OdbcCredentials& credentials);

// Calls `receiver` with the name and description of each data source, as 8-bit text.
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
