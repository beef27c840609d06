// Find-file enumeration on POSIX: the directory part is read with opendir, the last part is
// matched with fnmatch (a leading dot needs no explicit match, as on Windows). Backslashes count as
// separators, as in the Windows build.
#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include "base/find.h"

namespace {

class DirHandle {
  public:
    explicit DirHandle(DIR* dir) : dir_(dir) {}
    ~DirHandle() {
        if (dir_)
            closedir(dir_);
    }
    DirHandle(const DirHandle&) = delete;
    DirHandle& operator=(const DirHandle&) = delete;
    DIR* get() const { return dir_; }

  private:
    DIR* dir_;
};

// 100-ns units between 1601-01-01 and 1970-01-01, as Windows counts file times.
constexpr int64_t kUnixEpochIn1601Units = 116444736000000000LL;

}  // namespace

std::vector<FoundFile> findFiles(const char* pattern) {
    std::vector<FoundFile> found;
    if (!pattern || !*pattern)
        return found;
    std::string path(pattern);
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
    size_t slash = path.rfind('/');
    std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    std::string mask = slash == std::string::npos ? path : path.substr(slash + 1);
    if (mask.empty())
        return found;
    if (mask == "*.*")  // Windows' "every name", with or without a dot
        mask = "*";
    DirHandle dir(opendir(directory.c_str()));
    if (!dir.get())
        return found;
    while (dirent* entry = readdir(dir.get())) {
        std::string name = entry->d_name;
        if (name == "." || name == ".." || fnmatch(mask.c_str(), name.c_str(), 0) != 0)
            continue;
        FoundFile file;
        file.name = name;
        struct stat info;
        if (stat((directory + name).c_str(), &info) == 0) {
            file.size = static_cast<uint64_t>(info.st_size);
            file.attributes = S_ISDIR(info.st_mode) ? 0x10 : 0;
            if (!(info.st_mode & S_IWUSR))
                file.attributes |= 0x01;
            if (!file.attributes)
                file.attributes = 0x80;  // FILE_ATTRIBUTE_NORMAL
            file.writeTime = static_cast<int64_t>(info.st_mtime) * 10000000LL + kUnixEpochIn1601Units;
        }
        found.push_back(std::move(file));
    }
    return found;
}
