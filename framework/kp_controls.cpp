#include "kp_controls.h"

#include <cstddef>
#include <cstring>

#include "kp_window.h"

KPControl::KPControl(KPWindow* window, int x, int y, int width, int height)
    : window_(window), x_(x), y_(y), width_(width), height_(height) {
    window_->add_child(this);
}

// Usually the control went with its parent window already; destroying it again is harmless.
KPControl::~KPControl() { DestroyWindow(handle_); }

void KPControl::move(int x, int y, int width, int height) {
    MoveWindow(handle_, x, y, width, height, TRUE);
    x_ = x;
    y_ = y;
    width_ = width;
    height_ = height;
}

void KPControl::move_to(const RECT* rect) {
    move(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
}

void KPControl::create_control(DWORD ex_style, const char* class_name, const char* text, DWORD style) {
    handle_ = CreateWindowExA(ex_style, class_name, text, style, x_, y_, width_, height_,
                              window_->handle(), nullptr, window_->instance(), nullptr);
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(window_->font()), TRUE);
}

KPListBox::KPListBox(KPWindow* window, int x, int y, int width, int height, DWORD extra_style)
    : KPControl(window, x, y, width, height) {
    create_control(WS_EX_CLIENTEDGE, "listbox", "",
                   extra_style | WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY);
}

int KPListBox::add_string(const char* text) {
    return static_cast<int>(SendMessageA(handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

int KPListBox::reset() { return static_cast<int>(SendMessageA(handle(), LB_RESETCONTENT, 0, 0)); }

int KPListBox::count() { return static_cast<int>(SendMessageA(handle(), LB_GETCOUNT, 0, 0)); }

int KPListBox::set_selection(int index) {
    return static_cast<int>(SendMessageA(handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0));
}

KPGroupBox::KPGroupBox(KPWindow* window, int x, int y, int width, int height, const char* caption)
    : KPControl(window, x, y, width, height) {
    create_control(0, "button", caption ? caption : "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX);
}

namespace {

// The record without hbmpItem, which the oldest menu implementations do not know.
MENUITEMINFOA text_item(const char* text) {
    if (!text) text = "";
    MENUITEMINFOA item{};
    item.cbSize = offsetof(MENUITEMINFOA, hbmpItem);
    item.fMask = MIIM_TYPE;
    item.fType = MFT_STRING;
    item.dwTypeData = const_cast<char*>(text);
    item.cch = static_cast<UINT>(std::strlen(text));
    return item;
}

}  // namespace

KPMenu::KPMenu(KPWindow* window) : window_(window) {}

KPMenu::~KPMenu() {
    if (menu_) DestroyMenu(menu_);
}

BOOL KPMenu::load(const char* resource_name) {
    const HMENU previous = menu_;
    menu_ = LoadMenuA(window_->instance(), resource_name);
    const BOOL attached = SetMenu(window_->handle(), menu_);
    if (previous) DestroyMenu(previous);
    return attached;
}

void KPMenu::set_top_text(int position, const char* text) {
    const MENUITEMINFOA item = text_item(text);
    SetMenuItemInfoA(menu_, static_cast<UINT>(position), TRUE, &item);
    SetMenu(window_->handle(), menu_);
}

void KPMenu::set_item_text(int command_id, const char* text) {
    const MENUITEMINFOA item = text_item(text);
    SetMenuItemInfoA(menu_, static_cast<UINT>(command_id), FALSE, &item);
}
