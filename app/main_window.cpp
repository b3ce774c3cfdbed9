#include "main_window.h"

#include <string>

#include "conflict_editor.h"
#include "kp_controls.h"
#include "kp_dialog.h"
#include "language_catalog.h"
#include "resource_ids.h"
#include "settings_tree.h"

MainWindow* the_main_window = nullptr;
ConflictEditor* the_conflict_editor = nullptr;

namespace {

constexpr int max_log_lines = 400;
// The status with which a start that finds no language file ends.
constexpr UINT no_language_exit_code = 1;

// Loads the RichEdit library from the system folder only, never from the working folder,
// where a planted copy would run inside Brindle.
void load_rich_edit_library() {
    char system_dir[MAX_PATH];
    const UINT length = GetSystemDirectoryA(system_dir, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const std::string path = std::string(system_dir) + "\\RICHED32.DLL";
    LoadLibraryA(path.c_str());
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance) : KPApp(instance) {}

MainWindow::~MainWindow() {
    menu_.reset();
    if (settings_) save_settings();
    settings_.reset();
    catalog_.reset();
    delete the_conflict_editor;
    the_conflict_editor = nullptr;
}

void MainWindow::init() {
    load_rich_edit_library();
    window()->resize(410, 272);
    window()->set_caption("Brindle v1.0");
    window()->set_icon(IDI_BRINDLE);

    menu_ = std::make_unique<KPMenu>(window());
    menu_->load(MAKEINTRESOURCEA(IDM_MAIN_MENU));

    settings_ = std::make_unique<SettingsTree>("settings.ini");
    if (!settings_->is_loaded()) {
        settings_->set("general.language", "English");
        save_settings();
    }

    catalog_ = std::make_unique<LanguageCatalog>();
    const std::string language = settings_->get_string("general.language");
    if (!catalog_->load(language.c_str())) {
        if (!catalog_->load("English")) {
            MessageBoxA(nullptr, "Error while trying to load the language file!", "Error", MB_OK);
            ExitProcess(no_language_exit_code);
        }
        settings_->set("general.language", "English");
    }

    new KPGroupBox(window(), 5, 10, 390, 205, catalog_->lookup("controls.program_log"));
    log_pane_ = new KPListBox(window(), 15, 30, 370, 180, 0);

    menu_->set_top_text(0, catalog_->lookup("menu.file"));
    menu_->set_item_text(IDM_FILE_SETTINGS, catalog_->lookup("menu.file_settings"));
    menu_->set_item_text(IDM_FILE_EXIT, catalog_->lookup("menu.file_exit"));
    menu_->set_top_text(1, catalog_->lookup("menu.check_files"));

    the_conflict_editor = new ConflictEditor();
    settings_dialog_ = nullptr;

    log(catalog_->lookup("general.initialized"));
    log(catalog_->lookup("general.usage"));
}

void MainWindow::on_menu(int command_id) {
    switch (command_id) {
        case IDM_FILE_EXIT: window()->close(true); break;
        case IDM_CHECK_FILES: check_files(); break;
        case IDM_FILE_SETTINGS: show_settings(); break;
        default: break;
    }
}

void MainWindow::log(const char* text) {
    if (log_pane_->count() > max_log_lines) log_pane_->reset();
    log_pane_->add_string(text);
    log_pane_->set_selection(log_pane_->count() - 1);
    log_pane_->set_selection(-1);
}

void MainWindow::save_settings() {
    if (settings_->save() || settings_failure_shown_) return;
    settings_failure_shown_ = true;
    // At the end of a run the window is already gone.
    HWND owner = IsWindow(window()->handle()) ? window()->handle() : nullptr;
    MessageBoxA(owner,
                text_or("general.settings_save_failed",
                        "Brindle could not save its settings to settings.ini. The file or its folder may be read-only."),
                "Error", MB_OK | MB_ICONERROR);
}

const char* MainWindow::text_or(const char* key, const char* fallback) const {
    const char* text = catalog_ ? catalog_->lookup(key) : "";
    return text[0] != '\0' ? text : fallback;
}
