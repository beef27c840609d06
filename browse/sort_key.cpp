// Joining the sort list's field names into a key text.
#include "browse/sort_key.h"

std::string buildSortKey(const std::vector<std::string>& names, bool* tooLong) {
    std::string key;
    if (tooLong)
        *tooLong = false;
    for (const std::string& name : names) {
        if (name.empty())
            continue;
        std::string longer = key.empty() ? name : key + "+" + name;
        if (longer.size() >= kSortKeyLimit) {
            if (tooLong)
                *tooLong = true;
            continue;
        }
        key = longer;
    }
    return key;
}
