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
// Length indicators.
constexpr SqlLen kNullData = -1;
constexpr SqlLen kNoTotal = -4;  // more data waits, of unknown length

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
constexpr SqlSmallInt kCLong = 4;
constexpr SqlSmallInt kCShort = 5;
constexpr SqlSmallInt kCFloat = 7;
constexpr SqlSmallInt kCDouble = 8;
constexpr SqlSmallInt kCBinary = -2;
constexpr SqlSmallInt kCDefault = 99;

// SQL type codes, ODBC 2 for dates and times (the environment keeps ODBC 2 behaviour).
constexpr SqlSmallInt kUnknownType = 0;
constexpr SqlSmallInt kChar = 1;
constexpr SqlSmallInt kNumeric = 2;
constexpr SqlSmallInt kDecimal = 3;
constexpr SqlSmallInt kInteger = 4;
constexpr SqlSmallInt kSmallInt = 5;
constexpr SqlSmallInt kFloat = 6;
constexpr SqlSmallInt kReal = 7;
constexpr SqlSmallInt kDouble = 8;
constexpr SqlSmallInt kDate = 9;
constexpr SqlSmallInt kTime = 10;
constexpr SqlSmallInt kTimestamp = 11;
constexpr SqlSmallInt kVarChar = 12;
constexpr SqlSmallInt kLongVarChar = -1;
constexpr SqlSmallInt kBinary = -2;
constexpr SqlSmallInt kVarBinary = -3;
constexpr SqlSmallInt kLongVarBinary = -4;
constexpr SqlSmallInt kBigInt = -5;
constexpr SqlSmallInt kTinyInt = -6;
constexpr SqlSmallInt kBit = -7;
constexpr SqlSmallInt kWChar = -8;
constexpr SqlSmallInt kWVarChar = -9;
constexpr SqlSmallInt kWLongVarChar = -10;
constexpr SqlSmallInt kGuid = -11;

// SQLColAttributes descriptors.
constexpr SqlUSmallInt kColumnCount = 0;
constexpr SqlUSmallInt kColumnName = 1;
constexpr SqlUSmallInt kColumnType = 2;
constexpr SqlUSmallInt kColumnLength = 3;
constexpr SqlUSmallInt kColumnPrecision = 4;
constexpr SqlUSmallInt kColumnScale = 5;
constexpr SqlUSmallInt kColumnDisplaySize = 6;
constexpr SqlUSmallInt kColumnNullable = 7;
constexpr SqlUSmallInt kColumnTypeName = 14;
constexpr SqlUSmallInt kColumnTableName = 15;
constexpr SqlUSmallInt kColumnOwnerName = 16;
constexpr SqlUSmallInt kColumnQualifierName = 17;
constexpr SqlUSmallInt kColumnLabel = 18;

// SQLDescribeCol nullability.
constexpr SqlSmallInt kNoNulls = 0;
constexpr SqlSmallInt kNullable = 1;
constexpr SqlSmallInt kNullableUnknown = 2;

// SQLSetStmtOption options.
constexpr SqlUSmallInt kQueryTimeout = 0;
constexpr SqlUSmallInt kMaxRows = 1;

// SQLSetConnectOption / SQLGetConnectOption options and values.
constexpr SqlUSmallInt kAccessMode = 101;
constexpr SqlUSmallInt kAutocommit = 102;
constexpr SqlUSmallInt kLoginTimeout = 103;
constexpr SqlUSmallInt kCurrentQualifier = 109;
constexpr SqlULen kAutocommitOff = 0;
constexpr SqlULen kAutocommitOn = 1;

// SQLTransact.
constexpr SqlUSmallInt kCommit = 0;
constexpr SqlUSmallInt kRollback = 1;

// SQLBindParameter direction.
constexpr SqlSmallInt kParamInput = 1;

// SQLStatistics: which indexes, and whether the cardinality must be exact.
constexpr SqlUSmallInt kIndexUnique = 0;
constexpr SqlUSmallInt kIndexAll = 1;
constexpr SqlUSmallInt kQuick = 0;
constexpr SqlUSmallInt kEnsure = 1;

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
constexpr SqlUSmallInt kInfoMaxColumnNameLen = 30;
constexpr SqlUSmallInt kInfoMaxTableNameLen = 35;
constexpr SqlUSmallInt kInfoMaxQualifierNameLen = 34;
constexpr SqlUSmallInt kInfoOwnerTerm = 39;
constexpr SqlUSmallInt kInfoQualifierNameSeparator = 41;
constexpr SqlUSmallInt kInfoQualifierTerm = 42;
constexpr SqlUSmallInt kInfoTableTerm = 45;
constexpr SqlUSmallInt kInfoUserName = 47;
constexpr SqlUSmallInt kInfoDriverOdbcVersion = 77;

// SQLGetFunctions function ids the program asks about.
constexpr SqlUSmallInt kApiColumnPrivileges = 56;
constexpr SqlUSmallInt kApiMoreResults = 61;
constexpr SqlUSmallInt kApiForeignKeys = 60;
constexpr SqlUSmallInt kApiPrimaryKeys = 65;
constexpr SqlUSmallInt kApiProcedures = 67;
constexpr SqlUSmallInt kApiTablePrivileges = 70;

}  // namespace sql
