// The ODBC types and constants the program uses, declared here so that no core header needs the
// platform's ODBC or Windows headers. Sizes match the ODBC 3 headers of both targets.
#pragma once

#include <cstdint>

// ODBC entry points use the Windows calling convention on 32-bit Windows and the C one elsewhere.
#if defined(_WIN32)
#define QUARROW_SQL_API __stdcall
#else
#define QUARROW_SQL_API
#endif

using SqlChar = unsigned char;
using SqlWchar = std::uint16_t;  // UTF-16 code unit: wchar_t on Windows, unsigned short in unixODBC
using SqlSmallInt = short;
using SqlUSmallInt = unsigned short;
using SqlInteger = std::int32_t;
using SqlUInteger = std::uint32_t;
using SqlLen = std::intptr_t;    // SQLLEN: 32 bits on Win32, 64 bits on 64-bit unixODBC
using SqlULen = std::uintptr_t;  // SQLULEN
using SqlReturn = SqlSmallInt;
using SqlPointer = void*;
using SqlHandle = void*;
using SqlHenv = void*;
using SqlHdbc = void*;
using SqlHstmt = void*;
using SqlHwnd = void*;
using SqlBool = int;  // the installer's BOOL
using SqlWord = unsigned short;

namespace sql {

// Return codes.
constexpr SqlReturn kSuccess = 0;
constexpr SqlReturn kSuccessWithInfo = 1;
constexpr SqlReturn kNoData = 100;
constexpr SqlReturn kError = -1;
constexpr SqlReturn kInvalidHandle = -2;
inline bool succeeded(SqlReturn rc) {
    return rc == kSuccess || rc == kSuccessWithInfo;
}

// Handle types of SQLAllocHandle / SQLFreeHandle.
constexpr SqlSmallInt kHandleEnv = 1;
constexpr SqlSmallInt kHandleDbc = 2;
constexpr SqlSmallInt kHandleStmt = 3;

constexpr SqlInteger kNts = -3;  // null-terminated string length
constexpr SqlLen kNullData = -1;

// SQLDataSources directions.
constexpr SqlUSmallInt kFetchNext = 1;
constexpr SqlUSmallInt kFetchFirst = 2;

// SQLFreeStmt options.
constexpr SqlUSmallInt kClose = 0;
constexpr SqlUSmallInt kDrop = 1;
constexpr SqlUSmallInt kUnbind = 2;
constexpr SqlUSmallInt kResetParams = 3;

// SQLDriverConnect completion.
constexpr SqlUSmallInt kDriverNoPrompt = 0;

// C data types.
constexpr SqlSmallInt kCChar = 1;
constexpr SqlSmallInt kCDefault = 99;

// ODBC 2 SQL type codes of dates and times (the environment keeps ODBC 2 behaviour).
constexpr SqlSmallInt kDate = 9;
constexpr SqlSmallInt kTime = 10;
constexpr SqlSmallInt kTimestamp = 11;

// SQLGetInfo items the program reads.
constexpr SqlUSmallInt kInfoActiveConnections = 0;
constexpr SqlUSmallInt kInfoActiveStatements = 1;
constexpr SqlUSmallInt kInfoDataSourceName = 2;
constexpr SqlUSmallInt kInfoDriverName = 6;
constexpr SqlUSmallInt kInfoDriverVersion = 7;
constexpr SqlUSmallInt kInfoOdbcApiConformance = 9;
constexpr SqlUSmallInt kInfoOdbcVersion = 10;
constexpr SqlUSmallInt kInfoServerName = 13;
constexpr SqlUSmallInt kInfoOdbcSqlConformance = 15;
constexpr SqlUSmallInt kInfoDatabaseName = 16;
constexpr SqlUSmallInt kInfoDbmsName = 17;
constexpr SqlUSmallInt kInfoDbmsVersion = 18;
constexpr SqlUSmallInt kInfoAccessibleTables = 19;
constexpr SqlUSmallInt kInfoAccessibleProcedures = 20;
constexpr SqlUSmallInt kInfoDataSourceReadOnly = 25;
constexpr SqlUSmallInt kInfoIdentifierQuoteChar = 29;
constexpr SqlUSmallInt kInfoMaxQualifierNameLen = 34;
constexpr SqlUSmallInt kInfoUserName = 47;
constexpr SqlUSmallInt kInfoDriverOdbcVersion = 77;

// SQLGetFunctions function ids the program asks about.
constexpr SqlUSmallInt kApiColumnPrivileges = 56;
constexpr SqlUSmallInt kApiForeignKeys = 60;
constexpr SqlUSmallInt kApiPrimaryKeys = 65;
constexpr SqlUSmallInt kApiProcedures = 67;
constexpr SqlUSmallInt kApiTablePrivileges = 70;

}  // namespace sql
