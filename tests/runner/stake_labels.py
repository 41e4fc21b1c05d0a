"""Reads a drawing the stake-point annotation saved and reports its labels.

usage: stake_labels.py DRAWING

A label is a reference of an anonymous block carrying "DL_ZD_DIM" (the accepted H), inserted at the stake
point, held by a group described "*UPegDim". Its block holds the frame rules, the texts X=, Y=, H=, h= and
last the leader from the stake point to where the label was dropped. Prints "key value" lines (one
"label x,y|side|H held|X text|Y text|H text|h text" per label, in drawing order) and one "fault ..." line
per inconsistency, for the calling test to assert on.
"""

import math
import sys

import ezdxf

LABEL_APP = "DL_ZD_DIM"
SCALE_APP = "FAPP_SCALEBLK"
GROUP_NAME = "*UPegDim"
CLOSE = 1e-6


def reals(entity, app):
    return [tag.value for tag in entity.get_xdata(app) if tag.code == 1040] if entity.has_xdata(app) else []


def decimals(text):
    number = text.split("=", 1)[1]
    return len(number.split(".", 1)[1]) if "." in number else 0


def side(insert, frame, leader):
    """Where the frame lies from the cursor (the leader's end): "right", "left" or "across"."""
    cursor = leader.dxf.end
    xs = [p.x for line in frame for p in (line.dxf.start, line.dxf.end)]
    if min(xs) >= cursor.x - CLOSE:
        return "right"
    if max(xs) <= cursor.x + CLOSE:
        return "left"
    return "across"


def main():
    doc = ezdxf.readfile(sys.argv[1])
    auditor = doc.audit()
    print("audit_errors", len(auditor.errors))
    for error in auditor.errors:
        print("fault audit:", error.message)
    dimlfac = doc.header.get("$DIMLFAC", 1.0)
    msp = doc.modelspace()

    grouped = {}
    groups = 0
    for name, group in doc.groups:
        if group.dxf.get("description", "") != GROUP_NAME:
            continue
        groups += 1
        members = list(group)
        if len(members) != 1:
            print("fault group", name, "holds", len(members), "entities")
        for member in members:
            grouped[member.dxf.handle] = grouped.get(member.dxf.handle, 0) + 1
    print("groups", groups)

    refs = [e for e in msp if e.dxftype() == "INSERT" and e.has_xdata(LABEL_APP)]
    print("labels", len(refs))
    for ref in refs:
        handle = ref.dxf.handle
        if grouped.get(handle, 0) != 1:
            print("fault label", handle, "is in", grouped.get(handle, 0), "groups")
        if not ref.dxf.name.startswith("*U"):
            print("fault label", handle, "references the named block", ref.dxf.name)
        if len(reals(ref, SCALE_APP)) != 1:
            print("fault label", handle, "has no drawing scale")
        held = reals(ref, LABEL_APP)
        if len(held) != 1:
            print("fault label", handle, "holds", held)
            continue
        block = doc.blocks.get(ref.dxf.name)
        entities = list(block)
        lines = [e for e in entities if e.dxftype() == "LINE"]
        texts = [e.dxf.text for e in entities if e.dxftype() == "TEXT"]
        others = [e.dxftype() for e in entities if e.dxftype() not in ("LINE", "TEXT")]
        if others or len(texts) != 4 or len(lines) not in (6 + 1, 5 + 1) or entities[-1] is not lines[-1]:
            print("fault label", handle, "holds", [e.dxftype() for e in entities])
            continue
        insert = ref.dxf.insert
        base = block.block.dxf.base_point
        leader = lines[-1]
        if math.dist(leader.dxf.start, insert) > CLOSE or math.dist(base, insert) > CLOSE:
            print("fault label", handle, "leader or base point is not at the stake point", insert)
        prefixes = [t[:2] for t in texts]
        if prefixes != ["X=", "Y=", "H=", "h="]:
            print("fault label", handle, "texts", texts)
            continue
        # X and Y show the stake point, H the value the reference holds, each to its own decimals.
        for text, value in ((texts[0], insert.x * dimlfac), (texts[1], insert.y * dimlfac), (texts[2], held[0])):
            if abs(float(text[2:]) - value) > 0.5 * 10 ** -decimals(text) + 1e-9:
                print("fault label", handle, "shows", text, "for", value)
        if decimals(texts[0]) != decimals(texts[1]) or decimals(texts[2]) != decimals(texts[3]):
            print("fault label", handle, "mixes decimals", texts)
        print("label", "|".join([f"{insert.x:g},{insert.y:g}", side(insert, lines[:-1], leader),
                                 repr(held[0])] + texts))
    return 0


if __name__ == "__main__":
    sys.exit(main())
