// The documentation's screenshots: the driver brings Brindle into each state and hands the
// window's place on the screen to tools/take-screenshots, which takes the picture. Runs only
// when BRINDLE_SCREENSHOT_DIR names the folder for that hand-over.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#include "driver.h"
#include "resource_ids.h"
#include "work_folder.h"

namespace {

// Time for the last paint to reach the screen before the picture is taken.
constexpr DWORD settle_ms = 1500;

class Screenshots : public ::testing::Test {
protected:
    void SetUp() override {
        const char* dir = std::getenv("BRINDLE_SCREENSHOT_DIR");
        if (dir == nullptr || *dir == '\0') GTEST_SKIP() << "BRINDLE_SCREENSHOT_DIR is not set";
        handover_ = e2e::windows_path(dir);
    }

    // Writes "<name>.rect" (left top width height) and waits for "<name>.done".
    ::testing::AssertionResult shoot(const std::string& name, RECT area) const {
        Sleep(settle_ms);
        const std::string rect = handover_ + "\\" + name + ".rect";
        const std::string done = handover_ + "\\" + name + ".done";
        const std::string place = std::to_string(area.left) + " " + std::to_string(area.top) + " " +
                                  std::to_string(area.right - area.left) + " " +
                                  std::to_string(area.bottom - area.top) + "\n";
        // Written under another name first, so that the script never reads half of it.
        if (!e2e::write_file(rect + ".part", place) || !MoveFileA((rect + ".part").c_str(), rect.c_str())) {
            return ::testing::AssertionFailure() << "could not write " << rect;
        }
        if (!e2e::wait_until([&] { return e2e::file_exists(done); })) {
            return ::testing::AssertionFailure() << "no screenshot was taken for " << name;
        }
        return ::testing::AssertionSuccess();
    }

    static RECT window_rect(HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect;
    }

    std::string handover_;
};

TEST_F(Screenshots, ConflictEditorMainWindowAndSettings) {
    const e2e::WorkFolder folder("screenshots");
    folder.add_languages({"English", "German", "Nederlands"});
    const std::string dir = folder.path();
    const std::string innkeeper =
        "// The innkeeper of the Copper Kettle: greetings and rumours.\r\n"
        "@1 = ~Welcome to the Copper Kettle, <CHARNAME>. Mind the step.~ [KETTLE01]\r\n"
        "@2 = ~A room is five gold a night.~\r\n"
        "@3 = ~They say the ferryman \"never sleeps\".~ ~They say the ferrywoman \"never sleeps\".~\r\n"
        "/* Entry 4 is spoken by the cook. */\r\n"
        "@4 = ~Stew again!~ [COOK 04]\r\n"
        "@5 = ~The bells ring at dawn.~ [BELLS05]\r\n";
    ASSERT_TRUE(e2e::write_file(dir + "\\innkeeper.tra", innkeeper));
    ASSERT_TRUE(e2e::write_file(dir + "\\ferry.tra", "@10 = ~Two coins to cross.~ [FERRY10]\r\n"));

    e2e::Brindle brindle(folder.path());
    ASSERT_NE(brindle.main_window(), nullptr);
    ASSERT_TRUE(brindle.choose_files(0, dir, {"innkeeper.tra", "ferry.tra"}));
    const HWND editor = brindle.wait_for_dialog("Conflict editor - " + dir + "\\innkeeper.tra", e2e::start_wait_ms);
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(shoot("conflict-editor", window_rect(editor)));

    ASSERT_TRUE(e2e::replace_selection(editor, "COOK04"));
    e2e::press(editor, IDOK);
    ASSERT_TRUE(brindle.wait_for_log_end(0, "Done: no more conflicts."));
    ASSERT_TRUE(brindle.wait_idle());
    ASSERT_TRUE(shoot("main", window_rect(brindle.main_window())));

    brindle.menu(IDM_FILE_SETTINGS);
    const HWND settings = brindle.wait_for_dialog("Settings");
    ASSERT_NE(settings, nullptr);
    // The list dropped down shows all three languages; it lies within the dialog.
    const HWND combo = GetDlgItem(settings, IDC_LANGUAGE_LIST);
    ASSERT_TRUE(e2e::send(combo, CB_SHOWDROPDOWN, TRUE, 0));
    ASSERT_TRUE(shoot("settings", window_rect(settings)));
    e2e::send(combo, CB_SHOWDROPDOWN, FALSE, 0);
    e2e::press(settings, IDCANCEL);
    ASSERT_TRUE(brindle.wait_idle());
    ASSERT_TRUE(brindle.quit());
}

}  // namespace
