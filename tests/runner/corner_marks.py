"""Reads a drawing saved after the corner-cut check and compares its error marks with what the sample
generator expected for every corner: prints "corner_marks N", "text_marks N" and one "fault ..." line for
each corner left unmarked and for marks that copy nothing expected. Usage: corner_marks.py DRAWING EXPECTED_CSV"""
import csv
import sys

import ezdxf

ERROR_LAYER = "FL_ERROR_切角标注检测"


def rounded(point):
    return tuple(round(float(v), 3) for v in point)


def shape(entity):
    """The geometry a mark copies from its original, to the millimetre."""
    kind = entity.dxftype()
    if kind == "LINE":
        return (kind, rounded(entity.dxf.start), rounded(entity.dxf.end))
    if kind == "ARC":
        return (kind, rounded(entity.dxf.center), rounded((entity.dxf.radius, entity.dxf.start_angle,
                                                           entity.dxf.end_angle)))
    if kind == "LWPOLYLINE":
        return (kind,) + tuple(rounded(p) for p in entity.get_points("xyb"))
    if kind == "TEXT":
        return (kind, rounded(entity.dxf.insert), entity.dxf.text)
    return (kind, entity.dxf.handle)


def main():
    doc = ezdxf.readfile(sys.argv[1])
    msp = doc.modelspace()
    marks = {}
    for entity in msp:
        if entity.dxf.layer == ERROR_LAYER:
            if entity.dxf.color != 5:
                print("fault mark %s has colour %s" % (entity.dxf.handle, entity.dxf.color))
            marks[shape(entity)] = marks.get(shape(entity), 0) + 1
    expected = 0
    expected_texts = 0
    with open(sys.argv[2], encoding="utf-8") as rows:
        for row in csv.DictReader(rows):
            if row["outcome"] == "0":
                continue
            expected += 1
            # An irregular corner or one without annotation is marked alone, the others with their text.
            expected_texts += 0 if row["outcome"] in ("4", "5") else 1
            wanted = shape(doc.entitydb.get(row["handle"]))
            if marks.get(wanted, 0) == 0:
                print("fault corner %s (outcome %s) is not marked" % (row["handle"], row["outcome"]))
            else:
                marks[wanted] -= 1
    # What is left are the marks of the annotations (and strays, if any are not texts).
    left = sum(marks.values())
    stray = sum(n for s, n in marks.items() if s[0] != "TEXT")
    if stray:
        print("fault %d marks copy no wrong corner and no text" % stray)
    if left != expected_texts:
        print("fault %d text marks, %d wrong annotations" % (left, expected_texts))
    print("corner_marks %d" % expected)
    print("text_marks %d" % left)


main()
