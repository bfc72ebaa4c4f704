#!/usr/bin/env python3
"""kml_points.py FOLDER: for each .kml file in FOLDER, what Python's own XML reader finds there,
one tab-separated line: the file's name and "unparsable" when the reader refuses the file; else
"read", the number of usable points, of lines and shapes and of unusable points, and (when there
is a usable point) the first and last one's longitude and latitude (repr, so that reading them
back gives the very same numbers).

The rules are the import's: a point is a Point of a KML Placemark that is not part of a line or
shape; it is usable when it has one coordinates element holding one "lon,lat[,alt]" of finite
numbers inside +-180 and +-90 degrees. A line or shape is an outermost LineString, LinearRing,
Polygon, Model, Track or MultiTrack of a Placemark. Placemarks inside a Placemark are its own."""
import math
import os
import re
import sys
import xml.etree.ElementTree as ElementTree

SPACE = '[ \t\r\n]*'
NUMBER = '([+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?)'
TUPLE = re.compile(f'^{SPACE}{NUMBER}{SPACE},{SPACE}{NUMBER}(?:{SPACE},{SPACE}{NUMBER})?{SPACE}$')
KML = ('http://www.opengis.net/kml/', 'http://earth.google.com/kml/')
GOOGLE = 'http://www.google.com/kml/ext/'
SHAPES = {'LineString', 'LinearRing', 'Polygon', 'Model', 'Track', 'MultiTrack'}
TRACKS = {'Track', 'MultiTrack'}


def kml_name(tag):
    """The local name of an element of KML's vocabulary (or of a track of Google's), else None."""
    namespace, _, local = tag.rpartition('}')
    namespace = namespace.lstrip('{')
    if namespace == '' or namespace.startswith(KML):
        return local
    return local if namespace.startswith(GOOGLE) and local in TRACKS else None


def usable(text):
    match = TUPLE.match(text)
    if not match:
        return None
    numbers = [float(n) for n in match.groups() if n is not None]
    lon, lat = numbers[0], numbers[1]
    if not all(map(math.isfinite, numbers)) or abs(lat) > 90 or abs(lon) > 180:
        return None
    return lon, lat


def count(path):
    found, shapes, unusable = [], 0, 0
    roles = []  # what each open element counts as where it stands, or None
    for event, element in ElementTree.iterparse(path, events=('start', 'end')):
        if event == 'end':
            if roles.pop() != 'Point':
                continue
            texts = [''.join(c.itertext()) for c in element if kml_name(c.tag) == 'coordinates']
            position = usable(texts[0]) if len(texts) == 1 else None
            if position:
                found.append(position)
            else:
                unusable += 1
            continue
        name = kml_name(element.tag)
        in_placemark, in_shape = 'Placemark' in roles, 'Shape' in roles
        role = None
        if name == 'Placemark' and not in_placemark:
            role = 'Placemark'
        elif name in SHAPES and in_placemark:
            role = 'Shape'
            shapes += not in_shape
        elif name == 'Point' and in_placemark and not in_shape:
            role = 'Point'
        roles.append(role)
    return found, shapes, unusable


for file in sorted(f for f in os.listdir(sys.argv[1]) if f.endswith('.kml')):
    try:
        found, shapes, unusable = count(os.path.join(sys.argv[1], file))
    except ElementTree.ParseError:
        print(file, 'unparsable', sep='\t')
        continue
    ends = found[0] + found[-1] if found else ()
    print(file, 'read', len(found), shapes, unusable, *map(repr, ends), sep='\t')
