// Brindle.exe end to end: the real program under Wine, driven from this process through its
// menu, the Open dialog, the conflict editor, the settings dialog and its message boxes.
// Starts take seconds under Wine: the start-up tests share one; each check run has its own
// (see CheckRuns). After a failing test Brindle's dialogs are closed, or its process ended.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "driver.h"
#include "resource_ids.h"
#include "work_folder.h"

namespace {

using e2e::Brindle;
using e2e::WorkFolder;
using Lines = std::vector<std::string>;

// Indexes of the Open dialog's file types, in the order Brindle adds them.
constexpr int tra_type = 0;
constexpr int dlg_type = 1;

const char english_settings[] = "general\n{\n  language=English\n}\n";

// The size of the large file in MB: 2 unless BRINDLE_E2E_LARGE_MB asks for more (users check
// whole games' dialogue dumped into one file of tens of MB; see docs/performance.md for why
// the test run stays at 2).
std::size_t large_file_megabytes() {
    char digits[16] = "";
    const DWORD length = GetEnvironmentVariableA("BRINDLE_E2E_LARGE_MB", digits, sizeof digits);
    const long megabytes = length > 0 && length < sizeof digits ? std::strtol(digits, nullptr, 10) : 0;
    return static_cast<std::size_t>(megabytes > 0 ? megabytes : 2);
}
// Wine's RichEdit takes in a MB in under 2 s here, in about 7 s under qemu-user: room to spare.
DWORD large_file_wait_ms(std::size_t megabytes) {
    return e2e::start_wait_ms + static_cast<DWORD>(megabytes) * 30000;
}

// The text of `key` ("section.name") in the shipped English language file.
std::string text(const std::string& key) {
    const std::string section = key.substr(0, key.find('.'));
    const std::string name = key.substr(key.find('.') + 1);
    const std::string file = e2e::english_language_file();
    std::string current;
    std::size_t start = 0;
    while (start < file.size()) {
        std::size_t end = file.find('\n', start);
        if (end == std::string::npos) end = file.size();
        std::string line = file.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t first = line.find_first_not_of(' ');
        if (first == std::string::npos || line[first] == ';' || line[first] == '{') continue;
        if (line[first] == '}') {
            current.clear();
        } else if (line.find('=') == std::string::npos) {
            current = line.substr(first);
        } else if (current == section && line.substr(first, line.find('=') - first) == name) {
            return line.substr(line.find('=') + 1);
        }
    }
    ADD_FAILURE() << "English.ini has no text for " << key;
    return std::string();
}

// A reason made of an "expected" text and a "found" text, as the language file describes.
std::string expected_found(const std::string& expected_key, const std::string& found_key) {
    return text(expected_key) + " " + text(found_key);
}

std::string replaced(std::string bytes, const std::string& from, const std::string& to) {
    return bytes.replace(bytes.find(from), from.size(), to);
}

DWORD offset_of(const std::string& bytes, const std::string& part) {
    return static_cast<DWORD>(bytes.find(part));
}

Lines lines_from(const Lines& lines, std::size_t first) {
    return first < lines.size() ? Lines(lines.begin() + static_cast<std::ptrdiff_t>(first), lines.end()) : Lines();
}

// Holds a file open, as another program might, so that it can be neither deleted nor replaced.
class FileLock {
public:
    explicit FileLock(const std::string& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~FileLock() {
        if (held()) CloseHandle(handle_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

bool closes(HWND window) {
    return e2e::wait_until([window] { return !IsWindow(window); });
}

// What the conflict editor should show for one conflict.
struct Expected {
    std::string path;
    std::string reason;
    DWORD start;
    DWORD length;
    // The number of characters the editor holds: the file's size when it has no zero byte.
    std::size_t text_length;
};

std::string open_windows(const Brindle& brindle) {
    std::string names;
    for (HWND window : brindle.other_windows()) names += " \"" + e2e::text_of(window) + "\"";
    return names.empty() ? " none" : names;
}

// Waits for the conflict editor of `expected.path` and checks what it shows.
void expect_editor(const Brindle& brindle, const Expected& expected, HWND* dialog, DWORD wait = e2e::start_wait_ms) {
    *dialog = brindle.wait_for_dialog(text("conflicteditor.caption") + " - " + expected.path, wait);
    ASSERT_NE(*dialog, nullptr) << "no conflict editor for " << expected.path
                                << "; other windows of Brindle:" << open_windows(brindle);
    e2e::EditorView view;
    ASSERT_TRUE(e2e::read_editor(*dialog, &view));
    EXPECT_EQ(view.reason, expected.reason);
    EXPECT_EQ(view.selection_start, expected.start);
    EXPECT_EQ(view.selection_end, expected.start + expected.length);
    EXPECT_EQ(static_cast<std::size_t>(view.text_length), expected.text_length);
    EXPECT_EQ(view.focus_owner, GetDlgItem(*dialog, IDC_CONFLICT_TEXT)) << "the focus is not in the text";
}

// The line of the selection's start lies between the first and the last line the editor shows.
void expect_selection_in_view(HWND dialog) {
    const HWND text_control = GetDlgItem(dialog, IDC_CONFLICT_TEXT);
    e2e::EditorView view;
    ASSERT_TRUE(e2e::read_editor(dialog, &view));
    LRESULT first_visible = 0;
    LRESULT selection_line = 0;
    ASSERT_TRUE(e2e::send(text_control, EM_GETFIRSTVISIBLELINE, 0, 0, &first_visible));
    ASSERT_TRUE(e2e::send(text_control, EM_LINEFROMCHAR, view.selection_start, 0, &selection_line));
    RECT area{};
    ASSERT_TRUE(GetClientRect(text_control, &area));
    // Lines are at least 8 pixels high in any font the editor may get.
    const LRESULT most_lines_shown = (area.bottom - area.top) / 8;
    EXPECT_GE(selection_line, first_visible);
    EXPECT_LE(selection_line, first_visible + most_lines_shown)
        << "the selection on line " << selection_line << " is out of view; the view starts at line " << first_visible;
}

// Types `fix` over the selected conflict and presses "Save and recheck".
void fix_and_save(HWND dialog, const std::string& fix) {
    ASSERT_TRUE(e2e::replace_selection(dialog, fix));
    e2e::press(dialog, IDOK);
    ASSERT_TRUE(closes(dialog)) << "the conflict editor stayed open after \"Save and recheck\"";
}

void cancel(HWND dialog) {
    e2e::press(dialog, IDCANCEL);
    ASSERT_TRUE(closes(dialog)) << "the conflict editor stayed open after \"Cancel\"";
}

// Checks a message box of Brindle and presses `button`.
void answer_box(const Brindle& brindle, const std::string& caption, const std::string& text_start, HWND owner,
                int button) {
    const HWND box = brindle.wait_for_dialog(caption);
    ASSERT_NE(box, nullptr) << "no message box \"" << caption << "\"; other windows:" << open_windows(brindle);
    const std::string shown = e2e::box_text(box);
    EXPECT_EQ(shown.substr(0, text_start.size()), text_start) << "the box says: " << shown;
    EXPECT_EQ(GetWindow(box, GW_OWNER), owner);
    e2e::press(box, button);
    ASSERT_TRUE(closes(box)) << "the box \"" << caption << "\" stayed open";
}

// The tests of one suite share one working folder and one Brindle start.
class SharedStart : public ::testing::Test {
protected:
    static void prepare(const std::string& name, std::initializer_list<const char*> languages) {
        folder = std::make_unique<WorkFolder>(name);
        folder->add_languages(languages);
    }

    static void TearDownTestSuite() {
        if (brindle && brindle->running()) {
            EXPECT_TRUE(brindle->quit());
        }
        brindle.reset();
        folder.reset();
    }

    void SetUp() override {
        if (!brindle || !brindle->running()) brindle = std::make_unique<Brindle>(folder->path());
        ASSERT_NE(brindle->main_window(), nullptr) << "Brindle's main window did not appear";
        ASSERT_TRUE(brindle->wait_idle()) << "Brindle is not idle; other windows:" << open_windows(*brindle);
        log_start = brindle->log().size();
    }

    // A failed test may leave dialogs open: they are closed, or else the process is ended.
    void TearDown() override {
        if (HasFailure() && brindle && brindle->running() && !brindle->dismiss_dialogs()) brindle.reset();
    }

    // The log lines written since the test began.
    Lines new_log() const { return lines_from(brindle->log(), log_start); }

    static std::unique_ptr<WorkFolder> folder;
    static std::unique_ptr<Brindle> brindle;
    std::size_t log_start = 0;
};

std::unique_ptr<WorkFolder> SharedStart::folder;
std::unique_ptr<Brindle> SharedStart::brindle;

// A first start, the quit question and the settings dialog, in one start.
class Startup : public SharedStart {
protected:
    // Listed in an order that is not sorted, so that the dialog's sorting shows.
    static void SetUpTestSuite() { prepare("startup", {"Nederlands", "German", "English"}); }
};

TEST_F(Startup, AFirstStartWritesEnglishSettingsAndGreets) {
    EXPECT_EQ(e2e::read_file(folder->file("settings.ini")), english_settings);
    EXPECT_EQ(brindle->log(), Lines({text("general.initialized"), text("general.usage")}));
}

TEST_F(Startup, ExitAnsweredNoKeepsTheWindow) {
    brindle->menu(IDM_FILE_EXIT);
    ASSERT_NO_FATAL_FAILURE(
        answer_box(*brindle, "Confirm", "Are you sure you want to quit?", brindle->main_window(), IDNO));
    ASSERT_TRUE(brindle->wait_idle());
    EXPECT_TRUE(brindle->running());
    EXPECT_TRUE(IsWindowVisible(brindle->main_window()));
    EXPECT_EQ(new_log(), Lines());
}

TEST_F(Startup, SettingsListTheLanguagesAndOkStoresTheChoice) {
    brindle->menu(IDM_FILE_SETTINGS);
    const HWND dialog = brindle->wait_for_dialog(text("settings.caption"));
    ASSERT_NE(dialog, nullptr) << "no settings dialog";
    const HWND combo = GetDlgItem(dialog, IDC_LANGUAGE_LIST);
    EXPECT_EQ(e2e::list_items(combo, true), Lines({"English", "German", "Nederlands"}));
    LRESULT selected = -1;
    EXPECT_TRUE(e2e::send(combo, CB_GETCURSEL, 0, 0, &selected));
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(e2e::text_of(combo), "English");
    EXPECT_EQ(e2e::text_of(GetDlgItem(dialog, IDC_LANGUAGE_LABEL)), text("settings.language"));

    EXPECT_TRUE(e2e::send(combo, CB_SETCURSEL, 2, 0));
    EXPECT_EQ(e2e::text_of(combo), "Nederlands");
    e2e::press(dialog, IDOK);
    ASSERT_TRUE(closes(dialog)) << "the settings dialog stayed open after OK";
    ASSERT_TRUE(brindle->wait_idle());
    const std::string chosen = "general\n{\n  language=Nederlands\n}\n";
    EXPECT_EQ(e2e::read_file(folder->file("settings.ini")), chosen) << "not stored at OK";

    ASSERT_TRUE(brindle->quit());
    EXPECT_EQ(e2e::read_file(folder->file("settings.ini")), chosen);
}

TEST(NoLanguageFile, AnErrorBoxAndTheEndWithStatusOne) {
    const WorkFolder folder("no-language");
    Brindle brindle(folder.path());
    ASSERT_NE(brindle.main_window(), nullptr) << "Brindle's main window did not appear";
    const HWND box = brindle.wait_for_dialog("Error");
    ASSERT_NE(box, nullptr) << "no \"Error\" box; other windows:" << open_windows(brindle);
    EXPECT_EQ(e2e::box_text(box), "Error while trying to load the language file!");
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    EXPECT_EQ(brindle.log_pane(), nullptr) << "the log pane exists before a language was loaded";
    e2e::press(box, IDOK);
    DWORD status = 0;
    ASSERT_TRUE(brindle.wait_for_exit(e2e::wait_ms, &status)) << "Brindle did not end after the box";
    EXPECT_EQ(status, 1u);
}

// A settings file the user made read-only is left alone: the choice is not stored, the user
// is told once, and Brindle still ends normally.
TEST(ReadOnlySettings, TheFailureIsToldOnceAndTheFileKept) {
    const WorkFolder folder("read-only-settings");
    folder.add_languages({"English", "German"});
    const std::string settings = folder.file("settings.ini");
    ASSERT_TRUE(e2e::write_file(settings, english_settings));
    ASSERT_TRUE(SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_READONLY));
    Brindle brindle(folder.path());
    ASSERT_NE(brindle.main_window(), nullptr) << "Brindle's main window did not appear";
    ASSERT_TRUE(brindle.wait_idle());

    brindle.menu(IDM_FILE_SETTINGS);
    const HWND dialog = brindle.wait_for_dialog(text("settings.caption"));
    ASSERT_NE(dialog, nullptr) << "no settings dialog";
    const HWND combo = GetDlgItem(dialog, IDC_LANGUAGE_LIST);
    ASSERT_TRUE(e2e::send(combo, CB_SETCURSEL, 1, 0));
    ASSERT_EQ(e2e::text_of(combo), "German");
    e2e::press(dialog, IDOK);
    ASSERT_NO_FATAL_FAILURE(
        answer_box(brindle, "Error", text("general.settings_save_failed"), brindle.main_window(), IDOK));
    ASSERT_TRUE(closes(dialog)) << "the settings dialog stayed open after OK";
    // Told once: the quit brings no second box.
    ASSERT_TRUE(brindle.quit());
    EXPECT_EQ(e2e::read_file(settings), english_settings);
    EXPECT_EQ(GetFileAttributesA(settings.c_str()) & FILE_ATTRIBUTE_READONLY, DWORD{FILE_ATTRIBUTE_READONLY});
}

// Each check run has a working folder and a Brindle start of its own, its files beside
// Brindle's settings: the Open dialog opens right there (the folder it remembers from the run
// before is gone), and a process that has not shown the dialog before is the least likely to
// see the hang that choose() works around.
class CheckRuns : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::make_unique<WorkFolder>(::testing::UnitTest::GetInstance()->current_test_info()->name());
        folder->add_languages({"English"});
        ASSERT_NO_FATAL_FAILURE(start());
    }

    void TearDown() override {
        if (brindle && brindle->running() && HasFailure() && !brindle->dismiss_dialogs()) brindle->kill();
        if (brindle && brindle->running()) {
            EXPECT_TRUE(brindle->quit());
        }
        brindle.reset();
        folder.reset();
    }

    void start() {
        brindle = std::make_unique<Brindle>(folder->path());
        ASSERT_NE(brindle->main_window(), nullptr) << "Brindle's main window did not appear";
        ASSERT_TRUE(brindle->wait_idle()) << "Brindle is not idle; other windows:" << open_windows(*brindle);
        log_start = brindle->log().size();
    }

    // Writes the files into the working folder and returns its path.
    std::string add_files(const std::vector<std::pair<std::string, std::string>>& files) const {
        for (const auto& file : files) EXPECT_TRUE(e2e::write_file(folder->file(file.first), file.second));
        return folder->path();
    }

    // Chooses files through "Check files". Under Wine 8 on qemu-user, a 32-bit process that
    // asks for a drive's volume label while other threads of it are running sometimes hangs
    // or crashes in that call; the Open dialog asks while it fills its "Look in" list, and then
    // never shows. Nothing has been chosen at that point, so Brindle is started afresh and the
    // choice made again.
    void choose(int file_type, const std::string& dir, const std::vector<std::string>& names) {
        constexpr int attempts = 4;
        for (int attempt = 1;; ++attempt) {
            const ::testing::AssertionResult chosen = brindle->choose_files(file_type, dir, names);
            if (chosen) return;
            ASSERT_LT(attempt, attempts) << chosen.message();
            std::fprintf(stderr, "e2e: %s; starting Brindle again (attempt %d of %d)\n", chosen.message(),
                         attempt + 1, attempts);
            brindle.reset();
            ASSERT_NO_FATAL_FAILURE(start());
        }
    }

    // The log lines written since the test began.
    Lines new_log() const { return lines_from(brindle->log(), log_start); }

    using Blocker = std::function<void(const std::string& path, HWND editor)>;
    void expect_refused_save(const std::string& name, const Blocker& block);

    // Presses "Save and recheck" in the conflict editor and answers the error box.
    void press_save_and_expect_error(HWND editor) const {
        e2e::press(editor, IDOK);
        ASSERT_NO_FATAL_FAILURE(answer_box(*brindle, "Error", text("conflicteditor.save_failed"), editor, IDOK));
    }

    std::unique_ptr<WorkFolder> folder;
    std::unique_ptr<Brindle> brindle;
    std::size_t log_start = 0;
};

TEST_F(CheckRuns, TraFilesAreMendedInTheEditorAndChecked) {
    // a.tra has CR LF line ends, b.tra LF ones; c.tra is clean.
    const std::string a =
        "// The innkeeper of the Copper Kettle.\r\n"
        "@1 = ~Welcome to the Copper Kettle, <CHARNAME>.~ [KETTLE01]\r\n"
        "@2 = ~Bells ring at dawn.~ [BELL 02]\r\n"
        "@3 = ~Stew again!~\r\n";
    const std::string b = "@10 = ~Listen!~\n@11 ~The ford is shallow here.~\n@12 = ~Thank you.~ [THANKS]\n";
    const std::string c = "@20 = ~A room is five gold a night.~ [ROOM20]\r\n";
    const std::string dir = add_files({{"a.tra", a}, {"b.tra", b}, {"c.tra", c}});

    ASSERT_NO_FATAL_FAILURE(choose(tra_type, dir, {"a.tra", "b.tra", "c.tra"}));
    HWND editor = nullptr;
    ASSERT_NO_FATAL_FAILURE(expect_editor(
        *brindle, {dir + "\\a.tra", text("tra.sound_spaces"), offset_of(a, "BELL 02"), 7, a.size()}, &editor));
    ASSERT_NO_FATAL_FAILURE(fix_and_save(editor, "BELL02"));
    ASSERT_NO_FATAL_FAILURE(expect_editor(*brindle,
                                          {dir + "\\b.tra", expected_found("tra.expected_equal", "tra.found_tilde"),
                                           offset_of(b, "~The ford"), 1, b.size()},
                                          &editor));
    ASSERT_NO_FATAL_FAILURE(fix_and_save(editor, "= ~"));
    ASSERT_TRUE(brindle->wait_for_log_end(log_start, text("general.noconflicts")));

    EXPECT_EQ(new_log(), Lines({"", text("general.checktra"), "a.tra", "a.tra", "b.tra", "b.tra", "c.tra",
                                text("general.noconflicts")}));
    EXPECT_EQ(e2e::read_file(dir + "\\a.tra"), replaced(a, "BELL 02", "BELL02"));
    EXPECT_EQ(e2e::read_file(dir + "\\b.tra"), replaced(b, "@11 ~", "@11 = ~"));
    EXPECT_EQ(e2e::read_file(dir + "\\c.tra"), c);
    EXPECT_EQ(e2e::files_in(dir), Lines({"a.tra", "b.tra", "c.tra", "settings.ini"}))
        << "a temporary file was left behind";
    EXPECT_TRUE(brindle->wait_idle());
}

TEST_F(CheckRuns, DlgFilesAreMendedInTheEditorAndChecked) {
    // a.dlg (CR LF) has two conflicts, mended one after the other; b.dlg (LF) one; c.dlg none.
    const std::string a =
        "{1}{Hello}{}{}{}{}{}\r\n"
        "{x2}{Bye}{}{}{}{}{}\r\n"
        "{3}{Later}{} x\r\n";
    const std::string b = "{1}{Hi}{}\n{2}{Who goes\nthere?}{}\n";
    const std::string c = "// The ferryman.\r\n{1}{Two coins to cross, stranger.}{}{}{}{}{}\r\n";
    const std::string dir = add_files({{"a.dlg", a}, {"b.dlg", b}, {"c.dlg", c}});

    ASSERT_NO_FATAL_FAILURE(choose(dlg_type, dir, {"a.dlg", "b.dlg", "c.dlg"}));
    HWND editor = nullptr;
    ASSERT_NO_FATAL_FAILURE(expect_editor(
        *brindle, {dir + "\\a.dlg", text("arcanum_dlg.expected_number"), offset_of(a, "x2"), 2, a.size()}, &editor));
    ASSERT_NO_FATAL_FAILURE(fix_and_save(editor, "2"));
    // The editor reads the file afresh: the second showing holds the first correction.
    const std::string a_once = replaced(a, "{x2}", "{2}");
    ASSERT_NO_FATAL_FAILURE(expect_editor(*brindle,
                                          {dir + "\\a.dlg", expected_found("arcanum_dlg.expected_next", "arcanum_dlg.found_text"),
                                           offset_of(a_once, " x"), 2, a_once.size()},
                                          &editor));
    EXPECT_EQ(e2e::editor_text(editor), a_once);
    ASSERT_NO_FATAL_FAILURE(fix_and_save(editor, ""));
    ASSERT_NO_FATAL_FAILURE(expect_editor(
        *brindle, {dir + "\\b.dlg", text("arcanum_dlg.unexpected_newline"), offset_of(b, "\nthere"), 1, b.size()},
        &editor));
    ASSERT_NO_FATAL_FAILURE(fix_and_save(editor, " "));
    ASSERT_TRUE(brindle->wait_for_log_end(log_start, text("general.noconflicts")));

    EXPECT_EQ(new_log(), Lines({"", text("general.checkarcanumdlg"), "a.dlg", "a.dlg", "a.dlg", "b.dlg", "b.dlg",
                                "c.dlg", text("general.noconflicts")}));
    EXPECT_EQ(e2e::read_file(dir + "\\a.dlg"), replaced(a_once, "{} x", "{}"));
    EXPECT_EQ(e2e::read_file(dir + "\\b.dlg"), replaced(b, "\nthere", " there"));
    EXPECT_EQ(e2e::read_file(dir + "\\c.dlg"), c);
    EXPECT_TRUE(brindle->wait_idle());
}

TEST_F(CheckRuns, CancelLeavesTheFileAndEndsTheRun) {
    const std::string first = "@1 = ~The bridge is out.~\r\n@2 = \"Take the ford instead.\"\r\n";
    const std::string second = "@3 = ~Thank you.~\r\n";
    const std::string dir = add_files({{"first.tra", first}, {"second.tra", second}});

    ASSERT_NO_FATAL_FAILURE(choose(tra_type, dir, {"first.tra", "second.tra"}));
    HWND editor = nullptr;
    ASSERT_NO_FATAL_FAILURE(expect_editor(*brindle,
                                          {dir + "\\first.tra", expected_found("tra.expected_tilde", "tra.found_quote"),
                                           offset_of(first, "\"Take"), 1, first.size()},
                                          &editor));
    // An edit that "Cancel" must throw away.
    ASSERT_TRUE(e2e::replace_selection(editor, "~"));
    ASSERT_NO_FATAL_FAILURE(cancel(editor));
    ASSERT_TRUE(brindle->wait_for_log_end(log_start, text("general.canceled")));

    EXPECT_EQ(new_log(), Lines({"", text("general.checktra"), "first.tra", text("general.canceled")}));
    EXPECT_EQ(e2e::read_file(dir + "\\first.tra"), first);
    EXPECT_EQ(e2e::files_in(dir), Lines({"first.tra", "second.tra", "settings.ini"}));
    EXPECT_TRUE(brindle->wait_idle());
}

TEST_F(CheckRuns, AFileRemovedAfterChoosingIsReportedAndTheRunGoesOn) {
    const std::string one = "@1 = ~Bells.~ [BELL 02]\r\n";
    const std::string clean = "@2 = ~Quiet.~\r\n";
    const std::string dir = add_files({{"one.tra", one}, {"two.tra", clean}, {"three.tra", clean}});

    ASSERT_NO_FATAL_FAILURE(choose(tra_type, dir, {"one.tra", "two.tra", "three.tra"}));
    HWND editor = nullptr;
    ASSERT_NO_FATAL_FAILURE(expect_editor(
        *brindle, {dir + "\\one.tra", text("tra.sound_spaces"), offset_of(one, "BELL 02"), 7, one.size()}, &editor));
    // two.tra goes while the editor is open: chosen, but gone when its turn comes.
    ASSERT_TRUE(DeleteFileA((dir + "\\two.tra").c_str()));
    ASSERT_NO_FATAL_FAILURE(fix_and_save(editor, "BELL02"));
    ASSERT_NO_FATAL_FAILURE(answer_box(*brindle, dir + "\\two.tra", text("general.filenotfound"),
                                       brindle->main_window(), IDOK));
    ASSERT_TRUE(brindle->wait_for_log_end(log_start, text("general.noconflicts")));

    EXPECT_EQ(new_log(), Lines({"", text("general.checktra"), "one.tra", "one.tra", "two.tra",
                                text("general.filenotfound"), "three.tra", text("general.noconflicts")}));
    EXPECT_EQ(e2e::read_file(dir + "\\one.tra"), replaced(one, "BELL 02", "BELL02"));
    EXPECT_TRUE(brindle->wait_idle());
}

// A save that cannot replace the file keeps the editor open with the edits and the file as
// it was; `block` makes the file unreplaceable while "Save and recheck" is pressed.
void CheckRuns::expect_refused_save(const std::string& name, const Blocker& block) {
    const std::string bytes = "@1 = ~Bells.~ [BELL 02]\r\n";
    const std::string dir = add_files({{name, bytes}});
    const std::string path = dir + "\\" + name;

    ASSERT_NO_FATAL_FAILURE(choose(tra_type, dir, {name}));
    HWND editor = nullptr;
    ASSERT_NO_FATAL_FAILURE(
        expect_editor(*brindle, {path, text("tra.sound_spaces"), offset_of(bytes, "BELL 02"), 7, bytes.size()}, &editor));
    ASSERT_TRUE(e2e::replace_selection(editor, "BELL02"));
    const std::string edited = replaced(bytes, "BELL 02", "BELL02");
    EXPECT_EQ(e2e::editor_text(editor), edited);
    ASSERT_NO_FATAL_FAILURE(block(path, editor));
    EXPECT_TRUE(IsWindowVisible(editor)) << "the editor closed although the file was not saved";
    EXPECT_EQ(e2e::editor_text(editor), edited);
    EXPECT_EQ(e2e::read_file(path), bytes);
    EXPECT_EQ(e2e::files_in(dir), Lines({name, "settings.ini"})) << "a temporary file was left behind";

    ASSERT_NO_FATAL_FAILURE(cancel(editor));
    ASSERT_TRUE(brindle->wait_for_log_end(log_start, text("general.canceled")));
    // One file chosen: the log names it by its full path.
    EXPECT_EQ(new_log(), Lines({"", text("general.checktra"), path, text("general.canceled")}));
}

TEST_F(CheckRuns, ASaveIntoAFileHeldOpenElsewhereKeepsTheEditorOpenWithTheEdits) {
    expect_refused_save("locked.tra", [this](const std::string& path, HWND editor) {
        const FileLock lock(path);
        ASSERT_TRUE(lock.held());
        ASSERT_NO_FATAL_FAILURE(press_save_and_expect_error(editor));
    });
}

TEST_F(CheckRuns, ASaveIntoAReadOnlyFileIsRefused) {
    expect_refused_save("read-only.tra", [this](const std::string& path, HWND editor) {
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
        ASSERT_NO_FATAL_FAILURE(press_save_and_expect_error(editor));
        EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY, DWORD{FILE_ATTRIBUTE_READONLY});
    });
}

TEST_F(CheckRuns, SavingAFileWithAZeroByteAsksFirst) {
    const char content[] = "@1 = ~A~\r\n@2 ~B~\r\n@3 = ~C\0D~\r\n";
    const std::string bytes(content, sizeof(content) - 1);
    const std::string dir = add_files({{"zero.tra", bytes}});
    const std::string path = dir + "\\zero.tra";

    ASSERT_NO_FATAL_FAILURE(choose(tra_type, dir, {"zero.tra"}));
    HWND editor = nullptr;
    // The editor shows the text up to the zero byte.
    ASSERT_NO_FATAL_FAILURE(expect_editor(*brindle,
                                          {path, expected_found("tra.expected_equal", "tra.found_tilde"),
                                           offset_of(bytes, "~B~"), 1, bytes.find('\0')},
                                          &editor));
    e2e::press(editor, IDOK);
    ASSERT_NO_FATAL_FAILURE(answer_box(*brindle, "Warning", text("conflicteditor.zero_byte_warning"), editor, IDNO));
    EXPECT_TRUE(IsWindowVisible(editor)) << "the editor closed although the answer was No";
    EXPECT_EQ(e2e::read_file(path), bytes);

    ASSERT_NO_FATAL_FAILURE(cancel(editor));
    ASSERT_TRUE(brindle->wait_for_log_end(log_start, text("general.canceled")));
    EXPECT_EQ(e2e::read_file(path), bytes);
}

TEST_F(CheckRuns, ALargeFileIsShownWholeWithTheConflictSelected) {
    std::string bytes;
    const std::size_t megabytes = large_file_megabytes();
    for (int entry = 1; bytes.size() < megabytes * 1024 * 1024; ++entry) {
        bytes += "@" + std::to_string(entry) + " = ~Line " + std::to_string(entry) + " of a long dialogue.~\r\n";
    }
    bytes += "@999998 = ~Bells.~ [BELL 02]\r\n@999999 = ~The end.~\r\n";
    const std::string dir = add_files({{"large.tra", bytes}});
    const std::string path = dir + "\\large.tra";

    ASSERT_NO_FATAL_FAILURE(choose(tra_type, dir, {"large.tra"}));
    HWND editor = nullptr;
    const Expected expected{path, text("tra.sound_spaces"), offset_of(bytes, "BELL 02"), 7, bytes.size()};
    ASSERT_NO_FATAL_FAILURE(expect_editor(*brindle, expected, &editor, large_file_wait_ms(megabytes)));
    ASSERT_NO_FATAL_FAILURE(expect_selection_in_view(editor));
    // One line per CR LF, and the empty one after the last: the editor takes a large text in
    // pieces, and none may part a CR from its LF.
    LRESULT lines = 0;
    ASSERT_TRUE(e2e::send(GetDlgItem(editor, IDC_CONFLICT_TEXT), EM_GETLINECOUNT, 0, 0, &lines));
    EXPECT_EQ(lines, std::count(bytes.begin(), bytes.end(), '\n') + 1);
    ASSERT_NO_FATAL_FAILURE(fix_and_save(editor, "BELL02"));
    ASSERT_TRUE(brindle->wait_for_log_end(log_start, text("general.noconflicts")));

    EXPECT_EQ(new_log(), Lines({"", text("general.checktra"), path, path, text("general.noconflicts")}));
    EXPECT_EQ(e2e::read_file(path), replaced(bytes, "BELL 02", "BELL02"));
}

// RichEdit reads a whole text handed to it with WM_SETTEXT as rich text when it begins with
// "{\rtf"; the editor shows such a file's bytes as they are.
TEST_F(CheckRuns, AFileThatBeginsLikeRichTextIsShownAsItIs) {
    const std::string bytes = "{\\rtf1 {\\b Bold} words}\r\n@1 = ~Hello.~\r\n";
    const std::string dir = add_files({{"rich.tra", bytes}});
    const std::string path = dir + "\\rich.tra";

    ASSERT_NO_FATAL_FAILURE(choose(tra_type, dir, {"rich.tra"}));
    const HWND editor = brindle->wait_for_dialog(text("conflicteditor.caption") + " - " + path, e2e::start_wait_ms);
    ASSERT_NE(editor, nullptr) << "no conflict editor; other windows of Brindle:" << open_windows(*brindle);
    EXPECT_EQ(e2e::editor_text(editor), bytes);
    ASSERT_NO_FATAL_FAILURE(cancel(editor));
    ASSERT_TRUE(brindle->wait_for_log_end(log_start, text("general.canceled")));
    EXPECT_EQ(e2e::read_file(path), bytes);
}

// Files that are no dialogue at all each get a clear line in the log, and the run goes on.
TEST_F(CheckRuns, EmptyZeroFilledOddlyNamedAndBinaryFilesEachGetAClearResult) {
    const std::string zeros(1000, '\0');
    const std::string clean_then_zero = std::string("@1 = ~Hello.~\r\n") + '\0' + "@2 = \"never checked\"";
    // A name with blanks and letters of the Windows code page; the file itself is clean.
    const std::string odd_name = "Gr\xFC\xDF" "e aus K\xF6ln.tra";
    // The start of a PNG picture: no "@" where an entry should begin.
    const std::string binary("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    const std::string dir = add_files({{"empty.tra", ""},
                                       {"zeros.tra", zeros},
                                       {"cut.tra", clean_then_zero},
                                       {odd_name, "@1 = ~Gr\xFC\xDF Gott.~\r\n"},
                                       {"picture.tra", binary}});

