#!/usr/bin/env python3
"""csv --follow against a run writing the file while it is followed: lines come as records
land, a record written in two halves waits for its second half, and a new run on the same name
a file shortened in place and one rewritten in place are reported and followed from their start. Bounded: every wait
has a deadline and the follower is stopped at the end.
Usage: ombrelis_log_follow.py OMBRELIS_LOG RECORDER
"""
import os
import queue
import signal
import subprocess
import sys
import tempfile
import threading
import time

DEADLINE = 20  # seconds for any awaited line


def collect(stream, lines):
    for line in stream:
        lines.put(line.rstrip("\n"))
    lines.put(None)


def expect(lines, count, what):
    got = []
    while len(got) < count:
        try:
            line = lines.get(timeout=DEADLINE)
        except queue.Empty:
            sys.exit(f"{what}: {len(got)} of {count} lines came, last {got[-2:]}")
        if line is None:
            sys.exit(f"{what}: the follower stopped after {got[-2:]}")
        got.append(line)
    return got


def expect_note(notes, words):
    while True:
        note = expect(notes, 1, f"a note saying {words!r}")[0]
        if words in note:
            return note


def csv_of(path):
    return subprocess.run([TOOL, "csv", path], capture_output=True, text=True, timeout=60,
                          check=True).stdout.splitlines()[1:]


def main():
    global TOOL
    TOOL, recorder = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as d:
        log = os.path.join(d, "live.dat")
        subprocess.run([recorder, log, "20"], check=True, timeout=60)
        follower = subprocess.Popen([TOOL, "csv", "--follow", log], stdout=subprocess.PIPE,
                                    stderr=subprocess.PIPE, encoding="utf-8")
        out, err = queue.Queue(), queue.Queue()
        for stream, lines in ((follower.stdout, out), (follower.stderr, err)):
            threading.Thread(target=collect, args=(stream, lines), daemon=True).start()
        try:
            assert expect(out, 21, "the records already there") == \
                ["record,valeur,heure,temps_ms,tension_v"] + csv_of(log)

            with open(log, "rb") as f:
                record = f.read(14)
            with open(log, "ab", buffering=0) as f:
                f.write(record[:9])
                try:
                    sys.exit(f"half a record gave a line: {out.get(timeout=0.5)!r}")
                except queue.Empty:
                    pass
                f.write(record[9:])
            assert expect(out, 1, "the completed record") == ["21," + csv_of(log)[0][2:]]

            # A new run on the same name, as the program makes it: the old file deleted, a new
            # one written record by record while the follower reads it.
            subprocess.run([recorder, log, "30", "20"], check=True, timeout=60)
            expect_note(err, "a été remplacé : suivi du nouveau fichier depuis son début")
            assert expect(out, 30, "the new run") == csv_of(log)

            with open(log, "r+b") as f:
                whole = f.read()
                f.seek(0)
                f.truncate()
                f.write(whole[:14 * 5])
            expect_note(err, "a été raccourci : suivi depuis son début")
            assert expect(out, 5, "the shortened file") == csv_of(log)

            # Another log copied over this one in place: the same file, longer by the next look.
            # Copied while the follower waits, as a copy between two of its looks would be.
            time.sleep(0.2)
            with open(log, "r+b") as f:
                f.write(whole[14 * 10:14 * 20])
            expect_note(err, "a été remplacé : suivi du nouveau fichier depuis son début")
            assert expect(out, 10, "the file rewritten in place") == csv_of(log)
        finally:
            follower.send_signal(signal.SIGINT)
            try:
                follower.wait(timeout=10)
            except subprocess.TimeoutExpired:
                follower.kill()
                follower.wait()
        assert follower.returncode == -signal.SIGINT, follower.returncode
    print("csv --follow kept up with a run, a replaced file and a shortened one")


if __name__ == "__main__":
    main()
