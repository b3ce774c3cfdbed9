// KPListBox, KPGroupBox and KPMenu on a real window.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "kp_controls.h"
#include "kp_window.h"
#include "test_resources.h"
#include "test_support.h"

namespace {

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.set_font(15);
        ASSERT_TRUE(window.create(30, 30, 400, 300));
    }
    void TearDown() override { test::drain_messages(); }

    static std::string text_of(HWND control) {
        char text[128] = "";
        GetWindowTextA(control, text, sizeof(text));
        return text;
    }

    static std::string class_of(HWND control) {
        char name[64] = "";
        GetClassNameA(control, name, sizeof(name));
        return name;
    }

    // The control's rectangle in its parent's client coordinates.
    RECT place_of(HWND control) {
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, window.handle(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    static std::string menu_text(HMENU menu, UINT item, UINT by) {
        char text[64] = "";
        GetMenuStringA(menu, item, text, sizeof(text), by);
        return text;
    }

    // Declared first: it outlives the window, whose children write to it when deleted.
    std::vector<std::string> log;
    KPWindow window{GetModuleHandleA(nullptr)};
};

// A list box that notes its deletion and its moves.
class WatchedListBox : public KPListBox {
public:
    // Without integral height the list box keeps exactly the height it is given.
    WatchedListBox(KPWindow* window, std::vector<std::string>* log)
        : KPListBox(window, 0, 0, 50, 50, LBS_NOINTEGRALHEIGHT), log_(log) {}
    ~WatchedListBox() override { log_->push_back("deleted"); }
    void move(int x, int y, int width, int height) override {
        log_->push_back("move");
        KPListBox::move(x, y, width, height);
    }

private:
    std::vector<std::string>* log_;
};

TEST_F(ControlsTest, ListBoxIsAChildWithTheWindowsFont) {
    auto* list = new KPListBox(&window, 10, 20, 200, 100);
    const HWND handle = list->handle();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(class_of(handle), "ListBox");
    EXPECT_EQ(GetParent(handle), window.handle());
    const LONG_PTR wanted = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LBS_NOTIFY;
    EXPECT_EQ(GetWindowLongPtrA(handle, GWL_STYLE) & wanted, wanted);
    // The list box shows its scroll bar, and so the style bit, only once it needs one.
    for (int i = 0; i < 30; ++i) list->add_string("line");
    EXPECT_TRUE(GetWindowLongPtrA(handle, GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(GetWindowLongPtrA(handle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(handle, WM_GETFONT, 0, 0)), window.font());
    EXPECT_EQ(window.child_count(), 1);
    EXPECT_EQ(window.child(0), list);
    EXPECT_TRUE(list->owned());
    EXPECT_EQ(list->window(), &window);
    const RECT place = place_of(handle);
    EXPECT_EQ(place.left, 10);
    EXPECT_EQ(place.top, 20);
    EXPECT_EQ(place.right, 210);
}

TEST_F(ControlsTest, ListBoxAddsCountsSelectsAndResets) {
    auto* list = new KPListBox(&window, 10, 10, 200, 60);
    EXPECT_EQ(list->count(), 0);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(list->add_string(("line " + std::to_string(i)).c_str()), i);
    EXPECT_EQ(list->count(), 20);
    char text[32] = "";
    SendMessageA(list->handle(), LB_GETTEXT, 7, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "line 7");

    EXPECT_EQ(list->set_selection(list->count() - 1), 19);
    EXPECT_EQ(SendMessageA(list->handle(), LB_GETCURSEL, 0, 0), 19);
    EXPECT_EQ(list->set_selection(-1), LB_ERR);
    EXPECT_EQ(SendMessageA(list->handle(), LB_GETCURSEL, 0, 0), LB_ERR);
    // The newest line stays scrolled into view.
    EXPECT_GT(SendMessageA(list->handle(), LB_GETTOPINDEX, 0, 0), 0);

    list->reset();
    EXPECT_EQ(list->count(), 0);
}

TEST_F(ControlsTest, GroupBoxShowsItsCaptionOrNone) {
    auto* framed = new KPGroupBox(&window, 5, 5, 300, 200, "Log");
    auto* bare = new KPGroupBox(&window, 5, 210, 300, 50, nullptr);
    auto* list = new KPListBox(&window, 10, 25, 280, 170);
    EXPECT_EQ(class_of(framed->handle()), "Button");
    EXPECT_EQ(text_of(framed->handle()), "Log");
    EXPECT_EQ(text_of(bare->handle()), "");
    EXPECT_EQ(GetWindowLongPtrA(framed->handle(), GWL_STYLE) & 0x0F, BS_GROUPBOX);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(framed->handle(), WM_GETFONT, 0, 0)), window.font());
    ASSERT_EQ(window.child_count(), 3);
    EXPECT_EQ(window.child(0), framed);
    EXPECT_EQ(window.child(1), bare);
    EXPECT_EQ(window.child(2), list);
    EXPECT_EQ(window.child(3), nullptr);
}

TEST_F(ControlsTest, MoveAndMoveToPlaceTheControl) {
    auto* list = new WatchedListBox(&window, &log);
    list->move(12, 14, 100, 80);
    RECT place = place_of(list->handle());
    EXPECT_EQ(place.left, 12);
    EXPECT_EQ(place.top, 14);
    EXPECT_EQ(place.right, 112);
    EXPECT_EQ(place.bottom, 94);
    const RECT target{20, 30, 220, 130};
    list->move_to(&target);
    place = place_of(list->handle());
    EXPECT_EQ(place.left, 20);
    EXPECT_EQ(place.bottom, 130);
    EXPECT_EQ(list->x(), 20);
    EXPECT_EQ(list->y(), 30);
    EXPECT_EQ(list->width(), 200);
    EXPECT_EQ(list->height(), 100);
    // move_to goes through the virtual move.
    EXPECT_EQ(log, (std::vector<std::string>{"move", "move"}));
}

TEST(ControlOwnership, TheWindowDeletesItsChildren) {
    std::vector<std::string> log;
    HWND control = nullptr;
    {
        KPWindow window(GetModuleHandleA(nullptr));
        ASSERT_TRUE(window.create(0, 0, 200, 200));
        control = (new WatchedListBox(&window, &log))->handle();
        EXPECT_TRUE(IsWindow(control));
    }
    EXPECT_EQ(log, std::vector<std::string>{"deleted"});
    EXPECT_FALSE(IsWindow(control));
}

TEST_F(ControlsTest, MenuLoadsAndReplacesTexts) {
    KPMenu menu(&window);
    EXPECT_EQ(menu.menu(), nullptr);
    EXPECT_TRUE(menu.load(MAKEINTRESOURCEA(IDM_TEST_MENU)));
    const HMENU bar = menu.menu();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetMenu(window.handle()), bar);
    EXPECT_EQ(menu_text(bar, 0, MF_BYPOSITION), "&File");

    menu.set_top_text(0, "&Datei");
    menu.set_item_text(ID_FILE_SETTINGS, "&Einstellungen");
    menu.set_item_text(ID_FILE_EXIT, "&Beenden");
    menu.set_top_text(1, "Dateien &pr\xfc" "fen");
    EXPECT_EQ(menu_text(bar, 0, MF_BYPOSITION), "&Datei");
    EXPECT_EQ(menu_text(bar, 1, MF_BYPOSITION), "Dateien &pr\xfc" "fen");
    EXPECT_EQ(menu_text(bar, ID_FILE_SETTINGS, MF_BYCOMMAND), "&Einstellungen");
    EXPECT_EQ(menu_text(bar, ID_FILE_EXIT, MF_BYCOMMAND), "&Beenden");
    EXPECT_EQ(menu_text(bar, ID_CHECK_FILES, MF_BYCOMMAND), "Dateien &pr\xfc" "fen");
    EXPECT_EQ(GetMenu(window.handle()), bar);
}

