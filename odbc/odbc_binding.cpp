// Loading the driver manager, resolving the ODBC function table, the shared environment and the
// "ODBC error" report.
#include "odbc/odbc_binding.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// Stores a looked-up address into a typed function pointer. Copied, not cast: converting a data
// pointer to a function pointer is only conditionally supported.
template <typename Function>
void assignSymbol(Function& target, void* address) {
    static_assert(sizeof(Function) == sizeof(void*), "function and data pointers differ in size");
    std::memcpy(&target, &address, sizeof address);
}

struct FunctionEntry {
    const char* name;
    void (*assign)(OdbcFunctions& functions, void* address);
};

#define QUARROW_ODBC_ENTRY(function)                                                           \
    {                                                                                          \
#function, [](OdbcFunctions & f, void* address) { assignSymbol(f.function, address); } \
    }

// The function table in its fixed order; indices are the ones the resolution order names.
const FunctionEntry kFunctions[OdbcBinding::kFunctionCount] = {
    QUARROW_ODBC_ENTRY(SQLAllocConnect),      // 0
    QUARROW_ODBC_ENTRY(SQLAllocEnv),          // 1
    QUARROW_ODBC_ENTRY(SQLAllocStmt),         // 2
    QUARROW_ODBC_ENTRY(SQLAllocHandle),       // 3
    QUARROW_ODBC_ENTRY(SQLBindCol),           // 4
    QUARROW_ODBC_ENTRY(SQLCancel),            // 5
    QUARROW_ODBC_ENTRY(SQLColAttributes),     // 6
    QUARROW_ODBC_ENTRY(SQLColumns),           // 7
    QUARROW_ODBC_ENTRY(SQLConnect),           // 8
    QUARROW_ODBC_ENTRY(SQLDescribeCol),       // 9
    QUARROW_ODBC_ENTRY(SQLDisconnect),        // 10
    QUARROW_ODBC_ENTRY(SQLError),             // 11
    QUARROW_ODBC_ENTRY(SQLExecDirect),        // 12
    QUARROW_ODBC_ENTRY(SQLExecute),           // 13
    QUARROW_ODBC_ENTRY(SQLFetch),             // 14
    QUARROW_ODBC_ENTRY(SQLFreeConnect),       // 15
    QUARROW_ODBC_ENTRY(SQLFreeEnv),           // 16
    QUARROW_ODBC_ENTRY(SQLFreeStmt),          // 17
    QUARROW_ODBC_ENTRY(SQLFreeHandle),        // 18
    QUARROW_ODBC_ENTRY(SQLGetCursorName),     // 19
    QUARROW_ODBC_ENTRY(SQLNumResultCols),     // 20
    QUARROW_ODBC_ENTRY(SQLPrepare),           // 21
    QUARROW_ODBC_ENTRY(SQLRowCount),          // 22
    QUARROW_ODBC_ENTRY(SQLSetCursorName),     // 23
    QUARROW_ODBC_ENTRY(SQLTransact),          // 24
    QUARROW_ODBC_ENTRY(SQLDataSourcesW),      // 25: the wide variant (Wine's narrow one is a stub)
    QUARROW_ODBC_ENTRY(SQLGetInfo),           // 26
    QUARROW_ODBC_ENTRY(SQLGetConnectOption),  // 27
    QUARROW_ODBC_ENTRY(SQLGetData),           // 28
    QUARROW_ODBC_ENTRY(SQLTables),            // 29
    QUARROW_ODBC_ENTRY(SQLPrimaryKeys),       // 30 optional
    QUARROW_ODBC_ENTRY(SQLForeignKeys),       // 31 optional
    QUARROW_ODBC_ENTRY(SQLProcedures),        // 32 optional
    QUARROW_ODBC_ENTRY(SQLProcedureColumns),  // 33 optional
    QUARROW_ODBC_ENTRY(SQLGetFunctions),      // 34 optional
    QUARROW_ODBC_ENTRY(SQLStatistics),        // 35
    QUARROW_ODBC_ENTRY(SQLBindParameter),     // 36
    QUARROW_ODBC_ENTRY(SQLBrowseConnect),     // 37
    QUARROW_ODBC_ENTRY(SQLTablePrivileges),   // 38
    QUARROW_ODBC_ENTRY(SQLColumnPrivileges),  // 39
    QUARROW_ODBC_ENTRY(SQLSetStmtAttr),       // 40
    QUARROW_ODBC_ENTRY(SQLSetEnvAttr),        // 41
    QUARROW_ODBC_ENTRY(SQLSetStmtOption),     // 42
    QUARROW_ODBC_ENTRY(SQLDriverConnect),     // 43
    QUARROW_ODBC_ENTRY(SQLMoreResults),       // 44 optional
    QUARROW_ODBC_ENTRY(SQLSetConnectOption),  // 45 optional
};

