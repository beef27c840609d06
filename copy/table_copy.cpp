// The table copy engine: reading the source rows, sending them as INSERTs in committed batches, and
// the HTML page of a result.
#include "copy/table_copy.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <vector>

#include "base/progress.h"
#include "copy/create_table_text.h"
#include "copy/table_copy_log.h"
#include "dbf/bulk_io.h"
#include "odbc/data_sources.h"
#include "odbc/dbms_kind.h"

namespace {

constexpr SqlUSmallInt kInfoTxnCapable = 46;
constexpr long kProgressStep = 10;
constexpr std::size_t kPlainCellLimit = 255;
constexpr std::size_t kPreparedLimit = 64;
// SQL_ATTR_PARAMSET_SIZE: rows per execute.
constexpr SqlInteger kAttrParamsetSize = 22;
// The most bytes one array execute holds: a run of long values goes in several.
constexpr std::size_t kArrayBytes = 4 << 20;

bool isNumericType(SqlSmallInt type) {
    return type == sql::kNumeric || type == sql::kDecimal || type == sql::kFloat || type == sql::kReal ||
           type == sql::kDouble;
}

// Values travel as ANSI text: a wide type is sent as its narrow twin.
SqlSmallInt parameterType(SqlSmallInt type) {
    switch (type) {
        case sql::kWChar:
            return sql::kChar;
        case sql::kWVarChar:
            return sql::kVarChar;
        case sql::kWLongVarChar:
            return sql::kLongVarChar;
        default:
            return type;
    }
}

std::string lowered(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Targets that keep numbers as doubles take every numeric column as one.
bool storesNumbersAsDouble(const std::string& dbms) {
    for (const char* name : {"access", "dbf", "dbase", "excel"})
        if (dbms.find(name) != std::string::npos)
            return true;
    return false;
}

struct Row {
    long number = 0;  // 1 for the first source row
    std::vector<ColumnText> values;
};

// Sends rows as INSERTs naming their non-empty columns, one prepared statement per set of them.
class RowInserter {
  public:
    RowInserter(OdbcBinding& binding,
                SqlHdbc target,
                const std::vector<SourceColumn>& columns,
                const TableCopyRequest& request,
                const std::string& quote,
                bool asDouble)
        : binding_(binding), target_(target), columns_(columns), request_(request), quote_(quote) {
        for (const SourceColumn& column : columns_)
            types_.push_back(asDouble && isNumericType(column.sqlType) ? sql::kDouble : parameterType(column.sqlType));
    }

    // The row's set of non-empty columns, one '1' or '0' per column; a row without values still is a
    // row, sent with every column NULL.
    std::string keyOf(const Row& row) const {
        std::string key(columns_.size(), '0');
        for (std::size_t c = 0; c < columns_.size(); ++c)
            key[c] = row.values[c].text.empty() ? '0' : '1';
        if (key.find('1') == std::string::npos)
            key.assign(columns_.size(), '1');
        return key;
    }

    // Inserts `row`; on failure `error` receives the driver's message and `text` the statement.
    bool insert(const Row& row, std::string* error, std::string* text) {
        std::string key = keyOf(row);
        Prepared* entry = preparedFor(key, error, text);
        if (!entry)
            return false;
        std::vector<SqlLen> indicators(columns_.size());
        SqlUSmallInt parameter = 0;
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            if (key[c] != '1')
                continue;
            const std::string& value = row.values[c].text;
            indicators[c] = value.empty() ? sql::kNullData : static_cast<SqlLen>(value.size());
            SqlULen size = std::max<SqlULen>({columns_[c].size, value.size(), 1});
            SqlReturn rc =
                binding_.fn().SQLBindParameter(entry->statement.get(), ++parameter, sql::kParamInput, sql::kCChar,
                                               types_[c], size, columns_[c].decimals, const_cast<char*>(value.c_str()),
                                               static_cast<SqlLen>(value.size()), &indicators[c]);
            if (!sql::succeeded(rc))
                return fail(*entry, error, text);
        }
        if (!sql::succeeded(entry->statement.execute()))
            return fail(*entry, error, text);
        if (request_.rowByRow)
            prepared_.erase(key);
        return true;
    }

    // Inserts rows [begin, end) of `rows`, which share one set of non-empty columns, in one execute
    // with parameter arrays (column-wise, each value in a slot as wide as the run's longest). False
    // when the driver refused it (see arraysRefused) or a row failed; which row is left to a replay.
    bool insertArray(const std::vector<Row>& rows,
                     std::size_t begin,
                     std::size_t end,
                     std::string* error,
                     std::string* text) {
        std::string key = keyOf(rows[begin]);
        Prepared* entry = preparedFor(key, error, text);
        if (!entry)
            return false;
        SqlULen count = end - begin;
        SqlHstmt statement = entry->statement.get();
        if (!sql::succeeded(
                binding_.fn().SQLSetStmtAttr(statement, kAttrParamsetSize, reinterpret_cast<SqlPointer>(count), 0))) {
            arraysRefused_ = true;
            return false;
        }
        std::vector<std::vector<char>> slots(columns_.size());
        std::vector<std::vector<SqlLen>> indicators(columns_.size());
        SqlUSmallInt parameter = 0;
        bool bound = true;
        for (std::size_t c = 0; c < columns_.size() && bound; ++c) {
            if (key[c] != '1')
                continue;
            std::size_t width = 1;
            for (std::size_t r = begin; r < end; ++r)
                width = std::max(width, rows[r].values[c].text.size() + 1);
            slots[c].assign(width * count, '\0');
            indicators[c].resize(count);
            for (std::size_t r = begin; r < end; ++r) {
                const std::string& value = rows[r].values[c].text;
                value.copy(slots[c].data() + (r - begin) * width, value.size());
                indicators[c][r - begin] = value.empty() ? sql::kNullData : static_cast<SqlLen>(value.size());
            }
            SqlULen size = std::max<SqlULen>(columns_[c].size, width - 1);
            bound = sql::succeeded(binding_.fn().SQLBindParameter(
                statement, ++parameter, sql::kParamInput, sql::kCChar, types_[c], std::max<SqlULen>(size, 1),
                columns_[c].decimals, slots[c].data(), static_cast<SqlLen>(width), indicators[c].data()));
        }
        bool done = bound && sql::succeeded(entry->statement.execute());
        if (!done)
            fail(*entry, error, text);
        // The statement serves single rows again, and the slots go away with this call.
        binding_.fn().SQLSetStmtAttr(statement, kAttrParamsetSize, reinterpret_cast<SqlPointer>(SqlULen{1}), 0);
        binding_.fn().SQLFreeStmt(statement, sql::kResetParams);
        return done;
    }

    // Whether the driver refused parameter arrays; rows then go one by one.
    bool arraysRefused() const { return arraysRefused_; }

  private:
    struct Prepared {
        OdbcStatement statement;
        std::string text;
    };

    Prepared* preparedFor(const std::string& key, std::string* error, std::string* text) {
        auto found = prepared_.find(key);
        if (found != prepared_.end() && !request_.rowByRow)
            return &found->second;
        if (prepared_.size() >= kPreparedLimit)
            prepared_.clear();
        Prepared entry{OdbcStatement(binding_, target_), statementText(key)};
        if (!sql::succeeded(entry.statement.prepare(entry.text))) {
            *error = entry.statement.errorText();
            *text = entry.text;
            return nullptr;
        }
        return &prepared_.insert_or_assign(key, std::move(entry)).first->second;
    }

    bool fail(Prepared& entry, std::string* error, std::string* text) {
        *error = binding_.firstDiagnostic(binding_.environment(), target_, entry.statement.get());
        *text = entry.text;
        binding_.fn().SQLFreeStmt(entry.statement.get(), sql::kResetParams);
        return false;
    }

    std::string statementText(const std::string& key) const {
        std::string names, marks;
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            if (key[c] != '1')
                continue;
            names += (names.empty() ? "" : ",") +
                     (request_.quoteNames ? quoteIdentifier(columns_[c].name, quote_) : columns_[c].name);
            marks += marks.empty() ? "?" : ",?";
        }
        return "INSERT INTO " + quoteIdentifier(request_.targetTable, quote_) + " (" + names + ") VALUES (" + marks +
               ")";
    }

