#include "odbc/sql_history.h"

#include <cstring>

#include "base/file_platform.h"
#include "odbc/result_table.h"

namespace {

std::string trimmed(const std::string& text) {
    const char* blanks = " \t\r\n";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The SHORT text: the first 80 characters, on one line as the list shows it.
std::string shortText(const std::string& statement) {
    std::string text = statement.substr(0, kHistoryShortWidth);
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
    return trimmed(text);
}

}  // namespace

std::string historyPath() {
    return resultTableFolder() + "History.DBF";
}

std::unique_ptr<dbf> openHistory(const std::string& path) {
    auto table = std::make_unique<dbf>(path.c_str());
    if (!platform::fileExists(path.c_str())) {
        FieldDef defs[2] = {};
        std::strcpy(defs[0].name, "SHORT");
        defs[0].type = 'C';
        defs[0].width = static_cast<uint16_t>(kHistoryShortWidth);
        std::strcpy(defs[1].name, "LONG");
        defs[1].type = 'M';
        defs[1].width = 10;
        if (!table->create(defs, 2))
            return nullptr;
    }
    if (!table->open(1))
        return nullptr;
    return table;
}

bool addToHistory(dbf& history, const std::string& statement) {
    std::string text = trimmed(statement);
    if (text.empty())
        return false;
    std::string key = shortText(text);
    for (const std::string& entry : historyEntries(history))
        if (entry == key)
            return false;
    if (!history.lockTable())
        return false;
    bool ok = history.appendBlank() && history.setField(0, key.c_str()) && history.writeRecord() &&
              history.writeMemo(1, text.c_str()) == 1;
    history.unlock();
    return ok;
}

std::vector<std::string> historyEntries(dbf& history) {
    std::vector<std::string> entries;
    for (int more = history.goTop(); more && !history.isEof(); more = history.skip(1))
        entries.push_back(trimmed(history.getField(0)));
    return entries;
}

std::string historyStatement(dbf& history, std::size_t index) {
    if (!history.goTop())
        return std::string();
    for (std::size_t i = 0; i < index; ++i)
        if (!history.skip(1) || history.isEof())
            return std::string();
    if (history.isEof())
        return std::string();
    return trimmed(history.readMemoWhole(history.getField(1)));
}
