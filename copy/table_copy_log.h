// The table copy's error log, "Quarrow\error.log" in the temporary folder: per failed ODBC call the
// driver's message, and below it the record, the error number, the field and the value.
#pragma once

#include <memory>
#include <string>

#include "base/files.h"

// "<temp>\Quarrow\error.log".
std::string copyErrorLogPath();

class CopyErrorLog {
  public:
    // Deletes the file and opens it anew (the ODBC windows make its folder when they open); see ok().
    explicit CopyErrorLog(const std::string& path);
    CopyErrorLog(const CopyErrorLog&) = delete;
    CopyErrorLog& operator=(const CopyErrorLog&) = delete;

    bool ok() const { return ok_; }
    int entries() const { return entries_; }
    const std::string& path() const { return path_; }
    // Writes one entry, numbered by the count of entries; false when the write failed.
    bool add(const std::string& message, long record, const std::string& field, const std::string& value);

  private:
    std::string path_;
    std::unique_ptr<files> file_;
    int entries_ = 0;
    bool ok_ = false;
};
