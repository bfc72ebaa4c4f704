// Reading Google Earth files, the portable part: a Point's "lon,lat[,alt]", the prolog check that
// refuses document types before any parser runs, and the points gathered from reader events.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "kml/KmlNumbers.h"
#include "kml/PlacemarkCollector.h"
#include "kml/XmlProlog.h"

namespace {

// Reader events in short, separated by '|': "+Name" opens an element of KML's namespace
// ("+namespace^Name" of another, "+Name#id" with an id), "-" closes the last one, anything
// else is text.
KmlPoints Collect(std::string_view events) {
    PlacemarkCollector collector;
    for (size_t at = 0; at <= events.size();) {
        const size_t end = std::min(events.find('|', at), events.size());
        const std::string event(events.substr(at, end - at));
        at = end + 1;
        if (event == "-") {
            collector.EndElement();
        } else if (event[0] == '+') {
            std::string name = event.substr(1), ns = "http://www.opengis.net/kml/2.2", id;
            if (size_t mark = name.find('^'); mark != std::string::npos)
                ns = name.substr(0, mark), name.erase(0, mark + 1);
            if (size_t hash = name.find('#'); hash != std::string::npos)
                id = name.substr(hash + 1), name.erase(hash);
            const KmlElement element = PlacemarkCollector::Classify(ns, name);
            collector.StartElement(element, PlacemarkCollector::NeedsId(element) ? id : "");
        } else {
            collector.Text(event);
        }
    }
    return collector.Finish();
}

std::string Utf16(std::string_view ascii, bool bigEndian, bool mark) {
    std::string bytes = mark ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
    for (char c : ascii)
        bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return bytes;
}

}  // namespace

TEST(KmlNumbers, PointCoordinatesAreOnePositionInsideTheWorld) {
    const struct {
        const char* text;
        PointStatus status;
        double longitude, latitude;
    } rows[] = {
        {"-122.3089,47.4497", PointStatus::Usable, -122.3089, 47.4497},
        {"\n\t  8.5 , 47.25 ,  430.5 \r\n", PointStatus::Usable, 8.5, 47.25},
        {"+180,-90,0", PointStatus::Usable, 180, -90},
        {"1e1,.5E1", PointStatus::Usable, 10, 5},
        {"", PointStatus::Empty, 0, 0},
        {" \n\t", PointStatus::Empty, 0, 0},
        {"no,no", PointStatus::Unreadable, 0, 0},
        {"8.5", PointStatus::Unreadable, 0, 0},
        {"8.5,47,1,2", PointStatus::Unreadable, 0, 0},
        {"8.5,47 9,48", PointStatus::Unreadable, 0, 0},
        {"8.5;47", PointStatus::Unreadable, 0, 0},
        {"1e999,47", PointStatus::Unreadable, 0, 0},
        {"nan,47", PointStatus::Unreadable, 0, 0},
        {"0x10,47", PointStatus::Unreadable, 0, 0},
        {"8.5,47,", PointStatus::Unreadable, 0, 0},
        {"180.0001,0", PointStatus::OutsideWorld, 0, 0},
        {"0,-90.5", PointStatus::OutsideWorld, 0, 0},
    };
    for (const auto& row : rows) {
        KmlPosition position;
        EXPECT_EQ(ReadPointCoordinates(row.text, position), row.status) << row.text;
        EXPECT_EQ(position.longitude, row.longitude) << row.text;
        EXPECT_EQ(position.latitude, row.latitude) << row.text;
    }
    for (double value : {0.1, -122.30899999999999, 2.777777777777778e-08, 1e300, -0.0}) {
        double back = 1;
        ASSERT_TRUE(ReadKmlNumber(KmlNumberText(value), back)) << KmlNumberText(value);
        EXPECT_EQ(back, value);
        EXPECT_EQ(KmlNumberText(value).find('e'), std::string::npos);
    }
}

TEST(XmlProlog, DocumentTypesAndFoolingEncodingsAreRefusedBeforeParsing) {
    const std::string doctype = "<!DOCTYPE kml [<!ENTITY a \"b\">]><kml/>";
    const struct {
        std::string bytes;
        XmlPrologStatus status;
    } rows[] = {
        {"<?xml version=\"1.0\"?>\n<kml/>", XmlPrologStatus::Ok},
        {"\xEF\xBB\xBF<?xml version='1.0' encoding='ISO-8859-1'?><kml/>", XmlPrologStatus::Ok},
        // A document type inside the document is text, not a declaration.
        {"<kml><![CDATA[<!DOCTYPE html>]]></kml>", XmlPrologStatus::Ok},
        {Utf16("<?xml version=\"1.0\" encoding=\"UTF-8\"?><kml/>", false, true),
         XmlPrologStatus::Ok},
        {"", XmlPrologStatus::Ok},
        {doctype, XmlPrologStatus::DocumentType},
        {"<?xml version=\"1.0\"?><?pi x?>\n<!-- <kml> -->" + doctype,
         XmlPrologStatus::DocumentType},
        {"\xEF\xBB\xBF" + doctype, XmlPrologStatus::DocumentType},
        {Utf16("<?xml version=\"1.0\"?>" + doctype, false, true), XmlPrologStatus::DocumentType},
        {Utf16(doctype, true, true), XmlPrologStatus::DocumentType},
        {Utf16("<?xml version=\"1.0\"?>" + doctype, false, false), XmlPrologStatus::DocumentType},
        {Utf16("<?xml version=\"1.0\"?>" + doctype, true, false), XmlPrologStatus::DocumentType},
        {"<?xml version=\"1.0\" encoding=\"UTF-7\"?>+ADw-!DOCTYPE",
         XmlPrologStatus::UnsupportedEncoding},
        {"<?xml version=\"1.0\" encoding = \"IBM037\" ?>", XmlPrologStatus::UnsupportedEncoding},
        {"<?xml version=\"1.0\" encoding=\"UTF-16\"?><kml/>", XmlPrologStatus::UnsupportedEncoding},
        {std::string("<\0\0\0?\0\0\0", 8), XmlPrologStatus::UnsupportedEncoding},
        {std::string("\0\0\xFE\xFF", 4), XmlPrologStatus::UnsupportedEncoding},
        {std::string("\xFF\xFE\0\0<\0\0\0", 8), XmlPrologStatus::UnsupportedEncoding},
        {"\x4C\x6F\xA7\x94\x93", XmlPrologStatus::NotXml},  // EBCDIC "<?xml"
        {"kml", XmlPrologStatus::NotXml},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CheckXmlProlog(row.bytes), row.status) << row.bytes;
}

