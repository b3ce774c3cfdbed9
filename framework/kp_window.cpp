#include "kp_window.h"

#include <commctrl.h>

#include "kp_controls.h"
#include "kp_handler.h"

namespace {

const char default_class_name[] = "KPWindow";
const char default_face_name[] = "MS Sans Serif";

// Mouse coordinates are the unsigned low and high halves of lParam.
int low_x(LPARAM lparam) { return LOWORD(lparam); }
int high_y(LPARAM lparam) { return HIWORD(lparam); }

LRESULT default_frame(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefFrameProcA(hwnd, nullptr, message, wparam, lparam);
}

}  // namespace

KPWindow::KPWindow(HINSTANCE instance, HWND handle) : handle_(handle), instance_(instance) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&controls);
}

KPWindow::~KPWindow() {
    if (handle_ && IsWindow(handle_) && GetWindowLongPtrA(handle_, 0) == reinterpret_cast<LONG_PTR>(this)) {
        SetWindowLongPtrA(handle_, 0, 0);
        DestroyWindow(handle_);
    }
    // Moved out first so nothing can reach a child while it is being deleted.
    std::vector<KPControl*> children;
    children.swap(children_);
    for (KPControl* child : children) {
        if (child->owned()) delete child;
    }
    if (font_) DeleteObject(font_);
}

