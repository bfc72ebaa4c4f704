#include "kml/KmlCommands.h"

#include <cmath>

#include "common/AppStrings.h"
#include "common/FileReplace.h"
#include "common/LastError.h"
#include "common/Text.h"
#include "kml/KmlWriter.h"
#include "parse/Coordinates.h"
#include "placement/FieldChecks.h"
#include "placement/Message.h"
#include "resource.h"

namespace {

constexpr size_t kCoordinateBuffer = 64;

// The window's form, with the position boxes holding a point's position instead: Add's own
// collecting then makes the placement the user would get by typing that position.
class PositionedForm : public FormControls {
  public:
    PositionedForm(FormControls& form, std::string latitude, std::string longitude)
        : m_form(form), m_latitude(std::move(latitude)), m_longitude(std::move(longitude)) {}

    std::string GetText(int id, size_t maxChars) const override {
        if (id == IDC_LATITUDE)
            return CutText(m_latitude, maxChars);
        if (id == IDC_LONGITUDE)
            return CutText(m_longitude, maxChars);
        return m_form.GetText(id, maxChars);
    }
    void SetText(int id, std::string_view text) override { m_form.SetText(id, text); }
    int GetSelectedRow(int id) const override { return m_form.GetSelectedRow(id); }
    int FindRowExact(int id, std::string_view text) const override {
        return m_form.FindRowExact(id, text);
    }
    intptr_t GetRowData(int id, int row) const override { return m_form.GetRowData(id, row); }
    bool IsChecked(int id) const override { return m_form.IsChecked(id); }
    void EnableControl(int id, bool enable) override { m_form.EnableControl(id, enable); }
    void SetTooltip(int id, std::string_view text) override { m_form.SetTooltip(id, text); }
    void FocusAndSelectAll(int id) override { m_form.FocusAndSelectAll(id); }
    void CommandStateMayHaveChanged() override { m_form.CommandStateMayHaveChanged(); }

  private:
    FormControls& m_form;
    std::string m_latitude;
    std::string m_longitude;
};

// As a position box holds it, less its closing double quote mark: as Add takes it.
std::string LineField(std::string text) {
    if (!text.empty() && text.back() == '"')
        text.pop_back();
    return text;
}

// The path without its file name's extension; a name that is all extension (".csv") keeps it.
std::string WithoutExtension(std::string_view path) {
    const size_t name = path.size() - FileNameOf(path).size();
    const size_t dot = path.rfind('.');
    return std::string(
        path.substr(0, dot != std::string_view::npos && dot > name ? dot : path.size()));
}

}  // namespace

bool CanExportKml(const OutputList& list) {
    if (list.placementCount > 0)
        return true;
    ReportMessage(LoadAppString(IDS_KML_NOTHING_TO_EXPORT), message_kind::kPlain);
    return false;
}

std::string KmlPathFor(const std::string& placementPath) {
    if (placementPath.empty())
        return std::string();
    return CutText(WithoutExtension(placementPath) + ".kml", limits::kPath);
}

bool ExportKmlFile(const OutputList& list, const std::string& path,
                   const LibraryCatalogue* catalogue, const std::function<void(bool busy)>& busy) {
    if (busy)
        busy(true);
    // Named after the placement file; a list that has none yet takes the document's own name.
    std::string documentName(FileNameOf(list.outputPath));
    if (documentName.empty())
        documentName = WithoutExtension(FileNameOf(path));
    const KmlExport kml = ExportKml(list, documentName, catalogue);
    const bool written = ReplaceFileContents(path, kml.bytes);
    const uint32_t error = GetLastErrorCode();
    if (busy)
        busy(false);
    if (!written) {
        ReportMessage(FormatText(limits::kMessage, LoadAppString(IDS_KML_CANNOT_WRITE).c_str(),
                                 unsigned(error), path.c_str()),
                      message_kind::kPlain);
        return false;
    }
    if (kml.withoutPosition > 0) {
        ReportMessage(FormatText(limits::kMessage, LoadAppString(IDS_KML_EXPORTED_UNPLACED).c_str(),
                                 kml.placemarks, path.c_str(), kml.withoutPosition),
                      message_kind::kPlain);
    } else {
        ReportMessage(FormatText(limits::kMessage, LoadAppString(IDS_KML_EXPORTED).c_str(),
                                 kml.placemarks, path.c_str()),
                      message_kind::kPlain);
    }
    return true;
}

