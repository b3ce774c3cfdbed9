#include "conflict_editor.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include <richedit.h>

#include "checker.h"
#include "file_replace.h"
#include "kp_dialog.h"
#include "kp_window.h"
#include "language_catalog.h"
#include "main_window.h"
#include "resource_ids.h"
#include "source_file.h"

namespace {

// The editor must hold any file, whatever RichEdit's small default limit.
constexpr LPARAM text_limit = 0x7FFFFFFE;

HFONT make_font(const char* face, int weight) {
    return CreateFontA(12, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, 0, face);
}

// The whole file as zero-terminated text; empty when it cannot be read.
std::vector<char> read_whole_file(const char* path) {
    SourceFile file;
    if (!file.open(path, SourceFile::ReadMode)) return std::vector<char>(1, '\0');
    const std::int32_t size = file.size();
    if (size < 0) return std::vector<char>(1, '\0');
    std::vector<char> text(static_cast<std::size_t>(size) + 1, '\0');
    file.read(text.data(), size);
    return text;
}

// Wine's RichEdit lays a text out only once it holds all of it; with a large file that
// layout leaves Wine's heap a free block beside many a line, too small for what it asks for
// next, and each later allocation walks them all: minutes for a few MB. In pieces, each piece
// fills the blocks the last one left, and the time grows with the size only. A piece ends
// after a line feed, since a CR LF split in two shows as two line breaks. Unlike WM_SETTEXT,
// EM_REPLACESEL never reads a text that begins with "{\rtf" as rich text.
constexpr std::size_t text_piece_bytes = 32 * 1024;

// Puts `text` into the empty editor, leaving the caret at its end.
void put_text(HWND editor, std::string_view text) {
    std::string piece;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t line_feed = text.find('\n', std::min(start + text_piece_bytes, text.size()));
        const std::size_t end = line_feed == std::string_view::npos ? text.size() : line_feed + 1;
        piece.assign(text.substr(start, end - start));
        SendMessageA(editor, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
        start = end;
    }
}

}  // namespace

ConflictEditor::ConflictEditor()
    : dialog_(std::make_unique<KPDialog>(the_main_window->window())),
      reason_font_(make_font("MS Sans Serif", FW_BOLD)),
      text_font_(make_font("Courier", 0)) {
    the_main_window->window()->add_handler(this);
}

ConflictEditor::~ConflictEditor() {
    dialog_.reset();
    the_main_window->window()->remove_handler(this);
    DeleteObject(reason_font_);
    DeleteObject(text_font_);
}

INT_PTR ConflictEditor::edit(const char* path, const Conflict& conflict) {
    path_ = path;
    conflict_ = &conflict;
    const INT_PTR result = dialog_->run(MAKEINTRESOURCEA(IDD_CONFLICT_EDITOR));
    conflict_ = nullptr;
    return result;
}

void ConflictEditor::on_dialog_init(KPDialog* dialog, HWND dialog_handle) {
    if (dialog != dialog_.get() || conflict_ == nullptr) return;
    const LanguageCatalog& catalog = *the_main_window->catalog();
    SetDlgItemTextA(dialog_handle, IDC_CONFLICT_REASON, conflict_->reason.c_str());

    const std::vector<char> text = read_whole_file(path_.c_str());
    const std::string_view shown_text(text.data());
    text_cut_at_zero_ = shown_text.size() + 1 < text.size();
    HWND editor = GetDlgItem(dialog_handle, IDC_CONFLICT_TEXT);
    // The font first: set after the text, it would lay out a large file all over again.
    SendMessageA(editor, WM_SETFONT, reinterpret_cast<WPARAM>(text_font_), FALSE);
    SendMessageA(editor, EM_EXLIMITTEXT, 0, text_limit);
    put_text(editor, shown_text);

    SetFocus(editor);
    SendMessageA(editor, EM_SETSEL, static_cast<WPARAM>(conflict_->start),
                 static_cast<LPARAM>(conflict_->start + conflict_->length));
    scroll_pending_ = true;

    kpstring caption(32);
    ((caption += catalog.lookup("conflicteditor.caption")) += " - ") += path_.c_str();
    SetWindowTextA(dialog_handle, caption.c_str());
    SetDlgItemTextA(dialog_handle, IDC_CONFLICT_DESCRIPTION, catalog.lookup("conflicteditor.description"));
    SetDlgItemTextA(dialog_handle, IDOK, catalog.lookup("conflicteditor.save"));
    SetDlgItemTextA(dialog_handle, IDCANCEL, catalog.lookup("conflicteditor.cancel"));

    SendDlgItemMessageA(dialog_handle, IDC_CONFLICT_REASON, WM_SETFONT, reinterpret_cast<WPARAM>(reason_font_), FALSE);
}

void ConflictEditor::on_dialog_paint(KPDialog* dialog, HWND dialog_handle, HDC) {
    if (dialog != dialog_.get() || !scroll_pending_) return;
    SendDlgItemMessageA(dialog_handle, IDC_CONFLICT_TEXT, EM_SCROLLCARET, 0, 0);
    scroll_pending_ = false;
}

void ConflictEditor::on_dialog_command(KPDialog* dialog, HWND dialog_handle, int control_id) {
    if (dialog != dialog_.get()) return;
    if (control_id == IDOK) {
        if (save(dialog_handle)) EndDialog(dialog_handle, 1);
    } else if (control_id == IDCANCEL) {
        EndDialog(dialog_handle, 0);
    }
}

bool ConflictEditor::save(HWND dialog_handle) {
    if (text_cut_at_zero_) {
        const int answer = MessageBoxA(
            dialog_handle,
            the_main_window->text_or("conflicteditor.zero_byte_warning",
                                     "This file holds a zero byte. The editor shows only the text before it, "
                                     "so saving would lose every byte from the zero byte on. Save anyway?"),
            "Warning", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
        if (answer != IDYES) return false;
    }

    HWND editor = GetDlgItem(dialog_handle, IDC_CONFLICT_TEXT);
    const LRESULT length = SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0);
    std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
    TEXTRANGEA range{};
    range.chrg.cpMin = 0;
    range.chrg.cpMax = -1;
    range.lpstrText = text.data();
    SendMessageA(editor, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));

    std::string reason;
    if (replace_file(path_.c_str(), text.data(), static_cast<std::int32_t>(length), reason)) {
        text_cut_at_zero_ = false;
        return true;
    }
    kpstring message(the_main_window->text_or("conflicteditor.save_failed",
                                              "The file could not be saved. Your changes are still in the editor."));
    ((message += "\n\n") += path_.c_str()) += "\n";
    message += reason.c_str();
    MessageBoxA(dialog_handle, message.c_str(), "Error", MB_OK | MB_ICONERROR);
    return false;
}
