// KPWindow: a native top-level window that runs the message loop and hands every message
// to its registered handlers in registration order; it owns its font and its child controls.
#pragma once

#include <vector>

#include <windows.h>

class KPControl;
class KPHandler;

class KPWindow {
public:
    static constexpr int max_handlers = 10;

    // Nothing is created yet; `handle` may name a window the caller already has.
    explicit KPWindow(HINSTANCE instance, HWND handle = nullptr);
    // Deletes the font and the owned children. A window that still exists is unbound
    // first, so no handler hears its destruction, and then destroyed.
    ~KPWindow();
    KPWindow(const KPWindow&) = delete;
    KPWindow& operator=(const KPWindow&) = delete;

    // Registers the class (reusing one that exists), creates, binds and shows the window.
    // A null class name means "KPWindow", a style of 0 WS_OVERLAPPEDWINDOW.
    // False when Windows could not create the window; the object then stays unbound.
    bool create(int x, int y, int width, int height, const char* menu_name = nullptr,
                const char* class_name = nullptr, HWND parent = nullptr, DWORD style = 0,
                DWORD ex_style = 0);
    // The message loop; returns 0 once WM_QUIT arrives.
    int run();
    // With confirm set, asks first and returns any answer but IDYES unchanged;
    // otherwise the result of sending WM_CLOSE.
    LRESULT close(bool confirm);

    HINSTANCE instance() const { return instance_; }
    HWND handle() const { return handle_; }
    HFONT font() const { return font_; }
    int handler_count() const { return handler_count_; }
    // Null outside 0 .. handler_count() - 1.
    KPHandler* handler(int index) const;
    int child_count() const { return static_cast<int>(children_.size()); }
    KPControl* child(int index) const;

    BOOL set_caption(const char* text);
    // Sets the big and the small icon; returns the answer to the second WM_SETICON.
    LRESULT set_icon(int icon_id);
    int message_box(const char* text, const char* caption, UINT type);
    BOOL move(int x, int y, int width, int height);
    // Moves the window to the screen's top left corner with the given outer size.
    void resize(int width, int height);
    BOOL get_rect(RECT* rect) const;
    // Replaces the control font; a null face name means "MS Sans Serif".
    void set_font(int height, const char* face_name = nullptr);
    // False, leaving the list unchanged, for a null handler or when all 10 places are taken.
    bool add_handler(KPHandler* handler);
    // Removes the first entry equal to `handler`; nothing when it is absent.
    void remove_handler(KPHandler* handler);
    // Called by the control base constructor; the window deletes owned children.
    void add_child(KPControl* control);

private:
    static LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT dispatch(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT command(HWND hwnd, WPARAM wparam, LPARAM lparam);
    LRESULT notify(WPARAM wparam, LPARAM lparam);
    void drag_to(int x, int y);
    KPControl* child_by_handle(HWND control_handle) const;
    // Calls `call` on each handler in registration order, reading the count afresh each step.
    template <typename Call>
    void each_handler(Call call);

    HWND handle_;
    WNDCLASSEXA window_class_{};
    HINSTANCE instance_;
    KPHandler* handlers_[max_handlers] = {};
    int handler_count_ = 0;
    HFONT font_ = nullptr;
    std::vector<KPControl*> children_;
    bool closing_ = false;
    bool dragging_ = false;
    int last_x_ = 0;
    int last_y_ = 0;
};
