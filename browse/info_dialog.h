// The structure listing "&Table info" shows.
#pragma once

#include <string>

class dbf;

// "Table name : ..." and one line per field, ended by the record length, lines ended by CR LF.
std::string structureListing(dbf& table);
