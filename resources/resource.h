#pragma once
// Resource ids of the Dorix program. Shared by the .rc script and the C++ code; the framework's
// standard ids come with it.
#include "framework/StandardIds.h"

#define IDS_MODE_QVGA_PORTRAIT        57346
#define IDS_MODE_QVGA_LANDSCAPE       57347
#define IDS_MODE_VGA_PORTRAIT         57350
#define IDS_MODE_VGA_LANDSCAPE        57351
#define IDS_PROFILE_BAD_ARGUMENTS     57358
#define IDS_PROFILE_UNKNOWN_COMMAND   57359
#define IDS_PROFILE_COMMAND_ERROR     57360
#define IDS_ZIP_CANNOT_OPEN           57361
#define IDS_ZIP_INVALID_FORMAT        57362
#define IDS_ZIP_UNSUPPORTED_METHOD    57363
#define IDS_PROFILE_NO_CONFIG         57364
#define IDS_ZIP_ENTRY_NOT_FOUND       57365
#define IDS_PROFILE_NO_SECTIONS       57366
#define IDS_CANNOT_REPLACE_FILE       57367
#define IDS_EXTRACT_FILE_EXISTS       57369
#define IDS_PROFILE_NO_VERSION        57370
#define IDS_PROFILE_INCOMPATIBLE      57371
#define IDS_INSTALLED                 57666
#define IDS_UNINSTALLED               57667
#define IDS_CONFIRM_UNINSTALL         57668
#define IDS_UNSUPPORTED_DEVICE        57669
#define IDS_THEME_NOT_FOUND           61210
#define IDS_THEME_CANNOT_INSTALL      61211
#define IDS_STATE_SETTINGS            61216
#define IDS_CONFIRM_RESET             61217
#define IDS_CONFIRM_VGA3              61219
#define IDS_CHOOSE_FONT               61220
#define IDS_EDIT_REGISTRY_ENTRY       61221
#define IDS_COMMAND_LINE_INCORRECT    61223
#define IDS_EDIT_FILE_ENTRY           61224
#define IDS_CHOOSE_FILE               61225
#define IDS_PROFILE                   61226
#define IDS_REGISTRY_DATA             61227
#define IDS_PROGRAM_SETTINGS          61228
// Errors of video modes and of per-mode registry entries.
#define IDS_INVALID_CLOCK_SETTINGS    61300
#define IDS_MODE_NOT_SUPPORTED        61301
#define IDS_CANNOT_READ_CALIBRATION   61302
#define IDS_CANNOT_ROTATE_CALIBRATION 61303
#define IDS_REG_TYPE_NOT_SUPPORTED    61304
#define IDS_REG_INVALID_KEY_NAME      61305
#define IDS_REG_INVALID_VALUE_NAME    61306
#define IDS_REG_CANNOT_READ           61307
#define IDS_REG_CANNOT_WRITE          61308
// The stub program's image, of resource type "EXE".
#define IDR_STUB_EXE                  166
// The main window, its mode buttons and the About box.
#define IDD_ABOUTBOX                  100
#define IDD_MAINVIEW                  109
#define IDR_MAINFRAME                 128
#define IDB_MODE_FIRST                167  // 167..174: the buttons' pictures in table order
#define IDC_QVGA_PORTRAIT             1027
#define IDC_VGA_PORTRAIT              1028
#define IDC_VGA_LANDSCAPE_RIGHT       1029
#define IDC_VGA_UPSIDEDOWN            1030
#define IDC_VGA_LANDSCAPE_LEFT        1031
#define IDC_QVGA_LANDSCAPE_RIGHT      1032
#define IDC_QVGA_UPSIDEDOWN           1033
#define IDC_QVGA_LANDSCAPE_LEFT       1034
#define IDC_ABOUT_ICON                1100
#define IDC_ABOUT_NAME                1101
#define IDC_ABOUT_VERSION             1102
