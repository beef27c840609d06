// The privileges the MySQL dialogs show, how the server stores them, and the GRANT and REVOKE
// statements that change exactly the boxes the user changed. Portable.
#pragma once

#include <string>
#include <vector>

#include "admin/mysql_sql.h"

// One privilege box: its caption, its keyword in GRANT (and in a stored privilege set), and its
// Y/N column in mysql.user or mysql.db. "GRANT OPTION" stands for the Grant box.
struct MySqlPrivilege {
    const char* caption;
    const char* keyword;
    const char* column;
};

// The 28 global boxes in the column order of mysql.user from its fourth column on.
const std::vector<MySqlPrivilege>& globalPrivileges();
// The global boxes the user manager writes (Event and Trigger are shown hidden, never written).
constexpr int kWrittenGlobalPrivileges = 26;
// The ten database boxes (columns of mysql.db), the same ten for a table, four for a column.
const std::vector<MySqlPrivilege>& databasePrivileges();
const std::vector<MySqlPrivilege>& tablePrivileges();
const std::vector<MySqlPrivilege>& columnPrivileges();

// The whole items of a stored privilege set ("Select,Create View,Delete versioning rows").
std::vector<std::string> parsePrivilegeSet(const std::string& set);
// Which of `privileges` a set holds, each matched as a whole item, in any case.
std::vector<bool> privilegesInSet(const std::vector<MySqlPrivilege>& privileges, const std::string& set);

// The statements that take an account from `before` to `after` on `target` (*.*, `db`.*,
// `db`.`t`), for the first `count` of `privileges`; with `column`, column privileges on it.
// Boxes that did not change are left alone; nothing when nothing changed.
std::vector<std::string> privilegeChanges(const std::vector<MySqlPrivilege>& privileges,
                                          int count,
                                          const std::vector<bool>& before,
                                          const std::vector<bool>& after,
                                          const std::string& target,
                                          const MySqlAccount& account,
                                          const MySqlDialect& dialect,
                                          const std::string& column = std::string());

// Creating, changing the password of and dropping an account.
std::string createUserSql(const MySqlAccount& account, const std::string& password, const MySqlDialect& dialect);
std::string passwordSql(const MySqlAccount& account, const std::string& password, const MySqlDialect& dialect);
std::string dropUserSql(const MySqlAccount& account, const MySqlDialect& dialect);
