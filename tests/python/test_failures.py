"""Failures reach the user: memory that runs out, numbers beyond single
precision, and the data files the module reads."""

import math
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import numpy as np

import huelinx

from converter_run import converter_each, run_python, close


class FailuresReachTheUser(unittest.TestCase):
    """Memory that runs out says so, and a message naming a file or a line in
    any bytes is never empty."""

    def test_memory_errors_are_memory_errors(self):
        # Under a limit just above what the process holds, converting 8
        # million whole numbers into doubles (NumPy) or making room for the
        # names of 8 million notations (the module) runs out.
        out = run_python("""
import resource, numpy as np, huelinx
def held():
    for line in open("/proc/self/status"):
        if line.startswith("VmSize:"):
            return int(line.split()[1]) * 1024
whole, floats = np.ones((8_000_000, 3), dtype=np.int64), np.ones((8_000_000, 3))
huelinx.munsell_to_xyz("5R 4/14")
resource.setrlimit(resource.RLIMIT_AS, (held() + 40 * 2**20, resource.RLIM_INFINITY))
for function, values in ((huelinx.xyz_to_lab, whole), (huelinx.iscc_nbs_name, floats)):
    try:
        function(values)
        print("converted")
    except Exception as e:
        print(type(e).__name__, e)
""")
        lines = out.splitlines()
        self.assertEqual(len(lines), 2, out)
        self.assertTrue(lines[0].startswith("MemoryError "), out)
        self.assertTrue(lines[1].startswith("MemoryError ") and "memory" in lines[1], out)

    def test_messages_in_any_bytes_reach_the_user(self):
        with tempfile.TemporaryDirectory() as folder:
            here = os.fsencode(folder)
            bad = os.path.join(here, b"bad\xff")
            os.mkdir(bad)
            with open(os.path.join(bad, b"Vadoro.dat"), "wb") as f:
                f.write(b"junk\n")
            names = os.path.join(here, b"names")
            os.mkdir(names)
            data = os.path.dirname(huelinx.data_files()["Vadoro.dat"])
            for name in ("Vadoro.dat", "iscc-nbs-names.csv"):
                with open(os.path.join(data, name), "rb") as f, \
                        open(os.path.join(names, os.fsencode(name)), "wb") as g:
                    g.write(f.read())
            with open(os.path.join(names, b"iscc-nbs-blocks.csv"), "wb") as f:
                f.write(b"hue_from,hue_to,value_min,value_min_op,value_max,value_max_op,"
                        b"chroma_min,chroma_min_op,chroma_max,chroma_max_op,level3\n"
                        b"0,100,8\xff5,>=,,,,,0.5,<=,263\n")
            chips = os.path.join(folder, "chips.csv")
            with open(chips, "wb") as f:
                f.write(b"notation,label\n5R 4/14\xff,x\n")
            env = {k: v for k, v in os.environ.items()}
            imported = subprocess.run(
                [sys.executable, "-c", "import huelinx"], capture_output=True, check=False,
                env={**{os.fsencode(k): os.fsencode(v) for k, v in env.items()},
                     b"HUELINX_DATA": bad}).stderr.decode("utf-8", "replace")
            self.assertIn("ImportError: huelinx: ", imported)
            self.assertIn("Vadoro.dat", imported)
            out = run_python(f"""
import huelinx
for call in (lambda: huelinx.iscc_nbs_name("5R 4/14"),
             lambda: huelinx.nearest_chip("5R 4/14", chipset={chips!r})):
    try:
        call()
    except Exception as e:
        print(type(e).__name__, repr(str(e)))
""", HUELINX_DATA=os.fsdecode(names))
        lines = out.splitlines()
        self.assertEqual(len(lines), 2, out)
        self.assertTrue(lines[0].startswith("RuntimeError ") and "iscc-nbs-blocks.csv" in lines[0],
                        out)
        self.assertTrue(lines[1].startswith("ValueError ") and "chips.csv" in lines[1], out)
        self.assertTrue(all("\ufffd" in line for line in lines), out)


