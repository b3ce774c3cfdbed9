// KPFileChooser reading the Open dialog's result, with the real dialog answered by a timer
// script, and KPFileFinder listing a temporary folder.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "kp_file_chooser.h"
#include "kp_window.h"
#include "test_support.h"

namespace {

// The Open dialog's file-type combo box and file-name field.
constexpr int file_type_combo = 0x470;
constexpr int file_name_field = 0x47C;

const char tra_description[] = "TRA files (*.TRA)";
const char dlg_description[] = "Arcanum dialog files (*.DLG)";

class FileChooserTest : public ::testing::Test {
protected:
    void TearDown() override { test::drain_messages(); }

    static void add_both_filters(KPFileChooser& chooser) {
        chooser.add_filter(tra_description, "*.tra");
        chooser.add_filter(dlg_description, "*.dlg");
    }
};

// Typing into the Open dialog's file-name field and confirming, as a user would.
bool type_and_confirm(HWND dialog, const std::string& text) {
    SetDlgItemTextA(dialog, file_name_field, text.c_str());
    test::press(dialog, IDOK);
    return true;
}

// Wine reacts to the end of a selection in the file-type combo, not to the change itself.
bool pick_filter(HWND dialog, int index) {
    const HWND combo = GetDlgItem(dialog, file_type_combo);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(file_type_combo, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
    return true;
}

std::string current_directory() {
    char path[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof(path), path);
    return path;
}

TEST(FileChooserResult, OneFileIsItsFullPath) {
    const char result[] = "C:\\a\\x.tra\0";
    EXPECT_EQ(KPFileChooser::count_files(result), 1);
    EXPECT_STREQ(KPFileChooser::name_at(result, 0), "C:\\a\\x.tra");
    EXPECT_STREQ(KPFileChooser::name_at(result, 5), "C:\\a\\x.tra");
    EXPECT_STREQ(KPFileChooser::name_at(result, -1), "C:\\a\\x.tra");
}

TEST(FileChooserResult, SeveralFilesFollowTheirDirectory) {
    const char result[] = "C:\\a\0x.dlg\0y.dlg\0z.dlg\0";
    EXPECT_EQ(KPFileChooser::count_files(result), 3);
    EXPECT_STREQ(KPFileChooser::name_at(result, -1), "C:\\a");
    EXPECT_STREQ(KPFileChooser::name_at(result, 0), "x.dlg");
    EXPECT_STREQ(KPFileChooser::name_at(result, 1), "y.dlg");
    EXPECT_STREQ(KPFileChooser::name_at(result, 2), "z.dlg");
    EXPECT_EQ(KPFileChooser::name_at(result, 3), nullptr);
    EXPECT_EQ(KPFileChooser::name_at(result, -2), nullptr);
}

TEST(FileChooserResult, AnEmptyResultHasNoFiles) {
    const char result[] = "\0";
    EXPECT_EQ(KPFileChooser::count_files(result), 0);
    EXPECT_EQ(KPFileChooser::name_at(result, 0), nullptr);
}

TEST_F(FileChooserTest, ANewChooserHasDefaultsAndNoFiles) {
    KPFileChooser chooser;
    EXPECT_EQ(chooser.flags(), 0x0028380Cu);
    EXPECT_EQ(chooser.filter_count(), 0);
    EXPECT_EQ(chooser.file_count(), 0);
    chooser.add_flags(OFN_ALLOWMULTISELECT);
    EXPECT_EQ(chooser.flags(), 0x0028380Cu | 0x200u);
}

TEST_F(FileChooserTest, ATwentyFirstFilterIsRefusedWithOneWarning) {
    KPFileChooser chooser;
    for (int i = 0; i < KPFileChooser::max_filters; ++i) chooser.add_filter("Files", "*.x");
    EXPECT_EQ(chooser.filter_count(), 20);
    test::SeenBox seen;
    {
        test::TimerScript script({test::answer_box("Warning", IDOK, &seen)});
        test::Watchdog dog("the filter warning");
        chooser.add_filter("One too many", "*.y");
        EXPECT_FALSE(dog.fired());
    }
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text, "Warning: Too many dialog filters used!");
    EXPECT_EQ(seen.owner, nullptr);
    EXPECT_EQ(chooser.filter_count(), 20);
}

// The tests that show the real Open dialog. CTest runs each in a process of its own: the
// dialog leaves Wine's COM threads behind, which under qemu-user can hang a process.
class OpenDialogTest : public FileChooserTest {};

TEST_F(OpenDialogTest, ChoosingOneFileWithTheFirstFilter) {
    test::TempFolder folder;
    const std::string path = folder.add_file("x.tra");
    folder.add_file("y.dlg");
    const std::string start_directory = current_directory();
    KPFileChooser chooser;
    add_both_filters(chooser);
    chooser.add_flags(OFN_ALLOWMULTISELECT);
    HWND dialog = nullptr;
    bool chosen = false;
    {
        test::TimerScript script({
            test::wait_for("Open", &dialog),
            [&] { return type_and_confirm(dialog, path); },
        });
        test::Watchdog dog("the Open dialog");
        chosen = chooser.choose();
        EXPECT_FALSE(dog.fired());
        EXPECT_TRUE(script.finished());
    }
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chooser.file_count(), 1);
    EXPECT_STRCASEEQ(chooser.directory(), path.c_str());
    EXPECT_STRCASEEQ(chooser.file_name(0), path.c_str());
    EXPECT_STRCASEEQ(chooser.file_name(5), path.c_str());
    EXPECT_EQ(chooser.selected_filter(), 1);
    EXPECT_EQ(current_directory(), start_directory);
}

