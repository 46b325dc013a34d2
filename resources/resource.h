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
// The settings sheets: the command bar's buttons, the Tools menu's commands, the pages and
// their controls. Control ids repeat from page to page.
#define IDR_SHEET_TOOLBAR             130
#define ID_SHEET_OK                   32790
#define ID_SHEET_CANCEL               32791
#define ID_STATE_SETTINGS             32844
#define ID_MODE_VGA_PORTRAIT          32851
#define ID_MODE_QVGA_PORTRAIT         32852
#define ID_MODE_QVGA_LANDSCAPE        32854
#define ID_MODE_VGA_LANDSCAPE         32857
#define ID_PROGRAM_SETTINGS           32860
#define IDS_ORIENTATION_FIRST         57352  // 57352..57355: "Standard" ... "Left-handed"
#define IDS_CLOCK_WARNING             61218
#define IDD_SCROLLBARS                163
#define IDD_FONTS                     164
#define IDD_CHOOSE_FONT               165
#define IDD_CLOCK                     167
#define IDD_STATE_OPTIONS             169
#define IDD_CONFIRMATIONS             174
// "Scrollbars"
#define IDC_VSCROLL_WIDTH             1073
#define IDC_VSCROLL_HEIGHT            1075
#define IDC_HSCROLL_HEIGHT            1077
#define IDC_HSCROLL_WIDTH             1079
#define IDC_VSCROLL_WIDTH_SPIN        1088
#define IDC_VSCROLL_HEIGHT_SPIN       1089
#define IDC_HSCROLL_HEIGHT_SPIN       1090
#define IDC_HSCROLL_WIDTH_SPIN        1091
// "Fonts"
#define IDC_BAR_FONT_CHANGE           1069
#define IDC_POP_FONT_CHANGE           1070
#define IDC_BAR_FONT_PREVIEW          1075
#define IDC_POP_FONT_PREVIEW          1076
// "Font" (the font chooser)
#define IDC_FONT_FACE                 1000
#define IDC_FONT_SIZE                 1001
#define IDC_FONT_STYLE_LABEL          1002
#define IDC_FONT_BOLD                 1003
#define IDC_FONT_ITALIC               1004
#define IDC_FONT_UNDERLINE            1005
#define IDC_FONT_PREVIEW_LABEL        1006
#define IDC_FONT_PREVIEW              1007
#define IDC_FONT_CLEARTYPE            1008
// "GPU-Clock": the first mode's values, then the second's (orientation + 2)
#define IDC_CLOCK_FIRST               1092
#define IDC_CLOCK_SECOND              1093
#define IDC_DIVIDER_FIRST             1094
#define IDC_DIVIDER_SECOND            1095
#define IDC_CLOCK_GROUP_FIRST         1096
#define IDC_CLOCK_GROUP_SECOND        1097
#define IDC_CLOCK_FIRST_SPIN          1103
#define IDC_DIVIDER_FIRST_SPIN        1104
#define IDC_CLOCK_SECOND_SPIN         1105
#define IDC_DIVIDER_SECOND_SPIN       1106
// "Options" of the state settings
#define IDC_SWITCH_TODAY_THEME        1102
#define IDC_SWITCH_CALIBRATION        1103
// "Confirmations"
#define IDC_CONFIRM_RESET             1126
#define IDC_CONFIRM_VGA3              1127
#define IDC_CONFIRM_CLOCK             1128
// The state settings: profiles, registry entries and files with their entry sheets, the
// "Registry data" sheet, the profile information and the file chooser.
#define IDS_REG_VALUE_TYPE            57670
#define IDS_REG_VALUE_NOT_FOUND       57671
#define IDS_COLUMN_FILENAME           61320
#define IDS_COLUMN_KEY                61321
#define IDS_COLUMN_VALUE              61322
#define IDS_COLUMN_PROFILE            61323
#define IDS_COLUMN_NAME               61324
#define IDS_COLUMN_SIZE               61325
#define IDS_COLUMN_DATE               61326
#define IDS_PROFILE_AUTHOR            61327
#define IDS_PROFILE_HOMEPAGE          61328
#define IDS_PROFILE_EMAIL             61329
#define IDS_REG_DATA_NOT_NUMBER       61330
#define IDS_REG_KEY_HAS_COMMA         61331
#define IDD_FILES                     161
#define IDD_REGISTRY                  162
#define IDD_REGISTRY_ENTRY            166
#define IDD_FILE_ENTRY                168
#define IDD_SELECT_FILE               170
#define IDD_PROFILES                  171
#define IDD_PROFILE_INFO              172
#define IDD_REGISTRY_VALUES           173
#define IDB_SORT_ARROWS               175
// "Files"
#define IDC_FILE_LIST                 1107
#define IDC_FILE_ADD                  1108
#define IDC_FILE_EDIT                 1109
#define IDC_FILE_DELETE               1110
// "Registry"
#define IDC_REGISTRY_LIST             1111
#define IDC_REGISTRY_ADD              1112
#define IDC_REGISTRY_EDIT             1113
#define IDC_REGISTRY_DELETE           1114
// "File Entry"
#define IDC_FILE_ENTRY_PATH           1098
#define IDC_FILE_ENTRY_BROWSE         1115
// "Registry's Entry"
#define IDC_REGISTRY_ENTRY_VALUE      1069
#define IDC_REGISTRY_ENTRY_KEY        1084
#define IDC_REGISTRY_ENTRY_DATA       1122
// "Stored Data": one box per resolution class, in the order QVGA portrait, QVGA landscape, VGA
// portrait, VGA landscape
#define IDC_STORED_DATA_FIRST         1121
#define IDC_STORED_DATA_LABEL         1125
// "Profiles"
#define IDC_PROFILE_INFO              1117
#define IDC_PROFILE_LIST              1118
// "Profile"
#define IDC_PROFILE_INFO_TEXT         1119
#define IDC_PROFILE_INFO_LABEL        1120
// "Select File"
#define IDC_SELECT_FILE_TREE          1101
#define IDC_SELECT_FILE_LIST          1103
#define IDC_SELECT_FILE_PATH          1116
// "Keep this video mode?" after a switch, and its switch on the "Confirmations" page.
#define IDD_KEEP_MODE                 190
#define IDC_CONFIRM_KEEP_MODE         1129
#define IDC_KEEP_MODE_NAME            1140
#define IDC_KEEP_MODE_QUESTION        1141
#define IDC_KEEP_MODE_SECONDS         1142
#define IDS_KEEP_MODE_NAME            61420
#define IDS_KEEP_MODE_SECONDS         61421
#define IDS_KEEP_MODE_BAD_RECORD      61422
// A program run in a video mode of its own: the "New shortcut" sheet (Tools menu), its page
// and the messages of the run.
#define ID_NEW_SHORTCUT               32870
#define ID_PREVIEW_SWITCH             32871
#define IDD_PREVIEW_MODE              194
#define IDC_PREVIEW_MODE              1170
#define IDD_RUN_SHORTCUT              191
#define IDC_RUN_MODE                  1150
#define IDC_RUN_PROGRAM               1151
#define IDC_RUN_BROWSE                1152
#define IDC_RUN_ARGUMENTS             1153
#define IDC_RUN_RETURN                1154
#define IDC_RUN_YES                   1155
#define IDC_RUN_NAME                  1156
#define IDS_NEW_SHORTCUT              61430
#define IDS_RUN_SHORTCUT_NAME         61431
#define IDS_RUN_SHORTCUT_NO_PROGRAM   61432
#define IDS_RUN_SHORTCUT_BAD_NAME     61433
#define IDS_RUN_SHORTCUT_EXISTS       61434
#define IDS_RUN_CANNOT_START          61435
#define IDS_RUN_BAD_RECORD            61436
#define IDS_RESET_REFUSED             61437
// The profile checker: its report, the window that lists a report, and the check of the
// "Profiles" page.
#define IDD_REPORT                    192
#define IDC_REPORT_LIST               1160
#define IDC_PROFILE_CHECK             1161
#define IDS_CHECK_TITLE               61440
#define IDS_CHECK_REPORT_PROFILE      61441
#define IDS_CHECK_NONE                61442
#define IDS_CHECK_COUNT               61443
#define IDS_CHECK_LINE                61444
#define IDS_CHECK_SECTION             61445
#define IDS_CHECK_NO_PROFILE          61446
#define IDS_CHECK_NOT_TEXT            61447
#define IDS_CHECK_NO_SECTION          61448
#define IDS_CHECK_UNUSED_SECTION      61449
#define IDS_CHECK_REPEATED_SECTION    61450
#define IDS_CHECK_KEY_BELOW           61451
#define IDS_CHECK_AFTER_GAP           61452
#define IDS_CHECK_UNKNOWN_NAME        61453
#define IDS_CHECK_NOT_A_NUMBER        61454
#define IDS_CHECK_NO_SOURCE           61455
#define IDS_CHECK_NO_ENTRY            61456
// The preview of a switch: its report's lines and the Tools menu's page.
#define IDS_PREVIEW_REGISTRY          61460
#define IDS_PREVIEW_DEFAULT_VALUE     61461
#define IDS_PREVIEW_NO_VALUE          61462
#define IDS_PREVIEW_REFUSED           61463
#define IDS_PREVIEW_FILE              61464
#define IDS_PREVIEW_NO_VERSION        61465
#define IDS_PREVIEW_DRIVER_TABLE      61466
#define IDS_PREVIEW_PROFILE           61467
#define IDS_PREVIEW_MESSAGE           61468
#define IDS_PREVIEW_WARNING           61469
#define IDS_PREVIEW_THEME             61470
#define IDS_PREVIEW_DELETE_FILE       61471
#define IDS_PREVIEW_FAILS             61472
#define IDS_PREVIEW_TITLE             61473
#define IDS_PREVIEW_SUMMARY           61474
#define IDS_PREVIEW_STEP_FILES        61475
#define IDS_PREVIEW_STEP_REGISTRY     61476
#define IDS_PREVIEW_STEP_PROFILES     61477
#define IDS_PREVIEW_STEP_THEME        61478
#define IDS_PREVIEW_STEP_METRICS      61479
#define IDS_PREVIEW_STEP_DRIVER       61480
#define IDS_PREVIEW_SAME_MODE         61481
#define IDS_PREVIEW_NOTHING           61482
#define IDS_PREVIEW_CAPTION           61483
#define IDS_PREVIEW_REPORT            61485
