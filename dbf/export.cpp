// dbf export: the records as fixed-width text lines (the layout appendFrom reads back), or as an HTML page
// with one table row per live record.
#include <cstring>
#include <string>

#include "base/file_platform.h"
#include "base/text_rules.h"
#include "dbf/bulk_io.h"
#include "dbf/dbf.h"
#include "dbf/table_job.h"

namespace {

// The page is Windows-1250 text (what the OEM-to-ANSI conversion gives), so it says so.
const char kPageStart[] =
    "<HTML>\r\n<HEAD>\r\n<META http-equiv=\"content-type\" content=\"TEXT/HTML; charset=windows-1250\"><TITLE>";
const char kPageHead[] = "</TITLE>\r\n</HEAD>\r\n<BODY>\r\n<TABLE border=\"1\" frame=box>\r\n<CAPTION>";
const char kPageEnd[] = "</TABLE>\r\n</BODY>\r\n</HTML>\r\n";

// The frame both exports share: the table lock, a new output file, then `head`, every record reached from
// the top through `record`, and `tail`. 0 when the lock is refused, the file cannot be created or written.
template <typename Head, typename Record, typename Tail>
int exportFrame(dbf& table, TableJob& job, const char* name, Head head, Record record, Tail tail) {
    if (!table.isOpen() || !name)
        return job.fail(TableError::CannotCreate);
    // Writing over the table or its memo file, under whatever spelling, would destroy what is exported.
    if (platform::sameFile(name, table.fileName()) != 0 || platform::sameFile(name, table.memoFileName()) != 0)
        return job.fail(TableError::SameFile);
    long remembered = table.recNo();
    if (!table.lockTable())
        return job.fail(TableError::LockRefused);
    job.setTotal(static_cast<uint32_t>(table.recCount()));
    files out(name, 512);
    if (!out.openFile(platform::kGenericRead | platform::kGenericWrite, platform::kShareRead | platform::kShareWrite,
                      platform::kCreateAlways, platform::kFlagRandomAccess | platform::kAttributeNormal)) {
        table.unlock();
        return job.fail(TableError::CannotCreate);
    }
    BufferedOutput writer(out, 0);
    head(writer);
    bool going = true;
    for (table.goTop(); going && writer.ok() && !table.isEof(); table.skip(1)) {
        going = job.step(static_cast<uint32_t>(table.recNo() - 1));
        record(writer);
    }
    tail(writer);
    bool ok = writer.flush() && going;
    table.unlock();
    table.goTo(remembered);
    out.closeFile();
    if (!ok) {
        platform::deleteFile(name);  // half a file is of no use to anyone
        return job.fail(TableError::WriteFailed);
    }
    return job.succeed();
}

}  // namespace

int dbf::exportText(const char* name) {
    bool savedOem = oem_;
    oem_ = false;  // the lines carry the bytes as stored
    const size_t length = header_.recordLength - 1u;
    TableJob job(*this, 0);
    int result = exportFrame(
        *this, job, name, [](BufferedOutput&) {},
        [&](BufferedOutput& out) {
            out.append(&record_[1], length);
            out.append("\r\n", 2);
        },
        [](BufferedOutput&) {});
    oem_ = savedOem;
    return result;
}

int dbf::exportHtml(const char* name, const char* title, const char* const* columnTitles) {
    auto head = [&](BufferedOutput& out) {
        out.append(kPageStart);
        appendHtmlEscaped(out, title ? title : "");
        out.append(kPageHead);
        appendHtmlEscaped(out, name);
        out.append("</CAPTION><TR>");
        for (int i = 0; i < fieldCount_; ++i) {
            out.append("<TH>");
            appendHtmlEscaped(out, columnTitles && columnTitles[i] ? columnTitles[i] : "");
            out.append("</TH>");
        }
        out.append("</TR>\r\n");
    };
    auto record = [&](BufferedOutput& out) {
        if (isDeleted())
            return;
        out.append("<TR>");
        for (int i = 0; i < fieldCount_; ++i) {
            const char* text = getField(i);
            out.append("<TD>");
            if (isBlank(text))
                out.append("&nbsp;");
            else
                appendHtmlEscaped(out, text);
            out.append("</TD>");
        }
        out.append("</TR>\r\n");
    };
    TableJob job(*this, 0);
    return exportFrame(*this, job, name, head, record, [](BufferedOutput& out) { out.append(kPageEnd); });
}
