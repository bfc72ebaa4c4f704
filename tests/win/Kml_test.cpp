// Google Earth files under Wine, through MSXML 6 as users run it: the real files read as
// Python's own XML reader counts them, export then points gives back every position's text,
// hostile files are refused without a hang, and the two system menu entries of the main window.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/MainDialog.h"
#include "common/MessageRecorder.h"
#include "common/TestZip.h"
#include "framework/WinApp.h"
#include "kml/KmlFile.h"
#include "kml/KmlNumbers.h"
#include "parse/Coordinates.h"
#include "resource.h"
#include "support/GuiTest.h"
#include "support/TempFolder.h"

namespace {

class CTestApp : public CWinApp {};
CTestApp theApp;

// While takeFocus is set, a message takes the focus from the control that has it, as a real
// message box does.
class FocusTakingRecorder : public MessageRecorder {
  public:
    int Show(const std::string& text, const std::string& caption, unsigned kind) override {
        if (takeFocus)
            ::SetFocus(nullptr);
        return MessageRecorder::Show(text, caption, kind);
    }
    bool takeFocus = false;
};

const std::string kSwKml = SCENEWRIGHT_BINARY_DIR "/tools/kml/sw-kml.exe";
const std::string kHeader = OutputList().FileBytes();

// sw-kml with these arguments: its exit code, with its standard output and error.
DWORD RunSwKml(const std::string& arguments, std::string& out, std::string& err) {
    TempFolder folder;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    auto create = [&](const std::string& path) {
        return ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                             0, nullptr);
    };
    HANDLE output = create(folder.File("out")), error = create(folder.File("err"));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output, startup.hStdError = error;
    PROCESS_INFORMATION process{};
    std::string command = "\"" + kSwKml + "\" " + arguments;
    DWORD code = 99;
    if (::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                         &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, 120000);
        ::GetExitCodeProcess(process.hProcess, &code);
        ::CloseHandle(process.hProcess), ::CloseHandle(process.hThread);
    }
    ::CloseHandle(output), ::CloseHandle(error);
    out = ReadWholeFile(folder.File("out")), err = ReadWholeFile(folder.File("err"));
    return code;
}

std::vector<std::vector<std::string>> Rows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        rows.emplace_back();
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');)
            rows.back().push_back(field);
        if (!line.empty() && line.back() == '\t')
            rows.back().push_back("");
    }
    return rows;
}

// The program's notation of Python's numbers, as "points" prints them.
std::vector<std::string> Position(const std::string& longitude, const std::string& latitude) {
    double lon = 0, lat = 0;
    char lonText[64] = {}, latText[64] = {};
    EXPECT_TRUE(ReadKmlNumber(longitude, lon) && ReadKmlNumber(latitude, lat));
    FormatLatitude(lat, latText, sizeof latText), FormatLongitude(lon, lonText, sizeof lonText);
    return {latText, lonText};
}

}  // namespace

TEST(KmlFiles, RealFilesReadAsPythonsOwnReaderCountsThem) {
    // UTF-16 with its byte-order mark, while its declaration says UTF-8: Python's reader refuses
    // the declaration, MSXML goes by the mark and reads four polygons.
    const std::string kReadByMark = "mvictoras_batCave_kmlextrude.kml";
    std::ifstream expected(KML_REAL_POINTS);
    std::stringstream text;
    text << expected.rdbuf();
    const auto rows = Rows(text.str());
    ASSERT_EQ(rows.size(), 26u) << "the real files counted in " KML_REAL_POINTS;
    for (const auto& row : rows) {
        ASSERT_GE(row.size(), 2u);
        std::string out, err;
        const DWORD code = RunSwKml("points \"" KML_REAL_DIR "/" + row[0] + "\"", out, err);
        if (row[0] == kReadByMark) {
            EXPECT_EQ(code, 1u) << err;
            EXPECT_NE(err.find("0 points, 4 lines and shapes and 0 unusable points skipped"),
                      std::string::npos)
                << err;
            continue;
        }
        if (row[1] == "unparsable") {
            EXPECT_EQ(code, 1u) << row[0] << ": " << err;
            EXPECT_NE(err.find("cannot be read as KML"), std::string::npos)
                << row[0] << ": " << err;
            continue;
        }
        // Refused or not, a file that was read is counted as Python counts it.
        ASSERT_EQ(row.size(), row[2] == "0" ? 5u : 9u) << row[0];
        const std::string counts = row[2] + " points, " + row[3] + " lines and shapes and " +
                                   row[4] + " unusable points skipped";
        EXPECT_NE(err.find(counts), std::string::npos) << row[0] << ": " << err;
        if (row[2] == "0") {
            EXPECT_EQ(code, 1u) << row[0] << ": " << err;
            EXPECT_NE(err.find("holds no point that can be placed"), std::string::npos) << row[0];
            continue;
        }
        ASSERT_EQ(code, 0u) << row[0] << ": " << err;
        const auto points = Rows(out);
        ASSERT_EQ(std::to_string(points.size()), row[2]) << row[0];
        EXPECT_EQ(std::vector(points.front().begin(), points.front().begin() + 2),
                  Position(row[5], row[6]))
            << row[0];
        EXPECT_EQ(std::vector(points.back().begin(), points.back().begin() + 2),
                  Position(row[7], row[8]))
            << row[0];
    }
}