    OdbcBinding& binding_;
    SqlHdbc target_;
    const std::vector<SourceColumn>& columns_;
    const TableCopyRequest& request_;
    std::string quote_;
    std::vector<SqlSmallInt> types_;
    std::map<std::string, Prepared> prepared_;
    bool arraysRefused_ = false;
};

bool transactionsUsable(OdbcBinding& binding, SqlHdbc target) {
    SqlUSmallInt capable = 0;
    SqlSmallInt length = 0;
    if (!sql::succeeded(binding.fn().SQLGetInfo(target, kInfoTxnCapable, &capable, sizeof capable, &length)) ||
        capable == 0 || !binding.fn().SQLSetConnectOption)
        return false;
    return sql::succeeded(binding.fn().SQLSetConnectOption(target, sql::kAutocommit, sql::kAutocommitOff));
}

bool cancelled(const CopyProgress& progress) {
    return progress.cancel && *progress.cancel;
}

void countRow(CopyProgress& progress, long rows) {
    if (rows % kProgressStep == 0 && progress.rows)
        progress.rows(rows);
    dispatchWaitingMessage();
}

}  // namespace

std::string numericParameterText(const std::string& value) {
    return std::strtod(value.c_str(), nullptr) == 0.0 ? "0" : value;
}

TableCopyResult copyRows(OdbcBinding& binding,
                         OdbcStatement& source,
                         SqlHdbc target,
                         const TableCopyRequest& request,
                         CopyProgress& progress) {
    TableCopyResult result;
    std::vector<SourceColumn> columns;
    if (!sql::succeeded(describeSourceColumns(binding, source, &columns))) {
        result.outcome = CopyOutcome::SourceFailed;
        result.message = source.errorText();
        return result;
    }
    CopyErrorLog log(request.logPath);
    if (!log.ok()) {
        result.outcome = CopyOutcome::LogFailed;
        result.message = request.logPath;
        return result;
    }
    std::string quote = identifierQuote(binding, target);
    RowInserter inserter(binding, target, columns, request, quote,
                         storesNumbersAsDouble(lowered(dbmsName(binding, target))));
    bool batches = !request.rowByRow && transactionsUsable(binding, target);
    auto transact = [&](SqlUSmallInt what) {
        return sql::succeeded(binding.fn().SQLTransact(binding.environment(), target, what));
    };
    std::vector<Row> batch;
    std::string error, text;
    bool boxShown = false;
    // A refused row is logged; the first one of the run is also shown, once, not a box per row.
    auto logRefused = [&](const Row& row) {
        if (!boxShown) {
            boxShown = true;
            binding.ui().odbcError(progress.owner, error.c_str());
        }
        log.add(error, row.number, "", text);
    };
    // Commits the batch; a batch that failed is rolled back and replayed a row at a time, each row
    // committed alone, so the log names exactly the refused rows (and no driver that aborts the whole
    // transaction on one error loses the good rows).
    // Sends the batch, runs of rows with the same columns in one execute each where the driver takes
    // parameter arrays, and commits it. A batch that fails is rolled back and replayed a row at a
    // time, each row committed alone, so the log names exactly the refused rows (and no driver that
    // aborts the whole transaction on one error loses the good rows).
    auto sendBatch = [&] {
        for (std::size_t begin = 0; begin < batch.size();) {
            std::string key = inserter.keyOf(batch[begin]);
            // Each column's slots are as wide as its longest value in the run: the run ends before the
            // slots of all its rows would pass kArrayBytes.
            std::vector<std::size_t> widths(columns.size(), 1);
            auto fits = [&](const Row& row, std::size_t rows) {
                std::size_t total = 0;
                for (std::size_t c = 0; c < columns.size(); ++c)
                    total += std::max(widths[c], row.values[c].text.size() + 1);
                return rows * total <= kArrayBytes;
            };
            auto widen = [&](const Row& row) {
                for (std::size_t c = 0; c < columns.size(); ++c)
                    widths[c] = std::max(widths[c], row.values[c].text.size() + 1);
            };
            widen(batch[begin]);
            std::size_t end = begin + 1;
            while (end < batch.size() && inserter.keyOf(batch[end]) == key && fits(batch[end], end - begin + 1))
                widen(batch[end++]);
            bool sent = end - begin > 1 && !inserter.arraysRefused()
                            ? inserter.insertArray(batch, begin, end, &error, &text)
                            : false;
            if (!sent && (end - begin == 1 || inserter.arraysRefused())) {
                sent = true;
                for (std::size_t r = begin; r < end && sent; ++r)
                    sent = inserter.insert(batch[r], &error, &text);
            }
            if (!sent)
                return false;
            begin = end;
        }
        return true;
    };
    auto finishBatch = [&] {
        if (batch.empty())
            return;
        if (sendBatch() && transact(sql::kCommit)) {
            result.rowsCommitted += static_cast<long>(batch.size());
            batch.clear();
            return;
        }
        transact(sql::kRollback);
        for (const Row& row : batch) {
            error.clear();
            if (inserter.insert(row, &error, &text) && transact(sql::kCommit)) {
                ++result.rowsCommitted;
                continue;
            }
            if (error.empty())
                error = binding.firstDiagnostic(binding.environment(), target, nullptr);
            logRefused(row);
            transact(sql::kRollback);
        }
        batch.clear();
    };

    while (!cancelled(progress)) {
        SqlReturn rc = source.fetch();
        if (rc == sql::kNoData)
            break;
        if (!sql::succeeded(rc)) {
            log.add(source.errorText(), result.rowsRead + 1, "", "");
            break;
        }
        Row row;
        row.number = ++result.rowsRead;
        row.values.resize(columns.size());
        for (std::size_t c = 0; c < columns.size(); ++c) {
            ColumnText& value = row.values[c];
            if (source.getText(static_cast<SqlUSmallInt>(c + 1), value) != sql::kSuccess)
                log.add(source.errorText(), row.number, columns[c].name, value.text);
            if (isNumericType(columns[c].sqlType) && !value.text.empty())
                value.text = numericParameterText(value.text);
        }
        error.clear();
        if (!batches) {
            if (inserter.insert(row, &error, &text))
                ++result.rowsCommitted;
            else
                logRefused(row);
        } else {
            batch.push_back(std::move(row));
            if (static_cast<long>(batch.size()) >= request.batchRows)
                finishBatch();
        }
        countRow(progress, result.rowsRead);
    }
    finishBatch();
    if (batches)
        binding.fn().SQLSetConnectOption(target, sql::kAutocommit, sql::kAutocommitOn);
    result.errors = log.entries();
    result.outcome = cancelled(progress) ? CopyOutcome::Canceled : CopyOutcome::Finished;
    return result;
}

