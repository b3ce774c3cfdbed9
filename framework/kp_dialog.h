// KPDialog: runs a modal dialog from a resource template and hands its messages to the
// handlers of the owner window, which tell their dialogs apart by the KPDialog pointer.
#pragma once

#include <windows.h>

class KPWindow;

class KPDialog {
public:
    // `owner` must be a created window; it stays disabled while the dialog runs.
    explicit KPDialog(KPWindow* owner);
    ~KPDialog();
    KPDialog(const KPDialog&) = delete;
    KPDialog& operator=(const KPDialog&) = delete;

    // Returns the value given to EndDialog, or -1 when the dialog could not be created.
    INT_PTR run(const char* template_name);

    KPWindow* owner() const { return owner_; }
    // The running dialog's window; after run it still names the destroyed one.
    HWND handle() const { return handle_; }
    const char* template_name() const { return template_name_; }
    // The dialog whose window is being created: the one most recently constructed or run.
    static KPDialog* opening() { return opening_; }

private:
    static INT_PTR CALLBACK dialog_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    void dispatch(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

    static KPDialog* opening_;

    KPWindow* owner_;
    HWND handle_ = nullptr;
    const char* template_name_ = nullptr;
};
