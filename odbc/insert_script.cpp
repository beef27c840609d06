#include "odbc/insert_script.h"

#include "base/file_platform.h"
#include "base/files.h"
#include "dbf/dbf.h"
#include "odbc/select_text.h"

namespace {

std::string rightTrimmed(const char* text) {
    std::string value = text ? text : "";
    std::size_t end = value.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : value.substr(0, end + 1);
}

bool blank(const std::string& value) {
    return value.find_first_not_of(' ') == std::string::npos;
}

// The value of field `index` in the script's form; empty for a blank field.
std::string fieldValue(dbf& table, int index, bool mySqlFamily) {
    char type = table.fieldType(index);
    std::string raw = rightTrimmed(table.getField(index));
    if (blank(raw))
        return std::string();
    switch (type) {
        case 'C':
            return sqlStringLiteral(raw, mySqlFamily);
        case 'M': {
            std::string memo = table.readMemoWhole(table.getField(index));
            return blank(memo) ? std::string() : sqlStringLiteral(memo, mySqlFamily);
        }
        case 'D':
            if (raw.size() != 8)
                return std::string();
            return "{d'" + raw.substr(0, 4) + "-" + raw.substr(4, 2) + "-" + raw.substr(6, 2) + "'}";
        case 'S':
            return "{ts'" + raw + "'}";
        case 'T':
            return "{t'" + raw + "'}";
        case 'N':
            return raw.substr(raw.find_first_not_of(' '));
        case 'L':
            return raw[0] == 'F' || raw[0] == 'f' || raw[0] == '0' || raw[0] == 'N' || raw[0] == 'n' ? "0" : "1";
        default:
            return "''";
    }
}

}  // namespace

std::string sqlStringLiteral(const std::string& value, bool mySqlFamily) {
    std::string out = "'";
    for (char c : value) {
        if (c == '\'')
            out += '\'';
        else if (c == '\\' && mySqlFamily)
            out += '\\';
        out += c;
    }
    return out + "'";
}

std::string insertStatement(dbf& table, const std::vector<std::string>& columns, const InsertScriptTarget& target) {
    std::string quote = target.quote.empty() ? "`" : target.quote;
    std::string names;
    std::string values;
    for (int index = 0; index < table.fieldCount(); ++index) {
        std::string value = fieldValue(table, index, target.mySqlFamily);
        if (value.empty())
            continue;
        std::string column = index < static_cast<int>(columns.size()) ? columns[index] : table.fieldInfo(index)->name;
        names += (names.empty() ? "" : ", ") + quoteIdentifier(column, quote);
        values += (values.empty() ? "" : ", ") + value;
    }
    if (names.empty())
        return std::string();
    return "insert into " + target.table + " (" + names + ") values(" + values + ")\r\n";
}

bool writeInsertScript(dbf& table,
                       const std::vector<std::string>& columns,
                       const InsertScriptTarget& target,
                       const std::string& path) {
    long current = table.recNo();
    bool ok = false;
    {
        files file(path.c_str());
        if (file.openFile(platform::kGenericWrite, 0, platform::kCreateAlways, 0)) {
            ok = table.goTop() != 0;
            while (ok && !table.isEof()) {
                std::string statement = table.isDeleted() ? std::string() : insertStatement(table, columns, target);
                uint32_t put = 0;
                if (!statement.empty())
                    ok = file.write(statement.data(), static_cast<uint32_t>(statement.size()), &put) &&
                         put == statement.size();
                // A record that cannot be read ends the script as a failure, not as its end.
                if (ok && !table.skip(1) && !table.isEof())
                    ok = false;
            }
            ok = file.closeFile() && ok;
        }
    }
    if (current > 0)
        table.goTo(current);
    if (!ok)
        platform::deleteFile(path.c_str());
    return ok;
}
