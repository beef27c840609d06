// Path rules of the file panels: the parent of a folder, names a new folder may take, extension
// lists, and the focus each folder depth remembers. Portable.
#pragma once

#include <string>

// The parent of `path` (a folder ending in a backslash), ending in a backslash; a root stays as it is.
std::string parentPath(const std::string& path);

// True when `name` names one folder inside the panel's folder: not empty, not "." or "..", and
// free of path and wildcard characters (\ / : * ? " < > |).
bool isPlainFolderName(const std::string& name);

// True when `extension` (with or without its leading '.') is a whole item of the ';'-separated
// `list`, compared case-blind: "DB" is in "MDB;DB;" but "B" and "D" are not.
bool isInExtensionList(const std::string& extension, const char* list);

// The types the commander opens through ODBC, and those the picture viewer shows.
constexpr const char* kDatabaseFileTypes = "MDB;XLS;XLSX;DBF;MYD;FRM;MYI;DB;";
constexpr const char* kPictureFileTypes = "JPG;JPEG;GIF;BMP;EMF";

// The entry each folder depth had focused when the user went one level deeper. Depths past the
// last slot are still counted (going up from them stays right) but remember nothing.
class FocusStack {
  public:
    static constexpr int kSlots = 64;
    int depth() const { return depth_; }
    // Entering a folder: remember `focused` for the current depth and go one deeper.
    void enter(int focused);
    // Going up: forget the current depth's focus and go one up; nothing at depth 0.
    void leave();
    // Back to the root: depth 0, with nothing remembered for it.
    void toRoot();
    // The entry to focus at the current depth (0 when nothing is remembered).
    int remembered() const;

  private:
    int slots_[kSlots] = {};
    int depth_ = 0;
};

// The drive list's entry for `root` ("C:\") given the shell's display name of it: a trailing
// " (C:)" is dropped, and the entry is "C:\ (System)", or the root alone when no name is left.
std::string driveListEntry(const std::string& root, const std::string& displayName);
