#!/usr/bin/env python3
"""LibreOffice Calc reads what ombrelis-log writes for spreadsheets: a recorded run cut
mid-record, as csv --tableur (opened with French settings) and as xlsx (one sheet, and a few
records a sheet so that the sheets follow each other), converted back to plain CSV in one
headless LibreOffice run and compared with ombrelis-log csv: every value the same number, not
text; Heure the same text. Then the workbook's own parts: the chart, its reference lines, the
frozen header, the notes.
Usage: spreadsheet_round_trip.py OMBRELIS_LOG RECORDER WRITE_WORKBOOK SOFFICE
"""
import os
import re
import subprocess
import sys
import tempfile
import zipfile

NUMERIC = {"record", "valeur", "temps_ms", "temps_s", "tension_v"}


def run(*args, **kwargs):
    return subprocess.run(args, capture_output=True, timeout=100, check=True, **kwargs)


def fields(line):
    """(text, quoted) for each field of a line as LibreOffice writes it."""
    out = []
    for m in re.finditer(r'(?:"((?:[^"]|"")*)"|([^,]*))(?:,|$)', line):
        if m.start() == len(line) and out:
            break
        out.append((m.group(1).replace('""', '"'), True) if m.group(1) is not None
                   else (m.group(2), False))
    return out


def read_back(path):
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    return [fields(line) for line in lines if line]


def compare(name, rows, expected, columns):
    header = [text for text, _ in rows[0]]
    assert header[: len(columns)] == columns, (name, header)
    assert len(rows) - 1 == len(expected), (name, len(rows) - 1, len(expected))
    for row, want in zip(rows[1:], expected):
        for column, (text, quoted) in zip(columns, row):
            if column in NUMERIC:
                assert not quoted, (name, column, row, "a number came back as text")
                value = float(text)
                if column == "temps_s":
                    assert value == float(want["temps_ms"]) / 1000, (name, row, want)
                else:
                    assert value == float(want[column]), (name, column, row, want)
            else:
                assert text == want[column], (name, column, row, want)


def main():
    tool, recorder, write_workbook, soffice = sys.argv[1:5]
    with tempfile.TemporaryDirectory() as d:
        log = os.path.join(d, "run.dat")
        run(recorder, log, "40")
        with open(log, "ab") as f:
            f.write(b"\x01\x02\x03\x04\x05")  # a record cut short: left out everywhere
        plain = run(tool, "csv", log).stdout.decode().splitlines()
        columns = plain[0].split(",")
        expected = [dict(zip(columns, line.split(","))) for line in plain[1:]]
        assert len(expected) == 40

        tableur = os.path.join(d, "mesures.csv")
        single = os.path.join(d, "classeur.xlsx")
        several = os.path.join(d, "feuilles.xlsx")
        run(tool, "csv", "--tableur", log, "-o", tableur)
        warned = run(tool, "xlsx", log, "-o", single).stderr.decode()
        assert "mesure incomplète (mesure 41, 5 octets sur 14)" in warned, warned
        run(write_workbook, log, several, "16")

        out = os.path.join(d, "out")
        env = dict(os.environ, HOME=d, LC_ALL="C.UTF-8", LANG="C.UTF-8")
        # Import: ';', '"', UTF-8, from line 1, French (1036). Export: ',', '"', UTF-8, English
        # (1033), text cells quoted, as shown, every sheet to a file of its own.
        run(soffice, f"-env:UserInstallation=file://{d}/profile", "--headless",
            "--infilter=CSV:59,34,76,1,,1036",
            "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1,,1033,true,false,true,"
            "false,false,-1", "--outdir", out, tableur, single, several, env=env)

        compare("csv --tableur", read_back(os.path.join(out, "mesures-mesures.csv")), expected,
                columns)
        six = ["record", "valeur", "heure", "temps_ms", "temps_s", "tension_v"]
        compare("xlsx", read_back(os.path.join(out, "classeur-Mesures.csv")), expected, six)
        sheets = ["Mesures", "Mesures 2", "Mesures 3"]
        rows = []
        for sheet in sheets:
            part = read_back(os.path.join(out, f"feuilles-{sheet}.csv"))
            rows += part if not rows else part[1:]
        compare("xlsx on three sheets", rows, expected, six)
        assert not os.path.exists(os.path.join(out, "feuilles-Mesures 4.csv"))

        notes = open(os.path.join(out, "feuilles-Graphique.csv"), encoding="utf-8").read()
        assert "au plus 16384 points" in notes, notes
        assert "Toutes les mesures (40) sont dans les feuilles « Mesures » à « Mesures 3 », 16 par " \
               "feuille." in notes, notes
        assert "run.dat — 40 mesures — 3,900 s" in notes, notes

        with zipfile.ZipFile(several) as book:
            names = re.findall(r'<sheet name="([^"]*)"', book.read("xl/workbook.xml").decode())
            assert names == ["Graphique"] + sheets, names
            chart = book.read("xl/charts/chart1.xml").decode()
            assert chart.count("<c:ser>") == 4, chart
            assert chart.count('<a:srgbClr val="FF0000"/>') == 3 and "sysDot" in chart, chart
            assert "Graphique!$Q$6:$Q$" in chart and "run.dat — 40 mesures" in chart, chart
            for part in range(2, 5):
                sheet = book.read(f"xl/worksheets/sheet{part}.xml").decode()
                assert '<pane ySplit="1" topLeftCell="A2" activePane="bottomLeft" ' \
                       'state="frozen"/>' in sheet, sheet[:600]
    print("LibreOffice reads csv --tableur and xlsx back as the same numbers")


if __name__ == "__main__":
    main()
