#!/usr/bin/python3
"""Prints what a spreadsheet program reads from an .xlsx file, one "key=value" line each:
cells, their styles, row heights, column widths, the page set-up and the window. Read by the
workbook tests, which compare the lines they care about."""
import sys

import openpyxl
from openpyxl.utils import get_column_letter


def escaped(value):
    text = "" if value is None else str(value)
    return text.replace("\\", "\\\\").replace("\n", "\\n").replace("\r", "\\r")


def main(path):
    sys.stdout.reconfigure(encoding="utf-8")
    book = openpyxl.load_workbook(path)
    sheet = book.worksheets[0]
    out = []
    out.append(("sheets", len(book.worksheets)))
    out.append(("rows", sheet.max_row))
    out.append(("columns", sheet.max_column))
    for row in sheet.iter_rows():
        for cell in row:
            at = cell.coordinate
            out.append(("cell." + at, escaped(cell.value)))
            out.append(("type." + at, cell.data_type))
            font = cell.font
            out.append(("font." + at, "%s|%g|%s" % (font.name, font.sz, "bold" if font.b else "normal")))
            out.append(("align." + at, "%s|%s" % (cell.alignment.horizontal, cell.alignment.vertical)))
            border = cell.border
            out.append(("border." + at, "|".join(str(side.style) for side in
                                                 (border.left, border.right, border.top, border.bottom))))
    for number in range(1, sheet.max_row + 1):
        out.append(("height.%d" % number, sheet.row_dimensions[number].height))
    for number in range(1, sheet.max_column + 1):
        letter = get_column_letter(number)
        out.append(("width." + letter, sheet.column_dimensions[letter].width))
    margins = sheet.page_margins
    out.append(("margin.header", margins.header))
    out.append(("margin.top", margins.top))
    out.append(("margin.bottom", margins.bottom))
    centre = sheet.oddHeader.center
    out.append(("header.text", centre.text))
    out.append(("header.font", centre.font))
    out.append(("header.size", centre.size))
    out.append(("title.rows", sheet.print_title_rows))
    out.append(("title.columns", sheet.print_title_cols))
    out.append(("orientation", sheet.page_setup.orientation))
    out.append(("freeze", sheet.freeze_panes))
    active = [s.activeCell for s in sheet.sheet_view.selection if s.pane == sheet.sheet_view.pane.activePane]
    out.append(("selection", active[0] if active else ""))
    for key, value in out:
        print("%s=%s" % (key, value))


if __name__ == "__main__":
    main(sys.argv[1])
