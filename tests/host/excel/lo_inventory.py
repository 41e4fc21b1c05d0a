#!/usr/bin/env python3
# What LibreOffice sees in a .xls workbook, in the lines xls_inventory.py prints:
#   sheet <name>            then, for that sheet:
#   cell <row> <column> <horizontal alignment> <text>   (rows and columns from 1; alignment 0 general,
#                                                        1 left, 2 centred, 3 right; texts as hex code points)
#   width <column> <width in centimetres>
# LibreOffice (headless, with a profile of its own) converts the workbook to a flat OpenDocument
# spreadsheet, which is read here with the standard library. Usage: lo_inventory.py WORKBOOK
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

NS = {
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "style": "urn:oasis:names:tc:opendocument:xmlns:style:1.0",
    "table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
    "fo": "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0",
}


def q(name):
    prefix, local = name.split(":")
    return "{%s}%s" % (NS[prefix], local)


def hexes(text):
    return " ".join("%x" % ord(c) for c in text)


def convert(path, folder):
    profile = "file://" + os.path.join(folder, "profile")
    command = ["soffice", "-env:UserInstallation=" + profile, "--headless", "--norestore",
               "--convert-to", "fods", "--outdir", folder, path]
    done = subprocess.run(command, capture_output=True, text=True, timeout=120)
    result = os.path.join(folder, os.path.splitext(os.path.basename(path))[0] + ".fods")
    if done.returncode != 0 or not os.path.exists(result):
        raise SystemExit("LibreOffice did not convert the workbook: " + done.stdout + done.stderr)
    return result


def length_cm(value):
    for unit, factor in (("cm", 1.0), ("mm", 0.1), ("in", 2.54), ("pt", 2.54 / 72)):
        if value.endswith(unit):
            return float(value[: -len(unit)]) * factor
    raise SystemExit("unknown length " + value)


def styles(root):
    """Cell style name -> alignment code; column style name -> width in cm."""
    align, width = {}, {}
    codes = {"start": 1, "left": 1, "center": 2, "end": 3, "right": 3}
    for style in root.iter(q("style:style")):
        name = style.get(q("style:name"))
        paragraph = style.find(q("style:paragraph-properties"))
        if paragraph is not None and paragraph.get(q("fo:text-align")) in codes:
            align[name] = codes[paragraph.get(q("fo:text-align"))]
        column = style.find(q("style:table-column-properties"))
        if column is not None and column.get(q("style:column-width")):
            width[name] = length_cm(column.get(q("style:column-width")))
    return align, width


def main(path):
    folder = tempfile.mkdtemp(prefix="lo-inventory-")
    try:
        root = ET.parse(convert(path, folder)).getroot()
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    align, width = styles(root)
    out = []
    for table in root.iter(q("table:table")):
        out.append("sheet " + hexes(table.get(q("table:name"))))
        # Columns: their width style and the cell style their cells default to. The width style most
        # columns share is the sheet's default, left where the workbook set none.
        columns = []
        for col in table.iter(q("table:table-column")):
            repeat = int(col.get(q("table:number-columns-repeated"), "1"))
            entry = (col.get(q("table:style-name")), col.get(q("table:default-cell-style-name")))
            columns.extend([entry] * min(repeat, 256 - len(columns)))
        names = [name for name, _ in columns]
        default_width = max(set(names), key=names.count) if names else None
        row_number = 1
        for row in table.iter(q("table:table-row")):
            rows = int(row.get(q("table:number-rows-repeated"), "1"))
            column = 1
            for cell in row:
                if cell.tag not in (q("table:table-cell"), q("table:covered-table-cell")):
                    continue
                repeat = int(cell.get(q("table:number-columns-repeated"), "1"))
                text = "\n".join("".join(p.itertext()) for p in cell.iter(q("text:p")))
                if text:
                    for c in range(column, column + repeat):
                        style = cell.get(q("table:style-name")) or row.get(q("table:default-cell-style-name"))
                        if style is None and c <= len(columns):
                            style = columns[c - 1][1]
                        code = align.get(style, 0)
                        for r in range(rows):
                            out.append("cell %d %d %d %s" % (row_number + r, c, code, hexes(text)))
                column += repeat
            row_number += rows
        widths = [(c + 1, width.get(name)) for c, (name, _) in enumerate(columns) if name != default_width]
        for column, cm in widths:
            if cm is not None:
                out.append("width %d %r" % (column, cm))
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    if shutil.which("soffice") is None:
        raise SystemExit("soffice is not installed")
    main(sys.argv[1])