TableCopyResult copyTable(OdbcBinding& binding, void* owner, const TableCopyRequest& request, CopyProgress& progress) {
    TableCopyResult result;
    OdbcStatement source(binding, request.source);
    if (!source.ok() || !sql::succeeded(source.execDirect(request.selectText))) {
        result.outcome = CopyOutcome::SourceFailed;
        result.message = source.errorText();
        return result;
    }
    OdbcConnection target(binding);
    SqlHdbc node = nullptr;
    bool loginUsed = false;
    if (!target.ok() ||
        !sql::succeeded(connect(owner, request.targetSource, target.get(), &node, &loginUsed, false, 0, binding))) {
        result.outcome = CopyOutcome::ConnectFailed;
        result.message = binding.firstDiagnostic(binding.environment(), target.get(), nullptr);
        return result;
    }
    if (request.createTable) {
        OdbcStatement create(binding, target.get());
        if (!create.ok()) {
            result.outcome = CopyOutcome::TargetFailed;
            result.message = create.errorText();
            return result;
        }
        std::string quote = identifierQuote(binding, target.get());
        if (!sql::succeeded(create.execDirect(retargetQuotes(request.createText, quote)))) {
            result.outcome = CopyOutcome::CreateFailed;
            result.message = create.errorText();
            return result;
        }
    }
    return copyRows(binding, source, target.get(), request, progress);
}

