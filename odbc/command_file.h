// The file that keeps a data source's saved SQL command between runs: its safe name under the
// temporary folder, reading it and writing it whole.
#pragma once

#include <string>

// The longest command text kept; reading takes at most this many characters.
constexpr std::size_t kCommandFileLimit = 31999;

// A file name for `dataSource` that stays inside the folder and apart from the program's own
// files: letters, digits, "-" and "_" are kept, every other byte becomes "%XX", and ".sql" is
// appended. A result longer than the cap keeps its start and ends with a hash of the whole name.
std::string commandFileName(const std::string& dataSource);
// The data-source name back from a file name that was not cut; empty when it cannot be.
std::string dataSourceFromCommandFile(const std::string& fileName);
// <temp>/Quarrow/ and the file name.
std::string commandFilePath(const std::string& dataSource);

// The saved text of `dataSource`, empty when there is none.
std::string loadCommandText(const std::string& dataSource);
// Writes the text whole, replacing the old file only once the new one is complete; false when the
// folder or the file could not be written (the old file is then as it was).
bool saveCommandText(const std::string& dataSource, const std::string& text);
