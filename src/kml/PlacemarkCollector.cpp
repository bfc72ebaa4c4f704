#include "kml/PlacemarkCollector.h"

#include <algorithm>
#include <utility>

namespace {

// Text beyond this is not kept: no name, position or style reference is anywhere near as long,
// and a hostile file cannot make the collector hold more than this per element.
constexpr size_t kMaxText = size_t(1) << 20;
// An unusable point's coordinates as reported.
constexpr size_t kReportedCoordinates = 80;
// Shared styles naming each other: StyleMap to Style is one step; a loop stops here.
constexpr int kMaxStyleSteps = 4;

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool IsKmlNamespace(std::string_view uri) {
    return uri.empty() || StartsWith(uri, "http://www.opengis.net/kml/") ||
           StartsWith(uri, "http://earth.google.com/kml/");
}

bool IsGoogleExtension(std::string_view uri) {
    return StartsWith(uri, "http://www.google.com/kml/ext/");
}

// Runs of white space become one blank, and none is left at either end.
std::string CollapseSpace(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    bool blank = false;
    for (char c : TrimXmlSpace(text)) {
        if (IsXmlSpace(c)) {
            blank = true;
            continue;
        }
        if (blank)
            result += ' ';
        blank = false;
        result += c;
    }
    return result;
}

std::optional<double> ReadHeading(std::string_view text) {
    double value = 0.0;
    if (!ReadKmlNumber(TrimXmlSpace(text), value))
        return std::nullopt;
    return value;
}

// The text cut to at most `bytes`, not inside a UTF-8 sequence.
std::string CutUtf8(std::string_view text, size_t bytes) {
    if (text.size() <= bytes)
        return std::string(text);
    while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80)
        --bytes;
    return std::string(text.substr(0, bytes)) + "...";
}

}  // namespace

KmlElement PlacemarkCollector::Classify(std::string_view namespaceUri, std::string_view localName) {
    static const std::pair<std::string_view, KmlElement> kKml[] = {
        {"Placemark", KmlElement::Placemark}, {"name", KmlElement::Name},
        {"Point", KmlElement::Point},         {"coordinates", KmlElement::Coordinates},
        {"LineString", KmlElement::Shape},    {"LinearRing", KmlElement::Shape},
        {"Polygon", KmlElement::Shape},       {"Model", KmlElement::Shape},
        {"Style", KmlElement::Style},         {"StyleMap", KmlElement::StyleMap},
        {"Pair", KmlElement::Pair},           {"key", KmlElement::Key},
        {"styleUrl", KmlElement::StyleUrl},   {"IconStyle", KmlElement::IconStyle},
        {"heading", KmlElement::Heading},
    };
    const bool kml = IsKmlNamespace(namespaceUri);
    // Tracks came with Google's extension and later joined KML itself.
    if ((kml || IsGoogleExtension(namespaceUri)) &&
        (localName == "Track" || localName == "MultiTrack"))
        return KmlElement::Shape;
    if (!kml)
        return KmlElement::Other;
    for (const auto& [name, element] : kKml) {
        if (localName == name)
            return element;
    }
    return KmlElement::Other;
}

void PlacemarkCollector::BeginText() {
    m_collectDepth = m_open.size();
    m_text.clear();
    m_textTooLong = false;
}

void PlacemarkCollector::Text(std::string_view text) {
    if (m_collectDepth == 0 || m_textTooLong)
        return;
    if (m_text.size() + text.size() > kMaxText) {
        m_textTooLong = true;
        return;
    }
    m_text += text;
}

void PlacemarkCollector::StartElement(KmlElement element, std::string_view id) {
    const KmlElement parent = Top();
    const bool inPlacemark = m_inPlacemark;
    m_open.push_back(element);
    // What does not count where it stands is kept as Other, so that its end changes nothing.
    auto ignore = [this] { m_open.back() = KmlElement::Other; };

    switch (element) {
        case KmlElement::Placemark:
            // A placemark inside a placemark is no KML; its points are the outer one's.
            if (inPlacemark) {
                ignore();
                break;
            }
            m_inPlacemark = true;
            m_placemark = OpenPlacemark();
            m_placemark.number = ++m_result.placemarks;
            m_placemark.firstPoint = m_result.points.size();
            break;
        case KmlElement::Name:
            if (parent == KmlElement::Placemark && m_collectDepth == 0)
                BeginText();
            break;
        case KmlElement::Point:
            if (!inPlacemark || m_shapeDepth > 0) {
                ignore();
                break;
            }
            m_coordinates.clear();
            m_pointHasCoordinates = false;
            m_coordinatesUnreadable = false;
            break;
        case KmlElement::Coordinates:
            if (parent == KmlElement::Point && m_collectDepth == 0) {
                // A second one is a second position, and a Point has one: unreadable, with both
                // texts reported.
                if (m_pointHasCoordinates) {
                    m_coordinatesUnreadable = true;
                    m_coordinates += ' ';
                }
                m_pointHasCoordinates = true;
                BeginText();
            }
            break;
        case KmlElement::Shape:
            if (!inPlacemark) {
                ignore();
                break;
            }
            // A polygon's rings and a multi-track's tracks belong to the shape around them.
            if (m_shapeDepth++ == 0)
                ++m_result.linesAndShapes;
            break;
        case KmlElement::Style:
            m_styleOwner = parent == KmlElement::Pair        ? StyleOwner::Pair
                           : parent == KmlElement::Placemark ? StyleOwner::Placemark
                                                             : StyleOwner::Shared;
            m_styleId = id;
            m_styleHeading.reset();
            break;
        case KmlElement::StyleMap:
            m_mapId = id;
            m_mapNormalUrl.clear();
            m_mapHeading.reset();
            break;
        case KmlElement::Pair:
            m_pairKey.clear();
            m_pairUrl.clear();
            m_pairHeading.reset();
            break;
        case KmlElement::Key:
            if (parent == KmlElement::Pair && m_collectDepth == 0)
                BeginText();
            break;
        case KmlElement::StyleUrl:
            if ((parent == KmlElement::Placemark || parent == KmlElement::Pair) &&
                m_collectDepth == 0)
                BeginText();
            break;
        case KmlElement::Heading:
            // LookAt, Camera and Orientation have headings too: only the icon's counts.
            if (parent == KmlElement::IconStyle && m_collectDepth == 0)
                BeginText();
            break;
        case KmlElement::IconStyle:
        case KmlElement::Other:
            break;
    }
}

