// KPWindow and KPApp driven through real windows: dispatch to handlers, closing, the
// message loop, and the window's own operations.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "kp_app.h"
#include "kp_controls.h"
#include "kp_window.h"
#include "test_resources.h"
#include "test_support.h"

namespace {

using Log = std::vector<std::string>;

class WindowTest : public ::testing::Test {
protected:
    void TearDown() override { test::drain_messages(); }

    // A shown window at a fixed place, bound to `window`.
    void open(KPWindow& window) { ASSERT_TRUE(window.create(20, 20, 320, 240)); }

    HINSTANCE instance = GetModuleHandleA(nullptr);
    Log log;
};

// A push button registered as the window's child; notes when its own command hook runs.
class TestButton : public KPControl {
public:
    TestButton(KPWindow* window, Log* log) : KPControl(window, 10, 10, 80, 24), log_(log) {
        create_control(0, "button", "Press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON);
    }
    void on_control_command(WPARAM wparam, LPARAM) override {
        log_->push_back("button:hook(" + std::to_string(HIWORD(wparam)) + ")");
    }

private:
    Log* log_;
};

// Notes which window had the focus when closing was asked.
class FocusProbe : public KPHandler {
public:
    bool on_close() override {
        focus = GetFocus();
        return true;
    }
    HWND focus = nullptr;
};

TEST_F(WindowTest, CreateRegistersTheDefaultClassAndBindsTheObject) {
    KPWindow window(instance);
    EXPECT_EQ(window.handle(), nullptr);
    open(window);
    const HWND handle = window.handle();
    char text[64] = "";
    GetClassNameA(handle, text, sizeof(text));
    EXPECT_STREQ(text, "KPWindow");
    GetWindowTextA(handle, text, sizeof(text));
    EXPECT_STREQ(text, "Test");
    EXPECT_EQ(GetWindowLongPtrA(handle, 0), reinterpret_cast<LONG_PTR>(&window));
    EXPECT_TRUE(IsWindowVisible(handle));
    const LONG_PTR style = GetWindowLongPtrA(handle, GWL_STYLE);
    EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(window.instance(), instance);
    EXPECT_EQ(window.font(), nullptr);
    EXPECT_EQ(window.handler_count(), 0);
}

TEST_F(WindowTest, CreateUsesAGivenClassNameAndStyle) {
    KPWindow first(instance);
    KPWindow second(instance);
    ASSERT_TRUE(first.create(0, 0, 100, 100, nullptr, "KPWindowOther", nullptr, WS_POPUP | WS_CAPTION));
    // The class is registered already; the second window reuses it.
    ASSERT_TRUE(second.create(0, 0, 100, 100, nullptr, "KPWindowOther", nullptr, WS_POPUP | WS_CAPTION));
    char name[64] = "";
    GetClassNameA(second.handle(), name, sizeof(name));
    EXPECT_STREQ(name, "KPWindowOther");
    EXPECT_EQ(GetWindowLongPtrA(second.handle(), GWL_STYLE) & WS_THICKFRAME, 0);
    EXPECT_EQ(GetWindowLongPtrA(second.handle(), 0), reinterpret_cast<LONG_PTR>(&second));
}

TEST_F(WindowTest, FailedCreationIsReportedAndLeavesTheObjectUnbound) {
    KPWindow window(instance);
    const HWND gone = CreateWindowExA(0, "static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
    DestroyWindow(gone);
    EXPECT_FALSE(window.create(0, 0, 100, 100, nullptr, nullptr, gone, WS_CHILD));
    EXPECT_EQ(window.handle(), nullptr);
}

TEST_F(WindowTest, HandlersHearMouseAndMoveMessagesInRegistrationOrder) {
    KPWindow window(instance);
    open(window);
    test::Recorder a("a", &log), b("b", &log), c("c", &log);
    ASSERT_TRUE(window.add_handler(&a));
    ASSERT_TRUE(window.add_handler(&b));
    ASSERT_TRUE(window.add_handler(&c));
    const HWND h = window.handle();
    EXPECT_EQ(SendMessageA(h, WM_RBUTTONDOWN, 0, MAKELPARAM(5, 6)), 0);
    SendMessageA(h, WM_RBUTTONDBLCLK, 0, MAKELPARAM(7, 8));
    SendMessageA(h, WM_MBUTTONDOWN, 0, MAKELPARAM(65535, 2));
    SendMessageA(h, WM_MBUTTONDBLCLK, 0, MAKELPARAM(1, 65535));
    SendMessageA(h, WM_LBUTTONDBLCLK, 0, MAKELPARAM(3, 4));
    SendMessageA(h, WM_MOVE, 0, MAKELPARAM(30, 40));
    const Log expected = {
        "a:right_down(5,6)", "b:right_down(5,6)", "c:right_down(5,6)",
        "a:right_double_click(7,8)", "b:right_double_click(7,8)", "c:right_double_click(7,8)",
        "a:middle_down(65535,2)", "b:middle_down(65535,2)", "c:middle_down(65535,2)",
        "a:middle_double_click(1,65535)", "b:middle_double_click(1,65535)", "c:middle_double_click(1,65535)",
        "a:left_double_click(3,4)", "b:left_double_click(3,4)", "c:left_double_click(3,4)",
        "a:move(30,40)", "b:move(30,40)", "c:move(30,40)",
    };
    EXPECT_EQ(log, expected);
}

TEST_F(WindowTest, SizeReportsTheClientRectangle) {
    KPWindow window(instance);
    open(window);
    test::Recorder a("a", &log), b("b", &log);
    window.add_handler(&a);
    window.add_handler(&b);
    window.move(20, 20, 300, 200);
    RECT client;
    GetClientRect(window.handle(), &client);
    const std::string size = "size(" + std::to_string(client.right) + "," + std::to_string(client.bottom) + ")";
    Log sizes;
    for (const std::string& entry : log) {
        if (entry.find(":size(") != std::string::npos) sizes.push_back(entry);
    }
    EXPECT_EQ(sizes, (Log{"a:" + size, "b:" + size}));
}

TEST_F(WindowTest, PaintGivesEachHandlerTheDeviceContext) {
    KPWindow window(instance);
    open(window);
    test::Recorder a("a", &log), b("b", &log);
    window.add_handler(&a);
    window.add_handler(&b);
    InvalidateRect(window.handle(), nullptr, TRUE);
    UpdateWindow(window.handle());
    EXPECT_EQ(log, (Log{"a:paint(dc)", "b:paint(dc)"}));
}

TEST_F(WindowTest, CloseVetoKeepsTheWindowOpenAndStopsTheWalk) {
    KPWindow window(instance);
    open(window);
    test::Recorder a("a", &log), b("b", &log);
    a.close_answer = false;
    window.add_handler(&a);
    window.add_handler(&b);
    EXPECT_EQ(SendMessageA(window.handle(), WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(log, Log{"a:close"});
    EXPECT_TRUE(IsWindow(window.handle()));
    EXPECT_FALSE(test::drain_messages());
}

TEST_F(WindowTest, AllowedCloseDestroysTheWindowAndPostsQuit) {
    KPWindow window(instance);
    open(window);
    test::Recorder a("a", &log), b("b", &log);
    window.add_handler(&a);
    window.add_handler(&b);
    SendMessageA(window.handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(log, (Log{"a:close", "b:close", "a:destroy", "b:destroy"}));
    EXPECT_FALSE(IsWindow(window.handle()));
    EXPECT_TRUE(test::drain_messages());
}

TEST_F(WindowTest, WindowWithoutHandlersPaintsClosesAndQuits) {
    KPWindow window(instance);
    open(window);
    InvalidateRect(window.handle(), nullptr, TRUE);
    UpdateWindow(window.handle());
    RECT dirty;
    EXPECT_FALSE(GetUpdateRect(window.handle(), &dirty, FALSE));
    SendMessageA(window.handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window.handle()));
    EXPECT_TRUE(test::drain_messages());
}

TEST_F(WindowTest, QuitMessageDestroysTheWindow) {
    KPWindow window(instance);
    open(window);
    test::Recorder a("a", &log);
    window.add_handler(&a);
    EXPECT_EQ(SendMessageA(window.handle(), WM_QUIT, 0, 0), 0);
    EXPECT_FALSE(IsWindow(window.handle()));
    EXPECT_EQ(log, Log{"a:destroy"});
}

TEST_F(WindowTest, DragReportsDeltaAndPositionsWhileTheButtonIsDown) {
    KPWindow window(instance);
    open(window);
    test::Recorder a("a", &log), b("b", &log);
    window.add_handler(&a);
    window.add_handler(&b);
    const HWND h = window.handle();
    SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(50, 50));
    EXPECT_TRUE(log.empty());
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(15, 4));
    SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 8));
    EXPECT_EQ(SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(20, 8)), 0);
    SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(30, 30));
    const Log expected = {
        "a:left_down(10,10)", "b:left_down(10,10)",
        "a:drag_delta(5,6)", "a:drag(10,10,15,4)", "b:drag_delta(5,6)", "b:drag(10,10,15,4)",
        "a:drag_delta(5,-4)", "a:drag(15,4,20,8)", "b:drag_delta(5,-4)", "b:drag(15,4,20,8)",
    };
    EXPECT_EQ(log, expected);
}