TEST_F(ControlsTest, RenamingAnUnknownCommandChangesNothing) {
    KPMenu menu(&window);
    menu.load(MAKEINTRESOURCEA(IDM_TEST_MENU));
    const HMENU file = GetSubMenu(menu.menu(), 0);
    const int items = GetMenuItemCount(file);
    menu.set_item_text(49999, "Nothing");
    EXPECT_EQ(GetMenuItemCount(file), items);
    EXPECT_EQ(GetMenuItemCount(menu.menu()), 2);
    EXPECT_EQ(menu_text(menu.menu(), 0, MF_BYPOSITION), "&File");
    EXPECT_EQ(menu_text(menu.menu(), 1, MF_BYPOSITION), "&Check files");
    EXPECT_EQ(menu_text(file, 0, MF_BYPOSITION), "&Settings");
    EXPECT_EQ(menu_text(file, 2, MF_BYPOSITION), "E&xit");
}

TEST_F(ControlsTest, AMissingMenuResourceLeavesNoMenu) {
    KPMenu menu(&window);
    menu.load(MAKEINTRESOURCEA(998));
    EXPECT_EQ(menu.menu(), nullptr);
    menu.set_top_text(0, "x");
    menu.set_item_text(ID_FILE_EXIT, "x");
    EXPECT_EQ(GetMenu(window.handle()), nullptr);
}

TEST_F(ControlsTest, LoadingAgainReplacesTheMenu) {
    KPMenu menu(&window);
    menu.load(MAKEINTRESOURCEA(IDM_TEST_MENU));
    const HMENU first = menu.menu();
    EXPECT_TRUE(menu.load(MAKEINTRESOURCEA(IDM_TEST_MENU)));
    EXPECT_NE(menu.menu(), first);
    EXPECT_EQ(GetMenu(window.handle()), menu.menu());
    EXPECT_FALSE(IsMenu(first));
}

TEST_F(ControlsTest, TheMenuIsDestroyedWithItsObject) {
    HMENU bar = nullptr;
    {
        KPMenu menu(&window);
        menu.load(MAKEINTRESOURCEA(IDM_TEST_MENU));
        bar = menu.menu();
        EXPECT_TRUE(IsMenu(bar));
        SetMenu(window.handle(), nullptr);
    }
    EXPECT_FALSE(IsMenu(bar));
}

}  // namespace
