// Every dialog template linked into the program has unique control ids (static texts excepted).
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct Template {
    std::string name;
    std::vector<int> ids;  // ids of the controls, -1 for an unnumbered static
};

// Skips a sz_Or_Ord field: 0x0000, 0xFFFF + ordinal, or a NUL-terminated UTF-16 string.
const WORD* skipNameOrOrdinal(const WORD* p) {
    if (*p == 0xFFFF)
        return p + 2;
    while (*p++) {
    }
    return p;
}

const WORD* alignDword(const WORD* p) {
    return reinterpret_cast<const WORD*>((reinterpret_cast<UINT_PTR>(p) + 3) & ~static_cast<UINT_PTR>(3));
}

// Reads the control ids from a DLGTEMPLATE or DLGTEMPLATEEX resource.
std::vector<int> controlIds(const BYTE* data) {
    std::vector<int> ids;
    const WORD* words = reinterpret_cast<const WORD*>(data);
    bool extended = words[0] == 1 && words[1] == 0xFFFF;
    DWORD style;
    int count;
    const WORD* p;
    if (extended) {
        style = *reinterpret_cast<const DWORD*>(data + 12);
        count = words[8];
        p = words + 13;  // dlgVer, signature, helpID, exStyle, style, cDlgItems, x, y, cx, cy
    } else {
        style = *reinterpret_cast<const DWORD*>(data);
        count = words[4];
        p = words + 9;  // style, exStyle, cdit, x, y, cx, cy
    }
    p = skipNameOrOrdinal(p);  // menu
    p = skipNameOrOrdinal(p);  // class
    p = skipNameOrOrdinal(p);  // title
    if (style & (DS_SETFONT | DS_SHELLFONT)) {
        p += extended ? 3 : 1;  // point size (and weight, italic, charset)
        p = skipNameOrOrdinal(p);
    }
    for (int i = 0; i < count; ++i) {
        p = alignDword(p);
        int id;
        if (extended) {
            id = static_cast<int>(*reinterpret_cast<const DWORD*>(p + 10));  // helpID, exStyle, style, x, y, cx, cy
            p += 12;
        } else {
            id = static_cast<short>(p[8]);  // style, exStyle, x, y, cx, cy
            p += 9;
        }
        ids.push_back(id);
        p = skipNameOrOrdinal(p);  // class
        p = skipNameOrOrdinal(p);  // title
        WORD extra = *p++;
        p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + extra);
    }
    return ids;
}

BOOL CALLBACK collect(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param) {
    auto* templates = reinterpret_cast<std::vector<Template>*>(param);
    HRSRC found = FindResourceA(module, name, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    if (!loaded)
        return TRUE;
    Template t;
    t.name = IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<UINT_PTR>(name)) : std::string(name);
    t.ids = controlIds(static_cast<const BYTE*>(LockResource(loaded)));
    templates->push_back(t);
    return TRUE;
}

std::vector<Template> dialogTemplates() {
    std::vector<Template> templates;
    EnumResourceNamesA(GetModuleHandleA(nullptr), RT_DIALOG, collect, reinterpret_cast<LONG_PTR>(&templates));
    return templates;
}

TEST(DialogTemplates, ControlIdsAreUniqueWithinEachDialog) {
    std::vector<Template> templates = dialogTemplates();
    std::set<std::string> names;
    for (const Template& t : templates)
        names.insert(t.name);
    EXPECT_TRUE(names.count("PROGRESS2"));
    EXPECT_TRUE(names.count("ABOUT"));
    for (const Template& t : templates) {
        std::map<int, int> seen;
        for (int id : t.ids) {
            if (id != -1 && id != 0xFFFF)
                ++seen[id];
        }
        for (const auto& [id, times] : seen)
            EXPECT_EQ(times, 1) << "dialog " << t.name << " uses control id " << id << " " << times << " times";
    }
}

TEST(DialogTemplates, ProgressAndAboutCarryTheirControls) {
    for (const Template& t : dialogTemplates()) {
        std::set<int> ids(t.ids.begin(), t.ids.end());
        if (t.name == "PROGRESS2") {
            EXPECT_TRUE(ids.count(101));
            EXPECT_TRUE(ids.count(IDCANCEL));
        }
        if (t.name == "ABOUT") {
            EXPECT_TRUE(ids.count(101));
        }
    }
}

}  // namespace