    ASSERT_NO_FATAL_FAILURE(choose(tra_type, dir, {"empty.tra", "zeros.tra", "cut.tra", odd_name, "picture.tra"}));
    // The editor shows the bytes up to the first zero byte, the first of them selected.
    const HWND editor = brindle->wait_for_dialog(text("conflicteditor.caption") + " - " + dir + "\\picture.tra", e2e::start_wait_ms);
    ASSERT_NE(editor, nullptr) << "no conflict editor; other windows of Brindle:" << open_windows(*brindle);
    e2e::EditorView view;
    ASSERT_TRUE(e2e::read_editor(editor, &view));
    EXPECT_EQ(view.selection_start, 0u);
    EXPECT_GT(view.selection_end, 0u);
    EXPECT_FALSE(view.reason.empty());
    EXPECT_EQ(static_cast<std::size_t>(view.text_length), binary.find('\0'));
    ASSERT_NO_FATAL_FAILURE(cancel(editor));
    ASSERT_TRUE(brindle->wait_for_log_end(log_start, text("general.canceled")));

    EXPECT_EQ(new_log(), Lines({"", text("general.checktra"), "empty.tra", "zeros.tra",
                                text("general.zero_byte_unchecked"), "cut.tra", text("general.zero_byte_unchecked"),
                                odd_name, "picture.tra", text("general.canceled")}));
    EXPECT_EQ(e2e::read_file(dir + "\\picture.tra"), binary);
}

