#include "odbc/result_table.h"

#include <filesystem>
#include <system_error>

#include "base/file_platform.h"
#include "dbf/table_swap.h"

std::string resultTableFolder() {
    std::string base = platform::tempDirectory();
    char separator = base.empty() ? '/' : base.back();
    std::string folder = base + "Quarrow" + separator + "TempFiles" + separator;
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

std::string newResultTablePath() {
    std::string folder = resultTableFolder();
    // The memo file's name is the table's with its last letter replaced by T: a name that already
    // ends in T, or whose memo name is taken, would share a file with another table.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = platform::uniqueTempFile(folder.c_str(), "");
        if (path.empty())
            return path;
        std::string memo = memoNameFor(path);
        if (memo != path && !platform::fileExists(memo.c_str()))
            return path;
        platform::deleteFile(path.c_str());
    }
    return std::string();
}

void deleteResultTable(const std::string& path) {
    if (path.empty())
        return;
    platform::deleteFile(path.c_str());
    std::string memo = memoNameFor(path);
    if (platform::fileExists(memo.c_str()))
        platform::deleteFile(memo.c_str());
}

std::unique_ptr<dbf> createResultTable(const std::string& path,
                                       const std::vector<ResultField>& fields,
                                       bool oem,
                                       ResultTableError* error) {
    ResultTableError ignored;
    ResultTableError& why = error ? *error : ignored;
    why = ResultTableError::None;
    if (fields.empty() || static_cast<int>(fields.size()) > kMaxResultColumns) {
        why = ResultTableError::TooManyColumns;
        return nullptr;
    }
    std::vector<FieldDef> defs;
    for (const ResultField& field : fields)
        defs.push_back(field.def);
    auto table = std::make_unique<dbf>(path.c_str());
    table->setOemConversion(oem);
    table->setLanguageDriver(0);
    if (!table->create(defs.data(), static_cast<int>(defs.size()))) {
        why = ResultTableError::CannotCreate;
        return nullptr;
    }
    if (!table->open(1)) {
        why = ResultTableError::CannotOpen;
        return nullptr;
    }
    table->setOemConversion(oem);
    if (!table->lockTable()) {
        why = ResultTableError::CannotLock;
        return nullptr;
    }
    return table;
}
