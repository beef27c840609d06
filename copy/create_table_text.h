// The SELECT and CREATE TABLE texts of a table copy, and the quoting of the names in them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "copy/output_types.h"
#include "odbc/odbc_handles.h"
#include "odbc/result_columns.h"
#include "odbc/select_text.h"

// One column of a source result, as the driver describes it.
using SourceColumn = ResultColumn;

// The columns of the result `statement` has executed. The failing call's code on failure.
SqlReturn describeSourceColumns(OdbcBinding& binding, OdbcStatement& statement, std::vector<SourceColumn>* columns);

// The identifier quote as a driver reports it, trimmed of blanks.
std::string trimQuote(const std::string& quote);

// The longest CREATE TABLE text a copy executes.
constexpr std::size_t kCreateTextLimit = 65000;

enum class CreateText { Built, Skipped, TooLong };

// The CREATE TABLE text for `columns` under the name `target`, one line per column, each type
// passed through `mapping`. Names are written between backquotes (inner backquotes doubled), which
// retargetQuotes turns into the target's own quote. Skipped (text unchanged) when the name begins
// with "."; TooLong (text unchanged) when the text would pass kCreateTextLimit.
CreateText buildCreateTableText(const std::vector<SourceColumn>& columns,
                                const std::string& target,
                                const TypeMapping& mapping,
                                bool lowercase,
                                std::string* text);

// The text with each backquoted name requoted with `quote`: "``" inside a name is one backquote,
// and a quote character inside a name is doubled. Text outside names is kept.
std::string retargetQuotes(const std::string& text, const std::string& quote);
