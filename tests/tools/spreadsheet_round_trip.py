#!/usr/bin/env python3
"""LibreOffice Calc reads csv --tableur (with French settings) and xlsx (one sheet, and 16
records a sheet) of a run cut mid-record back, in one headless conversion, as the numbers of
ombrelis-log csv, not text; then the workbook's chart, frozen headers and notes.
Usage: spreadsheet_round_trip.py OMBRELIS_LOG RECORDER WRITE_WORKBOOK SOFFICE
"""
import os, re, subprocess, sys, tempfile, zipfile

NUMBERS = {"record", "valeur", "temps_ms", "temps_s", "tension_v"}


def run(*args, **kwargs):
    return subprocess.run(args, capture_output=True, timeout=100, check=True, **kwargs)


def read_back(path):  # (text, quoted) fields: only text cells are quoted; none holds a comma
    with open(path, encoding="utf-8") as f:
        return [[(field.strip('"'), field.startswith('"')) for field in line.split(",")]
                for line in f.read().splitlines()]


def compare(name, rows, expected):
    columns = [text for text, _ in rows[0]]
    assert len(rows) == len(expected) + 1, (name, len(rows))
    for row, want in zip(rows[1:], expected):
        for column, (text, quoted) in zip(columns, row):
            if column in NUMBERS:
                assert not quoted, (name, column, row, "a number came back as text")
                scale = 1000 if column == "temps_s" else 1
                assert float(text) * scale == float(want[column.replace("_s", "_ms")]), (name, row)
            else:
                assert text == want[column], (name, column, row, want)


def main():
    tool, recorder, write_workbook, soffice = sys.argv[1:5]
    with tempfile.TemporaryDirectory() as d:
        log, tableur, single, several, out = (os.path.join(d, name) for name in [
            "run.dat", "mesures.csv", "classeur.xlsx", "feuilles.xlsx", "out"])
        run(recorder, log, "40")
        with open(log, "ab") as f:
            f.write(b"\x01\x02\x03\x04\x05")  # a record cut short: left out everywhere
        plain = run(tool, "csv", log).stdout.decode().splitlines()
        expected = [dict(zip(plain[0].split(","), line.split(","))) for line in plain[1:]]
        assert len(expected) == 40
        run(tool, "csv", "--tableur", log, "-o", tableur)
        warned = run(tool, "xlsx", log, "-o", single).stderr.decode()
        assert "mesure incomplète (mesure 41, 5 octets sur 14)" in warned, warned
        run(write_workbook, log, several, "16")
        # In: ';', UTF-8, French (1036). Out: ',', English (1033), text quoted, every sheet.
        run(soffice, f"-env:UserInstallation=file://{d}/profile", "--headless",
            "--infilter=CSV:59,34,76,1,,1036", "--convert-to", "csv:Text - txt - csv (StarCalc)"
            ":44,34,76,1,,1033,true,false,true,false,false,-1", "--outdir", out, tableur, single,
            several, env=dict(os.environ, HOME=d, LC_ALL="C.UTF-8"))

        compare("csv --tableur", read_back(os.path.join(out, "mesures-mesures.csv")), expected)
        compare("xlsx", read_back(os.path.join(out, "classeur-Mesures.csv")), expected)
        sheets = ["Mesures", "Mesures 2", "Mesures 3"]
        rows = [read_back(os.path.join(out, f"feuilles-{sheet}.csv")) for sheet in sheets]
        compare("xlsx on three sheets", rows[0] + rows[1][1:] + rows[2][1:], expected)
        notes = open(os.path.join(out, "feuilles-Graphique.csv"), encoding="utf-8").read()
        for said in ["run.dat — 40 mesures — 3,900 s", "au plus 16384 points",
                     "Toutes les mesures (40) sont dans les feuilles « Mesures » à « Mesures 3 »"
                     ", 16 par feuille."]:
            assert said in notes, (said, notes)

        with zipfile.ZipFile(several) as book:
            names = re.findall(r'<sheet name="([^"]*)"', book.read("xl/workbook.xml").decode())
            assert names == ["Graphique"] + sheets, names
            chart = book.read("xl/charts/chart1.xml").decode()
            assert chart.count("<c:ser>") == 4 and "Graphique!$Q$6:$Q$" in chart, chart
            assert chart.count('<a:srgbClr val="FF0000"/>') == 3 and "sysDot" in chart, chart
            for part in range(2, 5):
                assert 'state="frozen"' in book.read(f"xl/worksheets/sheet{part}.xml").decode()
    print("LibreOffice reads csv --tableur and xlsx back as the same numbers")


if __name__ == "__main__":
    main()