bool writeHtmlResult(OdbcBinding& binding,
                     OdbcStatement& source,
                     const std::string& path,
                     const std::string& title,
                     CopyProgress& progress,
                     long* rows) {
    *rows = 0;
    std::vector<SourceColumn> columns;
    if (!sql::succeeded(describeSourceColumns(binding, source, &columns)))
        return false;
    files file(path.c_str(), 512);
    if (!file.openFile(platform::kGenericRead | platform::kGenericWrite, platform::kShareRead | platform::kShareWrite,
                       platform::kCreateAlways, platform::kFlagRandomAccess | platform::kAttributeNormal))
        return false;
    BufferedOutput out(file, 0);
    // Windows-1250 text, as the table export writes it.
    out.append(
        "<HTML>\r\n<HEAD>\r\n<META http-equiv=\"content-type\" content=\"TEXT/HTML; charset=windows-1250\"><TITLE>");
    appendHtmlEscaped(out, title.c_str());
    out.append("</TITLE>\r\n</HEAD>\r\n<BODY>\r\n<TABLE border=\"1\" frame=box>\r\n<CAPTION>");
    appendHtmlEscaped(out, path.c_str());
    out.append("</CAPTION><TR>");
    for (const SourceColumn& column : columns) {
        out.append("<TH>");
        appendHtmlEscaped(out, column.name.c_str());
        out.append("</TH>");
    }
    out.append("</TR>\r\n");
    ColumnText value;
    while (out.ok() && !cancelled(progress) && sql::succeeded(source.fetch())) {
        out.append("<TR>");
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (source.getText(static_cast<SqlUSmallInt>(c + 1), value) != sql::kSuccess)
                break;
            bool blank = value.text.find_first_not_of(' ') == std::string::npos;
            bool plain = value.text.size() <= kPlainCellLimit;
            out.append(plain ? "<TD>" : "<TD><PRE>");
            if (blank && plain)
                out.append("&nbsp;");
            else
                appendHtmlEscaped(out, value.text.c_str());
            out.append(plain ? "</TD>" : "</PRE></TD>");
        }
        out.append("</TR>\r\n");
        countRow(progress, ++*rows);
    }
    out.append("</TABLE>\r\n</BODY>\r\n</HTML>\r\n");
    bool written = out.flush();
    return file.closeFile() && written;
}
