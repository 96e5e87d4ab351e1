#!/usr/bin/env python3
"""The built ombrelis-log on a recorded run, an empty file, a file cut mid-record and garbage:
exit statuses, outputs, and that the input is never changed; the same read from a pipe on
standard input and from a FIFO.
Usage: ombrelis_log_program.py OMBRELIS_LOG RECORDER
"""
import hashlib
import os
import random
import resource
import subprocess
import sys
import tempfile
import threading

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def tool(*args, piped=None, **run):
    env = dict(os.environ)
    env.pop("DISPLAY", None)
    env.pop("QT_QPA_PLATFORM", None)  # the tool must pick the offscreen platform itself
    env.pop("XDG_RUNTIME_DIR", None)  # Qt complains of its absence, in English, to developers
    run.setdefault("stdout", subprocess.PIPE)
    done = subprocess.run([TOOL, *args], stderr=subprocess.PIPE, input=piped, env=env, timeout=60,
                          **run)
    done.stdout = (done.stdout or b"").decode(errors="replace")
    done.stderr = done.stderr.decode()
    return done


def failing_outputs(d, recorded):
    """Every command exits 2 with a French reason when its output cannot be written, and the
    CSV that -o could not finish is taken away; nothing here touches a system path."""
    csv, sink = os.path.join(d, "out.csv"), os.path.join(d, "stdout.txt")
    full = lambda: resource.setrlimit(resource.RLIMIT_FSIZE, (100, 100))  # as `ulimit -f` does
    for args, limit, told in (
            (["check", recorded], full, "sortie standard : fichier trop volumineux"),
            (["check", recorded], lambda: os.close(1), "sortie standard : descripteur"),
            (["--help"], full, "sortie standard : fichier trop volumineux"),
            (["csv", recorded], full, "sortie standard : fichier trop volumineux"),
            (["csv", recorded, "-o", csv], full, f"« {csv} » : fichier trop volumineux")):
        with open(sink, "wb") as out:
            done = tool(*args, stdout=out, preexec_fn=limit)
        assert done.returncode == 2 and told in done.stderr, (args, done.returncode, done.stderr)
        assert not os.path.exists(csv), (args, "left its partial output")


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    assert head[:8] == PNG_SIGNATURE, head[:8]
    return int.from_bytes(head[16:20], "big"), int.from_bytes(head[20:24], "big")


def main():
    global TOOL
    TOOL, recorder = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as d:
        recorded = os.path.join(d, "recorded.dat")
        subprocess.run([recorder, recorded, "40"], check=True, timeout=60)
        with open(recorded, "rb") as f:
            whole = f.read()
        files = {
            "recorded.dat": (whole, 0, 40),
            "empty.dat": (b"", 0, 0),
            "cut.dat": (whole[: 14 * 12 + 6], 1, 12),
            "garbage.dat": (random.Random(7).randbytes(1000), 1, 71),
        }
        for name, (content, check_status, records) in files.items():
            path = os.path.join(d, name)
            with open(path, "wb") as f:
                f.write(content)
            before = digest(path)

            check = tool("check", path)
            assert check.returncode == check_status, (name, check.returncode, check.stdout, check.stderr)
            assert "SAIN" in check.stdout if check_status == 0 else "ENDOMMAGÉ à partir de la mesure" in check.stdout

            csv = tool("csv", path)
            assert csv.returncode == 0, (name, csv.stderr)
            lines = csv.stdout.splitlines()
            assert lines[0] == "record,valeur,heure,temps_ms,tension_v"
            assert len(lines) == records + 1, (name, len(lines))
            assert all(len(line.split(",")) == 5 for line in lines if '"' not in line)
            assert ("mesure incomplète" in csv.stderr) == (len(content) % 14 != 0), csv.stderr

            png = os.path.join(d, name + ".png")
            plot = tool("plot", path, "-o", png, "--width", "500", "--height", "300")
            assert plot.returncode == 0, (name, plot.stderr)
            assert plot.stderr == csv.stderr, (name, plot.stderr)  # the tool's own notes only
            assert png_size(png) == (500, 300)

            piped = tool("check", "-", piped=content)
            assert (piped.returncode, piped.stdout) == (
                check_status, check.stdout.replace(f"le fichier « {path} »", "l'entrée standard"))
            assert tool("csv", "-", piped=content).stdout == csv.stdout
            assert tool("plot", "-", "-o", png, piped=content).returncode == 0

            assert tool("csv", path, "-o", path).returncode == 2
            assert tool("plot", path, "-o", path).returncode == 2
            assert digest(path) == before, name + " was changed"

        fifo = os.path.join(d, "fifo")
        os.mkfifo(fifo)
        writer = threading.Thread(target=lambda: open(fifo, "wb").write(whole), daemon=True)
        writer.start()
        assert tool("csv", fifo).stdout == tool("csv", os.path.join(d, "recorded.dat")).stdout
        writer.join(timeout=60)

        assert tool("check", os.path.join(d, "missing.dat")).returncode == 2
        failing_outputs(d, os.path.join(d, "recorded.dat"))
    print("ombrelis-log behaves on recorded, empty, cut and garbage files")


if __name__ == "__main__":
    main()
