// Resource and control ids of Scenewright, grouped per window. Shared by the .rc script and the
// code; the portable core uses the control ids as the keys of its form interface.
#pragma once

// ---- Application -----------------------------------------------------------------------------
#define IDI_SCENEWRIGHT 128      // application icon
#define IDB_AIRPLANE_FIRST 132   // airplane pictures 132 to 136 of the main window
#define IDB_AIRPLANE_LAST 136
#define IDB_ABOUT 137            // about picture, 254 x 137, 8 bits per pixel
#define IDC_HAND_LINK 138        // pointing-hand cursor of the link control

// ---- Strings ---------------------------------------------------------------------------------
#define IDS_ABOUT_MENU 101             // "&About Scenewright..."
#define IDS_LATITUDE_UNREADABLE 102
#define IDS_LONGITUDE_UNREADABLE 103
#define IDS_OBJECT_ADDED 104
#define IDS_OBJECT_NOT_ADDED 105
#define IDS_PITCH_UNREADABLE 106
#define IDS_BANK_UNREADABLE 107
#define IDS_HEADING_UNREADABLE 108
#define IDS_ALTITUDE_UNREADABLE 109
#define IDS_CAPTION 110                // "Scenewright"
#define IDS_QUIT_UNSAVED 111           // "Quit without saving file?"
#define IDS_OPTIONS_MENU 112           // "Scenewright &Options..."
#define IDS_FILE_NAME_REQUIRED 113     // "A file name must be specified."

// ---- Strings of the placements window and of opening a placement file ---------------------------
#define IDS_PLACEMENTS_MENU 150        // "&Placements...\tCtrl+L"
#define IDS_NOT_PLACEMENT_FILE 151
#define IDS_NOT_PLACEMENT_LINE 152
#define IDS_PLACEMENT_FILE_TOO_LARGE 153
#define IDS_CANNOT_READ_FILE 154
#define IDS_OPEN_UNSAVED 155
#define IDS_PLACEMENT_FILE_FILTER 156
#define IDS_COLUMN_NUMBER 160          // the list's column headings, 160 to 167 in column order
#define IDS_COLUMN_TYPE 161
#define IDS_COLUMN_NAME 162
#define IDS_COLUMN_LATITUDE 163
#define IDS_COLUMN_LONGITUDE 164
#define IDS_COLUMN_ALTITUDE 165
#define IDS_COLUMN_HEADING 166
#define IDS_COLUMN_DENSITY 167

// ---- Strings of writing the placement file -------------------------------------------------------
#define IDS_FILE_CHANGED_ON_DISK 170
#define IDS_OPEN_CHANGED 171

// ---- Strings of the simulator's catalogues ------------------------------------------------------
#define IDS_RESCAN_MENU 180            // "&Rescan Simulator Files\tF5"

// ---- Strings of the find window ------------------------------------------------------------------
#define IDS_FIND_MENU 200              // "&Find Object...\tCtrl+F"
#define IDS_FIND_CUE 201
#define IDS_FIND_KIND_LIBRARY 202      // the kinds, in the order of the kind list
#define IDS_FIND_KIND_EFFECTS 203
#define IDS_FIND_COUNT_LIBRARY 204     // "%s of %s library objects"
#define IDS_FIND_COUNT_EFFECTS 205
#define IDS_FIND_COLUMN_NAME 210       // the library columns, 210 to 214 in column order
#define IDS_FIND_COLUMN_LIBRARY_FILE 211
#define IDS_FIND_COLUMN_RADIUS 212
#define IDS_FIND_COLUMN_SCALE 213
#define IDS_FIND_COLUMN_IDENTIFIER 214
#define IDS_FIND_COLUMN_DISPLAY_NAME 215  // the effect columns, 215 and 216
#define IDS_FIND_COLUMN_FILE 216

