// The points of a KML document, gathered from a reader's events (elements opening and closing,
// text between them): every Point of every Placemark, in Folders, Documents and MultiGeometry
// at any depth, with its placemark's name and icon heading; the unusable points with the reason;
// and how many lines and shapes there were.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kml/KmlNumbers.h"

// The elements that matter here; everything else is Other.
enum class KmlElement {
    Other,
    Placemark,
    Name,
    Point,
    Coordinates,
    Shape,  // LineString, LinearRing, Polygon, Model, Track, MultiTrack
    Style,
    StyleMap,
    Pair,
    Key,
    StyleUrl,
    IconStyle,
    Heading,
};

struct KmlPoint {
    int placemark = 0;  // its placemark's number, from 1 in document order
    std::string name;   // UTF-8, white space runs made single blanks
    KmlPosition position;
    std::optional<double> heading;  // the icon's, from the placemark's own or shared style
};

struct UnusablePoint {
    int placemark = 0;
    PointStatus status = PointStatus::Empty;
    std::string coordinates;  // the text as found, trimmed and cut short
};

struct KmlPoints {
    std::vector<KmlPoint> points;
    std::vector<UnusablePoint> unusable;
    int linesAndShapes = 0;
    int placemarks = 0;
};

class PlacemarkCollector {
  public:
    // An element by its namespace and local name. KML's own namespaces (2.0 to 2.2, the OGC one
    // and none at all) and Google's extension count; other vocabularies are Other.
    static KmlElement Classify(std::string_view namespaceUri, std::string_view localName);
    // Whether an opening element of this kind needs its id attribute.
    static bool NeedsId(KmlElement element) {
        return element == KmlElement::Style || element == KmlElement::StyleMap;
    }

    void StartElement(KmlElement element, std::string_view id = {});
    void EndElement();
    // Character data, UTF-8; only kept while WantsText().
    void Text(std::string_view text);
    bool WantsText() const { return m_collectDepth != 0; }

    // The points, with headings from shared styles resolved now that every style is known.
    KmlPoints Finish();

  private:
    // A shared Style, or a StyleMap with what its normal pair names.
    struct SharedStyle {
        std::optional<double> heading;
        std::string normalUrl;
    };
    struct OpenPlacemark {
        int number = 0;
        std::string name;
        std::optional<double> heading;  // its own Style's
        std::string styleUrl;           // or its own StyleMap's, or the shared one it names
        size_t firstPoint = 0;
    };
    enum class StyleOwner { Shared, Placemark, Pair };

    KmlElement Top() const { return m_open.empty() ? KmlElement::Other : m_open.back(); }
    void BeginText();
    void EndText(KmlElement element);
    void EndPoint();
    void EndPlacemark();
    std::optional<double> SharedHeading(std::string_view url, int depth) const;

    std::vector<KmlElement> m_open;
    bool m_inPlacemark = false;
    OpenPlacemark m_placemark;
    int m_shapeDepth = 0;

    size_t m_collectDepth = 0;  // the depth of the element whose text is kept, 0 for none
    std::string m_text;
    bool m_textTooLong = false;

    bool m_pointHasCoordinates = false;
    bool m_coordinatesUnreadable = false;  // too long to keep, or given twice
    std::string m_coordinates;

    StyleOwner m_styleOwner = StyleOwner::Shared;
    std::string m_styleId;
    std::optional<double> m_styleHeading;
    std::string m_mapId;
    std::string m_pairKey;
    std::string m_pairUrl;
    std::optional<double> m_pairHeading;
    std::string m_mapNormalUrl;
    std::optional<double> m_mapHeading;
    std::map<std::string, SharedStyle, std::less<>> m_styles;
    int m_inlineMaps = 0;

    std::vector<std::string> m_pointStyleUrls;  // per point, for those without their own heading
    KmlPoints m_result;
};
