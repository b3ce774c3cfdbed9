// ConflictEditor: the modal dialog that shows a file's first conflict selected in the
// whole file text, lets the user mend it and saves the text back ("Save and recheck").
#pragma once

#include <memory>

#include <windows.h>

#include "kp_handler.h"
#include "kpstring.h"

struct Conflict;
class KPDialog;

class ConflictEditor final : public KPHandler {
public:
    // Binds to the main window, whose dialogs it hears.
    ConflictEditor();
    ~ConflictEditor();
    ConflictEditor(const ConflictEditor&) = delete;
    ConflictEditor& operator=(const ConflictEditor&) = delete;

    // Shows `conflict` of the file at `path`: 1 after "Save and recheck" (or a close),
    // 0 after "Cancel", -1 when the dialog could not be shown.
    INT_PTR edit(const char* path, const Conflict& conflict);

    void on_dialog_init(KPDialog* dialog, HWND dialog_handle) override;
    void on_dialog_paint(KPDialog* dialog, HWND dialog_handle, HDC dc) override;
    void on_dialog_command(KPDialog* dialog, HWND dialog_handle, int control_id) override;

private:
    // Writes the editor's text over the file; false (the user told why) keeps the dialog open.
    bool save(HWND dialog_handle);

    std::unique_ptr<KPDialog> dialog_;
    const Conflict* conflict_ = nullptr;
    kpstring path_{32};
    bool scroll_pending_ = true;
    HFONT reason_font_;
    HFONT text_font_;
    // The file held a zero byte: the editor shows only the text before it.
    bool text_cut_at_zero_ = false;
};
