// KPHandler: the interface through which objects hear the messages of a KPWindow and of
// the dialogs it owns. Every operation has a harmless default, so a handler overrides only what it needs.
#pragma once

#include <windows.h>

class KPControl;
class KPDialog;
class KPWindow;

class KPHandler {
public:
    // WM_COMMAND from a control (control set) or an accelerator (control null).
    virtual void on_command(KPControl*, WPARAM, LPARAM) {}
    virtual void on_menu(int) {}
    virtual void on_paint(HDC) {}
    virtual void on_dialog_init(KPDialog*, HWND) {}
    virtual void on_dialog_paint(KPDialog*, HWND, HDC) {}
    virtual void on_dialog_command(KPDialog*, HWND, int) {}
    virtual void on_dialog_double_click(KPDialog*, HWND, int) {}
    virtual void on_size(RECT*) {}
    virtual void on_move(int, int) {}
    // Asked of the first handler only; its answer is the answer to WM_NOTIFY.
    virtual LRESULT on_notify(KPControl*, WPARAM, LPARAM) { return 0; }
    virtual void on_scroll(KPControl*, WPARAM, LPARAM) {}
    virtual void on_drag(int, int, int, int) {}
    // dx grows to the right, dy grows upwards.
    virtual void on_drag_delta(int, int) {}
    virtual void on_left_down(int, int) {}
    virtual void on_left_double_click(int, int) {}
    virtual void on_middle_down(int, int) {}
    virtual void on_middle_double_click(int, int) {}
    virtual void on_right_down(int, int) {}
    virtual void on_right_double_click(int, int) {}
    // false keeps the key from the handlers registered after this one.
    virtual bool on_key_down(WPARAM) { return true; }
    // The three reserved operations keep their places among the others; nothing calls them.
    virtual void reserved_20(int, int) {}
    // Click notifications carry the cursor in screen coordinates and the NMHDR as lParam.
    virtual void on_click(KPControl*, int, int, LPARAM) {}
    virtual void on_double_click(KPControl*, int, int, LPARAM) {}
    virtual void on_right_click(KPControl*, int, int, LPARAM) {}
    virtual void on_tab_change(KPControl*) {}
    virtual void on_tree_select(KPControl*) {}
    virtual bool reserved_26() { return true; }
    virtual bool reserved_27() { return true; }
    // false keeps the window open and stops the remaining handlers from being asked.
    virtual bool on_close() { return true; }
    // The result is ignored.
    virtual bool on_destroy(KPWindow*) { return true; }

protected:
    // Handlers are never deleted through this interface; their owners know their real type.
    ~KPHandler() = default;
};
