// ShellFile over SHFileOperationA, and the commander's copy and delete.
#include "copy/shell_file.h"

void ShellFile::add(List list, const char* path) {
    std::string& paths = buffer(list);
    std::string text = path ? path : "";
    // Drop the closing zero, append the path and its zero, close the list again.
    paths.pop_back();
    paths.append(text);
    paths.push_back('\0');
    paths.push_back('\0');
}

void ShellFile::reserve(List list, size_t n) {
    buffer(list).reserve(n + 1);
}

int ShellFile::run(UINT operation) {
    aborted_ = false;
    // An empty list still needs its two closing zeros.
    std::string from = from_ + '\0';
    std::string to = to_ + '\0';
    SHFILEOPSTRUCTA request{};
    request.hwnd = owner_;
    request.wFunc = operation;
    request.pFrom = from.c_str();
    request.pTo = to_.size() > 1 ? to.c_str() : nullptr;
    request.fFlags = flags_;
    if (!title_.empty()) {
        request.fFlags |= FOF_SIMPLEPROGRESS;
        request.lpszProgressTitle = title_.c_str();
    }
    int result = SHFileOperationA(&request);
    aborted_ = request.fAnyOperationsAborted != FALSE;
    return result == 0 && aborted_ ? ERROR_CANCELLED : result;
}

namespace {

bool pathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// "name (2).ext", "name (3).ext", … for a target that is taken. The shell's own renaming on
// collision is not everywhere (Wine overwrites), and a copy must never replace another file.
std::string freeTarget(const std::string& directory, const std::string& name, bool isFolder) {
    if (!pathExists(directory + name))
        return directory + name;
    size_t dot = isFolder ? std::string::npos : name.rfind('.');
    std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
    for (int n = 2;; ++n) {
        std::string candidate = directory + stem + " (" + std::to_string(n) + ")" + extension;
        if (!pathExists(candidate))
            return candidate;
    }
}

// Ordinary path rules drop a trailing dot or space, so "report." would name "report" (both can exist
// on a Unix drive under Wine). The "\\?\" form keeps the name exactly as the listing found it.
std::string exactPath(const std::string& path) {
    std::string trimmed = path;
    if (!trimmed.empty() && trimmed.back() == '\\')
        trimmed.pop_back();
    std::string name = trimmed.substr(trimmed.rfind('\\') + 1);
    bool strippable = !name.empty() && (name.back() == '.' || name.back() == ' ') && name != "." && name != "..";
    bool absolute = trimmed.size() > 2 && trimmed[1] == ':' && trimmed[2] == '\\';
    return strippable && absolute ? "\\\\?\\" + path : path;
}

}  // namespace

int copyIntoFolder(HWND owner, const std::string& source, const std::string& targetDirectory, FILEOP_FLAGS extraFlags) {
    std::string name = source;
    if (!name.empty() && name.back() == '\\')
        name.pop_back();
    name = name.substr(name.rfind('\\') + 1);
    ShellFile operation;
    operation.setOwner(owner);
    operation.setFlags(static_cast<FILEOP_FLAGS>(FOF_RENAMEONCOLLISION | extraFlags));
    operation.reserve(ShellFile::kFrom, MAX_PATH);
    operation.add(ShellFile::kFrom, exactPath(source).c_str());
    DWORD attributes = GetFileAttributesA(source.c_str());
    bool isFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    operation.add(ShellFile::kTo, freeTarget(targetDirectory, name, isFolder).c_str());
    return operation.copy();
}

int deleteToRecycleBin(HWND owner, const std::string& path, FILEOP_FLAGS extraFlags) {
    ShellFile operation;
    operation.setOwner(owner);
    operation.setFlags(static_cast<FILEOP_FLAGS>(FOF_ALLOWUNDO | extraFlags));
    operation.add(ShellFile::kFrom, exactPath(path).c_str());
    return operation.remove();
}
