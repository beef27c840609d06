// The sort key the sort dialog builds from the field names of its sort list.
#pragma once

#include <string>
#include <vector>

constexpr int kSortDialogFields = 63;  // entries of the sort list taken into the key
constexpr size_t kSortKeyLimit = 255;  // a key this long or longer is refused

// The names joined by "+", empty names skipped; a name that would make the key kSortKeyLimit
// characters or longer is left out and `tooLong` set.
std::string buildSortKey(const std::vector<std::string>& names, bool* tooLong);