TEST_F(OpenDialogTest, ChoosingSeveralFilesWithTheSecondFilter) {
    test::TempFolder folder;
    folder.add_file("x.dlg");
    folder.add_file("y.dlg");
    folder.add_file("z.tra");
    KPFileChooser chooser;
    add_both_filters(chooser);
    chooser.add_flags(OFN_ALLOWMULTISELECT);
    HWND dialog = nullptr;
    bool chosen = false;
    {
        test::TimerScript script({
            test::wait_for("Open", &dialog),
            [&] { return pick_filter(dialog, 1); },
            // A folder in the name field moves the dialog into it.
            [&] { return type_and_confirm(dialog, folder.path()); },
            [&] { return type_and_confirm(dialog, "\"x.dlg\" \"y.dlg\""); },
        });
        test::Watchdog dog("the Open dialog");
        chosen = chooser.choose();
        EXPECT_FALSE(dog.fired());
        EXPECT_TRUE(script.finished());
    }
    ASSERT_TRUE(chosen);
    EXPECT_STRCASEEQ(chooser.directory(), folder.path().c_str());
    ASSERT_EQ(chooser.file_count(), 2);
    std::vector<std::string> names = {chooser.file_name(0), chooser.file_name(1)};
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"x.dlg", "y.dlg"}));
    EXPECT_EQ(chooser.file_name(2), nullptr);
    EXPECT_EQ(chooser.selected_filter(), 2);
}

TEST_F(OpenDialogTest, CancellingLeavesNoFilesAndTheFilterUnset) {
    KPFileChooser chooser;
    add_both_filters(chooser);
    HWND dialog = nullptr;
    {
        test::TimerScript script({
            test::wait_for("Open", &dialog),
            [&] { return pick_filter(dialog, 1); },
            [&] {
                test::press(dialog, IDCANCEL);
                return true;
            },
        });
        test::Watchdog dog("the Open dialog");
        EXPECT_FALSE(chooser.choose());
        EXPECT_FALSE(dog.fired());
        EXPECT_TRUE(script.finished());
    }
    EXPECT_EQ(chooser.file_count(), 0);
    EXPECT_EQ(chooser.file_name(0), nullptr);
    // Only a confirmed choice sets it.
    EXPECT_EQ(chooser.selected_filter(), 0);
}