class BeyondSinglePrecision(unittest.TestCase):
    """Numbers single precision can't hold, typed in or computed, are out of
    range exactly where huelinx-convert refuses the same line as out of range;
    elsewhere the numbers are the converter's."""

    SIZES = [0.5, 50, 2e3, 1e6, 1e10, 1e20, 1e30, 3e38, 1e39]

    def refusals(self, rows):
        return [row["X"] == "" and "out of range" in row["message"] for row in rows]

    def assert_numbers(self, got, keys, row, columns):
        for key, column in zip(keys, columns):
            self.assertTrue(math.isfinite(got[key]), (key, got[key], row))
            self.assertTrue(math.isclose(got[key], float(row[column]), rel_tol=1e-6,
                                         abs_tol=0.006), (key, got[key], row))

    def test_xyz_entries(self):
        xyz = [[x, y, z] for x in self.SIZES for y in self.SIZES for z in self.SIZES]
        rows = converter_each([f"xyz,{x!r},{y!r},{z!r}" for x, y, z in xyz])
        lab, rgb = huelinx.xyz_to_lab(xyz), huelinx.xyz_to_rgb(xyz)
        munsell, chips = huelinx.xyz_to_munsell(xyz), huelinx.nearest_chip(xyz)
        refused = self.refusals(rows)
        self.assertTrue(any(refused) and not all(refused))
        for i, row in enumerate(rows):
            statuses = [r["status"][i] for r in (lab, rgb, munsell, chips)]
            if refused[i]:
                self.assertEqual(statuses, ["out of range"] * 4, (xyz[i], row))
                self.assertTrue(all(math.isnan(lab[k][i]) for k in "Lab"))
                self.assertTrue(math.isnan(rgb["R"][i]) and math.isnan(munsell["value"][i]))
                continue
            self.assertNotIn("out of range", statuses, (xyz[i], row))
            self.assert_numbers({k: lab[k][i] for k in "Lab"}, "Lab", row, "Lab")
            self.assertTrue(close(munsell["value"][i], row["value"]), (xyz[i], row))
            if "Out of RGB Range" not in row["message"]:
                self.assert_numbers({k: rgb[k][i] for k in "RGB"}, "RGB", row, "RGB")

    def test_lab_and_chromaticity_entries(self):
        sizes = [-1e39, -1e30, -2e3, 0.0, 20.0, 1e6, 1e30, 1e39]
        lab = [[L, a, b] for L in (-10.0, 50.0, 2e3, 1e6, 1e30, 1e39) for a in sizes
               for b in sizes]
        rows = converter_each([f"lab,{L!r},{a!r},{b!r}" for L, a, b in lab], "--illuminant", "D65")
        got = huelinx.lab_to_xyz(lab, illuminant="D65")
        refused = self.refusals(rows)
        self.assertTrue(any(refused) and not all(refused))
        for i, row in enumerate(rows):
            if refused[i]:
                self.assertEqual(got["status"][i], "out of range", (lab[i], row))
                self.assertTrue(all(math.isnan(got[k][i]) for k in "XYZ"))
            elif row["X"] != "":  # not refused for another reason (no light)
                self.assertEqual(got["status"][i], "ok", (lab[i], row))
                self.assert_numbers({k: got[k][i] for k in "XYZ"}, "XYZ", row, "XYZ")
        xyy = [[x, y, Y] for x in (0.3, -1e30, 1e30, 1e39) for y in (0.3, 1e-40, 1e-30, 1e30, 1e39)
               for Y in (10.0, 1e30, 1e39)]
        rows = converter_each([f"xy,{x!r},{y!r},{Y!r}" for x, y, Y in xyy])
        got = huelinx.xyy_to_munsell(xyy)
        for i, (row, out) in enumerate(zip(rows, self.refusals(rows))):
            self.assertEqual(got["status"][i] == "out of range", out, (xyy[i], row))


class DataFiles(unittest.TestCase):
    """The data files the module reads: HUELINX_DATA first, then the data
    folder beside the module, never the working folder."""

    FILES = ["Vadoro.dat", "iscc-nbs-blocks.csv", "iscc-nbs-names.csv",
             "munsell-renotation-real.csv"]

    @staticmethod
    def files_in(cwd, data=None):
        """data_files() of a fresh interpreter started in `cwd`."""
        env = dict(os.environ)
        env.pop("HUELINX_DATA", None)
        env["PYTHONPATH"] = os.path.dirname(os.path.abspath(huelinx.__file__))
        if data:
            env["HUELINX_DATA"] = data
        run = subprocess.run(
            [sys.executable, "-c", "import huelinx; print(repr(huelinx.data_files()))"],
            cwd=cwd, env=env, capture_output=True, text=True, check=True)
        return eval(run.stdout)  # pylint: disable=eval-used

    def test_the_files_in_use_and_where_they_come_from(self):
        files = huelinx.data_files()
        self.assertEqual(sorted(files), sorted(self.FILES))
        own = os.path.dirname(files["Vadoro.dat"])
        for name, path in files.items():
            self.assertTrue(os.path.isabs(path) and os.path.isfile(path), path)
            self.assertEqual(path, os.path.join(own, name))

        with tempfile.TemporaryDirectory() as work, tempfile.TemporaryDirectory() as data:
            # A table of the working folder is not read; one in HUELINX_DATA is.
            with open(os.path.join(work, "Vadoro.dat"), "w", encoding="ascii") as bad:
                bad.write("1,2\n")
            self.assertEqual(self.files_in(work), files)
            shutil.copy(os.path.join(own, "Vadoro.dat"), data)
            chosen = self.files_in(work, data)
            self.assertEqual(chosen["Vadoro.dat"], os.path.join(data, "Vadoro.dat"))
            self.assertEqual(chosen["iscc-nbs-names.csv"], files["iscc-nbs-names.csv"])


if __name__ == "__main__":
    unittest.main()
