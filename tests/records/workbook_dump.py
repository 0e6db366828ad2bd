#!/usr/bin/python3
"""Prints what a spreadsheet program reads from an .xlsx file as "key=value" lines: cells and
their styles, row heights, column widths, the page set-up and the window."""
import sys

import openpyxl
from openpyxl.utils import get_column_letter

sys.stdout.reconfigure(encoding="utf-8")
sheet = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
out = [("sheets", len(sheet.parent.worksheets)), ("rows", sheet.max_row),
       ("columns", sheet.max_column)]
for row in sheet.iter_rows():
    for cell in row:
        at, font, border = cell.coordinate, cell.font, cell.border
        value = "" if cell.value is None else str(cell.value)
        out += [("cell." + at, value.replace("\\", "\\\\").replace("\n", "\\n")),
                ("type." + at, cell.data_type),
                ("font." + at, "%s|%g|%s" % (font.name, font.sz, "bold" if font.b else "normal")),
                ("align." + at, "%s|%s" % (cell.alignment.horizontal, cell.alignment.vertical)),
                ("border." + at, "|".join(str(side.style) for side in
                                          (border.left, border.right, border.top, border.bottom)))]
out += [("height.%d" % n, sheet.row_dimensions[n].height) for n in range(1, sheet.max_row + 1)]
out += [("width." + get_column_letter(n), sheet.column_dimensions[get_column_letter(n)].width)
        for n in range(1, sheet.max_column + 1)]
margins, centre, view = sheet.page_margins, sheet.oddHeader.center, sheet.sheet_view
out += [("margin.header", margins.header), ("margin.top", margins.top),
        ("margin.bottom", margins.bottom), ("header.text", centre.text),
        ("header.font", centre.font), ("header.size", centre.size),
        ("title.rows", sheet.print_title_rows), ("title.columns", sheet.print_title_cols),
        ("orientation", sheet.page_setup.orientation), ("freeze", sheet.freeze_panes),
        ("selection", "".join(s.activeCell for s in view.selection if s.pane == view.pane.activePane))]
for key, value in out:
    print("%s=%s" % (key, value))
