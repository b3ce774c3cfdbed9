// The settings dialog: choose the language of the next start.
#include <memory>
#include <string>

#include "kp_dialog.h"
#include "kp_file_chooser.h"
#include "kpstring.h"
#include "language_catalog.h"
#include "main_window.h"
#include "resource_ids.h"
#include "settings_tree.h"

namespace {

constexpr int language_name_size = 10240;
constexpr int extension_length = 4;  // ".ini"

}  // namespace

void MainWindow::show_settings() {
    auto dialog = std::make_unique<KPDialog>(window());
    settings_dialog_ = dialog.get();
    dialog->run(MAKEINTRESOURCEA(IDD_SETTINGS));
    settings_dialog_ = nullptr;
}

void MainWindow::on_dialog_init(KPDialog* dialog, HWND dialog_handle) {
    if (dialog == nullptr || dialog != settings_dialog_) return;
    SetWindowTextA(dialog_handle, catalog_->lookup("settings.caption"));
    SetDlgItemTextA(dialog_handle, IDC_SETTINGS_GENERAL, catalog_->lookup("settings.general"));
    SetDlgItemTextA(dialog_handle, IDC_LANGUAGE_LABEL, catalog_->lookup("settings.language"));

    const std::string current = settings_->get_string("general.language");
    KPFileFinder finder;
    for (finder.find_first("languages/*.ini"); !finder.at_end(); finder.find_next()) {
        const kpstring file_name(finder.name());
        const kpstring language = file_name.substring(0, file_name.length() - 1 - extension_length);
        const LRESULT index = SendDlgItemMessageA(dialog_handle, IDC_LANGUAGE_LIST, CB_ADDSTRING, 0,
                                                  reinterpret_cast<LPARAM>(language.c_str()));
        if (current == language.c_str()) {
            SendDlgItemMessageA(dialog_handle, IDC_LANGUAGE_LIST, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
    }
}

void MainWindow::on_dialog_command(KPDialog* dialog, HWND dialog_handle, int control_id) {
    if (dialog == nullptr || dialog != settings_dialog_) return;
    if (control_id == IDOK) {
        std::string language(language_name_size, '\0');
        GetDlgItemTextA(dialog_handle, IDC_LANGUAGE_LIST, language.data(), language_name_size);
        settings_->set("general.language", language.c_str());
        // Stored now, so that a failure is told while the user is here.
        save_settings();
        EndDialog(dialog_handle, 0);
    } else if (control_id == IDCANCEL) {
        EndDialog(dialog_handle, 1);
    }
}
