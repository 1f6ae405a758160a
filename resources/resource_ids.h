#pragma once
// Ids of the library's resources, shared by the code and torvane.rc.

// String table.
#define IDS_ABOUT_TEXT 1              // the About box text
#define IDS_ERROR_CAPTION 2           // default message box caption
#define IDS_PROFILE_SECTION 3         // section of the profile file
#define IDS_ABOUT_CAPTION 4           // the About box caption
#define IDS_FILTER_ALL_FILES 5        // all-files filter when a script gives none
#define IDS_FILTER_ALL_FILES_ADDED 6  // all-files filter appended to a script's filter
#define IDS_FORM_DEFINING_ONLY 1025   // form is running: definitions refused
#define IDS_FORM_NOT_RUNNING 1026     // form has no window
#define IDS_ERR_INTERNAL 61704
#define IDS_ERR_NO_MEMORY 61706
#define IDS_ERR_READONLY 61837

// Dialog templates.
#define IDD_FORM 2003
#define IDC_FORM_ROW_GAUGE 2002
#define IDD_OUTPUT_WINDOW 3000
#define IDC_OUTPUT_TEXT 3001
