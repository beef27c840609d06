// The history of the statements confirmed in SQL assist: the table History.DBF in the program's
// temporary folder, one record per distinct statement, in the order they were first confirmed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dbf/dbf.h"

// How many leading characters tell two statements apart (and what the history list shows).
constexpr std::size_t kHistoryShortWidth = 80;

// <temp>/Quarrow/TempFiles/History.DBF
std::string historyPath();
// Opens the history table for writing, creating it (fields SHORT C 80 and LONG M) when missing;
// null when it can neither be created nor opened.
std::unique_ptr<dbf> openHistory(const std::string& path = historyPath());
// Appends `statement` (trimmed) unless an entry with the same first 80 characters exists. False
// when nothing was added: empty, already there, the table locked by another holder, or a failed
// write.
bool addToHistory(dbf& history, const std::string& statement);
// The SHORT texts of all entries, in table order, trimmed.
std::vector<std::string> historyEntries(dbf& history);
// The whole statement of entry `index` (0-based), trimmed; empty when there is none.
std::string historyStatement(dbf& history, std::size_t index);
