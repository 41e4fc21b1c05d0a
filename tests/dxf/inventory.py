#!/usr/bin/python3
"""An independent reader's inventory of a DXF drawing, and the comparison of two inventories.

Used by the round-trip tests: ezdxf reads the drawing we were given and the one we saved; everything a
user would miss must be the same: entities of every layout and block with their attributes, extended
data and texts, layers, styles, blocks, groups with their members, dictionaries and XRECORDs.

usage: inventory.py compare ORIGINAL SAVED   (prints the differences; exit 1 when there are any)
       inventory.py audit FILE               (exit 1 when ezdxf's audit finds errors)
       inventory.py dump FILE
"""
import json
import math
import re
import sys

import ezdxf
from ezdxf import recover
from ezdxf.lldxf.const import DXFValueError

# Attributes that a writer may legitimately express differently without changing the drawing.
IGNORED = {"handle", "owner", "version", "dimension_version", "prompt_string", "flags_lwpolyline"}


def normalise(value):
    if isinstance(value, float):
        if math.isnan(value):
            return "nan"
        return round(value, 6) + 0.0
    if isinstance(value, (tuple, list)) or type(value).__name__ in ("Vec3", "Vec2"):
        return [normalise(v) for v in value]
    if isinstance(value, bytes):
        return value.hex()
    return value if isinstance(value, (int, str, bool)) or value is None else str(value)


def attributes(entity):
    out = {}
    for name, value in entity.dxf.all_existing_dxf_attribs().items():
        if name in IGNORED:
            continue
        out[name] = normalise(value)
    # Defaults written or left out are the same value.
    for name, default in (("linetype", "BYLAYER"), ("color", 256), ("lineweight", -1), ("ltscale", 1.0),
                          ("invisible", 0), ("thickness", 0.0), ("extrusion", [0.0, 0.0, 1.0]),
                          ("paperspace", 0), ("elevation", 0.0), ("const_width", 0.0), ("rotation", 0.0),
                          ("width", 1.0), ("oblique", 0.0), ("text_generation_flag", 0), ("halign", 0),
                          ("valign", 0), ("xscale", 1.0), ("yscale", 1.0), ("zscale", 1.0),
                          ("column_count", 1), ("row_count", 1), ("column_spacing", 0.0), ("row_spacing", 0.0),
                          ("start_width", 0.0), ("end_width", 0.0), ("style", "Standard"), ("flags", 0)):
        if name in out and (out[name] == default or (isinstance(default, str) and isinstance(out[name], str)
                                                     and out[name].upper() == default.upper())):
            del out[name]
    # Table names ignore case: R12 files write "BYBLOCK" where later ones write "ByBlock".
    if "linetype" in out:
        out["linetype"] = out["linetype"].upper()
    return out


def xdata_of(entity):
    if not entity.xdata:
        return {}
    data = {}
    for app, tags in entity.xdata.data.items():
        data[app.upper()] = [[t.code, normalise(t.value)] for t in tags]
    return data


def entity_record(entity, index, use_handles):
    record = {"type": entity.dxftype(), "attribs": attributes(entity), "xdata": xdata_of(entity)}
    if entity.dxftype() == "LWPOLYLINE":
        record["points"] = normalise([list(p) for p in entity.get_points("xyseb")])
    elif entity.dxftype() == "POLYLINE":
        # Widths a vertex repeats from its polyline's defaults are the defaults.
        defaults = {"start_width": entity.dxf.get("default_start_width", 0.0),
                    "end_width": entity.dxf.get("default_end_width", 0.0)}
        record["vertices"] = []
        for v in entity.vertices:
            a = attributes(v)
            for name, value in defaults.items():
                if a.get(name, normalise(value)) == normalise(value):
                    a.pop(name, None)
            record["vertices"].append(a)
    elif entity.dxftype() == "INSERT":
        record["attribs_of_insert"] = [attributes(a) for a in entity.attribs]
    elif entity.dxftype() == "MTEXT":
        record["text"] = entity.text
    key = entity.dxf.handle if use_handles else f"#{index}"
    return key, record


def read(path):
    try:
        return recover.readfile(path)
    except Exception:
        doc = ezdxf.readfile(path)  # binary DXF: the recover loader reads ASCII only
        return doc, doc.audit()


