// The run-time ODBC binding: loads the driver manager, the installer library and the shell by name,
// resolves the ODBC function table, owns the one shared environment, and reports ODBC errors.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/shared_library.h"
#include "odbc/odbc_types.h"
#include "odbc/odbc_ui.h"

// One pointer per ODBC function the program may call. Callers of an optional function
// (SQLPrimaryKeys, SQLForeignKeys, SQLProcedures, SQLProcedureColumns, SQLGetFunctions,
// SQLMoreResults, SQLSetConnectOption) test it first.
struct OdbcFunctions {
    using Api = SqlReturn;
    // Catalog functions take (text, length) pairs; these aliases keep the signatures readable.
    using S = SqlChar*;
    using L = SqlSmallInt;

    Api(QUARROW_SQL_API* SQLAllocConnect)(SqlHenv, SqlHdbc*) = nullptr;
    Api(QUARROW_SQL_API* SQLAllocEnv)(SqlHenv*) = nullptr;
    Api(QUARROW_SQL_API* SQLAllocStmt)(SqlHdbc, SqlHstmt*) = nullptr;
    Api(QUARROW_SQL_API* SQLAllocHandle)(SqlSmallInt, SqlHandle, SqlHandle*) = nullptr;
    Api(QUARROW_SQL_API* SQLBindCol)(SqlHstmt, SqlUSmallInt, SqlSmallInt, SqlPointer, SqlLen, SqlLen*) = nullptr;
    Api(QUARROW_SQL_API* SQLCancel)(SqlHstmt) = nullptr;
    Api(QUARROW_SQL_API* SQLColAttributes)(SqlHstmt,
                                           SqlUSmallInt,
                                           SqlUSmallInt,
                                           SqlPointer,
                                           SqlSmallInt,
                                           SqlSmallInt*,
                                           SqlLen*) = nullptr;
    Api(QUARROW_SQL_API* SQLColumns)(SqlHstmt, S, L, S, L, S, L, S, L) = nullptr;
    Api(QUARROW_SQL_API* SQLConnect)(SqlHdbc, S, L, S, L, S, L) = nullptr;
    Api(QUARROW_SQL_API* SQLDescribeCol)(SqlHstmt,
                                         SqlUSmallInt,
                                         SqlChar*,
                                         SqlSmallInt,
                                         SqlSmallInt*,
                                         SqlSmallInt*,
                                         SqlULen*,
                                         SqlSmallInt*,
                                         SqlSmallInt*) = nullptr;
    Api(QUARROW_SQL_API* SQLDisconnect)(SqlHdbc) = nullptr;
    Api(QUARROW_SQL_API*
            SQLError)(SqlHenv, SqlHdbc, SqlHstmt, SqlChar*, SqlInteger*, SqlChar*, SqlSmallInt, SqlSmallInt*) = nullptr;
    Api(QUARROW_SQL_API* SQLExecDirect)(SqlHstmt, SqlChar*, SqlInteger) = nullptr;
    Api(QUARROW_SQL_API* SQLExecute)(SqlHstmt) = nullptr;
    Api(QUARROW_SQL_API* SQLFetch)(SqlHstmt) = nullptr;
    Api(QUARROW_SQL_API* SQLFreeConnect)(SqlHdbc) = nullptr;
    Api(QUARROW_SQL_API* SQLFreeEnv)(SqlHenv) = nullptr;
    Api(QUARROW_SQL_API* SQLFreeStmt)(SqlHstmt, SqlUSmallInt) = nullptr;
    Api(QUARROW_SQL_API* SQLFreeHandle)(SqlSmallInt, SqlHandle) = nullptr;
    Api(QUARROW_SQL_API* SQLGetCursorName)(SqlHstmt, SqlChar*, SqlSmallInt, SqlSmallInt*) = nullptr;
    Api(QUARROW_SQL_API* SQLNumResultCols)(SqlHstmt, SqlSmallInt*) = nullptr;
    Api(QUARROW_SQL_API* SQLPrepare)(SqlHstmt, SqlChar*, SqlInteger) = nullptr;
    Api(QUARROW_SQL_API* SQLRowCount)(SqlHstmt, SqlLen*) = nullptr;
    Api(QUARROW_SQL_API* SQLSetCursorName)(SqlHstmt, SqlChar*, SqlSmallInt) = nullptr;
    Api(QUARROW_SQL_API* SQLTransact)(SqlHenv, SqlHdbc, SqlUSmallInt) = nullptr;
    Api(QUARROW_SQL_API* SQLDataSourcesW)(SqlHenv,
                                          SqlUSmallInt,
                                          SqlWchar*,
                                          SqlSmallInt,
                                          SqlSmallInt*,
                                          SqlWchar*,
                                          SqlSmallInt,
                                          SqlSmallInt*) = nullptr;
    Api(QUARROW_SQL_API* SQLGetInfo)(SqlHdbc, SqlUSmallInt, SqlPointer, SqlSmallInt, SqlSmallInt*) = nullptr;
    Api(QUARROW_SQL_API* SQLGetConnectOption)(SqlHdbc, SqlUSmallInt, SqlPointer) = nullptr;
    Api(QUARROW_SQL_API* SQLGetData)(SqlHstmt, SqlUSmallInt, SqlSmallInt, SqlPointer, SqlLen, SqlLen*) = nullptr;
    Api(QUARROW_SQL_API* SQLTables)(SqlHstmt, S, L, S, L, S, L, S, L) = nullptr;
    Api(QUARROW_SQL_API* SQLPrimaryKeys)(SqlHstmt, S, L, S, L, S, L) = nullptr;
    Api(QUARROW_SQL_API* SQLForeignKeys)(SqlHstmt, S, L, S, L, S, L, S, L, S, L, S, L) = nullptr;
    Api(QUARROW_SQL_API* SQLProcedures)(SqlHstmt, S, L, S, L, S, L) = nullptr;
    Api(QUARROW_SQL_API* SQLProcedureColumns)(SqlHstmt, S, L, S, L, S, L, S, L) = nullptr;
    Api(QUARROW_SQL_API* SQLGetFunctions)(SqlHdbc, SqlUSmallInt, SqlUSmallInt*) = nullptr;
    Api(QUARROW_SQL_API* SQLStatistics)(SqlHstmt, S, L, S, L, S, L, SqlUSmallInt, SqlUSmallInt) = nullptr;
    Api(QUARROW_SQL_API* SQLBindParameter)(SqlHstmt,
                                           SqlUSmallInt,
                                           SqlSmallInt,
                                           SqlSmallInt,
                                           SqlSmallInt,
                                           SqlULen,
                                           SqlSmallInt,
                                           SqlPointer,
                                           SqlLen,
                                           SqlLen*) = nullptr;
    Api(QUARROW_SQL_API* SQLBrowseConnect)(SqlHdbc, SqlChar*, SqlSmallInt, SqlChar*, SqlSmallInt, SqlSmallInt*) =
        nullptr;
    Api(QUARROW_SQL_API* SQLTablePrivileges)(SqlHstmt, S, L, S, L, S, L) = nullptr;
    Api(QUARROW_SQL_API* SQLColumnPrivileges)(SqlHstmt, S, L, S, L, S, L, S, L) = nullptr;
    Api(QUARROW_SQL_API* SQLSetStmtAttr)(SqlHstmt, SqlInteger, SqlPointer, SqlInteger) = nullptr;
    Api(QUARROW_SQL_API* SQLSetEnvAttr)(SqlHenv, SqlInteger, SqlPointer, SqlInteger) = nullptr;
    Api(QUARROW_SQL_API* SQLSetStmtOption)(SqlHstmt, SqlUSmallInt, SqlULen) = nullptr;
    Api(QUARROW_SQL_API* SQLDriverConnect)(SqlHdbc,
                                           SqlHwnd,
                                           SqlChar*,
                                           SqlSmallInt,
                                           SqlChar*,
                                           SqlSmallInt,
                                           SqlSmallInt*,
                                           SqlUSmallInt) = nullptr;
    Api(QUARROW_SQL_API* SQLMoreResults)(SqlHstmt) = nullptr;
    Api(QUARROW_SQL_API* SQLSetConnectOption)(SqlHdbc, SqlUSmallInt, SqlULen) = nullptr;

