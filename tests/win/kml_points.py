#!/usr/bin/env python3
"""kml_points.py FOLDER: for each .kml file in FOLDER, what Python's own XML reader finds there,
one tab-separated line: the file's name, "read" or "refused" (not XML, or no usable point), the
number of usable points, and the first and last point's longitude and latitude (repr, so that
reading them back gives the very same numbers). A point is a Point of a KML Placemark; it is
usable when its coordinates are one "lon,lat[,alt]" inside +-180 and +-90 degrees."""
import os
import re
import sys
import xml.etree.ElementTree as ElementTree

SPACE = '[ \t\r\n]*'
NUMBER = '([+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?)'
TUPLE = re.compile(f'^{SPACE}{NUMBER}{SPACE},{SPACE}{NUMBER}(?:{SPACE},{SPACE}{NUMBER})?{SPACE}$')
KML = ('', 'http://www.opengis.net/kml/', 'http://earth.google.com/kml/')


def kml_name(tag):
    namespace, _, local = tag.rpartition('}')
    namespace = namespace.lstrip('{')
    return local if namespace == '' or namespace.startswith(KML[1:]) else None


def usable(text):
    match = TUPLE.match(text or '')
    if not match:
        return None
    lon, lat = float(match.group(1)), float(match.group(2))
    if abs(lon) == float('inf') or abs(lat) == float('inf') or abs(lat) > 90 or abs(lon) > 180:
        return None
    return lon, lat


def points(path):
    found, stack = [], []
    for event, element in ElementTree.iterparse(path, events=('start', 'end')):
        name = kml_name(element.tag)
        if event == 'start':
            stack.append(name)
            continue
        stack.pop()
        if name == 'Point' and 'Placemark' in stack:
            texts = [c.text for c in element if kml_name(c.tag) == 'coordinates']
            position = usable(''.join(t or '' for t in texts)) if texts else None
            if position:
                found.append(position)
    return found


for file in sorted(f for f in os.listdir(sys.argv[1]) if f.endswith('.kml')):
    try:
        found = points(os.path.join(sys.argv[1], file))
    except ElementTree.ParseError:
        found = []
    if found:
        print(file, 'read', len(found), *map(repr, found[0] + found[-1]), sep='\t')
    else:
        print(file, 'refused', 0, sep='\t')
