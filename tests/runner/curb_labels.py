"""Reads a drawing the curb-return radius annotation saved and compares its labels with the geometry.

usage: curb_labels.py DRAWING --layers L1,L2 [--mode text|leader] [--prefix R-] [--decimals 2]
                      [--cut-prefix "Q "] [--asym-prefix FQ]

Every corner curve or road line (ARC, LWPOLYLINE, POLYLINE with corner or road extended data) on one of
the given layers must link, through its "道路圆角标注" extended data, exactly the labels its geometry
calls for: per arc a radius label (a TEXT "prefix + radius" in the text run, a radial DIMENSION measuring
the radius in the leader run), and for a straight lightweight-polyline corner cut that joins two road lines
the tangent-length label(s). Nothing else may carry the label's extended data or be linked. Prints one
"key value" line per finding, and one "fault ..." line per difference, for the calling test to assert on.
"""

import argparse
import math
import sys

import ezdxf

LABEL_APP = "FAPP_DLYQJBZ"
LABEL_TEXT = "道路圆切角标注="
LINK_APP = "道路圆角标注"
CORNER_APPS = ("FAPP_DLYQJ", "DLYQJ_XDATA")
ROAD_APPS = ("FAPP_DLZX", "FAPP_DLBX")
SELECTED_TYPES = ("ARC", "LWPOLYLINE", "POLYLINE")
TOUCH = 0.01  # how close a road line's end must be to a cut's end
SYMMETRIC = 0.01  # tangent lengths closer than this make a symmetric cut
MIN_FIRST_SEGMENT = 0.5  # the leader run leaves curves with a shorter first segment alone


def corner_type(entity):
    """The corner curve's type (2: straight cut), 0 for a road line, None for neither."""
    for app in CORNER_APPS:
        if entity.has_xdata(app):
            for tag in entity.get_xdata(app):
                if tag.code == 1070:
                    return tag.value
            return 0
    if any(entity.has_xdata(app) for app in ROAD_APPS):
        return 0
    return None


def linked_handles(entity):
    if not entity.has_xdata(LINK_APP):
        return []
    return [tag.value for tag in entity.get_xdata(LINK_APP) if tag.code == 1005]


def bulge_radius(p, q, bulge):
    chord = math.dist(p, q)
    return chord * (1 + bulge * bulge) / (4 * abs(bulge))


def bulge_middle(p, q, bulge):
    """The point halfway along the arc from p to q with that bulge."""
    mx, my = (p[0] + q[0]) / 2, (p[1] + q[1]) / 2
    dx, dy = q[0] - p[0], q[1] - p[1]
    sagitta = bulge * math.hypot(dx, dy) / 2
    length = math.hypot(dx, dy)
    # The arc bulges to the right of p->q for a positive bulge (counter-clockwise arc).
    return (mx + dy / length * sagitta, my - dx / length * sagitta)


def vertices(entity):
    """(x, y, bulge) of the vertices, and whether the polyline is closed."""
    if entity.dxftype() == "LWPOLYLINE":
        return [(x, y, b) for x, y, _, _, b in entity.get_points("xyseb")], entity.closed
    return [(v.dxf.location.x, v.dxf.location.y, v.dxf.bulge) for v in entity.vertices], entity.is_closed


def arcs_of(entity):
    """(radius, middle point) of each arc of the curve, and its first segment's length."""
    if entity.dxftype() == "ARC":
        centre, r = entity.dxf.center, entity.dxf.radius
        sweep = (entity.dxf.end_angle - entity.dxf.start_angle) % 360
        mid = math.radians(entity.dxf.start_angle + sweep / 2)
        start, end = entity.start_point, entity.end_point
        return [(r, (centre.x + r * math.cos(mid), centre.y + r * math.sin(mid)))], math.dist(
            (start.x, start.y), (end.x, end.y))
    points, closed = vertices(entity)
    count = len(points) if closed else len(points) - 1
    arcs = []
    for i in range(count):
        x, y, bulge = points[i]
        nx, ny, _ = points[(i + 1) % len(points)]
        if bulge != 0:
            arcs.append((bulge_radius((x, y), (nx, ny), bulge), bulge_middle((x, y), (nx, ny), bulge)))
    first = math.dist(points[0][:2], points[1][:2]) if len(points) > 1 else 0.0
    return arcs, first