TEST_F(WindowTest, MenuCommandsReachEveryHandlerButSystemIdsReachNone) {
    KPWindow window(instance);
    open(window);
    test::Recorder a("a", &log), b("b", &log);
    window.add_handler(&a);
    window.add_handler(&b);
    const HWND h = window.handle();
    EXPECT_EQ(SendMessageA(h, WM_COMMAND, ID_FILE_EXIT, 0), 0);
    EXPECT_EQ(log, (Log{"a:menu(40001)", "b:menu(40001)"}));
    log.clear();
    SendMessageA(h, WM_COMMAND, SC_CLOSE, 0);
    SendMessageA(h, WM_COMMAND, SC_MINIMIZE, 0);
    SendMessageA(h, WM_COMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(IsWindow(h));
}

TEST_F(WindowTest, AcceleratorCommandsReachOnCommandWithoutControl) {
    KPWindow window(instance);
    open(window);
    test::Recorder a("a", &log), b("b", &log);
    window.add_handler(&a);
    window.add_handler(&b);
    ACCEL accel{FVIRTKEY, 'K', ID_CHECK_FILES};
    const HACCEL table = CreateAcceleratorTableA(&accel, 1);
    MSG key{};
    key.hwnd = window.handle();
    key.message = WM_KEYDOWN;
    key.wParam = 'K';
    key.lParam = 0x00250001;
    EXPECT_TRUE(TranslateAcceleratorA(window.handle(), table, &key));
    DestroyAcceleratorTable(table);
    const std::string call = "command(null," + std::to_string(MAKEWPARAM(ID_CHECK_FILES, 1)) + ",0)";
    EXPECT_EQ(log, (Log{"a:" + call, "b:" + call}));
}

TEST_F(WindowTest, ControlCommandsReachTheControlHookThenTheHandlers) {
    KPWindow window(instance);
    open(window);
    auto* button = new TestButton(&window, &log);
    test::Recorder a("a", &log), b("b", &log);
    a.name_control(button, "button");
    b.name_control(button, "button");
    window.add_handler(&a);
    window.add_handler(&b);
    SendMessageA(button->handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(log, (Log{"button:hook(0)", "a:command(button,0,1)", "b:command(button,0,1)"}));
}

TEST_F(WindowTest, CommandsFromWindowsThatAreNotChildrenReachNoHandler) {
    KPWindow window(instance);
    open(window);
    test::Recorder a("a", &log);
    window.add_handler(&a);
    // A real child window, but not one the framework created.
    const HWND stranger = CreateWindowExA(0, "button", "Other", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                          100, 10, 80, 24, window.handle(), nullptr, instance, nullptr);
    ASSERT_NE(stranger, nullptr);
    SendMessageA(stranger, BM_CLICK, 0, 0);
    const HWND top = CreateWindowExA(0, "static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
    SendMessageA(window.handle(), WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), reinterpret_cast<LPARAM>(top));
    DestroyWindow(top);
    EXPECT_TRUE(log.empty());
}

TEST_F(WindowTest, KeyDownStopsAtTheFirstHandlerThatSaysNo) {
    KPWindow window(instance);
    open(window);
    test::Recorder a("a", &log), b("b", &log), c("c", &log);
    b.key_answer = false;
    window.add_handler(&a);
    window.add_handler(&b);
    window.add_handler(&c);
    EXPECT_EQ(SendMessageA(window.handle(), WM_KEYDOWN, VK_F5, 0), 0);
    EXPECT_EQ(log, (Log{"a:key_down(116)", "b:key_down(116)"}));
}

TEST_F(WindowTest, ScrollMessagesNameTheSendingChild) {
    KPWindow window(instance);
    open(window);
    auto* list = new KPListBox(&window, 10, 10, 100, 60);
    test::Recorder a("a", &log);
    a.name_control(list, "list");
    window.add_handler(&a);
    EXPECT_EQ(SendMessageA(window.handle(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(list->handle())), 0);
    SendMessageA(window.handle(), WM_HSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(log, (Log{"a:scroll(list,1)", "a:scroll(null,0)"}));
}

TEST_F(WindowTest, NotificationsAreRoutedByCode) {
    KPWindow window(instance);
    open(window);
    auto* list = new KPListBox(&window, 10, 10, 100, 60);
    test::Recorder a("a", &log), b("b", &log);
    a.name_control(list, "list");
    b.name_control(list, "list");
    a.notify_answer = 77;
    window.add_handler(&a);
    window.add_handler(&b);
    const HWND h = window.handle();
    NMHDR header{list->handle(), 0, static_cast<UINT>(NM_CLICK)};
    const auto notify = [&](UINT code) {
        header.code = code;
        return SendMessageA(h, WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&header));
    };
    EXPECT_EQ(notify(NM_CLICK), 0);
    EXPECT_EQ(notify(NM_DBLCLK), 0);
    EXPECT_EQ(notify(NM_RCLICK), 0);
    EXPECT_EQ(notify(NM_SETFOCUS), 77);
    EXPECT_EQ(notify(TCN_SELCHANGE), 77);
    EXPECT_EQ(notify(TVN_SELCHANGEDA), 77);
    const Log expected = {
        "a:click(list)", "b:click(list)", "a:double_click(list)", "b:double_click(list)",
        "a:right_click(list)", "b:right_click(list)", "a:notify(list,5)",
        "a:tab_change(list)", "b:tab_change(list)", "a:notify(list,5)",
        "a:tree_select(list)", "b:tree_select(list)", "a:notify(list,5)",
    };
    EXPECT_EQ(log, expected);
    log.clear();
    // From a sender that is not a child: clicks still reach the handlers, other codes do not.
    header.hwndFrom = h;
    EXPECT_EQ(notify(NM_SETFOCUS), 0);
    EXPECT_EQ(notify(NM_CLICK), 0);
    EXPECT_EQ(log, (Log{"a:click(null)", "b:click(null)"}));
}

TEST_F(WindowTest, AnEleventhHandlerIsRefusedAndTheTenStay) {
    KPWindow window(instance);
    open(window);
    std::vector<std::unique_ptr<test::Recorder>> handlers;
    for (int i = 0; i < 11; ++i) {
        handlers.push_back(std::make_unique<test::Recorder>(std::to_string(i).c_str(), &log));
    }
    for (int i = 0; i < KPWindow::max_handlers; ++i) EXPECT_TRUE(window.add_handler(handlers[i].get()));
    EXPECT_FALSE(window.add_handler(handlers[10].get()));
    EXPECT_FALSE(window.add_handler(nullptr));
    EXPECT_EQ(window.handler_count(), 10);
    EXPECT_EQ(window.handler(9), handlers[9].get());
    EXPECT_EQ(window.handler(10), nullptr);
    SendMessageA(window.handle(), WM_COMMAND, ID_FILE_EXIT, 0);
    ASSERT_EQ(log.size(), 10u);
    EXPECT_EQ(log.front(), "0:menu(40001)");
    EXPECT_EQ(log.back(), "9:menu(40001)");
    // Room again after a removal.
    window.remove_handler(handlers[0].get());
    EXPECT_TRUE(window.add_handler(handlers[10].get()));
    EXPECT_EQ(window.handler(9), handlers[10].get());
}

TEST_F(WindowTest, RemoveHandlerKeepsTheOrderOfTheRest) {
    KPWindow window(instance);
    test::Recorder a("a", &log), b("b", &log), c("c", &log), stranger("x", &log);
    window.add_handler(&a);
    window.add_handler(&b);
    window.add_handler(&c);
    window.remove_handler(&stranger);
    EXPECT_EQ(window.handler_count(), 3);
    window.remove_handler(&b);
    ASSERT_EQ(window.handler_count(), 2);
    EXPECT_EQ(window.handler(0), &a);
    EXPECT_EQ(window.handler(1), &c);
    EXPECT_EQ(window.handler(-1), nullptr);
}

TEST_F(WindowTest, EndingTheSessionIsNeverRefused) {
    KPWindow window(instance);
    open(window);
    test::Recorder a("a", &log);
    window.add_handler(&a);
    EXPECT_EQ(SendMessageA(window.handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(SendMessageA(window.handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(IsWindow(window.handle()));
}

TEST_F(WindowTest, CloseWithoutConfirmationSendsClose) {
    KPWindow window(instance);
    open(window);
    test::Recorder a("a", &log);
    window.add_handler(&a);
    EXPECT_EQ(window.close(false), 0);
    EXPECT_EQ(log, (Log{"a:close", "a:destroy"}));
    EXPECT_FALSE(IsWindow(window.handle()));
}

TEST_F(WindowTest, CloseAnsweredNoSendsNothing) {
    KPWindow window(instance);
    open(window);
    test::Recorder a("a", &log);
    window.add_handler(&a);
    test::SeenBox seen;
    {
        test::TimerScript script({test::answer_box("Confirm", IDNO, &seen)});
        test::Watchdog dog("the quit question");
        EXPECT_EQ(window.close(true), IDNO);
        EXPECT_FALSE(dog.fired());
    }
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text, "Are you sure you want to quit?");
    EXPECT_EQ(seen.owner, window.handle());
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(IsWindow(window.handle()));
}

TEST_F(WindowTest, CloseAnsweredYesClosesTheWindow) {
    KPWindow window(instance);
    open(window);
    test::Recorder a("a", &log);
    window.add_handler(&a);
    test::SeenBox seen;
    {
        test::TimerScript script({test::answer_box("Confirm", IDYES, &seen)});
        test::Watchdog dog("the quit question");
        EXPECT_EQ(window.close(true), 0);
        EXPECT_FALSE(dog.fired());
    }
    EXPECT_TRUE(seen.found);
    EXPECT_EQ(log, (Log{"a:close", "a:destroy"}));
    EXPECT_FALSE(IsWindow(window.handle()));
}

TEST_F(WindowTest, MessageBoxIsOwnedByTheWindow) {
    KPWindow window(instance);
    open(window);
    test::SeenBox seen;
    {
        test::TimerScript script({test::answer_box("Box caption", IDOK, &seen)});
        test::Watchdog dog("the message box");
        EXPECT_EQ(window.message_box("Box text", "Box caption", MB_OK), IDOK);
    }
    EXPECT_TRUE(seen.found);
    EXPECT_EQ(seen.text, "Box text");
    EXPECT_EQ(seen.owner, window.handle());
}

TEST_F(WindowTest, CaptionIconAndGeometry) {
    KPWindow window(instance);
    open(window);
    EXPECT_TRUE(window.set_caption("Brindle"));
    char text[64] = "";
    GetWindowTextA(window.handle(), text, sizeof(text));
    EXPECT_STREQ(text, "Brindle");

    const auto icon = reinterpret_cast<LRESULT>(LoadIconA(instance, MAKEINTRESOURCEA(IDI_TEST_ICON)));
    ASSERT_NE(icon, 0);
    window.set_icon(IDI_TEST_ICON);
    EXPECT_EQ(SendMessageA(window.handle(), WM_GETICON, ICON_BIG, 0), icon);
    EXPECT_EQ(SendMessageA(window.handle(), WM_GETICON, ICON_SMALL, 0), icon);
    // The answer is the small icon it replaced.
    EXPECT_EQ(window.set_icon(IDI_TEST_ICON), icon);

    RECT rect;
    EXPECT_TRUE(window.move(15, 25, 320, 240));
    EXPECT_TRUE(window.get_rect(&rect));
    EXPECT_EQ(rect.left, 15);
    EXPECT_EQ(rect.top, 25);
    EXPECT_EQ(rect.right, 335);
    EXPECT_EQ(rect.bottom, 265);
    window.resize(200, 150);
    window.get_rect(&rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 200);
    EXPECT_EQ(rect.bottom, 150);
}

TEST_F(WindowTest, SetFontReplacesTheFont) {
    KPWindow window(instance);
    window.set_font(20, "Arial");
    const HFONT first = window.font();
    ASSERT_NE(first, nullptr);
    LOGFONTA font{};
    ASSERT_TRUE(GetObjectA(first, sizeof(font), &font));
    EXPECT_EQ(font.lfHeight, 20);
    EXPECT_STREQ(font.lfFaceName, "Arial");
    window.set_font(15);
    ASSERT_TRUE(GetObjectA(window.font(), sizeof(font), &font));
    EXPECT_EQ(font.lfHeight, 15);
    EXPECT_EQ(font.lfWidth, 0);
    EXPECT_EQ(font.lfWeight, 0);
    EXPECT_EQ(font.lfCharSet, ANSI_CHARSET);
    EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    // The old font was deleted.
    EXPECT_EQ(GetObjectType(first), 0u);
}

TEST_F(WindowTest, RunReturnsZeroOnceTheWindowIsGone) {
    KPWindow window(instance);
    open(window);
    test::Recorder a("a", &log);
    window.add_handler(&a);
    PostMessageA(window.handle(), WM_CLOSE, 0, 0);
    test::Watchdog dog("the message loop");
    EXPECT_EQ(window.run(), 0);
    EXPECT_FALSE(dog.fired());
    // The loop starts by repainting the window at once.
    EXPECT_EQ(log, (Log{"a:paint(dc)", "a:close", "a:destroy"}));
}

TEST_F(WindowTest, RunMovesTheFocusWithTabAndShiftTab) {
    FocusProbe probe;
    KPWindow window(instance);
    open(window);
    auto* first = new KPListBox(&window, 10, 10, 80, 60);
    auto* second = new KPListBox(&window, 100, 10, 80, 60);
    window.add_handler(&probe);
    SetFocus(first->handle());
    PostMessageA(first->handle(), WM_KEYDOWN, VK_TAB, 0);
    PostMessageA(window.handle(), WM_CLOSE, 0, 0);
    {
        test::Watchdog dog("the message loop");
        window.run();
    }
    EXPECT_EQ(probe.focus, second->handle());

    KPWindow other(instance);
    open(other);
    auto* left = new KPListBox(&other, 10, 10, 80, 60);
    auto* right = new KPListBox(&other, 100, 10, 80, 60);
    other.add_handler(&probe);
    SetFocus(right->handle());
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE shift = keys[VK_SHIFT];
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(right->handle(), WM_KEYDOWN, VK_TAB, 0);
    PostMessageA(other.handle(), WM_CLOSE, 0, 0);
    {
        test::Watchdog dog("the message loop");
        other.run();
    }
    keys[VK_SHIFT] = shift;
    SetKeyboardState(keys);
    EXPECT_EQ(probe.focus, left->handle());
}

TEST_F(WindowTest, DestroyingTheObjectDestroysALiveWindowSilently) {
    auto window = std::make_unique<KPWindow>(instance);
    open(*window);
    test::Recorder a("a", &log);
    window->add_handler(&a);
    const HWND handle = window->handle();
    window.reset();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(test::drain_messages());
}

// An application window that notes its life cycle.
class TestApp : public KPApp {
public:
    TestApp(HINSTANCE instance, Log* log) : KPApp(instance), log_(log) {}
    ~TestApp() override { log_->push_back("app:deleted"); }
    void init() override { log_->push_back("app:init"); }
    bool on_destroy(KPWindow*) override {
        log_->push_back("app:destroy");
        return true;
    }

private:
    Log* log_;
};

TEST_F(WindowTest, AppCreatesItsWindowAndIsItsFirstHandler) {
    std::unique_ptr<KPApp> app = std::make_unique<TestApp>(instance, &log);
    KPWindow* window = app->window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(IsWindow(window->handle()));
    EXPECT_TRUE(IsWindowVisible(window->handle()));
    ASSERT_EQ(window->handler_count(), 1);
    EXPECT_EQ(window->handler(0), app.get());
    RECT rect;
    window->get_rect(&rect);
    EXPECT_EQ(rect.right - rect.left, 400);
    EXPECT_EQ(rect.bottom - rect.top, 300);
    LOGFONTA font{};
    ASSERT_TRUE(GetObjectA(window->font(), sizeof(font), &font));
    EXPECT_EQ(font.lfHeight, 15);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");

    app->init();
    PostMessageA(window->handle(), WM_CLOSE, 0, 0);
    {
        test::Watchdog dog("the application's message loop");
        EXPECT_EQ(app->run(), 0);
    }
    app.reset();
    EXPECT_EQ(log, (Log{"app:init", "app:destroy", "app:deleted"}));
}

TEST_F(WindowTest, DeletingAnAppWithALiveWindowDestroysItWithoutCallingBack) {
    auto app = std::make_unique<TestApp>(instance, &log);
    const HWND handle = app->window()->handle();
    app.reset();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(log, Log{"app:deleted"});
}

}  // namespace