#undef QUARROW_ODBC_ENTRY

// Required functions in the order they are resolved: 0-29, then 35-39, 41, 40, 42.
const int kRequiredOrder[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18,
                              19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 35, 36, 37, 38, 39, 41, 40, 42};
const int kOptional[] = {30, 31, 32, 33, 34, 44, 45};
const int kDriverConnect = 43;

constexpr std::size_t kDriverListSize = 32000;

}  // namespace

OdbcBinding::OdbcBinding(OdbcLibraryNames names, OdbcUi* ui)
    : names_(std::move(names)), ui_(ui ? ui : &platformOdbcUi()) {}

OdbcBinding::~OdbcBinding() {
    // Only reached with users left when the process ends without closing its windows.
    if (loaded_)
        freeEnvironment();
    unload();
}

const char* OdbcBinding::functionName(int index) {
    return index >= 0 && index < kFunctionCount ? kFunctions[index].name : "";
}

void OdbcBinding::setUi(OdbcUi* ui) {
    ui_ = ui ? ui : &platformOdbcUi();
}

bool OdbcBinding::resolve(int index, bool required) {
    void* address = driverManager_.symbol(kFunctions[index].name);
    kFunctions[index].assign(fn_, address);
    if (address || !required)
        return true;
    // The box names only the function, nothing around it.
    ui_->warning(kFunctions[index].name);
    return false;
}

bool OdbcBinding::resolveAll() {
    for (int index : kRequiredOrder) {
        if (!resolve(index, true))
            return false;
    }
    for (int index : kOptional)
        resolve(index, false);
    return resolve(kDriverConnect, true);
}

bool OdbcBinding::load() {
    if (loaded_)
        return true;
    installer_ = SharedLibrary::open(names_.installer);
    if (!installer_.loaded())
        return false;
    driverManager_ = SharedLibrary::open(names_.driverManager);
    if (!driverManager_.loaded()) {
        installer_.close();
        return false;
    }
    assignSymbol(fn_.SQLConfigDataSource, installer_.symbol("SQLConfigDataSource"));
    assignSymbol(fn_.SQLGetInstalledDrivers, installer_.symbol("SQLGetInstalledDrivers"));

    bool result = false;
    if (fn_.SQLConfigDataSource && fn_.SQLGetInstalledDrivers) {
        std::vector<char> drivers(kDriverListSize);
        SqlWord length = 0;
        if (!fn_.SQLGetInstalledDrivers(drivers.data(), static_cast<SqlWord>(drivers.size()), &length)) {
            ui_->warning("Nothing installed driver.");
            unload();
            return false;
        }
        result = resolveAll();
    }

    if (!names_.shell.empty()) {
        shell_ = SharedLibrary::open(names_.shell);
        if (!shell_.loaded()) {
            unload();
            return false;
        }
        fn_.SHObjectProperties = shell_.symbol("SHObjectProperties");
    }
    // A partial load would keep the libraries mapped with no user to free them.
    if (!result)
        unload();
    return result;
}

void OdbcBinding::unload() {
    driverManager_.close();
    installer_.close();
    shell_.close();
    fn_ = OdbcFunctions();
}

