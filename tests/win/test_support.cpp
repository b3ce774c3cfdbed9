#include "test_support.h"

#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>

namespace test {

namespace {

constexpr UINT tick_ms = 50;

void give_up(const std::string& reason) {
    std::fprintf(stderr, "framework_tests: %s; ending the test run\n", reason.c_str());
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
}

std::string text_of(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

std::string class_of(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof(name));
    return name;
}

struct DialogSearch {
    const char* caption;
    HWND found;
};

BOOL CALLBACK match_dialog(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<DialogSearch*>(context);
    if (class_of(window) == "#32770" && IsWindowVisible(window) && text_of(window) == search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK find_box_text(HWND child, LPARAM context) {
    auto* text = reinterpret_cast<std::string*>(context);
    if (class_of(child) == "Static") {
        const std::string part = text_of(child);
        if (!part.empty()) {
            *text = part;
            return FALSE;
        }
    }
    return TRUE;
}

}  // namespace

TimerScript* TimerScript::running_ = nullptr;

TimerScript::TimerScript(std::vector<Step> steps) : steps_(std::move(steps)) {
    if (running_) give_up("two timer scripts at once");
    running_ = this;
    timer_ = SetTimer(nullptr, 0, tick_ms, tick);
    if (!timer_) give_up("could not start a timer");
}

TimerScript::~TimerScript() {
    KillTimer(nullptr, timer_);
    running_ = nullptr;
}

void CALLBACK TimerScript::tick(HWND, UINT, UINT_PTR, DWORD) {
    static bool busy = false;
    TimerScript* script = running_;
    // A step may start a nested modal loop, in which the timer fires again.
    if (!script || busy || script->finished()) return;
    busy = true;
    if (script->steps_[script->next_]()) ++script->next_;
    busy = false;
}

Watchdog* Watchdog::watching_ = nullptr;

Watchdog::Watchdog(const char* what, DWORD seconds) : what_(what), seconds_(seconds) {
    if (watching_) give_up("two watchdogs at once");
    watching_ = this;
    timer_ = SetTimer(nullptr, 0, seconds * 1000, bark);
    if (!timer_) give_up("could not start a watchdog");
}

Watchdog::~Watchdog() {
    KillTimer(nullptr, timer_);
    watching_ = nullptr;
}

void CALLBACK Watchdog::bark(HWND, UINT, UINT_PTR, DWORD) {
    Watchdog* dog = watching_;
    if (!dog || dog->fired_) return;
    dog->fired_ = true;
    std::fprintf(stderr, "watchdog: %s took longer than %lu s; ending its modal loops\n",
                 dog->what_.c_str(), static_cast<unsigned long>(dog->seconds_));
    std::fflush(stderr);
    PostQuitMessage(0);
}

bool drain_messages() {
    bool quit = false;
    MSG msg;
    // Bounded: a window that keeps posting to itself must not hold the test forever.
    for (int i = 0; i < 100000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) {
            quit = true;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return quit;
}

HWND find_dialog(const char* caption) {
    DialogSearch search{caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), match_dialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void press(HWND dialog, int button_id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button_id)));
}

TimerScript::Step answer_box(const char* caption, int button_id, SeenBox* seen) {
    return [=] {
        const HWND box = find_dialog(caption);
        if (!box) return false;
        seen->found = true;
        EnumChildWindows(box, find_box_text, reinterpret_cast<LPARAM>(&seen->text));
        seen->owner = GetWindow(box, GW_OWNER);
        press(box, button_id);
        return true;
    };
}

TimerScript::Step wait_for(const char* caption, HWND* dialog) {
    return [=] {
        *dialog = find_dialog(caption);
        return *dialog != nullptr;
    };
}

void Recorder::write(const std::string& entry) { log_->push_back(name_ + ":" + entry); }

void Recorder::name_control(KPControl* control, const char* name) { control_names_.emplace_back(control, name); }

std::string Recorder::control_name(KPControl* control) const {
    if (!control) return "null";
    for (const auto& known : control_names_) {
        if (known.first == control) return known.second;
    }
    return "?";
}

namespace {

std::string numbers(std::initializer_list<long long> values) {
    std::string text;
    for (long long value : values) {
        if (!text.empty()) text += ",";
        text += std::to_string(value);
    }
    return text;
}

}  // namespace

void Recorder::on_command(KPControl* control, WPARAM wparam, LPARAM lparam) {
    write("command(" + control_name(control) + "," + numbers({static_cast<long long>(wparam), lparam != 0}) + ")");
}
void Recorder::on_menu(int id) { write("menu(" + numbers({id}) + ")"); }
void Recorder::on_paint(HDC dc) { write(dc ? "paint(dc)" : "paint(null)"); }
void Recorder::on_size(RECT* rect) { write("size(" + numbers({rect->right - rect->left, rect->bottom - rect->top}) + ")"); }
void Recorder::on_move(int x, int y) { write("move(" + numbers({x, y}) + ")"); }
LRESULT Recorder::on_notify(KPControl* control, WPARAM wparam, LPARAM) {
    write("notify(" + control_name(control) + "," + numbers({static_cast<long long>(wparam)}) + ")");
    return notify_answer;
}
void Recorder::on_scroll(KPControl* control, WPARAM wparam, LPARAM) {
    write("scroll(" + control_name(control) + "," + numbers({static_cast<long long>(wparam)}) + ")");
}
void Recorder::on_drag(int from_x, int from_y, int to_x, int to_y) {
    write("drag(" + numbers({from_x, from_y, to_x, to_y}) + ")");
}
void Recorder::on_drag_delta(int dx, int dy) { write("drag_delta(" + numbers({dx, dy}) + ")"); }
void Recorder::on_left_down(int x, int y) { write("left_down(" + numbers({x, y}) + ")"); }
void Recorder::on_left_double_click(int x, int y) { write("left_double_click(" + numbers({x, y}) + ")"); }
void Recorder::on_middle_down(int x, int y) { write("middle_down(" + numbers({x, y}) + ")"); }
void Recorder::on_middle_double_click(int x, int y) { write("middle_double_click(" + numbers({x, y}) + ")"); }
void Recorder::on_right_down(int x, int y) { write("right_down(" + numbers({x, y}) + ")"); }
void Recorder::on_right_double_click(int x, int y) { write("right_double_click(" + numbers({x, y}) + ")"); }
bool Recorder::on_key_down(WPARAM key) {
    write("key_down(" + numbers({static_cast<long long>(key)}) + ")");
    return key_answer;
}
void Recorder::on_click(KPControl* control, int, int, LPARAM) { write("click(" + control_name(control) + ")"); }
void Recorder::on_double_click(KPControl* control, int, int, LPARAM) {
    write("double_click(" + control_name(control) + ")");
}
void Recorder::on_right_click(KPControl* control, int, int, LPARAM) {
    write("right_click(" + control_name(control) + ")");
}
void Recorder::on_tab_change(KPControl* control) { write("tab_change(" + control_name(control) + ")"); }
void Recorder::on_tree_select(KPControl* control) { write("tree_select(" + control_name(control) + ")"); }
bool Recorder::on_close() {
    write("close");
    return close_answer;
}
bool Recorder::on_destroy(KPWindow*) {
    write("destroy");
    return true;
}

TempFolder::TempFolder() {
    static int counter = 0;
    char base[MAX_PATH] = "";
    GetTempPathA(sizeof(base), base);
    // Wine reuses process ids from run to run, and the Open dialog remembers the folder it
    // was last in: the tick count keeps a folder's name from reviving an older one.
    path_ = std::string(base) + "kp_test_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(GetTickCount()) + "_" + std::to_string(++counter);
    CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    for (const std::string& file : files_) DeleteFileA(file.c_str());
    RemoveDirectoryA(path_.c_str());
}

std::string TempFolder::add_file(const char* name) {
    const std::string file = path_ + "\\" + name;
    const HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(handle, "x", 1, &written, nullptr);
        CloseHandle(handle);
    }
    files_.push_back(file);
    return file;
}

}  // namespace test
