#include "kp_dialog.h"

#include <commctrl.h>

#include "kp_handler.h"
#include "kp_window.h"

namespace {

// The window property that binds a dialog window to its KPDialog.
const char self_property[] = "Self";

// Calls `call` on each handler of `owner` in registration order, reading the count afresh each step.
template <typename Call>
void each_handler(KPWindow* owner, Call call) {
    for (int i = 0; i < owner->handler_count(); ++i) call(owner->handler(i));
}

}  // namespace

KPDialog* KPDialog::opening_ = nullptr;

KPDialog::KPDialog(KPWindow* owner) : owner_(owner) { opening_ = this; }

// A deleted dialog must not be bound to a later dialog window.
KPDialog::~KPDialog() {
    if (opening_ == this) opening_ = nullptr;
}

INT_PTR KPDialog::run(const char* template_name) {
    template_name_ = template_name;
    opening_ = this;
    handle_ = nullptr;
    return DialogBoxParamA(owner_->instance(), template_name, owner_->handle(), dialog_proc, 0);
}

INT_PTR CALLBACK KPDialog::dialog_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* dialog = static_cast<KPDialog*>(GetPropA(hwnd, self_property));
    if (!dialog) {
        // The first message of a new dialog window, which comes before WM_INITDIALOG.
        dialog = opening_;
        if (!dialog) return FALSE;
        SetPropA(hwnd, self_property, dialog);
    }
    dialog->handle_ = hwnd;
    dialog->dispatch(hwnd, message, wparam, lparam);
    // FALSE throughout: the system's own dialog processing runs for every message too,
    // and WM_INITDIALOG sets no default focus.
    return FALSE;
}

void KPDialog::dispatch(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG:
        each_handler(owner_, [&](KPHandler* h) { h->on_dialog_init(this, hwnd); });
        break;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(hwnd, &paint);
        each_handler(owner_, [&](KPHandler* h) { h->on_dialog_paint(this, hwnd, dc); });
        EndPaint(hwnd, &paint);
        break;
    }
    case WM_COMMAND:
        each_handler(owner_, [&](KPHandler* h) { h->on_dialog_command(this, hwnd, LOWORD(wparam)); });
        break;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lparam)->code == static_cast<UINT>(NM_DBLCLK)) {
            each_handler(owner_, [&](KPHandler* h) { h->on_dialog_double_click(this, hwnd, LOWORD(wparam)); });
        }
        break;
    case WM_CLOSE:
        RemovePropA(hwnd, self_property);
        EndDialog(hwnd, 1);
        break;
    case WM_QUIT:
        EndDialog(hwnd, 1);
        break;
    case WM_NCDESTROY:
        // However the dialog ended, its window leaves no property behind.
        RemovePropA(hwnd, self_property);
        break;
    default:
        break;
    }
}
