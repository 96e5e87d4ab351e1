#!/usr/bin/env python3
"""Runs the README's Python snippets for reading a log file on a run recorded by the engine.

The snippets are taken from README.md itself (the fenced block after each
`<!-- snippet: NAME -->` marker), so the README cannot drift from what works.
Usage: readme_log_snippets.py RECORDER README
"""
import contextlib
import io
import os
import re
import subprocess
import sys
import tempfile

SAMPLES = 25


def snippet(readme, name):
    match = re.search(r"<!-- snippet: " + name + r" -->\s*```python\n(.*?)```", readme, re.S)
    if not match:
        sys.exit(f"README.md has no python block after <!-- snippet: {name} -->")
    return match.group(1)


def run(code):
    """Executes a snippet as a user would, returning its variables and what it printed."""
    names = {"__name__": "__main__"}
    printed = io.StringIO()
    with contextlib.redirect_stdout(printed):
        exec(compile(code, "README.md", "exec"), names)
    return names, printed.getvalue()


def main():
    recorder, readme_path = sys.argv[1], sys.argv[2]
    with open(readme_path, encoding="utf-8") as f:
        readme = f.read()
    with tempfile.TemporaryDirectory() as folder:
        os.chdir(folder)
        subprocess.run([recorder, "mesures.dat", str(SAMPLES)], check=True, timeout=60)
        assert os.path.getsize("mesures.dat") == 14 * SAMPLES

        numpy_names, numpy_printed = run(snippet(readme, "numpy"))
        log = numpy_names["log"]
        assert len(log) == SAMPLES, len(log)
        assert log["temps_ms"][0] == 0, log["temps_ms"][0]
        assert (log["temps_ms"][1:] >= log["temps_ms"][:-1]).all(), "TempsMs went back"
        assert list(log["temps_ms"][:3]) == [0, 100, 200], log["temps_ms"][:3]
        values = log["valeur"]
        assert values.min() >= 1024 and values.max() <= 3071, (values.min(), values.max())
        assert values.min() == 1024 and values.max() == 3071, "the draws 0 and 0.99999 are missing"
        assert (log["heure"] == b"14:05:09").all(), log["heure"][:3]
        print("numpy snippet printed:", numpy_printed.strip())

        struct_names, _ = run(snippet(readme, "struct"))
        records = struct_names["records"]
        assert len(records) == SAMPLES
        assert [(v, h, t) for v, h, t in records] == [
            (int(r["valeur"]), bytes(r["heure"]), int(r["temps_ms"])) for r in log
        ], "struct and numpy disagree"

        # The README warns that np.fromfile drops a partial trailing record without a word.
        with open("mesures.dat", "ab") as f:
            f.write(b"\x01\x02\x03\x04\x05")
        numpy_names, _ = run(snippet(readme, "numpy"))
        assert len(numpy_names["log"]) == SAMPLES
        struct_names, _ = run(snippet(readme, "struct"))
        assert len(struct_names["records"]) == SAMPLES
    print(f"README snippets read {SAMPLES} records as recorded")


if __name__ == "__main__":
    main()
