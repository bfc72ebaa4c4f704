// The texts of the string table, kept in one place: the resource script builds its STRINGTABLE
// from these, and the native build (which has no resources) reads the same texts.
#pragma once

#define IDS_ABOUT_MENU_TEXT "&About Scenewright..."
#define IDS_LATITUDE_UNREADABLE_TEXT \
    "The latitude value cannot be read. Format the latitude like the following examples: N 58* 35' 45 or S 13* 55' 21."
#define IDS_LONGITUDE_UNREADABLE_TEXT \
    "The longitude value cannot be read. Format the longitude like the following examples: W 123* 35' 09 or E 85* 41' 36."
#define IDS_OBJECT_ADDED_TEXT "The object was added successfully."
#define IDS_OBJECT_NOT_ADDED_TEXT "Unable to add object."
#define IDS_PITCH_UNREADABLE_TEXT \
    "The pitch value cannot be read. Enter the pitch as a value between 0 and 360."
#define IDS_BANK_UNREADABLE_TEXT \
    "The bank value cannot be read. Enter the bank as a value between 0 and 360."
#define IDS_HEADING_UNREADABLE_TEXT \
    "The heading value cannot be read. Enter the heading as a value between 0 and 360."
#define IDS_ALTITUDE_UNREADABLE_TEXT \
    "The altitude value cannot be read. Enter the altitude as a value between 0 and 100000."
#define IDS_CAPTION_TEXT "Scenewright"
#define IDS_QUIT_UNSAVED_TEXT "Quit without saving file?"
#define IDS_OPTIONS_MENU_TEXT "Scenewright &Options..."
#define IDS_FILE_NAME_REQUIRED_TEXT "A file name must be specified."
#define IDS_PLACEMENTS_MENU_TEXT "&Placements...\tCtrl+L"
#define IDS_NOT_PLACEMENT_FILE_TEXT "\"%s\" is not a placement file."
#define IDS_NOT_PLACEMENT_LINE_TEXT "Line %d of \"%s\" is not a placement line."
#define IDS_PLACEMENT_FILE_TOO_LARGE_TEXT "\"%s\" is too large for a placement file."
#define IDS_CANNOT_READ_FILE_TEXT "ERROR:%X Cannot read file \"%s\""
#define IDS_OPEN_UNSAVED_TEXT "%d placements have not been saved. Open \"%s\" anyway?"
#define IDS_PLACEMENT_FILE_FILTER_TEXT "Csv files (*.csv)|*.csv|All Files (*.*)|*.*||"
#define IDS_COLUMN_NUMBER_TEXT "#"
#define IDS_COLUMN_TYPE_TEXT "Type"
#define IDS_COLUMN_NAME_TEXT "Name"
#define IDS_COLUMN_LATITUDE_TEXT "Latitude"
#define IDS_COLUMN_LONGITUDE_TEXT "Longitude"
#define IDS_COLUMN_ALTITUDE_TEXT "Altitude"
#define IDS_COLUMN_HEADING_TEXT "Heading"
#define IDS_COLUMN_DENSITY_TEXT "Density"
#define IDS_FILE_CHANGED_ON_DISK_TEXT \
    "\"%s\" has been changed by another program since it was opened. Write over it?"