TEST(KmlFiles, ExportThenPointsGivesBackEveryPositionsText) {
    const char* positions[][2] = {
        {"N090* 00' 00.0000", "E180* 00' 00.0000"}, {"S090* 00' 00.0000", "W180* 00' 00.0000"},
        {"N047* 26' 59.1234", "W122* 18' 32.9999"}, {"S033* 51' 35.9999", "E151* 12' 40.0001"},
        {"N058* 59' 60.0000", "W000* 00' 00.0000"}, {"N000* 00' 00.0000", "E179* 59' 59.9999"},
        {"S000* 00' 00.0001", "W179* 59' 59.9999"}, {"N089* 59' 59.9999", "E000* 00' 00.0001"}};
    const char* kinds[] = {"WINDSOCK,", "BUILDING,", "EFFECT,smoke.fx", "LIBRARY,Hangar_A",
                           "LIBRARY,\"0A1B2C3D4h, 00000E5F6h, 011D2F24Ah, 01000849Ch\""};
    TempFolder folder;
    std::string csv = kHeader;
    for (size_t i = 0; i < std::size(positions); ++i) {
        csv += std::string(kinds[i % std::size(kinds)]) + "," + positions[i][0] + "," +
               positions[i][1] + ",AGL,0.00,0.00," + std::to_string(i * 45) + ".00,Normal,\"\"\r\n";
    }
    ASSERT_TRUE(WriteWholeFile(folder.File("places.csv"), csv));
    std::string out, err, document;
    ASSERT_EQ(RunSwKml("export \"" + folder.File("places.csv") + "\"", document, err), 0u) << err;
    ASSERT_EQ(RunSwKml("export \"" + folder.File("places.csv") + "\" \"" +
                           folder.File("places.kml") + "\"",
                       out, err),
              0u);
    EXPECT_EQ(ReadWholeFile(folder.File("places.kml")), document);
    ASSERT_EQ(RunSwKml("points \"" + folder.File("places.kml") + "\"", out, err), 0u) << err;
    const auto points = Rows(out);
    ASSERT_EQ(points.size(), std::size(positions));
    for (size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(points[i][0], std::string(positions[i][0]) + "\"");
        EXPECT_EQ(points[i][1], std::string(positions[i][1]) + "\"");
        EXPECT_EQ(points[i][2], std::to_string(i * 45 % 360) + ".00");
    }
    EXPECT_EQ(points[4][3], "{ A1B2C3D4, 0000E5F6, 11D2F24A, 1000849C }");
    EXPECT_EQ(RunSwKml("points", out, err), 2u);
}

