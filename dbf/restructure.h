// Table structure rules shared by the create and modify-structure dialog, and the copy of a table's
// records into a new structure, field by field.
#pragma once

#include <string>

#include "dbf/dbf.h"

class FileOps;

// A field name: 1 to 10 characters, the first a capital A-Z or "_", the others capitals, digits or "_".
bool isValidFieldName(const char* name);

// The length and decimals a field of `type` really gets: N at most 19 long; decimals 0 for every
// type but N; M 10, L 1, D 8 long; C at most 255 long. A C or N field is at least 1 long.
void correctFieldSize(char type, int& length, int& decimals);

// Called during the copy with the bar position (0..100).
using ProgressStep = void (*)(void* context, int percent);

// Creates a new table under the first free name of `baseName` + "0", "1", ... with the fields `defs`
// and copies every record of the open table `old` into it: each new field takes the old field of the
// same name (memo text moves between memo and other fields), a new field without one stays blank,
// the deletion flag is kept. Both tables are locked for the run and the bytes copied unconverted.
// On success returns 1 with the new table closed and its name in `newName`; 0 when it cannot be
// created, opened or locked (then nothing new is left behind and `old` is as it was).
int copyToNewStructure(dbf& old,
                       const FieldDef* defs,
                       int count,
                       const std::string& baseName,
                       FileOps& ops,
                       std::string& newName,
                       ProgressStep progress = nullptr,
                       void* context = nullptr);
