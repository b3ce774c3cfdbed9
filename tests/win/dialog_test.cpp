// KPDialog running the test dialog template: its messages reach the owner's handlers in
// order, and run returns what the dialog was ended with.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "kp_dialog.h"
#include "kp_handler.h"
#include "kp_window.h"
#include "test_resources.h"
#include "test_support.h"

namespace {

using Log = std::vector<std::string>;

// A handler that logs the dialog calls it hears and can act on them.
class DialogActor : public KPHandler {
public:
    DialogActor(const char* name, Log* log) : name_(name), log_(log) {}

    std::function<void(KPDialog*, HWND)> at_init;
    std::function<void(KPDialog*, HWND, int)> at_command;
    std::function<void(KPDialog*, HWND, HDC)> at_paint;

    void on_dialog_init(KPDialog* dialog, HWND hwnd) override {
        log_->push_back(name_ + ":init");
        if (at_init) at_init(dialog, hwnd);
    }
    void on_dialog_command(KPDialog* dialog, HWND hwnd, int id) override {
        log_->push_back(name_ + ":command(" + std::to_string(id) + ")");
        if (at_command) at_command(dialog, hwnd, id);
    }
    void on_dialog_double_click(KPDialog*, HWND, int id) override {
        log_->push_back(name_ + ":double_click(" + std::to_string(id) + ")");
    }
    void on_dialog_paint(KPDialog* dialog, HWND hwnd, HDC dc) override {
        if (at_paint) at_paint(dialog, hwnd, dc);
    }

private:
    std::string name_;
    Log* log_;
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(owner.create(40, 40, 300, 200)); }
    // The handlers of a test are gone by now: none may hear the messages still pending.
    void TearDown() override {
        while (owner.handler_count() > 0) owner.remove_handler(owner.handler(0));
        test::drain_messages();
    }

    // Commands only: the test dialog's edit control reports its own changes too.
    Log commands_of(const Log& entries) {
        Log found;
        for (const std::string& entry : entries) {
            if (entry.find(":command(") != std::string::npos) found.push_back(entry);
        }
        return found;
    }

    KPWindow owner{GetModuleHandleA(nullptr)};
    Log log;
};

TEST_F(DialogTest, RunReturnsWhatTheHandlerEndedTheDialogWith) {
    DialogActor first("a", &log), second("b", &log);
    owner.add_handler(&first);
    owner.add_handler(&second);
    KPDialog dialog(&owner);

    HWND seen_hwnd = nullptr;
    KPDialog* seen_dialog = nullptr;
    HANDLE self_at_init = nullptr;
    BOOL owner_enabled_while_running = TRUE;
    second.at_init = [&](KPDialog* d, HWND hwnd) {
        seen_dialog = d;
        seen_hwnd = hwnd;
        self_at_init = GetPropA(hwnd, "Self");
        // A real press of the Cancel button once the dialog runs.
        PostMessageA(GetDlgItem(hwnd, IDCANCEL), BM_CLICK, 0, 0);
    };
    second.at_command = [&](KPDialog* d, HWND hwnd, int id) {
        if (d != &dialog || id != IDCANCEL) return;
        owner_enabled_while_running = IsWindowEnabled(owner.handle());
        EndDialog(hwnd, 42);
    };

    INT_PTR result = 0;
    {
        test::Watchdog dog("the test dialog");
        result = dialog.run(MAKEINTRESOURCEA(IDD_TEST_DIALOG));
        EXPECT_FALSE(dog.fired());
    }
    EXPECT_EQ(result, 42);
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "a:init");
    EXPECT_EQ(log[1], "b:init");
    EXPECT_EQ(commands_of(log), (Log{"a:command(2)", "b:command(2)"}));
    EXPECT_EQ(seen_dialog, &dialog);
    EXPECT_EQ(seen_hwnd, dialog.handle());
    EXPECT_EQ(self_at_init, static_cast<HANDLE>(&dialog));
    EXPECT_FALSE(owner_enabled_while_running);
    EXPECT_TRUE(IsWindowEnabled(owner.handle()));
    EXPECT_FALSE(IsWindow(dialog.handle()));
    EXPECT_EQ(dialog.template_name(), MAKEINTRESOURCEA(IDD_TEST_DIALOG));
}

TEST_F(DialogTest, OkArrivesAsAnOrdinaryCommand) {
    DialogActor actor("a", &log);
    owner.add_handler(&actor);
    KPDialog dialog(&owner);
    actor.at_init = [](KPDialog*, HWND hwnd) { PostMessageA(GetDlgItem(hwnd, IDOK), BM_CLICK, 0, 0); };
    actor.at_command = [&](KPDialog* d, HWND hwnd, int id) {
        if (d == &dialog && id == IDOK) EndDialog(hwnd, 0);
    };
    test::Watchdog dog("the test dialog");
    EXPECT_EQ(dialog.run(MAKEINTRESOURCEA(IDD_TEST_DIALOG)), 0);
    EXPECT_EQ(commands_of(log), Log{"a:command(1)"});
}

