// Limits of the whole-table operations on `dbf` (declared in dbf/dbf.h): the sort key and the memory the
// sort may take.
#pragma once

#include <cstdint>

// A sort key is refused when its fields add up to this many characters or more.
constexpr int kMaxSortKeyLength = 255;
// Field names taken from one key text; later ones are ignored.
constexpr int kMaxSortKeyFields = 63;

// Caps the bytes sortRecords may allocate for its work area (0: only the machine's memory limits it).
// A sort that would need more fails as one that runs out of memory does.
void setSortMemoryLimit(uint64_t bytes);
