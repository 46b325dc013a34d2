#pragma once
// The framework's standard ids: texts and commands the framework itself uses. A program's
// resource header includes this one and gives each id its resource.

// Texts.
#define IDS_APP_TITLE                 57344  // the application's title
#define IDS_FILE_ERROR                61400  // a file that could not be opened, read or written
#define IDS_RESOURCE_ERROR            61401
#define IDS_UNKNOWN_ERROR             61402
#define IDS_PARSE_INT                 61403  // data exchange: not a whole number
#define IDS_PARSE_INT_RANGE           61404  // data exchange: a number out of its range
#define IDS_PARSE_STRING_SIZE         61405  // data exchange: a text too long
// Commands.
#define ID_APP_ABOUT                  57664
#define ID_APP_EXIT                   57665
// Child window ids.
#define ID_COMMAND_BAR                0xE800
#define ID_VIEW_PANE                  0xE900
