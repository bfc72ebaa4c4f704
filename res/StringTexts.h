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
#define IDS_OPEN_CHANGED_TEXT \
    "The changes to \"%s\" have not been saved. Open \"%s\" anyway?"
#define IDS_RESCAN_MENU_TEXT "&Rescan Simulator Files\tF5"
#define IDS_FIND_MENU_TEXT "&Find Object...\tCtrl+F"
#define IDS_FIND_CUE_TEXT "Name, library file or identifier"
#define IDS_FIND_KIND_LIBRARY_TEXT "Library objects"
#define IDS_FIND_KIND_EFFECTS_TEXT "Effects"
#define IDS_FIND_COUNT_LIBRARY_TEXT "%s of %s library objects"
#define IDS_FIND_COUNT_EFFECTS_TEXT "%s of %s effects"
#define IDS_FIND_COLUMN_NAME_TEXT "Name"
#define IDS_FIND_COLUMN_LIBRARY_FILE_TEXT "Library file"
#define IDS_FIND_COLUMN_RADIUS_TEXT "Radius"
#define IDS_FIND_COLUMN_SCALE_TEXT "Scale"
#define IDS_FIND_COLUMN_IDENTIFIER_TEXT "Identifier"
#define IDS_FIND_COLUMN_DISPLAY_NAME_TEXT "Display name"
#define IDS_FIND_COLUMN_FILE_TEXT "File"
#define IDS_EXPORT_KML_MENU_TEXT "E&xport to Google Earth..."
#define IDS_IMPORT_KML_MENU_TEXT "&Import from Google Earth..."
#define IDS_KML_EXPORT_FILTER_TEXT "Google Earth files (*.kml)|*.kml|All Files (*.*)|*.*||"
#define IDS_KML_IMPORT_FILTER_TEXT \
    "Google Earth files (*.kml;*.kmz)|*.kml;*.kmz|All Files (*.*)|*.*||"
#define IDS_KML_LIBRARY_FILE_TEXT "Library file: %s"
#define IDS_KML_NOTHING_TO_EXPORT_TEXT "The list holds no placements to export."
#define IDS_KML_EXPORTED_TEXT "%d placements were written to \"%s\"."
#define IDS_KML_EXPORTED_UNPLACED_TEXT \
    "%d placements were written to \"%s\"; %d of them have no position that can be shown on the map."
#define IDS_KML_CANNOT_WRITE_TEXT "ERROR:%X Cannot create file \"%s\""
#define IDS_KML_IMPORT_QUESTION_TEXT "Add %d placements from \"%s\"?"
#define IDS_KML_IMPORTED_TEXT \
    "%d placements were added; %d lines and shapes and %d unusable points were skipped."
#define IDS_KML_NO_USABLE_POINT_TEXT \
    "\"%s\" holds no point that can be placed (%d lines and shapes and %d unusable points)."
#define IDS_KML_TOO_LARGE_TEXT "\"%s\" is too large: Google Earth files of up to 64 MB are read."
#define IDS_KML_NOT_XML_AT_LINE_TEXT "\"%s\" cannot be read as KML, line %d: %s"
#define IDS_KML_NOT_XML_TEXT "\"%s\" cannot be read as KML: %s"
#define IDS_KML_NOT_MARKUP_TEXT "it does not begin as an XML document."
#define IDS_KML_DOCUMENT_TYPE_TEXT \
    "\"%s\" holds a document type declaration (<!DOCTYPE), which Google Earth files do not use; it is not read."
#define IDS_KML_ENCODING_TEXT "\"%s\" is written in a character encoding that is not read."
#define IDS_KMZ_DAMAGED_TEXT "\"%s\" is a damaged KMZ archive."
#define IDS_KMZ_NO_KML_TEXT "\"%s\" holds no KML file."
#define IDS_KMZ_UNSUPPORTED_TEXT \
    "\"%s\" is a KMZ archive in a form that is not read (encrypted, split, or compressed other than by deflate)."
#define IDS_KMZ_TOO_LARGE_TEXT "The KML file in \"%s\" is larger than 64 MB."
#define IDS_KML_READER_MISSING_TEXT "ERROR:%X Cannot start the XML reader (MSXML 6) to read \"%s\""
#define IDS_KML_NOT_WELL_FORMED_TEXT "the file is not well-formed XML."