TEST(KmlFiles, HostileFilesAreRefusedWithoutAHangAndOddEncodingsRead) {
    const std::string point =
        "<Placemark><name>Z\xFCrich</name><Point><coordinates>8.5,47.4"
        "</coordinates></Point></Placemark>";
    const std::string utf8Point =
        "<Placemark><name>Z\xC3\xBCrich</name><Point><coordinates>"
        "8.5,47.4</coordinates></Point></Placemark>";
    const std::string kml = "<kml xmlns=\"http://www.opengis.net/kml/2.2\">" + utf8Point + "</kml>";
    auto utf16 = [](const std::string& utf8, bool bigEndian, bool mark) {
        std::wstring wide(utf8.size(), L'\0');
        wide.resize(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(),
                                          int(wide.size())));
        std::string bytes = mark ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
        for (wchar_t c : wide)
            bytes +=
                bigEndian ? std::string{char(c >> 8), char(c)} : std::string{char(c), char(c >> 8)};
        return bytes;
    };
    std::string deep = "<kml>",
                laughs = "<?xml version=\"1.0\"?><!DOCTYPE kml [<!ENTITY a \"aaaa\">";
    for (int i = 0; i < 300; ++i)
        deep += "<Folder>";
    deep += point;
    for (int i = 0; i < 300; ++i)
        deep += "</Folder>";
    for (int i = 1; i < 10; ++i)
        laughs += "<!ENTITY " + std::string(1, char('a' + i)) + " \"" +
                  std::string(10, char('a' + i - 1)) + "\">";
    std::string repeated = "<!DOCTYPE kml [<!ENTITY e \"x\">]><kml><Placemark><name>";
    for (int i = 0; i < 100000; ++i)
        repeated += "&e;";
    const std::string declared16 = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + kml;
    const struct {
        const char* what;
        std::string bytes;
        KmlReadStatus status;
    } rows[] = {
        {"ends in text", "<kml><Placemark><name>Zur", KmlReadStatus::Unparsable},
        {"ends in white space", "<kml><Placemark>   \n  ", KmlReadStatus::Unparsable},
        {"ends in CDATA", "<kml><Placemark><description><![CDATA[ab", KmlReadStatus::Unparsable},
        {"ends in a comment", "<kml><!-- abc", KmlReadStatus::Unparsable},
        {"ends in a tag", "<kml><Placem", KmlReadStatus::Unparsable},
        {"a zero byte", "<kml>" + std::string(1, '\0') + point + "</kml>",
         KmlReadStatus::Unparsable},
        {"a bare &", "<kml><Placemark><name>A & B</name></Placemark></kml>",
         KmlReadStatus::Unparsable},
        {"invalid UTF-8", "<kml><Placemark><name>\xC3\x28</name></Placemark></kml>",
         KmlReadStatus::Unparsable},
        {"nested 300 deep", deep + "</kml>", KmlReadStatus::Unparsable},
        {"billion laughs", laughs + "]><kml>&j;</kml>", KmlReadStatus::DocumentType},
        {"an entity 100,000 times", repeated + "</name></Placemark></kml>",
         KmlReadStatus::DocumentType},
        {"external entity",
         "<!DOCTYPE kml [<!ENTITY x SYSTEM \"C:\\windows\\win.ini\">]><kml>&x;</kml>",
         KmlReadStatus::DocumentType},
        {"external DTD", "<!DOCTYPE kml SYSTEM \"http://example.org/kml.dtd\"><kml/>",
         KmlReadStatus::DocumentType},
        {"comment of 400 KB",
         "<kml><!--" + std::string(400 << 10, 'c') + "-->" + utf8Point + "</kml>",
         KmlReadStatus::Read},
        {"comment of 2 MB", "<kml>" + utf8Point + "<!--" + std::string(2 << 20, 'c') + "--></kml>",
         KmlReadStatus::Read},
        {"ISO-8859-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><kml>" + point + "</kml>",
         KmlReadStatus::Read},
        {"windows-1252",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?><kml>" + point + "</kml>",
         KmlReadStatus::Read},
        {"UTF-8", kml, KmlReadStatus::Read},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + kml, KmlReadStatus::Read},
        {"UTF-16LE with its mark", utf16(kml, false, true), KmlReadStatus::Read},
        {"UTF-16BE with its mark", utf16(kml, true, true), KmlReadStatus::Read},
        {"UTF-16LE declared", utf16(declared16, false, false), KmlReadStatus::Read},
        {"UTF-16BE declared", utf16(declared16, true, false), KmlReadStatus::Read},
        {"KMZ", Zip({{"doc.kml", kml}}), KmlReadStatus::Read},
        {"KMZ damaged", Zip({{"doc.kml", kml}}).substr(0, 60), KmlReadStatus::KmzDamaged},
        {"over 64 MB", kml + std::string((64 << 20) - kml.size() + 1, ' '),
         KmlReadStatus::TooLarge},
    };
    TempFolder folder;
    for (const auto& row : rows) {
        ASSERT_TRUE(WriteWholeFile(folder.File("file.kml"), row.bytes)) << row.what;
        const KmlReadResult read = ReadKmlFile(folder.File("file.kml"));
        EXPECT_EQ(read.status, row.status) << row.what << ": " << read.reason;
        if (row.status != KmlReadStatus::Read)
            continue;
        ASSERT_EQ(read.points.points.size(), 1u) << row.what;
        EXPECT_EQ(read.points.points[0].name, "Z\xC3\xBCrich") << row.what;
    }
}

