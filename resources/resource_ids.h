// Ids of the program's resources and of the controls in its dialog templates; shared by
// the resource script and the code.
#pragma once

#define IDM_MAIN_MENU 102
#define IDD_SETTINGS 103
#define IDD_CONFLICT_EDITOR 104
#define IDI_BRINDLE 105

#define IDM_FILE_EXIT 40001
#define IDM_CHECK_FILES 40002
#define IDM_FILE_SETTINGS 40003

#define IDC_LANGUAGE_LIST 1000
#define IDC_SETTINGS_GENERAL 1001
#define IDC_LANGUAGE_LABEL 1002
#define IDC_CONFLICT_REASON 1004
#define IDC_CONFLICT_DESCRIPTION 1005
#define IDC_CONFLICT_TEXT 1006
