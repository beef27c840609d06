// Find-file enumeration through FindFirstFileA / FindNextFileA.
#include <windows.h>

#include "base/find.h"
#include "base/find_handle_win32.h"

namespace {

bool isDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

std::vector<FoundFile> findFiles(const char* pattern) {
    std::vector<FoundFile> found;
    if (!pattern || !*pattern)
        return found;
    WIN32_FIND_DATAA data;
    FindHandle search(FindFirstFileA(pattern, &data));
    if (!search.valid())
        return found;
    do {
        if (isDotEntry(data.cFileName))
            continue;
        FoundFile file;
        file.name = data.cFileName;
        file.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        file.attributes = data.dwFileAttributes;
        file.writeTime = static_cast<int64_t>((static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                              data.ftLastWriteTime.dwLowDateTime);
        found.push_back(std::move(file));
    } while (FindNextFileA(search.get(), &data));
    return found;
}
