// Path rules of the file panels.
#include "copy/file_paths.h"

#include <cstring>

#include "copy/file_entry.h"

std::string parentPath(const std::string& path) {
    if (path.size() < 2)
        return path;
    size_t slash = path.rfind('\\', path.size() - 2);
    return slash == std::string::npos ? path : path.substr(0, slash + 1);
}

bool isPlainFolderName(const std::string& name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find_first_of("\\/:*?\"<>|") == std::string::npos;
}

bool isInExtensionList(const std::string& extension, const char* list) {
    std::string wanted = !extension.empty() && extension[0] == '.' ? extension.substr(1) : extension;
    if (wanted.empty() || !list)
        return false;
    for (const char* item = list; *item;) {
        const char* end = std::strchr(item, ';');
        size_t length = end ? static_cast<size_t>(end - item) : std::strlen(item);
        std::string candidate(item, length);
        if (!candidate.empty() && candidate[0] == '.')
            candidate.erase(0, 1);
        if (compareNoCase(candidate, wanted) == 0)
            return true;
        item += length + (end ? 1 : 0);
    }
    return false;
}

void FocusStack::enter(int focused) {
    if (depth_ < kSlots)
        slots_[depth_] = focused;
    ++depth_;
    if (depth_ < kSlots)
        slots_[depth_] = 0;
}

void FocusStack::leave() {
    if (depth_ == 0)
        return;
    if (depth_ < kSlots)
        slots_[depth_] = 0;
    --depth_;
}

void FocusStack::toRoot() {
    depth_ = 0;
    slots_[0] = 0;
}

int FocusStack::remembered() const {
    return depth_ < kSlots ? slots_[depth_] : 0;
}

std::string driveListEntry(const std::string& root, const std::string& displayName) {
    std::string name = displayName;
    size_t n = name.size();
    // "(X:)" and the character before it, the space that separates it from the label.
    if (n >= 4 && name[n - 4] == '(' && name[n - 2] == ':' && name[n - 1] == ')')
        name.erase(n >= 5 ? n - 5 : 0);
    return name.empty() ? root : root + " (" + name + ")";
}
