// Child controls of a KPWindow (a list box and a group box on a common base) and the
// window's menu bar with replaceable item texts.
#pragma once

#include <windows.h>

class KPWindow;

// A child control that registers itself with its window; the window routes the control's
// messages to it and deletes it when the window object goes.
class KPControl {
public:
    // Stores the geometry and registers with `window`; the derived constructor creates the control.
    KPControl(KPWindow* window, int x, int y, int width, int height);
    virtual ~KPControl();
    KPControl(const KPControl&) = delete;
    KPControl& operator=(const KPControl&) = delete;

    virtual void move(int x, int y, int width, int height);
    virtual void move_to(const RECT* rect);
    // Hears every WM_COMMAND this control sends, before the window's handlers do.
    virtual void on_control_command(WPARAM, LPARAM) {}

    KPWindow* window() const { return window_; }
    HWND handle() const { return handle_; }
    bool owned() const { return owned_; }
    int x() const { return x_; }
    int y() const { return y_; }
    int width() const { return width_; }
    int height() const { return height_; }

protected:
    // Creates the Windows control as child of the window and gives it the window's font.
    void create_control(DWORD ex_style, const char* class_name, const char* text, DWORD style);

private:
    KPWindow* window_;
    HWND handle_ = nullptr;
    int x_;
    int y_;
    int width_;
    int height_;
    bool owned_ = true;
};

// A list box with a vertical scroll bar that reports selections to its window.
class KPListBox : public KPControl {
public:
    KPListBox(KPWindow* window, int x, int y, int width, int height, DWORD extra_style = 0);

    // The new item's index, or the list box's error code.
    int add_string(const char* text);
    int reset();
    int count();
    // -1 removes the selection.
    int set_selection(int index);
};

// A captioned frame; a null caption shows none.
class KPGroupBox : public KPControl {
public:
    KPGroupBox(KPWindow* window, int x, int y, int width, int height, const char* caption);
};

// The window's menu bar, loaded from a resource; item texts can be replaced (e.g. localised).
class KPMenu {
public:
    explicit KPMenu(KPWindow* window);
    ~KPMenu();
    KPMenu(const KPMenu&) = delete;
    KPMenu& operator=(const KPMenu&) = delete;

    // Loads the menu from the window's module and attaches it; returns what SetMenu returns.
    BOOL load(const char* resource_name);
    // Renames the item at a 0-based position of the bar and redraws the bar.
    void set_top_text(int position, const char* text);
    // Renames the item with this command id anywhere in the menu; no redraw.
    void set_item_text(int command_id, const char* text);
    HMENU menu() const { return menu_; }

private:
    KPWindow* window_;
    HMENU menu_ = nullptr;
};
