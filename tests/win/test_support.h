// Helpers for driving real windows from the framework tests: a timer script that answers
// message boxes and common dialogs from inside their modal loops, a watchdog that ends any
// wait that runs too long, a handler that records what it hears, and a temporary folder.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

#include "kp_handler.h"

namespace test {

// No single wait in these tests may take longer.
constexpr DWORD max_wait_seconds = 30;

// Runs steps in order on the calling (GUI) thread from a thread timer, so they act while a
// modal loop such as a message box, a dialog or the Open dialog is running. A step returns
// true when it is done; false makes it try again on the next tick. One script at a time.
// Everything stays on one thread: under Wine, and more so under qemu-user, other threads
// that reach into the GUI thread's windows proved unreliable.
class TimerScript {
public:
    using Step = std::function<bool()>;

    explicit TimerScript(std::vector<Step> steps);
    ~TimerScript();
    TimerScript(const TimerScript&) = delete;
    TimerScript& operator=(const TimerScript&) = delete;

    bool finished() const { return next_ == steps_.size(); }

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
    static TimerScript* running_;

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    UINT_PTR timer_ = 0;
};

// Guards a modal wait on the GUI thread: when it lasts longer than `seconds`, quits every
// modal loop (the quit message ends message boxes, dialogs and the message loop alike)
// and marks itself fired. It ticks in the modal loops like a TimerScript; a second thread
// would be no safer, since under qemu-user a waiting thread can make Wine crash. One at a time.
class Watchdog {
public:
    explicit Watchdog(const char* what, DWORD seconds = max_wait_seconds);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    bool fired() const { return fired_; }

private:
    static void CALLBACK bark(HWND, UINT, UINT_PTR, DWORD);
    static Watchdog* watching_;

    std::string what_;
    DWORD seconds_;
    UINT_PTR timer_ = 0;
    bool fired_ = false;
};

// Removes every pending message of this thread; true when a WM_QUIT was among them.
bool drain_messages();

// A visible dialog-class window of this thread with exactly this caption, or null.
HWND find_dialog(const char* caption);

// What a message box looked like when it was answered.
struct SeenBox {
    bool found = false;
    std::string text;
    HWND owner = nullptr;
};

// Presses a button of a dialog or message box as a click would, once the modal loop gets to it.
void press(HWND dialog, int button_id);

// A step that waits for a message box with this caption, records it in `seen` and presses `button_id`.
TimerScript::Step answer_box(const char* caption, int button_id, SeenBox* seen);

// A step that waits for a dialog with this caption and stores it in `dialog`.
TimerScript::Step wait_for(const char* caption, HWND* dialog);

// A handler that writes every call it hears as "name:operation(arguments)" to a shared log.
class Recorder : public KPHandler {
public:
    Recorder(const char* name, std::vector<std::string>* log) : name_(name), log_(log) {}

    bool close_answer = true;
    bool key_answer = true;
    LRESULT notify_answer = 0;

    void on_command(KPControl* control, WPARAM wparam, LPARAM lparam) override;
    void on_menu(int id) override;
    void on_paint(HDC dc) override;
    void on_size(RECT* rect) override;
    void on_move(int x, int y) override;
    LRESULT on_notify(KPControl* control, WPARAM wparam, LPARAM lparam) override;
    void on_scroll(KPControl* control, WPARAM wparam, LPARAM lparam) override;
    void on_drag(int from_x, int from_y, int to_x, int to_y) override;
    void on_drag_delta(int dx, int dy) override;
    void on_left_down(int x, int y) override;
    void on_left_double_click(int x, int y) override;
    void on_middle_down(int x, int y) override;
    void on_middle_double_click(int x, int y) override;
    void on_right_down(int x, int y) override;
    void on_right_double_click(int x, int y) override;
    bool on_key_down(WPARAM key) override;
    void on_click(KPControl* control, int x, int y, LPARAM lparam) override;
    void on_double_click(KPControl* control, int x, int y, LPARAM lparam) override;
    void on_right_click(KPControl* control, int x, int y, LPARAM lparam) override;
    void on_tab_change(KPControl* control) override;
    void on_tree_select(KPControl* control) override;
    bool on_close() override;
    bool on_destroy(KPWindow* window) override;

    // Names a control in the log; unknown controls show as "?", none as "null".
    void name_control(KPControl* control, const char* name);

private:
    void write(const std::string& entry);
    std::string control_name(KPControl* control) const;

    std::string name_;
    std::vector<std::string>* log_;
    std::vector<std::pair<KPControl*, std::string>> control_names_;
};

// A fresh folder under the temporary directory, removed with its files at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // Creates a small file and returns its full path.
    std::string add_file(const char* name);

private:
    std::string path_;
    std::vector<std::string> files_;
};

}  // namespace test