int OdbcBinding::acquire(void* owner) {
    loaded_ = load();
    if (!loaded_) {
        ui_->warning("Can't load the ODBC-functions");
        return 0;
    }
    if (!environment_) {
        // No version attribute is set: the driver manager keeps ODBC 2 behaviour (date type codes 9-11).
        SqlReturn rc = fn_.SQLAllocEnv(&environment_);
        if (!sql::succeeded(rc)) {
            reportError(environment_, nullptr, nullptr, owner);
            environment_ = nullptr;
            return 0;
        }
    }
    if (std::find(users_.begin(), users_.end(), owner) == users_.end())
        users_.push_back(owner);
    return 1;
}

int OdbcBinding::release(void* owner) {
    auto user = std::find(users_.begin(), users_.end(), owner);
    if (user == users_.end())
        return 1;
    users_.erase(user);
    if (!users_.empty() || !loaded_)
        return 1;
    if (!freeEnvironment())
        return 0;
    unload();
    loaded_ = false;
    return 1;
}

bool OdbcBinding::freeEnvironment() {
    // A connection left behind would keep its database open after the driver manager is gone.
    while (!connections_.empty())
        freeConnection(connections_.back());
    // Their owners may still hold the handles, which the driver manager may now hand out again.
    ++generation_;
    currentConnection_ = nullptr;
    if (!environment_)
        return true;
    if (!sql::succeeded(fn_.SQLFreeEnv(environment_)))
        return false;
    environment_ = nullptr;
    return true;
}

std::string OdbcBinding::firstDiagnostic(SqlHenv environment, SqlHdbc connection, SqlHstmt statement) {
    // Cleared first so that a call without diagnostics never shows the previous error's text.
    errorText_[0] = '\0';
    errorState_[0] = '\0';
    if (fn_.SQLError) {
        SqlInteger nativeError = 0;
        SqlSmallInt length = 0;
        SqlReturn rc =
            fn_.SQLError(environment, connection, statement, reinterpret_cast<SqlChar*>(errorState_), &nativeError,
                         reinterpret_cast<SqlChar*>(errorText_), static_cast<SqlSmallInt>(kErrorTextSize), &length);
        if (!sql::succeeded(rc))
            errorText_[0] = '\0';
        errorText_[kErrorTextSize - 1] = '\0';
        errorState_[kErrorStateSize - 1] = '\0';
    }
    return errorText_;
}

void OdbcBinding::reportError(SqlHenv environment, SqlHdbc connection, SqlHstmt statement, void* owner) {
    firstDiagnostic(environment, connection, statement);
    ui_->waitCursor(false);
    ui_->odbcError(owner, errorText_);
}

SqlReturn OdbcBinding::allocConnection(SqlHdbc* connection) {
    currentConnection_ = nullptr;
    SqlReturn rc = sql::kError;
    if (fn_.SQLAllocHandle && environment_)
        rc = fn_.SQLAllocHandle(sql::kHandleDbc, environment_, &currentConnection_);
    *connection = sql::succeeded(rc) ? currentConnection_ : nullptr;
    if (*connection) {
        connections_.push_back(*connection);
        serials_.push_back(++nextSerial_);
    }
    return rc;
}

unsigned OdbcBinding::connectionSerial(SqlHdbc connection) const {
    auto live = std::find(connections_.begin(), connections_.end(), connection);
    return live == connections_.end() || !connection ? 0
                                                     : serials_[static_cast<std::size_t>(live - connections_.begin())];
}

void OdbcBinding::freeConnection(SqlHdbc connection) {
    auto live = std::find(connections_.begin(), connections_.end(), connection);
    if (live == connections_.end())
        return;
    serials_.erase(serials_.begin() + (live - connections_.begin()));
    connections_.erase(live);
    // Disconnecting a connection that never connected fails harmlessly; the free is what counts.
    fn_.SQLDisconnect(connection);
    fn_.SQLFreeConnect(connection);
    if (currentConnection_ == connection)
        currentConnection_ = nullptr;
}

OdbcBinding& odbcBinding() {
    static OdbcBinding binding;
    return binding;
}