def inventory(path):
    doc, auditor = read(path)
    use_handles = doc.dxfversion >= "AC1015"
    inv = {"layouts": {}, "blocks": {}, "layers": {}, "styles": sorted(s.dxf.name for s in doc.styles if s.dxf.name),
           "dimstyles": sorted(s.dxf.name for s in doc.dimstyles), "groups": {}, "dictionaries": {}, "xrecords": {}}
    for layout in doc.layouts:
        name = "Model" if layout.is_modelspace else "Paper"
        entities = inv["layouts"].setdefault(name, {})
        for i, e in enumerate(layout):
            k, r = entity_record(e, i, use_handles)
            entities[k] = r
    for block in doc.blocks:
        if block.name.upper() in ("*MODEL_SPACE", "*PAPER_SPACE") or block.name.upper().startswith("*PAPER_SPACE"):
            continue
        entities = {}
        for i, e in enumerate(block):
            k, r = entity_record(e, i, use_handles)
            entities[k] = r
        inv["blocks"][block.name] = {"base": normalise(block.block.dxf.base_point), "entities": entities}
    for layer in doc.layers:
        inv["layers"][layer.dxf.name] = {"color": layer.color, "off": layer.is_off(), "frozen": layer.is_frozen(),
                                         "locked": layer.is_locked(), "linetype": layer.dxf.linetype.upper()}
    for name, group in doc.groups:
        inv["groups"][name] = [e.dxf.handle for e in group] if use_handles else len(group)

    def walk(dictionary, path):
        for key, value in dictionary.items():
            p = path + "/" + key
            if hasattr(value, "dxftype") and value.dxftype() == "DICTIONARY":
                inv["dictionaries"][p] = sorted(value.keys())
                walk(value, p)
            elif hasattr(value, "dxftype") and value.dxftype() == "XRECORD":
                inv["xrecords"][p] = [[t.code, normalise(t.value)] for t in value.tags]
            elif hasattr(value, "dxftype"):
                inv["dictionaries"][p] = value.dxftype()
    walk(doc.rootdict, "")
    return inv, auditor


def dimensions_without_block(auditor):
    """Handles of the DIMENSIONs that ezdxf removed because the file gave them no geometry block."""
    handles = set()
    for fix in auditor.fixes:
        match = re.match(r"Removed DIMENSION\(#(\w+)\) without valid geometry block", fix.message)
        if match:
            handles.add(match.group(1))
    return handles


def compare(a, b, path=""):
    diffs = []
    if isinstance(a, dict) and isinstance(b, dict):
        for k in sorted(set(a) | set(b), key=str):
            if k not in a:
                diffs.append(f"{path}/{k}: only in the saved drawing")
            elif k not in b:
                diffs.append(f"{path}/{k}: missing from the saved drawing")
            else:
                diffs.extend(compare(a[k], b[k], f"{path}/{k}"))
    elif a != b:
        diffs.append(f"{path}: {json.dumps(a, ensure_ascii=False)[:200]} != {json.dumps(b, ensure_ascii=False)[:200]}")
    return diffs


def main(argv):
    if len(argv) == 3 and argv[1] == "audit":
        try:
            doc = ezdxf.readfile(argv[2])
            auditor = doc.audit()
        except DXFValueError as error:
            # ezdxf's strict loader keeps the \\U+XXXX escapes of a pre-R2007 file in names and then
            # rejects such a name where it checks one (the SEQEND it makes up for an INSERT); its recover
            # loader decodes them first.
            if "\\U+" not in str(error):
                raise
            doc, auditor = recover.readfile(argv[2])
        for error in auditor.errors:
            print("error:", error.message)
        return 1 if auditor.has_errors else 0
    if len(argv) == 3 and argv[1] == "dump":
        print(json.dumps(inventory(argv[2])[0], indent=1, ensure_ascii=False))
        return 0
    if len(argv) == 4 and argv[1] == "compare":
        original, original_auditor = inventory(argv[2])
        saved, _ = inventory(argv[3])
        # Files without handles (R12) are compared by position; the saved file has handles.
        if any(k.startswith("#") for layout in original["layouts"].values() for k in layout):
            for section in ("layouts",):
                for name, entities in saved[section].items():
                    saved[section][name] = {f"#{i}": r for i, r in enumerate(entities.values())}
            for name, block in saved["blocks"].items():
                block["entities"] = {f"#{i}": r for i, r in enumerate(block["entities"].values())}
            saved["groups"] = {k: (len(v) if isinstance(v, list) else v) for k, v in saved["groups"].items()}
        # A dimension that the original gives no geometry (*D) block gets one when saved, so that other
        # programs can draw it. ezdxf drops such a dimension from the original: the saved dimension and
        # its new block are no difference, but the dimension must be there.
        diffs = []
        for handle in sorted(dimensions_without_block(original_auditor)):
            found = [layout for layout in saved["layouts"].values()
                     if layout.get(handle, {}).get("type") == "DIMENSION"]
            if not found:
                diffs.append(f"/layouts/*/{handle}: the DIMENSION without a geometry block is missing from the saved"
                             " drawing")
                continue
            block = found[0].pop(handle)["attribs"].get("geometry", "")
            if block.upper().startswith("*D") and block not in original["blocks"]:
                saved["blocks"].pop(block, None)
        # Layers the original's entities use without defining them are made by the reader, as hosts do.
        used = {r["attribs"].get("layer") for layout in original["layouts"].values() for r in layout.values()}
        for name in list(saved["layers"]):
            if name not in original["layers"] and name in used:
                del saved["layers"][name]
        diffs += compare(original, saved)
        for d in diffs:
            print(d)
        return 1 if diffs else 0
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
