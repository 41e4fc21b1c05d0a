"""Prints the cells of the first sheet of an .xls workbook, read by xlrd: one line "row" per row, its cells
separated by a tab. Usage: xls_rows.py WORKBOOK"""
import sys

import xlrd

sheet = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)
for r in range(sheet.nrows):
    print("row " + "\t".join(str(sheet.cell_value(r, c)) for c in range(sheet.ncols)))
