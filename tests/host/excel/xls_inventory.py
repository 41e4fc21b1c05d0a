#!/usr/bin/env python3
# What xlrd sees in a .xls workbook, one fact a line, texts as hexadecimal code points:
#   sheet <name>            then, for that sheet:
#   cell <row> <column> <horizontal alignment> <text>   (rows and columns from 1)
#   width <column> <width in characters>
import sys

import xlrd


def hexes(text):
    return " ".join("%x" % ord(c) for c in text)


def main(path):
    book = xlrd.open_workbook(path, formatting_info=True, ragged_rows=True)
    out = []
    for sheet in book.sheets():
        out.append("sheet " + hexes(sheet.name))
        for row in range(sheet.nrows):
            for column, cell in enumerate(sheet.row(row)):
                if cell.ctype == xlrd.XL_CELL_EMPTY or cell.ctype == xlrd.XL_CELL_BLANK:
                    continue
                if cell.ctype != xlrd.XL_CELL_TEXT:
                    raise SystemExit("cell (%d, %d) is not text" % (row + 1, column + 1))
                align = book.xf_list[cell.xf_index].alignment.hor_align
                out.append("cell %d %d %d %s" % (row + 1, column + 1, align, hexes(cell.value)))
        for column, info in sorted(sheet.colinfo_map.items()):
            out.append("width %d %r" % (column + 1, info.width / 256.0))
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main(sys.argv[1])