ImportedPosition ImportedPositionOf(const KmlPoint& point) {
    ImportedPosition imported;
    char text[kCoordinateBuffer];
    if (FormatLatitude(point.position.latitude, text, sizeof text))
        imported.latitude = text;
    if (FormatLongitude(point.position.longitude, text, sizeof text))
        imported.longitude = text;
    if (point.heading) {
        // Google Earth turns an icon by any number of degrees; the heading box holds 0 to 360.
        // fmod keeps the sign of whole turns back (-360 gives -0), which would be written "-0.00".
        double heading = std::fmod(*point.heading, 360.0);
        if (heading < 0.0)
            heading += 360.0;
        else if (heading == 0.0)
            heading = 0.0;
        imported.heading = heading;
    }
    return imported;
}

std::optional<Placement> PlacementForImport(FormControls& form, const LibraryCatalogue& libraries,
                                            const EffectsCatalogue& effects) {
    // The checks that run when these fields are left, since the system menu takes no focus
    // from them: what the user typed last is judged as Add would find it. Not the look at the
    // command state that leaving a field adds: these fields change no command, and its name
    // check would put up a box that Add pressed from elsewhere does not.
    for (const int field : {IDC_ALTITUDE, IDC_PITCH, IDC_BANK, IDC_HEADING}) {
        if (!CheckFieldWithMessage(form, field))
            return std::nullopt;
    }
    // Any position will do here: each point's own takes its place.
    char latitude[kCoordinateBuffer], longitude[kCoordinateBuffer];
    FormatLatitude(0.0, latitude, sizeof latitude);
    FormatLongitude(0.0, longitude, sizeof longitude);
    PositionedForm positioned(form, latitude, longitude);
    std::optional<Placement> made = CollectPlacement(positioned, libraries, effects);
    if (!made)
        ReportMessage(LoadAppString(IDS_OBJECT_NOT_ADDED), message_kind::kPlain);
    return made;
}

bool ImportKmlPoints(OutputList& list, FormControls& form, const Placement& made,
                     const KmlReadResult& read, const std::string& path,
                     const std::function<void(bool busy)>& busy) {
    const std::string refusal = KmlRefusalMessage(read, path);
    if (!refusal.empty()) {
        ReportMessage(refusal, message_kind::kStop);
        return false;
    }
    const KmlPoints& found = read.points;
    const int count = int(found.points.size());
    const std::string question = FormatText(
        limits::kMessage, LoadAppString(IDS_KML_IMPORT_QUESTION).c_str(), count, path.c_str());
    if (ReportMessage(question, message_kind::kAddQuestion) != answer::kYes)
        return false;

    if (busy)
        busy(true);
    std::vector<std::vector<std::string>> placements;
    placements.reserve(found.points.size());
    for (const KmlPoint& point : found.points) {
        const ImportedPosition imported = ImportedPositionOf(point);
        Placement placement = made;
        placement.latitude = LineField(imported.latitude);
        placement.longitude = LineField(imported.longitude);
        if (imported.heading)
            placement.heading = *imported.heading;
        placements.push_back(FormatPlacementLine(placement));
    }
    list.AppendPlacements(std::move(placements), form);
    if (busy)
        busy(false);
    ReportMessage(FormatText(limits::kMessage, LoadAppString(IDS_KML_IMPORTED).c_str(), count,
                             found.linesAndShapes, int(found.unusable.size())),
                  message_kind::kPlain);
    return true;
}
