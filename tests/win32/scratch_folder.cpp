// Scratch folders and files for the file panel tests.
#include "tests/win32/scratch_folder.h"

#include <shellapi.h>

namespace harness {

ScratchFolder::ScratchFolder(const char* tag) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "qpanel-" + tag + "-" + std::to_string(GetCurrentProcessId()) + "\\";
    remove();
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    remove();
}

void ScratchFolder::removeTree(const std::string& path) {
    std::string from = path + '\0' + '\0';
    SHFILEOPSTRUCTA request{};
    request.wFunc = FO_DELETE;
    request.pFrom = from.c_str();
    request.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationA(&request);
}

void ScratchFolder::remove() {
    removeTree(path_.substr(0, path_.size() - 1));
}

std::string trashFolder() {
    char home[MAX_PATH] = "";
    // Wine names the Unix home folder as \??\Z:\root.
    if (!GetEnvironmentVariableA("WINEHOMEDIR", home, MAX_PATH) || std::string(home).rfind("\\??\\", 0) != 0)
        return std::string();
    return std::string(home + 4) + "\\.local\\share\\Trash\\";
}

void takeOutOfTrash(const std::string& name) {
    std::string trash = trashFolder();
    if (trash.empty())
        return;
    ScratchFolder::removeTree("\\\\?\\" + trash + "files\\" + name);
    DeleteFileA(("\\\\?\\" + trash + "info\\" + name + ".trashinfo").c_str());
}

bool writeFile(const std::string& path, size_t size, char fill) {
    HANDLE file = CreateFileA(("\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::string data(size, fill);
    DWORD written = 0;
    bool ok = WriteFile(file, data.data(), static_cast<DWORD>(size), &written, nullptr) && written == size;
    CloseHandle(file);
    return ok;
}

bool exists(const std::string& path) {
    return GetFileAttributesA(("\\\\?\\" + path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string readFile(const std::string& path) {
    HANDLE file =
        CreateFileA(("\\\\?\\" + path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    char buffer[4096];
    DWORD read = 0;
    ReadFile(file, buffer, sizeof buffer, &read, nullptr);
    CloseHandle(file);
    return std::string(buffer, read);
}

}  // namespace harness
