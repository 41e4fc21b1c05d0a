"""Builds the T-junction drawing the repair example runs on, and checks the drawing the repair saved.

usage: t_junction.py build GENERATED OUT
       t_junction.py check SAVED

build: keeps the generated drawing's tables and parameter store, replaces everything in model space by
one T junction: a through road along y = 0 from x = 0 to 200 (width 30: side lines at y = +-10, red lines
at y = +-15) and a dead-end road along x = 100 from y = 100 down to y = 12 (width 24, its side and red lines
above y = 15).
check: the dead end must run from (100, 100) to the through centreline at (100, 0); the through
centreline must be broken there into two pieces that both keep the road data; each of the through road's
side and red lines broken at x = 100; the dead end's road lines as drawn; nothing else in model space.
Prints "key value" lines and one "fault ..." line per difference.
"""

import sys

import ezdxf

CENTRE = "DL-道路中线"
SIDE = "DL-道路边线"
RED = "DL-道路红线"
ROAD_APP = "FAPP_DLZX"
WIDTH_APP = "FD_WIDTH"
NEAR = 1e-6


def register(doc, app):
    if app not in doc.appids:
        doc.appids.new(app)


def build(generated, out):
    doc = ezdxf.readfile(generated)
    msp = doc.modelspace()
    for entity in list(msp):
        msp.delete_entity(entity)
    for app in (ROAD_APP, WIDTH_APP):
        register(doc, app)

    def line(layer, start, end):
        return msp.add_line(start, end, dxfattribs={"layer": layer})

    def centreline(start, end, width):
        entity = line(CENTRE, start, end)
        entity.set_xdata(ROAD_APP, [(1000, "道路中线")])
        entity.set_xdata(WIDTH_APP, [(1000, width), (1000, "道路宽度")])

    for y in (10, -10):
        line(SIDE, (0, y), (200, y))
    for y in (15, -15):
        line(RED, (0, y), (200, y))
    for x in (94, 106):
        line(SIDE, (x, 15), (x, 100))
    for x in (88, 112):
        line(RED, (x, 15), (x, 100))
    centreline((0, 0), (200, 0), "30")
    centreline((100, 100), (100, 12), "24")
    doc.saveas(out)


def ends(entity):
    start, end = entity.dxf.start, entity.dxf.end
    return (round(start.x, 3), round(start.y, 3)), (round(end.x, 3), round(end.y, 3))


def width_of(entity):
    if not entity.has_xdata(WIDTH_APP):
        return None
    return entity.get_xdata(WIDTH_APP)[0].value


def check(saved):
    doc = ezdxf.readfile(saved)
    faults = []
    found = {CENTRE: [], SIDE: [], RED: []}
    for entity in doc.modelspace():
        if entity.dxftype() != "LINE" or entity.dxf.layer not in found:
            faults.append(f"unexpected {entity.dxftype()} on {entity.dxf.layer}")
            continue
        start, end = ends(entity)
        road = entity.has_xdata(ROAD_APP)
        found[entity.dxf.layer].append((start, end, width_of(entity) if road else None))

    want_centre = sorted([((100, 100), (100, 0), "24"), ((0, 0), (100, 0), "30"), ((100, 0), (200, 0), "30")])
    want_side = [((0, y), (100, y), None) for y in (10, -10)] + [((100, y), (200, y), None) for y in (10, -10)]
    want_side += [((x, 15), (x, 100), None) for x in (94, 106)]
    want_red = [((0, y), (100, y), None) for y in (15, -15)] + [((100, y), (200, y), None) for y in (15, -15)]
    want_red += [((x, 15), (x, 100), None) for x in (88, 112)]
    for layer, want in ((CENTRE, want_centre), (SIDE, want_side), (RED, want_red)):
        have = sorted(found[layer])
        want = sorted(want)
        for item in have:
            if item not in want:
                faults.append(f"{layer}: unexpected line {item}")
        for item in want:
            if item not in have:
                faults.append(f"{layer}: missing line {item}")
    print(f"centrelines {len(found[CENTRE])}")
    print(f"road_lines {len(found[SIDE]) + len(found[RED])}")
    for fault in faults:
        print(f"fault {fault}")
    return 0


def main(argv):
    if len(argv) == 4 and argv[1] == "build":
        build(argv[2], argv[3])
        return 0
    if len(argv) == 3 and argv[1] == "check":
        return check(argv[2])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
