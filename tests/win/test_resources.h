// Resource ids of the framework tests' own resources.
#pragma once

#define IDD_TEST_DIALOG 201
#define IDM_TEST_MENU 202
#define IDI_TEST_ICON 203

#define IDC_TEST_EDIT 1001

#define ID_FILE_SETTINGS 40003
#define ID_FILE_EXIT 40001
#define ID_CHECK_FILES 40002
