// sw-kml export PLACEMENTS.csv [OUT.kml]: the placement file as the program exports it to Google
// Earth, into OUT.kml or onto standard output.
// sw-kml points FILE.kml|FILE.kmz: the points the program's import would take, one line each
// (latitude and longitude in the program's notation, the heading or nothing, the placemark's name
// in UTF-8, tab-separated); on standard error a line per unusable point and the counts.
// Exit 0; 1 when the file is refused, with the program's message; 2 for a wrong command line.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <objbase.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "common/AppStrings.h"
#include "common/FileReplace.h"
#include "common/LastError.h"
#include "common/Text.h"
#include "kml/KmlCommands.h"
#include "kml/KmlFile.h"
#include "kml/KmlWriter.h"
#include "placement/PlacementFile.h"
#include "resource.h"

namespace {

constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr int kWrongCommandLine = 2;

int Usage() {
    fputs(
        "usage: sw-kml export PLACEMENTS.csv [OUT.kml]\n"
        "       sw-kml points FILE.kml|FILE.kmz\n",
        stderr);
    return kWrongCommandLine;
}

int Refuse(const std::string& message) {
    fprintf(stderr, "sw-kml: %s\n", message.c_str());
    return kRefused;
}

// Written at once: the console and the null device take every write on its own. False when
// standard output did not take all of it (a full disk, a closed pipe).
bool WriteOut(const std::string& bytes) {
    return fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && fflush(stdout) == 0;
}

int Export(const char* placementPath, const char* outPath) {
    PlacementFileText contents;
    FileStamp stamp;
    PlacementFileRefusal refusal;
    if (!ReadPlacementFile(placementPath, contents, stamp, refusal))
        return Refuse(refusal.text);
    OutputList list;
    list.LoadFile(std::move(contents), placementPath, stamp);
    const KmlExport kml = ExportKml(list, FileNameOf(placementPath));
    if (outPath) {
        if (!ReplaceFileContents(outPath, kml.bytes)) {
            const unsigned error = unsigned(GetLastErrorCode());  // before the text is loaded
            return Refuse(FormatText(limits::kMessage, LoadAppString(IDS_KML_CANNOT_WRITE).c_str(),
                                     error, outPath));
        }
    } else {
        // The document's own line ends, not the console's.
        _setmode(_fileno(stdout), _O_BINARY);
        if (!WriteOut(kml.bytes))
            return Refuse("cannot write to standard output");
    }
    if (kml.withoutPosition > 0)
        fprintf(stderr, "sw-kml: %d of %d placements have no position that can be shown\n",
                kml.withoutPosition, kml.placemarks);
    return kDone;
}

const char* UnusableReason(PointStatus status) {
    switch (status) {
        case PointStatus::Empty:
            return "no coordinates";
        case PointStatus::Unreadable:
            return "unreadable coordinates";
        case PointStatus::OutsideWorld:
            return "outside the world";
        case PointStatus::Usable:
            break;
    }
    return "";
}

int Points(const char* path) {
    const KmlReadResult read = ReadKmlFile(path);
    if (read.status != KmlReadStatus::Read)
        return Refuse(KmlRefusalMessage(read, path));
    const KmlPoints& found = read.points;
    std::string out, err;
    for (const KmlPoint& point : found.points) {
        const ImportedPosition imported = ImportedPositionOf(point);
        out += imported.latitude + '\t' + imported.longitude + '\t';
        if (imported.heading)
            out += FormatText(limits::kShortField, "%1.2f", *imported.heading);
        out += '\t' + point.name + '\n';
    }
    for (const UnusablePoint& point : found.unusable) {
        err += FormatText(limits::kMessage, "placemark %d: %s", point.placemark,
                          UnusableReason(point.status));
        err += point.coordinates.empty() ? "\n" : " \"" + point.coordinates + "\"\n";
    }
    err += FormatText(limits::kMessage,
                      "%d points, %d lines and shapes and %d unusable points skipped\n",
                      int(found.points.size()), found.linesAndShapes, int(found.unusable.size()));
    fwrite(err.data(), 1, err.size(), stderr);
    if (!WriteOut(out))
        return Refuse("cannot write to standard output");
    if (found.points.empty())
        return Refuse(KmlRefusalMessage(read, path));
    return kDone;
}

int Run(int argc, char** argv) {
    if (argc >= 3 && argc <= 4 && std::strcmp(argv[1], "export") == 0)
        return Export(argv[2], argc == 4 ? argv[3] : nullptr);
    if (argc == 3 && std::strcmp(argv[1], "points") == 0)
        return Points(argv[2]);
    return Usage();
}

}  // namespace

int main(int argc, char** argv) {
    // COM for the reader, free-threaded: a console program has no windows, and a single-threaded
    // apartment would bring up the window system only to make its hidden window.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const int code = Run(argc, argv);
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return code;
}