TEST(GoogleEarthMenu, ExportAndImportRunFromTheSystemMenu) {
    AfxGetApp()->SetRegistryKey("ScenewrightKmlTest");
    FocusTakingRecorder messages;
    TempFolder folder;
    const std::string csv = folder.File("places.csv"), kml = folder.File("places.kml");
    const std::string lines =
        "WINDSOCK,,N047* 26' 59.0000,W122* 18' 32.0000,AGL,0.00,0.00,90.00,Normal,\"\"\r\n"
        "WINDSOCK,,S033* 51' 36.0000,E151* 12' 40.0000,AGL,0.00,0.00,0.00,Normal,\"\"\r\n";
    ASSERT_TRUE(WriteWholeFile(csv, kHeader + lines));
    ASSERT_TRUE(WriteWholeFile(folder.File("bad.kml"), "<!DOCTYPE kml><kml/>"));
    CMainDialog dialog;
    dialog.OpenAfterStartUp(csv);
    gui_test::WhenDialogOpens([&](HWND main) {
        HMENU menu = ::GetSystemMenu(main, FALSE);
        char exportEntry[64] = {}, importEntry[64] = {};
        ::GetMenuStringA(menu, IDM_EXPORT_KML, exportEntry, sizeof exportEntry, MF_BYCOMMAND);
        ::GetMenuStringA(menu, IDM_IMPORT_KML, importEntry, sizeof importEntry, MF_BYCOMMAND);
        EXPECT_STREQ(exportEntry, "E&xport to Google Earth...");
        EXPECT_STREQ(importEntry, "&Import from Google Earth...");

        // The save dialog proposes the placement file's name with ".kml".
        gui_test::WhenDialogOpens([](HWND files) { ::PostMessageA(files, WM_COMMAND, IDOK, 0); },
                                  main);
        messages.messages.clear();
        ::SendMessageA(main, WM_SYSCOMMAND, IDM_EXPORT_KML, 0);
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].text, "2 placements were written to \"" + kml + "\".");

        // The window's windsock at the exported positions, turned as the icons are: the same
        // lines again.
        HWND kinds = ::GetDlgItem(main, IDC_TYPE);
        ::SendMessageA(kinds, CB_SETCURSEL, WPARAM(ObjectType::WINDSOCK), 0);
        ::SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_TYPE, CBN_SELCHANGE), LPARAM(kinds));
        for (const char* file : {"places.kml", "bad.kml"}) {
            gui_test::WhenDialogOpens(
                [&](HWND files) {
                    gui_test::SetFileDialogName(files, folder.File(file));
                    ::PostMessageA(files, WM_COMMAND, IDOK, 0);
                },
                main);
            ::SendMessageA(main, WM_SYSCOMMAND, IDM_IMPORT_KML, 0);
        }
        EXPECT_EQ(dialog.Output().FileBytes(), kHeader + lines + lines);
        ASSERT_EQ(messages.messages.size(), 4u);
        EXPECT_EQ(messages.messages[1].text, "Add 2 placements from \"" + kml + "\"?");
        EXPECT_EQ(
            messages.messages[2].text,
            "2 placements were added; 0 lines and shapes and 0 unusable points were skipped.");
        EXPECT_EQ(messages.messages[3].kind, message_kind::kStop);
        EXPECT_EQ(messages.messages[3].text.find("holds a document type declaration"),
                  folder.File("bad.kml").size() + 3);

        // A field still being typed in is judged once: its message box takes the focus from
        // it, and that loss is not judged again.
        HWND pitch = ::GetDlgItem(main, IDC_PITCH);
        ::SetFocus(pitch);
        ::SetWindowTextA(pitch, "abc");
        messages.messages.clear();
        messages.takeFocus = true;
        ::SendMessageA(main, WM_SYSCOMMAND, IDM_IMPORT_KML, 0);
        messages.takeFocus = false;
        EXPECT_EQ(messages.messages.size(), 1u);
        for (const RecordedMessage& message : messages.messages)
            EXPECT_EQ(message.text.substr(0, 29), "The pitch value cannot be rea");
        EXPECT_EQ(::GetFocus(), pitch);
        ::SetWindowTextA(pitch, "0");

        messages.answers = {answer::kYes};
        ::PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
    });
    dialog.DoModal();
}