    // From the installer library.
    SqlBool(QUARROW_SQL_API* SQLConfigDataSource)(SqlHwnd, SqlWord, const char*, const char*) = nullptr;
    SqlBool(QUARROW_SQL_API* SQLGetInstalledDrivers)(char*, SqlWord, SqlWord*) = nullptr;
    // From the shell; resolved, never called.
    void* SHObjectProperties = nullptr;
};

// The libraries the binding loads. An empty name means the platform has no such library
// (there is no shell32 outside Windows) and it is skipped.
struct OdbcLibraryNames {
    std::string driverManager;
    std::string installer;
    std::string shell;
};
OdbcLibraryNames platformOdbcLibraryNames();

class OdbcBinding {
  public:
    static constexpr int kFunctionCount = 46;
    static constexpr std::size_t kErrorTextSize = 4096;
    static constexpr std::size_t kErrorStateSize = 6;

    explicit OdbcBinding(OdbcLibraryNames names = platformOdbcLibraryNames(), OdbcUi* ui = nullptr);
    ~OdbcBinding();
    OdbcBinding(const OdbcBinding&) = delete;
    OdbcBinding& operator=(const OdbcBinding&) = delete;

    // Loads the libraries and resolves the table; true when every required function was found.
    // Already loaded: true at once. A failed load keeps no library loaded.
    bool load();
    // Frees the libraries (driver manager, installer, shell) and clears the table.
    void unload();

