// Writing the table copy's error log.
#include "copy/table_copy_log.h"

#include <cstdio>

#include "base/file_platform.h"

std::string copyErrorLogPath() {
    std::string temp = platform::tempDirectory();
    char separator = temp.empty() ? '/' : temp.back();
    return temp + "Quarrow" + separator + "error.log";
}

CopyErrorLog::CopyErrorLog(const std::string& path) : path_(path) {
    platform::deleteFile(path.c_str());
    file_ = std::make_unique<files>(path.c_str(), 512);
    ok_ =
        file_->openFile(platform::kGenericRead | platform::kGenericWrite, platform::kShareRead | platform::kShareWrite,
                        platform::kOpenAlways, platform::kFlagRandomAccess | platform::kAttributeNormal) != 0;
}

bool CopyErrorLog::add(const std::string& message, long record, const std::string& field, const std::string& value) {
    if (!ok_)
        return false;
    ++entries_;
    char line[512];
    std::snprintf(line, sizeof line, "%ld.record - %d.error - Field : %s - Value : %.60s\r\n", record, entries_,
                  field.c_str(), value.c_str());
    std::string text = message + "\r\n  " + line;
    uint32_t written = 0;
    file_->seek(0, platform::kFileEnd);
    return file_->write(text.data(), static_cast<uint32_t>(text.size()), &written) && written == text.size();
}
