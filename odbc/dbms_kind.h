// Which server a connection talks to, by the DBMS name the driver reports (SQLGetInfo type 17):
// the menus and views that differ per server ask these, and nothing else.
#pragma once

#include <string>

#include "odbc/odbc_binding.h"

// MySQL or a server that speaks its dialect (MariaDB reports "MariaDB"), in any case.
bool isMySqlFamily(const std::string& dbmsName);
// Microsoft SQL Server, in any case.
bool isSqlServer(const std::string& dbmsName);

// A text item of SQLGetInfo for `connection` (up to 255 characters); empty when the driver does not
// answer.
std::string connectionInfo(OdbcBinding& binding, SqlHdbc connection, SqlUSmallInt item);

// The DBMS name of `connection`; empty when the driver does not say.
std::string dbmsName(OdbcBinding& binding, SqlHdbc connection);