    // Used by an ODBC window `owner` that opens. Loads the binding (a failed load shows
    // "Can't load the ODBC-functions"), allocates the shared environment when there is none,
    // and counts the window as a user, once however often it asks. 1 when the window is a user,
    // else 0; after 0, loaded() tells whether the window may still go on without ODBC content.
    int acquire(void* owner);
    // Used by the window `owner` when it closes; nothing happens unless it is a user. The last
    // user's release disconnects and frees every connection still handed out, then frees the
    // environment and the libraries. 0 when the driver manager refused to free the environment:
    // the binding then stays loaded for the next window rather than unload under live handles.
    int release(void* owner);

    // Shows the first diagnostic record of the given handles (each may be null) in the
    // "ODBC error" box owned by `owner`.
    void reportError(SqlHenv environment, SqlHdbc connection, SqlHstmt statement, void* owner);
    // The first diagnostic record's text, shown nowhere (empty when there is none).
    std::string firstDiagnostic(SqlHenv environment, SqlHdbc connection, SqlHstmt statement);

    // Allocates a connection on the shared environment through the current-connection slot and
    // keeps it on the list the last release frees.
    SqlReturn allocConnection(SqlHdbc* connection);
    // Disconnects and frees a connection allocConnection handed out; other handles are left alone.
    void freeConnection(SqlHdbc connection);
    int liveConnections() const { return static_cast<int>(connections_.size()); }
    // The serial number allocConnection gave the live connection `connection`; 0 when it is not live
    // (freed, or never handed out). A handle the driver manager hands out again gets a new number,
    // so that a window keeping a handle with its number can tell it still means the same connection.
    unsigned connectionSerial(SqlHdbc connection) const;
    // Changes whenever the last release frees the connections: one handed out before is gone.
    unsigned generation() const { return generation_; }

    const OdbcFunctions& fn() const { return fn_; }
    bool loaded() const { return loaded_; }
    int users() const { return static_cast<int>(users_.size()); }
    SqlHenv environment() const { return environment_; }
    const char* errorText() const { return errorText_; }
    const char* errorState() const { return errorState_; }
    // Receives each newly allocated connection before its owner stores it.
    SqlHdbc& currentConnection() { return currentConnection_; }
    OdbcUi& ui() const { return *ui_; }
    void setUi(OdbcUi* ui);

    // The names of the table in its order, for tests and diagnostics.
    static const char* functionName(int index);

  private:
    bool resolve(int index, bool required);
    bool resolveAll();
    bool freeEnvironment();

    OdbcLibraryNames names_;
    OdbcUi* ui_;
    bool loaded_ = false;
    std::vector<void*> users_;
    std::vector<SqlHdbc> connections_;
    std::vector<unsigned> serials_;  // beside connections_, one each
    unsigned nextSerial_ = 0;
    unsigned generation_ = 0;
    SqlHenv environment_ = nullptr;
    SharedLibrary driverManager_;
    SharedLibrary installer_;
    SharedLibrary shell_;
    OdbcFunctions fn_;
    char errorText_[kErrorTextSize] = {};
    char errorState_[kErrorStateSize] = {};
    SqlHdbc currentConnection_ = nullptr;
};

// The process-wide binding all ODBC windows share.
OdbcBinding& odbcBinding();
