"""Runs huelinx-convert for the tests of the Python module, and reads its
rows. HUELINX_CONVERT names the converter."""

import csv
import io
import os
import subprocess
import sys


HUES = ["R", "YR", "Y", "GY", "G", "BG", "B", "PB", "P", "RP"]


def converter_lines(lines, *options):
    """Runs huelinx-convert --csv over the lines; its rows as dicts."""
    run = subprocess.run([os.environ["HUELINX_CONVERT"], "--csv", *options],
                         input="\n".join(lines) + "\n", capture_output=True, text=True,
                         check=False)
    return list(csv.DictReader(io.StringIO(run.stdout)))


def converter_each(lines, *options):
    """The converter's row of each line as if it were the only one: an
    ordinary colour is entered before each, so no line sees another's boxes."""
    rows = converter_lines([part for line in lines for part in ("xyz,20,20,20", line)], *options)
    return rows[1::2]


def run_python(script, **env):
    """Runs a script with the module in a fresh interpreter; its output."""
    run = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True,
                         env={**os.environ, **env}, check=False, timeout=300)
    return run.stdout + run.stderr


def close(a, b, places=2):
    """Whether a equals a number printed with `places` decimals."""
    return abs(a - float(b)) <= 0.5 * 10 ** -places + 1e-9


def converter_refused(row):
    """Whether the converter gave the line no colour (empty fields)."""
    return row["X"] == ""


def shown_notation(row):
    """The notation text of a converter row, as the module writes it."""
    return (f"N {row['value']}/" if row["hue"] == "N"
            else f"{row['hue']} {row['value']}/{row['chroma']}")