TEST_F(DialogTest, CloseEndsTheDialogWithOne) {
    DialogActor first("a", &log), second("b", &log);
    owner.add_handler(&first);
    owner.add_handler(&second);
    first.at_init = [](KPDialog*, HWND hwnd) { PostMessageA(hwnd, WM_CLOSE, 0, 0); };
    KPDialog dialog(&owner);
    test::Watchdog dog("the test dialog");
    EXPECT_EQ(dialog.run(MAKEINTRESOURCEA(IDD_TEST_DIALOG)), 1);
    EXPECT_FALSE(dog.fired());
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "a:init");
    EXPECT_EQ(log[1], "b:init");
}

TEST_F(DialogTest, AMissingTemplateFailsWithoutCallingAnyHandler) {
    DialogActor actor("a", &log);
    owner.add_handler(&actor);
    KPDialog dialog(&owner);
    test::Watchdog dog("a missing dialog");
    EXPECT_EQ(dialog.run(MAKEINTRESOURCEA(999)), -1);
    EXPECT_TRUE(log.empty());
}

TEST_F(DialogTest, DoubleClickNotificationsReachTheHandlers) {
    DialogActor first("a", &log), second("b", &log);
    owner.add_handler(&first);
    owner.add_handler(&second);
    KPDialog dialog(&owner);
    first.at_init = [](KPDialog*, HWND hwnd) {
        NMHDR header{GetDlgItem(hwnd, IDC_TEST_EDIT), IDC_TEST_EDIT, static_cast<UINT>(NM_CLICK)};
        SendMessageA(hwnd, WM_NOTIFY, IDC_TEST_EDIT, reinterpret_cast<LPARAM>(&header));
        header.code = static_cast<UINT>(NM_DBLCLK);
        SendMessageA(hwnd, WM_NOTIFY, IDC_TEST_EDIT, reinterpret_cast<LPARAM>(&header));
        EndDialog(hwnd, 5);
    };
    test::Watchdog dog("the test dialog");
    EXPECT_EQ(dialog.run(MAKEINTRESOURCEA(IDD_TEST_DIALOG)), 5);
    const Log expected = {"a:init", "a:double_click(1001)", "b:double_click(1001)", "b:init"};
    EXPECT_EQ(log, expected);
}

TEST_F(DialogTest, PaintGivesTheHandlersADeviceContext) {
    DialogActor actor("a", &log);
    owner.add_handler(&actor);
    KPDialog dialog(&owner);
    HDC painted = nullptr;
    actor.at_paint = [&](KPDialog* d, HWND hwnd, HDC dc) {
        if (d != &dialog || painted) return;
        painted = dc;
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    };
    test::Watchdog dog("the test dialog");
    EXPECT_EQ(dialog.run(MAKEINTRESOURCEA(IDD_TEST_DIALOG)), 1);
    EXPECT_FALSE(dog.fired());
    EXPECT_NE(painted, nullptr);
}

TEST_F(DialogTest, ADialogCanRunAgain) {
    DialogActor actor("a", &log);
    owner.add_handler(&actor);
    KPDialog dialog(&owner);
    int ends = 0;
    actor.at_init = [&](KPDialog*, HWND hwnd) { EndDialog(hwnd, 10 + ++ends); };
    test::Watchdog dog("the test dialog");
    EXPECT_EQ(dialog.run(MAKEINTRESOURCEA(IDD_TEST_DIALOG)), 11);
    const HWND first_window = dialog.handle();
    EXPECT_EQ(dialog.run(MAKEINTRESOURCEA(IDD_TEST_DIALOG)), 12);
    EXPECT_NE(dialog.handle(), nullptr);
    EXPECT_NE(first_window, nullptr);
    EXPECT_EQ(log, (Log{"a:init", "a:init"}));
}

TEST_F(DialogTest, TheOpeningDialogIsTheLastConstructedOrRun) {
    auto first = std::make_unique<KPDialog>(&owner);
    EXPECT_EQ(KPDialog::opening(), first.get());
    auto second = std::make_unique<KPDialog>(&owner);
    EXPECT_EQ(KPDialog::opening(), second.get());
    EXPECT_EQ(first->owner(), &owner);
    EXPECT_EQ(first->handle(), nullptr);

    DialogActor actor("a", &log);
    owner.add_handler(&actor);
    KPDialog* seen = nullptr;
    actor.at_init = [&](KPDialog* d, HWND hwnd) {
        seen = d;
        EndDialog(hwnd, 0);
    };
    {
        test::Watchdog dog("the test dialog");
        first->run(MAKEINTRESOURCEA(IDD_TEST_DIALOG));
    }
    EXPECT_EQ(seen, first.get());
    EXPECT_EQ(KPDialog::opening(), first.get());
    second.reset();
    EXPECT_EQ(KPDialog::opening(), first.get());
    first.reset();
    EXPECT_EQ(KPDialog::opening(), nullptr);
}

}  // namespace
