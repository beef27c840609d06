// The SELECT that reads a whole table, with its names quoted and qualified the way the data source
// wants them.
#pragma once

#include <string>

#include "odbc/odbc_binding.h"

// The identifier quote character of `connection` (SQLGetInfo 29) with blanks trimmed; empty when
// the driver quotes nothing (it answers a blank).
std::string identifierQuote(OdbcBinding& binding, SqlHdbc connection);

// The catalog (database) `connection` currently works in: the current qualifier, or the database
// name the driver reports; empty when the driver says neither.
std::string currentCatalog(OdbcBinding& binding, SqlHdbc connection);

// `name` without surrounding blanks, between `quote`s, with every quote inside it doubled.
std::string quoteIdentifier(const std::string& name, const std::string& quote);

// The table's name: quoted, after its schema when it has one, and after its catalog when that is
// not `current` (what every statement naming a listed table uses).
std::string qualifiedTableName(const std::string& catalog,
                               const std::string& schema,
                               const std::string& table,
                               const std::string& quote,
                               const std::string& current = std::string());

// "SELECT * FROM " and the table's name: quoted, after its schema when it has one, and after its
// catalog when that is not the connection's current one (MySQL-family servers list every
// database's tables with an empty schema, so the name alone may reach another database's table).
std::string buildSelectText(const std::string& catalog,
                            const std::string& schema,
                            const std::string& table,
                            const std::string& quote,
                            const std::string& current = std::string());
