"""The Dask example converts a CSV of readings on a local cluster of two
worker processes, and every row gives what huelinx-convert gives for the
same X, Y, Z. Run with PYTHONPATH at build/python (or the module installed)
and HUELINX_CONVERT naming huelinx-convert."""

import csv
import math
import os
import subprocess
import sys
import tempfile
import unittest

import numpy as np
import pandas as pd

EXAMPLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples", "dask",
                       "convert_readings.py")
ROWS = 300_000


def readings():
    """Seeded readings: ordinary X, Y, Z to two decimals, and a few hundred of
    each kind the converter refuses or finds outside the data."""
    rng = np.random.default_rng(20261209)
    xyz = np.round(rng.uniform(0, 100, (ROWS, 3)), 2)
    odd = rng.choice(ROWS, 3000, replace=False)
    kinds = [[np.nan, 10, 10], [0, 0, 0], [-5, 10, 10], [1e39, 1, 1], [5, 0, 5], [0.5, 0.5, 90]]
    for n, i in enumerate(odd):
        xyz[i] = kinds[n % len(kinds)]
    return pd.DataFrame({"sample": [f"s{i}" for i in range(ROWS)], "X": xyz[:, 0],
                         "Y": xyz[:, 1], "Z": xyz[:, 2]})


def converter_rows(frame, *options):
    """huelinx-convert's row of each reading, each entered after an ordinary
    colour so that no reading sees another's boxes."""
    lines = "".join(f"xyz,20,20,20\nxyz,{x!r},{y!r},{z!r}\n"
                    for x, y, z in frame[["X", "Y", "Z"]].itertuples(index=False))
    run = subprocess.run([os.environ["HUELINX_CONVERT"], "--csv", *options], input=lines,
                         capture_output=True, text=True, check=False, timeout=300)
    return list(csv.DictReader(run.stdout.splitlines()))[1::2]


def same(a, b):
    return (math.isnan(a) and math.isnan(b)) or a == b


class ConvertReadings(unittest.TestCase):

    def test_every_row_as_the_converter_gives_it(self):
        frame = readings()
        with tempfile.TemporaryDirectory() as work:
            source = os.path.join(work, "readings.csv")
            frame.to_csv(source, index=False)
            out = os.path.join(work, "converted")
            run = subprocess.run([sys.executable, EXAMPLE, source, out, "--workers", "2",
                                  "--blocksize", "1MB"], capture_output=True, text=True,
                                 cwd=work, check=False, timeout=300)
            self.assertEqual(run.returncode, 0, run.stderr)
            parts = sorted(os.listdir(out))
            self.assertGreater(len(parts), 2, "the readings should be split among the workers")
            got = pd.concat([pd.read_csv(os.path.join(out, p), keep_default_na=False,
                                         float_precision="round_trip",
                                         na_values={k: [""] for k in "hue value chroma L a b X".split()})
                             for p in parts], ignore_index=True)
        # The rows in their order, the readings' own columns kept.
        self.assertEqual(list(got["sample"]), list(frame["sample"]))
        shown, full = converter_rows(frame), converter_rows(frame, "--full")
        self.assertEqual(len(full), ROWS)
        counts = {}
        for i, (row, exact) in enumerate(zip(shown, full)):
            status, notation = got["status"][i], got["notation"][i]
            counts[status] = counts.get(status, 0) + 1
            numbers = {k: got[k][i] for k in ("hue", "value", "chroma", "L", "a", "b")}
            where = (i, row, status, notation)
            if row["X"] == "":  # refused: not a number, or beyond single precision
                self.assertIn(status, ("not a number", "out of range"), where)
                self.assertTrue(all(math.isnan(v) for v in numbers.values()), where)
                continue
            for key in "Lab":
                self.assertEqual(numbers[key], float(exact[key]), where)
            self.assertEqual(numbers["value"], float(exact["value"]), where)
            if "Outside the Munsell data" in row["message"]:
                self.assertEqual((status, notation), ("outside data", ""), where)
                self.assertTrue(math.isnan(numbers["hue"]) and math.isnan(numbers["chroma"]), where)
                continue
            self.assertEqual(status, "in data", where)
            grey = row["hue"] == "N"
            self.assertEqual(notation, f"N {row['value']}/" if grey else
                             f"{row['hue']} {row['value']}/{row['chroma']}", where)
            self.assertTrue(same(numbers["hue"], math.nan if grey else float(exact["hue_number"])),
                            where)
            self.assertEqual(numbers["chroma"], float(exact["chroma"]), where)
        # Every kind of row was there to compare.
        for status in ("in data", "outside data", "not a number", "out of range"):
            self.assertGreater(counts.get(status, 0), 100, counts)


if __name__ == "__main__":
    unittest.main()