// ---- Strings of the Google Earth export and import --------------------------------------------
#define IDS_EXPORT_KML_MENU 230
#define IDS_IMPORT_KML_MENU 231
#define IDS_KML_EXPORT_FILTER 232
#define IDS_KML_IMPORT_FILTER 233
#define IDS_KML_LIBRARY_FILE 234
#define IDS_KML_NOTHING_TO_EXPORT 235
#define IDS_KML_EXPORTED 236
#define IDS_KML_EXPORTED_UNPLACED 237
#define IDS_KML_CANNOT_WRITE 238
#define IDS_KML_IMPORT_QUESTION 239
#define IDS_KML_IMPORTED 240
#define IDS_KML_NO_USABLE_POINT 241
#define IDS_KML_TOO_LARGE 242
#define IDS_KML_NOT_XML_AT_LINE 243
#define IDS_KML_NOT_XML 244
#define IDS_KML_NOT_MARKUP 245
#define IDS_KML_DOCUMENT_TYPE 246
#define IDS_KML_ENCODING 247
#define IDS_KMZ_DAMAGED 248
#define IDS_KMZ_NO_KML 249
#define IDS_KMZ_UNSUPPORTED 250
#define IDS_KMZ_TOO_LARGE 251
#define IDS_KML_READER_MISSING 252
#define IDS_KML_NOT_WELL_FORMED 253

// ---- System menu commands of the main window ---------------------------------------------------
#define IDM_ABOUTBOX 0x0010
#define IDM_OPTIONS 0x0020
#define IDM_PLACEMENTS 0x0030
#define IDM_FIND 0x0040
#define IDM_EXPORT_KML 0x0050
#define IDM_IMPORT_KML 0x0060
#define IDM_RESCAN 0x0070

// ---- About window (template 100) ---------------------------------------------------------------
#define IDD_ABOUT 100
#define IDC_ABOUT_PICTURE 1026
#define IDC_ABOUT_VERSION 1027

// ---- Main window (template 102) ----------------------------------------------------------------
#define IDD_MAIN 102
#define IDC_OUTPUT_FILE 1000
#define IDC_BROWSE_OUTPUT 1001
#define IDC_ALTITUDE_LABEL 1002
#define IDC_BROWSE_NAME 1003
#define IDC_LATITUDE 1004
#define IDC_LONGITUDE 1005
#define IDC_ALTITUDE 1006
#define IDC_HEADING 1007
#define IDC_PITCH 1008
#define IDC_DENSITY 1009
#define IDC_ADD 1010
#define IDC_NAME_LABEL 1011
#define IDC_SNAP_TO_GROUND 1012
#define IDC_PARAMETERS 1013
#define IDC_BANK 1014
#define IDC_CLEAR 1015
#define IDC_TYPE 1016
#define IDC_NAME 1017
#define IDC_VERSION 1018
#define IDC_PICTURE 1024
#define IDC_BUILD 1025

// ---- Simulator selection window (template 130) -------------------------------------------------
#define IDD_SELECT_SIM 130
#define IDC_SIM_LIST 1019

// ---- Object properties window (template 131) ---------------------------------------------------
#define IDD_OBJECT_PROPERTIES 131
#define IDC_PROP_NAME 1020
#define IDC_PROP_GUID 1021
#define IDC_PROP_SIZE 1022
#define IDC_PROP_SCALE 1023
#define IDC_PROP_LIBRARY 1024

// ---- Build results window (template 139) -------------------------------------------------------
#define IDD_BUILD_RESULTS 139
#define IDC_BUILD_OUTPUT 1028

// ---- Options window (template 140) -------------------------------------------------------------
#define IDD_OPTIONS 140
#define IDC_KEEP_ASSEMBLER 1029
#define IDC_VIEW_OUTPUT 1031

// ---- Placements window (template 150) ----------------------------------------------------------
#define IDD_PLACEMENTS 150
#define IDC_PLACEMENT_LIST 1040
#define IDC_REMOVE_PLACEMENTS 1041
#define IDC_OPEN_PLACEMENTS 1042

// ---- Find object window (template 160) ---------------------------------------------------------
#define IDD_FIND_OBJECT 160
#define IDC_FIND_TEXT 1050
#define IDC_FIND_KIND 1051
#define IDC_FIND_LIST 1052
#define IDC_FIND_COUNT 1053