void PlacemarkCollector::EndText(KmlElement element) {
    const KmlElement parent = Top();
    switch (element) {
        case KmlElement::Name:
            if (m_inPlacemark)
                m_placemark.name = CollapseSpace(m_text);
            break;
        case KmlElement::Coordinates:
            m_coordinates += m_text;
            m_coordinatesUnreadable = m_coordinatesUnreadable || m_textTooLong;
            break;
        case KmlElement::Key:
            m_pairKey = TrimXmlSpace(m_text);
            break;
        case KmlElement::StyleUrl:
            if (parent == KmlElement::Pair)
                m_pairUrl = TrimXmlSpace(m_text);
            else if (m_inPlacemark && m_placemark.styleUrl.empty())
                m_placemark.styleUrl = TrimXmlSpace(m_text);
            break;
        case KmlElement::Heading:
            m_styleHeading = ReadHeading(m_text);
            break;
        default:
            break;
    }
}

void PlacemarkCollector::EndPoint() {
    KmlPosition position;
    PointStatus status = PointStatus::Empty;
    if (m_coordinatesUnreadable)
        status = PointStatus::Unreadable;
    else if (m_pointHasCoordinates)
        status = ReadPointCoordinates(m_coordinates, position);
    if (status == PointStatus::Usable) {
        KmlPoint point;
        point.placemark = m_placemark.number;
        point.position = position;
        m_result.points.push_back(std::move(point));
    } else {
        m_result.unusable.push_back({m_placemark.number, status,
                                     CutUtf8(TrimXmlSpace(m_coordinates), kReportedCoordinates)});
    }
}

void PlacemarkCollector::EndPlacemark() {
    for (size_t i = m_placemark.firstPoint; i < m_result.points.size(); ++i) {
        KmlPoint& point = m_result.points[i];
        point.name = m_placemark.name;
        point.heading = m_placemark.heading;
        m_pointStyleUrls.resize(i + 1);
        if (!point.heading)
            m_pointStyleUrls[i] = m_placemark.styleUrl;
    }
    m_inPlacemark = false;
}

void PlacemarkCollector::EndElement() {
    if (m_open.empty())
        return;
    const KmlElement element = m_open.back();
    const bool endsText = m_collectDepth == m_open.size();
    m_open.pop_back();
    if (endsText) {
        m_collectDepth = 0;
        EndText(element);
    }

    switch (element) {
        case KmlElement::Placemark:
            EndPlacemark();
            break;
        case KmlElement::Point:
            EndPoint();
            break;
        case KmlElement::Shape:
            --m_shapeDepth;
            break;
        case KmlElement::Style:
            if (m_styleOwner == StyleOwner::Pair) {
                m_pairHeading = m_styleHeading;
            } else if (m_styleOwner == StyleOwner::Placemark) {
                if (m_inPlacemark && m_styleHeading)
                    m_placemark.heading = m_styleHeading;
            } else if (!m_styleId.empty()) {
                // Ids are unique in a sound file; of two alike, the first counts.
                m_styles.try_emplace(m_styleId, SharedStyle{m_styleHeading, {}});
            }
            m_styleOwner = StyleOwner::Shared;
            break;
        case KmlElement::Pair:
            if (m_pairKey == "normal") {
                m_mapNormalUrl = m_pairUrl;
                m_mapHeading = m_pairHeading;
            }
            break;
        case KmlElement::StyleMap:
            if (Top() == KmlElement::Placemark && m_inPlacemark) {
                // The placemark's own StyleMap comes before any shared style it names.
                const std::string key = "\x01" + std::to_string(++m_inlineMaps);
                m_styles.try_emplace(key, SharedStyle{m_mapHeading, m_mapNormalUrl});
                m_placemark.styleUrl = "#" + key;
            } else if (!m_mapId.empty()) {
                m_styles.try_emplace(m_mapId, SharedStyle{m_mapHeading, m_mapNormalUrl});
            }
            break;
        default:
            break;
    }
}

std::optional<double> PlacemarkCollector::SharedHeading(std::string_view url, int depth) const {
    // Only styles of this document: "#id". Another file's styles are not fetched.
    if (url.size() < 2 || url[0] != '#' || depth >= kMaxStyleSteps)
        return std::nullopt;
    const auto found = m_styles.find(url.substr(1));
    if (found == m_styles.end())
        return std::nullopt;
    if (found->second.heading)
        return found->second.heading;
    return SharedHeading(found->second.normalUrl, depth + 1);
}

KmlPoints PlacemarkCollector::Finish() {
    for (size_t i = 0; i < m_result.points.size() && i < m_pointStyleUrls.size(); ++i) {
        if (!m_result.points[i].heading)
            m_result.points[i].heading = SharedHeading(m_pointStyleUrls[i], 0);
    }
    return std::move(m_result);
}