// A path as long as Windows allows (259 characters): checked, shown, saved.
TEST_F(CheckRuns, AFileAtTheLongestPathIsCheckedAndSaved) {
    const std::string name = "long.tra";
    const std::size_t room = 259 - folder->path().size() - 2 - name.size();
    ASSERT_LT(room, 256u) << "the work folder's path is too short for this test";
    const std::string dir = folder->add_folder(std::string(room, 'd'));
    const std::string path = dir + "\\" + name;
    ASSERT_EQ(path.size(), 259u);
    const std::string bytes = "@1 = ~Far away.~ [FAR 01]\r\n";
    ASSERT_TRUE(e2e::write_file(path, bytes));

    ASSERT_NO_FATAL_FAILURE(choose(tra_type, dir, {name}));
    HWND editor = nullptr;
    ASSERT_NO_FATAL_FAILURE(
        expect_editor(*brindle, {path, text("tra.sound_spaces"), offset_of(bytes, "FAR 01"), 6, bytes.size()}, &editor));
    ASSERT_NO_FATAL_FAILURE(fix_and_save(editor, "FAR01"));
    ASSERT_TRUE(brindle->wait_for_log_end(log_start, text("general.noconflicts")));
    EXPECT_EQ(new_log(), Lines({"", text("general.checktra"), path, path, text("general.noconflicts")}));
    EXPECT_EQ(e2e::read_file(path), replaced(bytes, "FAR 01", "FAR01"));
    EXPECT_EQ(e2e::files_in(dir), Lines({name})) << "a temporary file was left behind";
}

}  // namespace