bool KPWindow::create(int x, int y, int width, int height, const char* menu_name,
                      const char* class_name, HWND parent, DWORD style, DWORD ex_style) {
    const char* name = class_name ? class_name : default_class_name;
    window_class_ = WNDCLASSEXA{};
    window_class_.cbSize = sizeof(WNDCLASSEXA);
    window_class_.lpfnWndProc = window_proc;
    window_class_.cbWndExtra = sizeof(LONG_PTR);
    window_class_.hInstance = instance_;
    window_class_.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    window_class_.hIconSm = window_class_.hIcon;
    window_class_.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class_.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class_.lpszMenuName = menu_name;
    window_class_.lpszClassName = name;
    // Fails harmlessly when an earlier window registered the class already.
    RegisterClassExA(&window_class_);

    handle_ = CreateWindowExA(ex_style, name, "Test", style ? style : WS_OVERLAPPEDWINDOW, x, y,
                              width, height, parent, nullptr, instance_, nullptr);
    if (!handle_) return false;
    // Until this point messages went straight to DefWindowProcA, unseen by the handlers.
    SetWindowLongPtrA(handle_, 0, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(handle_, SW_SHOW);
    UpdateWindow(handle_);
    return true;
}

int KPWindow::run() {
    RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // Tab and Shift+Tab move between the controls of a plain window as in a dialog.
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB) {
            const bool backwards = (GetKeyState(VK_SHIFT) & 0xFF00) != 0;
            SetFocus(GetNextDlgTabItem(handle_, GetFocus(), backwards));
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

LRESULT KPWindow::close(bool confirm) {
    if (confirm) {
        const int answer = MessageBoxA(handle_, "Are you sure you want to quit?", "Confirm",
                                       MB_ICONQUESTION | MB_YESNO);
        if (answer != IDYES) return answer;
    }
    return SendMessageA(handle_, WM_CLOSE, 0, 0);
}

KPHandler* KPWindow::handler(int index) const {
    return index >= 0 && index < handler_count_ ? handlers_[index] : nullptr;
}

KPControl* KPWindow::child(int index) const {
    return index >= 0 && index < child_count() ? children_[index] : nullptr;
}

BOOL KPWindow::set_caption(const char* text) { return SetWindowTextA(handle_, text); }

LRESULT KPWindow::set_icon(int icon_id) {
    const HICON icon = LoadIconA(instance_, MAKEINTRESOURCEA(icon_id));
    SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    return SendMessageA(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

int KPWindow::message_box(const char* text, const char* caption, UINT type) {
    return MessageBoxA(handle_, text, caption, type);
}

BOOL KPWindow::move(int x, int y, int width, int height) {
    return MoveWindow(handle_, x, y, width, height, TRUE);
}

void KPWindow::resize(int width, int height) { MoveWindow(handle_, 0, 0, width, height, TRUE); }

BOOL KPWindow::get_rect(RECT* rect) const { return GetWindowRect(handle_, rect); }

void KPWindow::set_font(int height, const char* face_name) {
    if (font_) DeleteObject(font_);
    font_ = CreateFontA(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, ANSI_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                        face_name ? face_name : default_face_name);
}

bool KPWindow::add_handler(KPHandler* handler) {
    if (!handler || handler_count_ == max_handlers) return false;
    handlers_[handler_count_++] = handler;
    return true;
}

void KPWindow::remove_handler(KPHandler* handler) {
    for (int i = 0; i < handler_count_; ++i) {
        if (handlers_[i] != handler) continue;
        for (int j = i + 1; j < handler_count_; ++j) handlers_[j - 1] = handlers_[j];
        handlers_[--handler_count_] = nullptr;
        return;
    }
}

void KPWindow::add_child(KPControl* control) { children_.push_back(control); }

template <typename Call>
void KPWindow::each_handler(Call call) {
    for (int i = 0; i < handler_count_; ++i) call(handlers_[i]);
}

KPControl* KPWindow::child_by_handle(HWND control_handle) const {
    if (!control_handle) return nullptr;
    for (KPControl* child : children_) {
        if (child->handle() == control_handle) return child;
    }
    return nullptr;
}

LRESULT CALLBACK KPWindow::window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* window = reinterpret_cast<KPWindow*>(GetWindowLongPtrA(hwnd, 0));
    if (!window) return DefWindowProcA(hwnd, message, wparam, lparam);
    return window->dispatch(hwnd, message, wparam, lparam);
}

LRESULT KPWindow::dispatch(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_DESTROY:
        each_handler([this](KPHandler* h) { h->on_destroy(this); });
        closing_ = true;
        PostQuitMessage(0);
        return 0;
    case WM_MOVE:
        each_handler([&](KPHandler* h) { h->on_move(low_x(lparam), high_y(lparam)); });
        return default_frame(hwnd, message, wparam, lparam);
    case WM_SIZE:
        if (handler_count_ > 0) {
            RECT client;
            GetClientRect(hwnd, &client);
            each_handler([&](KPHandler* h) { h->on_size(&client); });
        }
        return default_frame(hwnd, message, wparam, lparam);
    case WM_PAINT: {
        if (handler_count_ == 0) return DefWindowProcA(hwnd, message, wparam, lparam);
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(hwnd, &paint);
        each_handler([dc](KPHandler* h) { h->on_paint(dc); });
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_CLOSE:
        for (int i = 0; i < handler_count_; ++i) {
            if (!handlers_[i]->on_close()) return 0;
        }
        return DefWindowProcA(hwnd, message, wparam, lparam);
    case WM_QUERYENDSESSION:
        // Nothing is left unsaved at that point, so never stand in the way of logging off.
        return TRUE;
    case WM_QUIT:
        closing_ = true;
        DestroyWindow(hwnd);
        return 0;
    case WM_NOTIFY:
        return notify(wparam, lparam);
    case WM_KEYDOWN:
        for (int i = 0; i < handler_count_; ++i) {
            if (!handlers_[i]->on_key_down(wparam)) break;
        }
        return 0;
    case WM_COMMAND:
        return command(hwnd, wparam, lparam);
    case WM_HSCROLL:
    case WM_VSCROLL: {
        KPControl* control = child_by_handle(reinterpret_cast<HWND>(lparam));
        each_handler([&](KPHandler* h) { h->on_scroll(control, wparam, lparam); });
        return 0;
    }
    case WM_MOUSEMOVE:
        if (dragging_) drag_to(low_x(lparam), high_y(lparam));
        return 0;
    case WM_LBUTTONDOWN:
        dragging_ = true;
        last_x_ = low_x(lparam);
        last_y_ = high_y(lparam);
        each_handler([this](KPHandler* h) { h->on_left_down(last_x_, last_y_); });
        return 0;
    case WM_LBUTTONUP:
        dragging_ = false;
        return 0;
    case WM_LBUTTONDBLCLK:
        each_handler([&](KPHandler* h) { h->on_left_double_click(low_x(lparam), high_y(lparam)); });
        return 0;
    case WM_RBUTTONDOWN:
        each_handler([&](KPHandler* h) { h->on_right_down(low_x(lparam), high_y(lparam)); });
        return 0;
    case WM_RBUTTONDBLCLK:
        each_handler([&](KPHandler* h) { h->on_right_double_click(low_x(lparam), high_y(lparam)); });
        return 0;
    case WM_MBUTTONDOWN:
        each_handler([&](KPHandler* h) { h->on_middle_down(low_x(lparam), high_y(lparam)); });
        return 0;
    case WM_MBUTTONDBLCLK:
        each_handler([&](KPHandler* h) { h->on_middle_double_click(low_x(lparam), high_y(lparam)); });
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wparam, lparam);
    }
}

void KPWindow::drag_to(int x, int y) {
    each_handler([&](KPHandler* h) {
        h->on_drag_delta(x - last_x_, last_y_ - y);
        h->on_drag(last_x_, last_y_, x, y);
    });
    last_x_ = x;
    last_y_ = y;
}

LRESULT KPWindow::command(HWND hwnd, WPARAM wparam, LPARAM lparam) {
    if (handler_count_ > 0) {
        if (HIWORD(wparam) == 0 && lparam == 0) {
            const int id = LOWORD(wparam);
            // Minimise, restore and close keep their system meaning.
            if (id == SC_MINIMIZE || id == SC_RESTORE || id == SC_CLOSE) {
                return default_frame(hwnd, WM_COMMAND, wparam, lparam);
            }
            each_handler([id](KPHandler* h) { h->on_menu(id); });
            return 0;
        }
        if (lparam == 0) {
            each_handler([&](KPHandler* h) { h->on_command(nullptr, wparam, lparam); });
        } else if (KPControl* control = child_by_handle(reinterpret_cast<HWND>(lparam))) {
            control->on_control_command(wparam, lparam);
            each_handler([&](KPHandler* h) { h->on_command(control, wparam, lparam); });
        }
    }
    return closing_ ? 0 : default_frame(hwnd, WM_COMMAND, wparam, lparam);
}

LRESULT KPWindow::notify(WPARAM wparam, LPARAM lparam) {
    if (handler_count_ == 0) return 0;
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    KPControl* control = child_by_handle(header->hwndFrom);
    if (header->code == TCN_SELCHANGE) {
        each_handler([control](KPHandler* h) { h->on_tab_change(control); });
    } else if (header->code == TVN_SELCHANGEDA) {
        each_handler([control](KPHandler* h) { h->on_tree_select(control); });
    }
    POINT cursor;
    switch (header->code) {
    case NM_CLICK:
        GetCursorPos(&cursor);
        each_handler([&](KPHandler* h) { h->on_click(control, cursor.x, cursor.y, lparam); });
        return 0;
    case NM_DBLCLK:
        GetCursorPos(&cursor);
        each_handler([&](KPHandler* h) { h->on_double_click(control, cursor.x, cursor.y, lparam); });
        return 0;
    case NM_RCLICK:
        GetCursorPos(&cursor);
        if (control) {
            // A right click in a tree view first selects the item under the cursor.
            TVHITTESTINFO hit{};
            GetCursorPos(&hit.pt);
            RECT bounds;
            GetWindowRect(control->handle(), &bounds);
            hit.pt.x -= bounds.left;
            hit.pt.y -= bounds.top;
            SendMessageA(control->handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            SendMessageA(control->handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hit.hItem));
        }
        each_handler([&](KPHandler* h) { h->on_right_click(control, cursor.x, cursor.y, lparam); });
        return 0;
    default:
        return control ? handlers_[0]->on_notify(control, wparam, lparam) : 0;
    }
}