def curve_ends(entity):
    kind = entity.dxftype()
    if kind == "LINE":
        return [(entity.dxf.start.x, entity.dxf.start.y), (entity.dxf.end.x, entity.dxf.end.y)]
    if kind == "ARC":
        return [(entity.start_point.x, entity.start_point.y), (entity.end_point.x, entity.end_point.y)]
    if kind in ("LWPOLYLINE", "POLYLINE"):
        points, _ = vertices(entity)
        return [points[0][:2], points[-1][:2]] if points else []
    return []


def touching_segment(curves, point, cut):
    """The straight piece of the first curve that ends at point (its far end first), or None."""
    for curve in curves:
        if curve is cut:
            continue
        ends = curve_ends(curve)
        for i, end in enumerate(ends):
            if abs(end[0] - point[0]) <= TOUCH and abs(end[1] - point[1]) <= TOUCH:
                if curve.dxftype() == "LINE":
                    return ends[1 - i], end
                if curve.dxftype() in ("LWPOLYLINE", "POLYLINE"):
                    points, _ = vertices(curve)
                    near = points[0] if i == 0 else points[-1]
                    far = points[1] if i == 0 else points[-2]
                    return far[:2], near[:2]
                return None
    return None


def meet(a, b):
    """Where the lines through segments a and b cross, None when parallel."""
    (x1, y1), (x2, y2) = a
    (x3, y3), (x4, y4) = b
    d = (x1 - x2) * (y3 - y4) - (y1 - y2) * (x3 - x4)
    if abs(d) < 1e-12:
        return None
    t = ((x1 - x3) * (y3 - y4) - (y1 - y3) * (x3 - x4)) / d
    return (x1 + t * (x2 - x1), y1 + t * (y2 - y1))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("drawing")
    parser.add_argument("--layers", required=True)
    parser.add_argument("--mode", choices=("text", "leader"), default="text")
    parser.add_argument("--prefix", default="R-")
    parser.add_argument("--decimals", type=int, default=2)
    parser.add_argument("--cut-prefix", default="Q ")
    parser.add_argument("--asym-prefix", default="FQ")
    args = parser.parse_args()
    layers = {name.casefold() for name in args.layers.split(",")}

    doc = ezdxf.readfile(args.drawing)
    auditor = doc.audit()
    print("audit_errors", len(auditor.errors))
    for error in auditor.errors:
        print("fault audit:", error.message)
    msp = doc.modelspace()
    entities = list(msp)
    by_handle = {e.dxf.handle: e for e in entities}
    dimlfac = doc.header.get("$DIMLFAC", 1.0)
    fmt = "%.*f"

    def number(value):
        return fmt % (args.decimals, value * dimlfac)

    labels = [e for e in entities if e.has_xdata(LABEL_APP)]
    print("labels", len(labels))
    for label in labels:
        print("handle", label.dxf.handle)
        if [t.value for t in label.get_xdata(LABEL_APP)] != [LABEL_TEXT]:
            print("fault label", label.dxf.handle, "has extended data", label.get_xdata(LABEL_APP))
    for layer in sorted({label.dxf.layer for label in labels}):
        print("label_layer", layer)

    counts = dict.fromkeys(
        ("radius_arcs", "radius_labels", "cuts", "cut_labels", "texts", "dimensions", "dimension_blocks"), 0)
    counts["texts"] = sum(1 for label in labels if label.dxftype() == "TEXT")
    counts["dimensions"] = sum(1 for label in labels if label.dxftype() == "DIMENSION")
    for label in labels:
        if label.dxftype() != "DIMENSION":
            continue
        name = label.dxf.get("geometry")
        block = doc.blocks.get(name) if name else None
        if block is not None and len(block) > 0:
            counts["dimension_blocks"] += 1

    red_curves = {}
    for e in entities:
        if e.dxftype() in ("LINE", "LWPOLYLINE", "POLYLINE", "ARC"):
            red_curves.setdefault(e.dxf.layer.casefold(), []).append(e)

    linked = set()
    for e in entities:
        links = linked_handles(e)
        linked.update(links)
        kind = corner_type(e)
        selected = e.dxftype() in SELECTED_TYPES and kind is not None and e.dxf.layer.casefold() in layers
        if not selected:
            if links:
                print("fault", e.dxftype(), e.dxf.handle, "on", e.dxf.layer, "was annotated")
            continue
        missing = [h for h in links if h not in by_handle]
        if missing:
            print("fault", e.dxf.handle, "links labels that are not in the drawing:", missing)
        got = [by_handle[h] for h in links if h in by_handle]

        arcs, first = arcs_of(e)
        points = [] if e.dxftype() == "ARC" else vertices(e)[0]
        expected_texts = []
        expected_radii = []
        if kind > 0 and len(points) > 2:
            pass  # corner curves of more than one segment are left alone
        elif args.mode == "text" and kind != 2:
            expected_texts = [(args.prefix + number(r), mid) for r, mid in arcs]
        elif args.mode == "leader" and first >= MIN_FIRST_SEGMENT:
            expected_radii = [r for r, _ in arcs]
        counts["radius_arcs"] += len(expected_texts) + len(expected_radii)

        cut_texts = []
        if kind == 2 and e.dxftype() == "LWPOLYLINE" and len(points) == 2 and points[0][2] == 0:
            curves = red_curves.get(e.dxf.layer.casefold(), [])
            a = touching_segment(curves, points[0][:2], e)
            b = touching_segment(curves, points[1][:2], e)
            corner = meet(a, b) if a and b else None
            if corner is not None:
                d1 = math.dist(points[0][:2], corner)
                d2 = math.dist(points[1][:2], corner)
                if abs(d1 - d2) < SYMMETRIC:
                    cut_texts = [args.cut_prefix + number(min(d1, d2))]
                else:
                    cut_texts = [args.asym_prefix + number(d1), args.asym_prefix + number(d2)]
                counts["cuts"] += 1

        texts = sorted(g.dxf.text for g in got if g.dxftype() == "TEXT")
        wanted = sorted([t for t, _ in expected_texts] + cut_texts)
        if texts != wanted:
            print("fault", e.dxftype(), e.dxf.handle, "has texts", texts, "instead of", wanted)
        else:
            counts["cut_labels"] += len(cut_texts)
            counts["radius_labels"] += len(expected_texts)
        # A radius text stands beside the middle of its arc.
        for text, mid in expected_texts:
            for g in got:
                if g.dxftype() == "TEXT" and g.dxf.text == text:
                    at = g.dxf.align_point if g.dxf.halign or g.dxf.valign else g.dxf.insert
                    if math.dist((at.x, at.y), mid) > 2 * g.dxf.height:
                        print("fault", text, "of", e.dxf.handle, "stands", math.dist((at.x, at.y), mid),
                              "from its arc")

        dims = [g for g in got if g.dxftype() == "DIMENSION"]
        measured = sorted(d.get_measurement() for d in dims)
        if len(measured) != len(expected_radii) or any(
                abs(m - r) > 1e-6 * max(1.0, r) for m, r in zip(measured, sorted(expected_radii))):
            print("fault", e.dxftype(), e.dxf.handle, "has dimensions measuring", measured, "instead of",
                  sorted(expected_radii))
        else:
            counts["radius_labels"] += len(dims)
        for d in dims:
            if d.dimtype != 4:
                print("fault dimension", d.dxf.handle, "is of type", d.dimtype, "not radial")
        for g in got:
            if not g.has_xdata(LABEL_APP):
                print("fault", e.dxf.handle, "links", g.dxftype(), g.dxf.handle, "that is not a label")

    for label in labels:
        if label.dxf.handle not in linked:
            print("fault label", label.dxf.handle, repr(label.dxf.get("text", "")), "is linked from nothing")
    for key, value in counts.items():
        print(key, value)
    return 0


if __name__ == "__main__":
    sys.exit(main())
