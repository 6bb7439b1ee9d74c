#pragma once

// Resource identifiers: the ids the dialog templates use, one block per template, and with them those only
// the code uses (the contact pictures the about dialog paints, the system-menu command, the string and the
// icon). The resource scripts, the generated bitmaps.rc too, and the code name every resource by these names,
// never by its number, so that renumbering one here renumbers it everywhere.

// About picture (template 100): no controls; the maker's contact picture is painted from a bitmap.
#define IDD_ABOUT 100
#define IDB_CONTACT_POLISH 148
#define IDB_CONTACT_CZECH 149

// String table and icon, used by the main window.
#define IDS_ABOUT_MENU_ITEM 101  // "&Zot ...": the system-menu item of the main window
#define IDR_MAINFRAME 128        // application icon

// Main window (template 102).
#define IDD_CATALOG 102
#define IDB_BACKGROUND_MAIN 132
#define IDC_RUN 1011
#define IDC_HELP_BUTTON 1012
#define IDC_COPY 1013
#define IDC_LANGUAGE 1016
#define IDC_INSTALL 1017
#define IDC_ZOT 1018
#define IDC_LIST 1021
#define IDC_DESCRIPTION 1022
#define IDC_CATEGORY_TITLE 1027
#define IDM_ABOUT 16  // system-menu command that shows the maker's picture

// Language chooser (template 130).
#define IDD_LANGUAGE 130
#define IDB_BACKGROUND_LANGUAGE 131
#define IDC_POLISH 1014
#define IDC_CZECH 1015

// Copy destination (template 133).
#define IDD_COPY_TARGET 133
#define IDC_DESTINATION 1023
#define IDC_BROWSE 1024
#define IDB_BACKGROUND_COPY 150

// Exit confirmation (template 138).
#define IDD_EXIT_CONFIRM 138
#define IDB_BACKGROUND_EXIT 139
#define IDC_QUESTION 1035

// Folder browser (template 141); shares background 150 with the copy destination dialog.
#define IDD_FOLDER_BROWSE 141
#define IDC_FOLDER_LIST 1028
#define IDC_FOLDER_PATH 1034
