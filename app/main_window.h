// MainWindow: Brindle's one top-level window. It loads the settings and the language,
// shows the menu and the log pane, and runs the check-files command and the settings dialog.
#pragma once

#include <memory>

#include <windows.h>

#include "kp_app.h"

class ConflictEditor;
class KPDialog;
class KPListBox;
class KPMenu;
class LanguageCatalog;
class SettingsTree;

class MainWindow : public KPApp {
public:
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow() override;

    void on_menu(int command_id) override;
    void on_dialog_init(KPDialog* dialog, HWND dialog_handle) override;
    void on_dialog_command(KPDialog* dialog, HWND dialog_handle, int control_id) override;
    void init() override;

    // Appends one line to the log pane; a pane of more than 400 lines is emptied first.
    void log(const char* text);
    LanguageCatalog* catalog() const { return catalog_.get(); }
    // The catalog's text for `key`, or `fallback` when the language file lacks it (for
    // texts added after the first language files were written).
    const char* text_or(const char* key, const char* fallback) const;

    // "Check files": choose files, check each, let the user mend each conflict.
    void check_files();
    // "Settings": the language dialog.
    void show_settings();

private:
    // Saves the settings; the first failure of a run is told to the user, once, so that a
    // read-only install does not ask at every step.
    void save_settings();

    std::unique_ptr<LanguageCatalog> catalog_;
    std::unique_ptr<SettingsTree> settings_;
    std::unique_ptr<KPMenu> menu_;
    KPDialog* settings_dialog_ = nullptr;
    KPListBox* log_pane_ = nullptr;
    bool settings_failure_shown_ = false;
};

// Set by the program's start as soon as the main window exists.
extern MainWindow* the_main_window;
// The one conflict editor, created by the main window's initialisation.
extern ConflictEditor* the_conflict_editor;