TEST_F(OpenDialogTest, ASelectionTooLargeForTheBufferIsReported) {
    KPWindow owner(GetModuleHandleA(nullptr));
    ASSERT_TRUE(owner.create(50, 50, 300, 200));
    test::TempFolder folder;
    const std::string path = folder.add_file("a_rather_long_file_name.tra");
    KPFileChooser chooser(owner.handle(), 16);
    add_both_filters(chooser);
    HWND dialog = nullptr;
    test::SeenBox seen;
    bool chosen = true;
    {
        test::TimerScript script({
            test::wait_for("Open", &dialog),
            [&] { return type_and_confirm(dialog, path); },
            test::answer_box("Warning", IDOK, &seen),
        });
        test::Watchdog dog("the Open dialog and its warning");
        chosen = chooser.choose();
        EXPECT_FALSE(dog.fired());
    }
    EXPECT_FALSE(chosen);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text, "Too many files were selected at once. Please choose fewer files.");
    EXPECT_EQ(seen.owner, owner.handle());
    EXPECT_EQ(chooser.file_count(), 0);
}

TEST_F(OpenDialogTest, TheTooLargeWarningCanBeReworded) {
    test::TempFolder folder;
    const std::string path = folder.add_file("another_long_file_name.dlg");
    KPFileChooser chooser(nullptr, 16);
    add_both_filters(chooser);
    chooser.set_too_many_files_warning("Zu viele Dateien.", "Achtung");
    HWND dialog = nullptr;
    test::SeenBox seen;
    {
        test::TimerScript script({
            test::wait_for("Open", &dialog),
            [&] { return type_and_confirm(dialog, path); },
            test::answer_box("Achtung", IDOK, &seen),
        });
        test::Watchdog dog("the Open dialog and its warning");
        EXPECT_FALSE(chooser.choose());
    }
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text, "Zu viele Dateien.");
}

TEST(FileFinder, ListsTheMatchesOfAPattern) {
    test::TempFolder folder;
    folder.add_file("English.ini");
    folder.add_file("Deutsch.ini");
    folder.add_file("notes.txt");
    KPFileFinder finder;
    EXPECT_TRUE(finder.at_end());
    EXPECT_EQ(finder.name(), nullptr);
    std::vector<std::string> names;
    for (finder.find_first((folder.path() + "\\*.ini").c_str()); !finder.at_end(); finder.find_next()) {
        names.push_back(finder.name());
        ASSERT_LT(names.size(), 10u);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Deutsch.ini", "English.ini"}));
    EXPECT_EQ(finder.name(), nullptr);
    EXPECT_FALSE(finder.find_next());
}

TEST(FileFinder, DirectoriesAreReportedToo) {
    test::TempFolder folder;
    folder.add_file("a.ini");
    KPFileFinder finder;
    std::vector<std::string> names;
    for (finder.find_first((folder.path() + "\\*").c_str()); !finder.at_end(); finder.find_next()) {
        names.push_back(finder.name());
        ASSERT_LT(names.size(), 10u);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "a.ini"}));
}

TEST(FileFinder, NoMatchLeavesNoSearchOpen) {
    test::TempFolder folder;
    KPFileFinder finder;
    EXPECT_TRUE(finder.find_first((folder.path() + "\\*.ini").c_str()).at_end());
    EXPECT_EQ(finder.name(), nullptr);
}

TEST(FileFinder, AnotherFindFirstStartsOver) {
    test::TempFolder folder;
    folder.add_file("one.ini");
    KPFileFinder finder;
    finder.find_first((folder.path() + "\\*.ini").c_str());
    ASSERT_FALSE(finder.at_end());
    finder.find_first((folder.path() + "\\*.ini").c_str());
    ASSERT_FALSE(finder.at_end());
    EXPECT_STREQ(finder.name(), "one.ini");
    EXPECT_FALSE(finder.find_next());
    EXPECT_TRUE(finder.at_end());
}

}  // namespace