TEST(PlacemarkCollector, TakesEveryPointOfEveryPlacemarkWithItsNameAndIconHeading) {
    const KmlPoints found = Collect(
        "+Document|+name|not a placemark|-|+Style#turned|+IconStyle|+heading| 45 |-|-|-|"
        "+StyleMap#map|+Pair|+key|highlight|-|+styleUrl|#other|-|-|"
        "+Pair|+key|normal|-|+styleUrl|#turned|-|-|-|+Folder|+Folder|"
        // 1: its own style first; the view's heading is not the icon's.
        "+Placemark|+name|  Two\n  words |-|+LookAt|+heading|10|-|-|"
        "+Style|+IconStyle|+heading|-90|-|-|-|+styleUrl|#turned|-|"
        "+Point|+coordinates|8.5,47.25|-|-|-|"
        // 2: a shared style defined later in the document, two points and a polygon.
        "+Placemark|+styleUrl|#late|-|+MultiGeometry|+Point|+coordinates|1,|2|-|-|"
        "+Polygon|+outerBoundaryIs|+LinearRing|+coordinates|0,0 1,1|-|-|-|-|"
        "+Point|+coordinates|3,4|-|-|-|+name|after|-|-|-|-|"
        // 3: through the StyleMap; 4: unusable points, a track, no style at all.
        "+Placemark|+styleUrl|#map|-|+Point|+coordinates|5,6|-|-|-|"
        "+Placemark|+Point|-|+Point|+coordinates|no,no|-|-|+Point|+coordinates|0,91|-|-|"
        "+Point|+coordinates|1,2|-|+coordinates|3|-|-|"
        "+http://www.google.com/kml/ext/2.2^MultiTrack|+http://www.google.com/kml/ext/"
        "2.2^Track|-|-|"
        "+Point|+coordinates|7,8|-|-|-|"
        // Points outside placemarks and other vocabularies' names do not count.
        "+Point|+coordinates|9,9|-|-|"
        "+Placemark|+http://www.w3.org/2005/Atom^name|atom|-|"
        "+http://example.org/x^Point|+coordinates|9,9|-|-|-|"
        "+Style#late|+IconStyle|+heading|400|-|-|-|-");
    ASSERT_EQ(found.points.size(), 5u);
    const struct {
        int placemark;
        const char* name;
        double longitude, latitude;
        std::optional<double> heading;
    } expected[] = {{1, "Two words", 8.5, 47.25, -90},
                    {2, "after", 1, 2, 400},
                    {2, "after", 3, 4, 400},
                    {3, "", 5, 6, 45},
                    {4, "", 7, 8, std::nullopt}};
    for (size_t i = 0; i < found.points.size(); ++i) {
        const KmlPoint& point = found.points[i];
        EXPECT_EQ(point.placemark, expected[i].placemark) << i;
        EXPECT_EQ(point.name, expected[i].name) << i;
        EXPECT_EQ(point.position.longitude, expected[i].longitude) << i;
        EXPECT_EQ(point.position.latitude, expected[i].latitude) << i;
        EXPECT_EQ(point.heading, expected[i].heading) << i;
    }
    ASSERT_EQ(found.unusable.size(), 4u);
    EXPECT_EQ(found.unusable[0].status, PointStatus::Empty);
    EXPECT_EQ(found.unusable[1].status, PointStatus::Unreadable);
    EXPECT_EQ(found.unusable[1].coordinates, "no,no");
    EXPECT_EQ(found.unusable[2].status, PointStatus::OutsideWorld);
    EXPECT_EQ(found.unusable[2].placemark, 4);
    // Two coordinates elements are two positions, not the pieces of one.
    EXPECT_EQ(found.unusable[3].status, PointStatus::Unreadable);
    EXPECT_EQ(found.unusable[3].coordinates, "1,2 3");
    EXPECT_EQ(found.linesAndShapes, 2);  // the polygon with its ring, the tracks
    EXPECT_EQ(found.placemarks, 5);
}
