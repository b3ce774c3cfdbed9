// Driving the real Brindle.exe from a second process, as a user would: start it in a working
// folder, find its windows, read its controls, press its buttons. Every wait is bounded.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

namespace e2e {

// Under qemu-user a Wine start takes seconds and every message round trip is slow:
// generous bounds, but bounds.
constexpr DWORD start_wait_ms = 120000;
constexpr DWORD wait_ms = 60000;

// A Linux absolute path as Wine sees it (drive Z: is /); a Windows path stays as it is.
std::string windows_path(const std::string& path);

// Polls `done` until it holds or `ms` have passed; true when it held.
bool wait_until(const std::function<bool()>& done, DWORD ms = wait_ms);

std::string class_of(HWND window);
// WM_GETTEXT, bounded; empty when the window does not answer.
std::string text_of(HWND window);
// SendMessageTimeoutA; false when the window did not answer in time.
bool send(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result = nullptr);
// Clicks a button of a dialog or message box. Posted: the click may open a modal loop.
void press(HWND dialog, int button_id);
// The message of a message box.
std::string box_text(HWND box);
// The items of a list box, or of a combo box's list.
std::vector<std::string> list_items(HWND control, bool combo);

// What the conflict editor shows.
struct EditorView {
    std::string caption;
    std::string reason;
    DWORD selection_start = 0;
    DWORD selection_end = 0;
    LRESULT text_length = 0;
    HWND focus_owner = nullptr;
};

// Reads the conflict editor `dialog`; the text length is that of the RichEdit control.
::testing::AssertionResult read_editor(HWND dialog, EditorView* view);
// The RichEdit control's whole text (for small files).
std::string editor_text(HWND dialog);
// Replaces the editor's selection with `text`, as typing over it would.
::testing::AssertionResult replace_selection(HWND dialog, const std::string& text);

// One running Brindle.exe.
class Brindle {
public:
    // Starts Brindle.exe with `folder` as its working folder and waits for its main window.
    explicit Brindle(const std::string& folder);
    // Ends a process that is still running, so that no test leaves one behind.
    ~Brindle();
    Brindle(const Brindle&) = delete;
    Brindle& operator=(const Brindle&) = delete;

    bool running() const;
    // Null when it did not appear in time.
    HWND main_window() const { return main_; }
    // A visible top-level dialog-class window of the process with exactly this caption.
    HWND wait_for_dialog(const std::string& caption, DWORD ms = wait_ms) const;
    // The visible top-level windows of the process other than the main window.
    std::vector<HWND> other_windows() const;
    // True when only the main window is left, enabled, within the bound.
    bool wait_idle(DWORD ms = wait_ms) const;
    // Closes what a failed test left open, as a user would: Cancel, else No, else OK.
    // True when Brindle is idle again.
    bool dismiss_dialogs() const;
    // Posts a menu command to the main window.
    void menu(int command_id) const;
    // The log pane, the main window's one list box; null when there is none.
    HWND log_pane() const;
    // The lines of the log pane.
    std::vector<std::string> log() const;
    // Waits until the log holds more than `from` lines and its last line is `last`.
    ::testing::AssertionResult wait_for_log_end(std::size_t from, const std::string& last) const;
    // Chooses files through the real Open dialog: the file type, the folder, then the names.
    ::testing::AssertionResult choose_files(int filter_index, const std::string& folder,
                                            const std::vector<std::string>& names) const;
    // Chooses "Exit" and answers "Yes"; true when the process then ended with status 0.
    ::testing::AssertionResult quit();
    // Waits for the process to end and gives its exit status.
    bool wait_for_exit(DWORD ms, DWORD* exit_code) const;
    // Ends the process at once.
    void kill();

private:
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
};

}  // namespace e2e
