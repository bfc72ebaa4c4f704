#include "common/AppStrings.h"

#include "StringTexts.h"
#include "resource.h"

std::string LoadAppString(unsigned id) {
    struct Entry {
        unsigned id;
        const char* text;
    };
    static constexpr Entry kTable[] = {
        {IDS_ABOUT_MENU, IDS_ABOUT_MENU_TEXT},
        {IDS_LATITUDE_UNREADABLE, IDS_LATITUDE_UNREADABLE_TEXT},
        {IDS_LONGITUDE_UNREADABLE, IDS_LONGITUDE_UNREADABLE_TEXT},
        {IDS_OBJECT_ADDED, IDS_OBJECT_ADDED_TEXT},
        {IDS_OBJECT_NOT_ADDED, IDS_OBJECT_NOT_ADDED_TEXT},
        {IDS_PITCH_UNREADABLE, IDS_PITCH_UNREADABLE_TEXT},
        {IDS_BANK_UNREADABLE, IDS_BANK_UNREADABLE_TEXT},
        {IDS_HEADING_UNREADABLE, IDS_HEADING_UNREADABLE_TEXT},
        {IDS_ALTITUDE_UNREADABLE, IDS_ALTITUDE_UNREADABLE_TEXT},
        {IDS_CAPTION, IDS_CAPTION_TEXT},
        {IDS_QUIT_UNSAVED, IDS_QUIT_UNSAVED_TEXT},
        {IDS_OPTIONS_MENU, IDS_OPTIONS_MENU_TEXT},
        {IDS_FILE_NAME_REQUIRED, IDS_FILE_NAME_REQUIRED_TEXT},
    };
    for (const Entry& entry : kTable) {
        if (entry.id == id) return entry.text;
    }
    return std::string();
}
