// The sort dialog through its controls: captions moved between the lists, the language choice for
// one run, the key built from field names, the key length limit; and the sort key builder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/table_window.h"
#include "app/window_pool.h"
#include "base/settings.h"
#include "browse/browse_commands.h"
#include "browse/sort_key.h"
#include "dbf/dbf.h"
#include "resources/resource.h"
#include "tests/dbf/dbf_test_util.h"
#include "tests/win32/dialog_script.h"
#include "tests/win32/grid_fake_source.h"
#include "tests/win32/harness.h"

namespace {

using dbftest::field;
using harness::click;
using harness::runDialog;

std::vector<std::string> listItems(HWND dialog, int id) {
    std::vector<std::string> items;
    int count = static_cast<int>(SendDlgItemMessageA(dialog, id, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        SendDlgItemMessageA(dialog, id, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

// Selects entry `index` of list `id` and presses `button`.
void move(HWND dialog, int id, int index, int button) {
    SendDlgItemMessageA(dialog, id, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    click(dialog, button);
}

class SortDialog : public testing::Test {
  protected:
    void SetUp() override {
        resetSettings();
        gridtest::installGrid(GetModuleHandleA(nullptr));
        tablePool().clear();
    }
    void TearDown() override {
        for (HWND window : windows_) {
            if (IsWindow(window))
                DestroyWindow(window);
        }
        harness::pumpMessages();
        resetSettings();
    }
    BrowseView* open(const std::string& path) {
        HWND window = openTableWindow(nullptr, path.c_str());
        if (!window)
            return nullptr;
        windows_.push_back(window);
        harness::pumpMessages(20);
        return browseViewOf(window);
    }
    std::string writePeople() {
        std::string path = dir_.file("PEOPLE.DBF");
        const FieldDef defs[] = {field("NAME", 'C', 8), field("CITY", 'C', 8)};
        dbf table(path.c_str());
        EXPECT_EQ(table.create(defs, 2), 1);
        EXPECT_EQ(table.open(1), 1);
        dbftest::appendRows(table, {{"Zoli", "Pécs"}, {"Ábel", "Eger"}, {"Anna", "Győr"}, {"Anna", "Eger"}});
        table.close();
        return path;
    }
    std::vector<std::string> names(BrowseView& view, int field) {
        std::vector<std::string> out;
        for (long r = 1; r <= view.table->recCount(); ++r) {
            view.table->goTo(r);
            std::string text = view.table->getField(field);
            out.push_back(text.substr(0, text.find_last_not_of(' ') + 1));
        }
        return out;
    }
    dbftest::TempDir dir_;
    std::vector<HWND> windows_;
};

TEST(SortKey, NamesAreJoinedAndTooLongOnesLeftOut) {
    bool tooLong = true;
    EXPECT_EQ(buildSortKey({"NAME", "", "CITY"}, &tooLong), "NAME+CITY");
    EXPECT_FALSE(tooLong);
    std::vector<std::string> many(30, "ABCDEFGHIJ");
    std::string key = buildSortKey(many, &tooLong);
    EXPECT_TRUE(tooLong);
    EXPECT_EQ(key.size(), 23u * 11 - 1);  // 252 characters; a 24th name would make 263
    EXPECT_EQ(buildSortKey({std::string(254, 'A')}, &tooLong).size(), 254u);
    EXPECT_FALSE(tooLong);
    EXPECT_EQ(buildSortKey({std::string(255, 'A')}, &tooLong), "");
    EXPECT_TRUE(tooLong);
}

TEST_F(SortDialog, CaptionsMoveBetweenTheListsAndAnEmptySortListIsRefused) {
    BrowseView* view = open(writePeople());
    ASSERT_NE(view, nullptr);
    std::vector<std::string> fields, keys, back, language;
    bool keysEnabled = true, enabledAfterAdd = false, enabledAfterRemove = true;
    std::vector<harness::BoxCatcher::Box> boxes;
    ASSERT_TRUE(runDialog([&] { sortCommand(*view); },
                          [&](HWND dialog) {
                              harness::BoxCatcher catcher(dialog);
                              fields = listItems(dialog, IDC_SORT_FIELDS);
                              keysEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_SORT_KEYS)) != FALSE;
                              click(dialog, IDC_SORT_RUN);  // empty sort list
                              move(dialog, IDC_SORT_FIELDS, 1, IDC_SORT_ADD);
                              enabledAfterAdd = IsWindowEnabled(GetDlgItem(dialog, IDC_SORT_KEYS)) != FALSE;
                              keys = listItems(dialog, IDC_SORT_KEYS);
                              move(dialog, IDC_SORT_KEYS, 0, IDC_SORT_REMOVE);
                              enabledAfterRemove = IsWindowEnabled(GetDlgItem(dialog, IDC_SORT_KEYS)) != FALSE;
                              back = listItems(dialog, IDC_SORT_FIELDS);
                              char text[32] = "";
                              GetDlgItemTextA(dialog, IDC_SORT_LANGUAGE, text, sizeof text);
                              language.push_back(text);
                              int count =
                                  static_cast<int>(SendDlgItemMessageA(dialog, IDC_SORT_LANGUAGE, CB_GETCOUNT, 0, 0));
                              language.push_back(std::to_string(count));
                              boxes = catcher.boxes();
                          }));
    EXPECT_EQ(fields, (std::vector<std::string>{"NAME", "CITY"}));
    EXPECT_FALSE(keysEnabled);
    EXPECT_TRUE(enabledAfterAdd);
    EXPECT_EQ(keys, (std::vector<std::string>{"CITY"}));
    EXPECT_FALSE(enabledAfterRemove);
    EXPECT_EQ(back, (std::vector<std::string>{"NAME", "CITY"}));
    EXPECT_EQ(language, (std::vector<std::string>{"English", "2"}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Empty sort table!");
}

TEST_F(SortDialog, SortingByRenamedCaptionsUsesTheirFieldsAndTheChosenLanguage) {
    BrowseView* view = open(writePeople());
    ASSERT_NE(view, nullptr);
    // The captions a grid shows need not be the field names.
    lstrcpyA(view->columns[1].caption, "Név");
    lstrcpyA(view->columns[2].caption, "Város");
    setting(SET_HUN_CMP, "7");
    std::vector<std::string> fields;
    std::vector<harness::BoxCatcher::Box> boxes;
    auto sortBy = [&](const char* language) {
        runDialog([&] { sortCommand(*view); },
                  [&](HWND dialog) {
                      harness::BoxCatcher catcher(dialog);
                      fields = listItems(dialog, IDC_SORT_FIELDS);
                      move(dialog, IDC_SORT_FIELDS, 0, IDC_SORT_ADD);  // Név
                      move(dialog, IDC_SORT_FIELDS, 0, IDC_SORT_ADD);  // Város
                      SendDlgItemMessageA(dialog, IDC_SORT_LANGUAGE, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(language));
                      click(dialog, IDC_SORT_RUN);
                      boxes = catcher.boxes();
                  });
    };
    sortBy("English");
    EXPECT_EQ(fields, (std::vector<std::string>{"Név", "Város"}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The sort is ready.");
    // Raw code page 852 bytes: Á (0xB5) sorts after Z.
    EXPECT_EQ(names(*view, 0), (std::vector<std::string>{"Anna", "Anna", "Zoli", "Ábel"}));
    EXPECT_EQ(names(*view, 1), (std::vector<std::string>{"Eger", "Győr", "Pécs", "Eger"}));
    EXPECT_STREQ(setting(SET_HUN_CMP), "7");
    sortBy("Magyar");
    EXPECT_EQ(names(*view, 0), (std::vector<std::string>{"Ábel", "Anna", "Anna", "Zoli"}));
    EXPECT_STREQ(setting(SET_HUN_CMP), "7");
}

TEST_F(SortDialog, ATooLongKeyIsCutWithAWarningAndTheDialogCloses) {
    std::string path = dir_.file("WIDE.DBF");
    std::vector<FieldDef> defs;
    for (int i = 0; i < 30; ++i) {
        char name[11];
        snprintf(name, sizeof name, "FIELDNAM%02d", i);
        defs.push_back(field(name, 'C', 1));
    }
    {
        dbf table(path.c_str());
        ASSERT_EQ(table.create(defs.data(), 30), 1);
        ASSERT_EQ(table.open(1), 1);
        std::vector<std::string> b(30, "B"), a(30, "A");
        dbftest::appendRows(table, {b, a});
    }
    BrowseView* view = open(path);
    ASSERT_NE(view, nullptr);
    std::vector<std::string> texts;
    bool closed = false;
    runDialog([&] { sortCommand(*view); },
              [&](HWND dialog) {
                  harness::BoxCatcher catcher(dialog);
                  for (int i = 0; i < 30; ++i)
                      move(dialog, IDC_SORT_FIELDS, 0, IDC_SORT_ADD);
                  click(dialog, IDC_SORT_RUN);
                  harness::pumpMessages(20);
                  closed = !IsWindow(dialog) || !IsWindowVisible(dialog);  // EndDialog hides it at once
                  for (const auto& box : catcher.boxes())
                      texts.push_back(box.text);
              });
    EXPECT_EQ(texts, (std::vector<std::string>{"Sorry, too long sort key!", "The sort is ready."}));
    EXPECT_TRUE(closed);
    view->table->goTo(1);
    EXPECT_STREQ(view->table->getField(0), "A");
}

}  // namespace
