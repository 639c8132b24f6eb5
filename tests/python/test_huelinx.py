"""The Python module huelinx against the command-line converter, and its
statuses, shapes and settings. Run with PYTHONPATH at build/python (or the
module pip-installed) and HUELINX_CONVERT naming huelinx-convert."""

import csv
import io
import math
import os
import random
import shutil
import subprocess
import sys
import tempfile
import threading
import unittest

import numpy as np

import huelinx

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


class AgainstTheConverter(unittest.TestCase):
    """10,000 lines, half Munsell notations and half X, Y, Z, give what
    huelinx-convert prints, to its printed precision."""

    @classmethod
    def setUpClass(cls):
        rng = random.Random(20261208)
        cls.notations, cls.xyz, lines = [], [], []
        for _ in range(5000):
            hue = f"{rng.choice([2.5, 5, 7.5, 10, round(rng.uniform(0.1, 10), 2)])}{rng.choice(HUES)}"
            value, chroma = round(rng.uniform(0, 10.2), 2), round(rng.uniform(0, 24), 2)
            if rng.random() < 0.05:
                hue, chroma = "N", 0
            cls.notations.append(f"{hue} {value}/{chroma}")
            lines.append(f"munsell,{hue},{value},{chroma}")
        for _ in range(5000):
            x, y, z = (round(rng.uniform(0.5, 95), 2) for _ in range(3))
            cls.xyz.append([x, y, z])
            lines.append(f"xyz,{x},{y},{z}")
        cls.rows = converter_lines(lines)

    def test_munsell_to_xyz(self):
        got = huelinx.munsell_to_xyz(self.notations)
        for i, row in enumerate(self.rows[:5000]):
            status = got["status"][i]
            if row["X"] == "":
                self.assertIn(status, ("out of range", "not a notation"), row)
                self.assertTrue(math.isnan(got["X"][i]))
                continue
            if "Outside the Munsell data" in row["message"]:
                self.assertEqual(status, "outside data", row)
                continue
            self.assertEqual(status, "ok", row)
            for key, places in (("X", 2), ("Y", 2), ("Z", 2), ("x", 4), ("y", 4)):
                self.assertTrue(close(got[key][i], row[key], places), (key, got[key][i], row))

    def test_xyz_to_munsell_lab_and_rgb(self):
        xyz = np.array(self.xyz)
        got = huelinx.xyz_to_munsell(xyz)
        lab = huelinx.xyz_to_lab(xyz)
        rgb = huelinx.xyz_to_rgb(xyz)
        for i, row in enumerate(self.rows[5000:]):
            if "Outside the Munsell data" in row["message"]:
                self.assertEqual(got["status"][i], "outside data")
                self.assertEqual(got["notation"][i], "")
                self.assertTrue(math.isnan(got["hue"][i]) and math.isnan(got["chroma"][i]))
            else:
                self.assertEqual(got["status"][i], "in data")
                shown = (f"N {row['value']}/" if row["hue"] == "N"
                         else f"{row['hue']} {row['value']}/{row['chroma']}")
                self.assertEqual(got["notation"][i], shown)
            self.assertTrue(close(got["value"][i], row["value"]), row)
            for key, column in (("L", "L"), ("a", "a"), ("b", "b")):
                self.assertTrue(close(lab[key][i], row[column]), (key, lab[key][i], row))
            if "Out of RGB Range" in row["message"]:
                self.assertEqual(rgb["status"][i], "out of RGB range")
            else:
                self.assertEqual([rgb[k][i] for k in "RGB"], [float(row[k]) for k in "RGB"], row)

    def test_settings_follow_the_converter_options(self):
        lines = ["munsell,5R,4,14", "xyz,30,20,10", "rgb,200,100,50"]
        rows = converter_lines(lines, "--illuminant", "D65", "--pwd", "--gamma", "1.8",
                               "--white-balance", "80")
        kw = dict(illuminant="D65", pwd=True, gamma=1.8, white_balance=80)
        xyz = huelinx.munsell_to_xyz("5R 4/14", **kw)
        self.assertTrue(close(xyz["X"], rows[0]["X"]))
        self.assertEqual(huelinx.xyz_to_munsell([30, 20, 10], **kw)["notation"],
                         f"{rows[1]['hue']} {rows[1]['value']}/{rows[1]['chroma']}")
        back = huelinx.rgb_to_xyz([200, 100, 50], **kw)
        for key in "XYZ":
            self.assertTrue(close(back[key], rows[2][key]), (key, back[key], rows[2]))
        for bad in (dict(illuminant="A"), dict(gamma=5), dict(white_balance=20)):
            with self.assertRaises(ValueError):
                huelinx.munsell_to_xyz("5R 4/14", **bad)


class EntriesLineByLine(unittest.TestCase):
    """L*a*b* to X, Y, Z and x, y, Y to Munsell over colours of every kind,
    light without chromaticity and darks below L* 0 among them, each as the
    converter enters it alone: the module must refuse what the converter
    refuses and give its numbers for the rest."""

    def test_lab_to_xyz(self):
        rng = random.Random(7)
        lab = [[round(rng.uniform(-20, 105), 2), round(rng.uniform(-130, 130), 2),
                round(rng.uniform(-130, 130), 2)] for _ in range(3000)]
        rows = converter_each([f"lab,{L},{a},{b}" for L, a, b in lab])
        got = huelinx.lab_to_xyz(np.array(lab))
        refused = 0
        for i, row in enumerate(rows):
            if row["X"] == "":
                refused += 1
                self.assertIn(got["status"][i], ("out of range", "not a number"), (lab[i], row))
                self.assertTrue(math.isnan(got["X"][i]), (lab[i], row))
                continue
            self.assertEqual(got["status"][i], "ok", (lab[i], row))
            for key in "XYZ":
                self.assertTrue(close(got[key][i], row[key]), (key, got[key][i], row))
        self.assertGreater(refused, 100)  # both kinds of refusal are met

    def test_xyy_to_munsell(self):
        rng = random.Random(8)
        xyy = [[round(rng.uniform(0.0, 0.8), 4), round(rng.uniform(0.0, 0.9), 4),
                round(rng.uniform(0, 100), 2)] for _ in range(3000)]
        rows = converter_each([f"xy,{x},{y},{Y}" for x, y, Y in xyy])
        got = huelinx.xyy_to_munsell(np.array(xyy))
        for i, row in enumerate(rows):
            status = got["status"][i]
            if row["X"] == "":
                self.assertIn(status, ("out of range", "not a number"), (xyy[i], row))
            elif "Outside the Munsell data" in row["message"]:
                self.assertEqual(status, "outside data", (xyy[i], row))
            else:
                shown = (f"N {row['value']}/" if row["hue"] == "N"
                         else f"{row['hue']} {row['value']}/{row['chroma']}")
                self.assertEqual(got["notation"][i], shown, (xyy[i], status, row))

    def test_light_without_chromaticity_has_no_lab_nor_rgb(self):
        xyz = [[-50, 10, -50], [-5, 1, -4], [0, 1, -1], [20, 20, 20], [0, 0, 0]]
        rows = converter_each([f"xyz,{x},{y},{z}" for x, y, z in xyz])
        lab, rgb = huelinx.xyz_to_lab(np.array(xyz)), huelinx.xyz_to_rgb(np.array(xyz))
        for i, row in enumerate(rows):
            for got in (lab, rgb):
                if row["L"] == "":
                    self.assertEqual(got["status"][i], "not a number", (xyz[i], row))
                    self.assertTrue(all(math.isnan(got[k][i]) for k in got if k != "status"))
                else:
                    self.assertNotIn(got["status"][i], ("not a number",), (xyz[i], row))
        self.assertEqual([row["L"] == "" for row in rows], [True, True, True, False, False])


def converter_refused(row):
    """Whether the converter gave the line no colour (empty fields)."""
    return row["X"] == ""


def shown_notation(row):
    """The notation text of a converter row, as the module writes it."""
    return (f"N {row['value']}/" if row["hue"] == "N"
            else f"{row['hue']} {row['value']}/{row['chroma']}")


class EveryFunctionLineByLine(unittest.TestCase):
    """All ten conversion functions against huelinx-convert --names --chips,
    line by line, on one set of colours of every notation with their edges
    (black, the darkest values, the ends of the sliders, light without
    chromaticity, y = 0, L* below 0, levels that round half to even,
    numbers beyond single precision), under the default settings and under
    others (D65, PWD, a gamma that rounds to 1.8, white balance 83). Each
    colour the converter refuses the module refuses; the others have the
    converter's numbers to its printed precision."""

    CHIPS = "renotation-real"
    SETTINGS = [
        ({}, ()),
        (dict(illuminant="D65", pwd=True, gamma=1.85, white_balance=83),
         ("--illuminant", "D65", "--pwd", "--gamma", "1.85", "--white-balance", "83")),
    ]
    NOTATIONS = [("N", 0, 0), ("N", 10, 0), ("N", 0.4, 0), ("5R", 0.2, 2), ("5R", 0.24, 1),
                 ("5R", 0.26, 1), ("5R", 0.5, 2), ("10RP", 5, 10), ("0.01R", 5, 4),
                 ("10R", 5, 6), ("2.5Y", 9.5, 20), ("5R", 10, 2), ("5R", 10.24, 2),
                 ("5R", 10.26, 2), ("5R", 4, 40.4), ("5R", 4, 40.6), ("5R", 4, 0),
                 ("5PB", 2, 30), ("5G", 9, 2), ("7.5YR", 5, 2)]
    XYZ = [[0, 0, 0], [0, -5, 0], [-5, 1, -4], [0, 1, -1], [98.074, 100, 118.232],
           [100, 100, 100], [200, 150, 100], [0.01, 0.01, 0.01], [0.001, 0.001, 0.001],
           [5, 10, 90], [20, 30, 40], [1e-30, 1e-30, 1e-30], [1e30, 1, 1], [3e38, 1, 1],
           [0.5, 0.5, 0.5], [50, 0.5, 0.5], [-1, 10, 10]]
    LAB = [[-20, 0, 0], [-16, 0, 0], [-15.99, 0, 0], [0, 0, 0], [0, 50, -50], [100, 0, 0],
           [150, 0, 0], [50, 200, -200], [5, -100, 100], [50, 1e30, 0], [1e6, 0, 0]]
    XYY = [[0.3, 0, 20], [0, 0.3, 20], [0.3101, 0.3161, 0], [0.3101, 0.3161, 100],
           [0.3, -0.1, 20], [0.9, 0.9, 50], [0.3, 0.3, -10], [0.2, 0.7, 80], [0.3, 1e-40, 10]]
    RGB = [[0, 0, 0], [255, 255, 255], [-5, 300, 128], [127.5, 128.5, 0.5],
           [1.5, 2.5, 254.5], [255.4, 254.6, 0.49]]

    @classmethod
    def setUpClass(cls):
        rng = random.Random(20261209)
        r = lambda a, b, places=2: round(rng.uniform(a, b), places)
        # Both sides of the value and chroma limits of the ISCC-NBS blocks.
        limits = [(h, round(v - d, 2), 4) for h in ("5R", "5Y", "5PB", "N")
                  for v in (1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5, 8.5) for d in (0.01, 0)]
        limits += [(h, 5, round(c - d, 2)) for h in ("5R", "5Y", "5PB")
                   for c in (0.5, 0.7, 1.2, 1.5, 2, 3, 5, 7) for d in (0.01, 0)]
        cls.notations = cls.NOTATIONS + [(h, v, 0 if h == "N" else c) for h, v, c in limits] + [
            (f"{rng.choice([2.5, 5, 7.5, 10, r(0.1, 10)])}{rng.choice(HUES)}", r(0, 10.3),
             r(0, 30)) for _ in range(400)]
        cls.xyz = cls.XYZ + [[r(0, 110), r(0.01, 105), r(0, 125)] for _ in range(400)]
        cls.lab = cls.LAB + [[r(-18, 105), r(-130, 130), r(-130, 130)] for _ in range(400)]
        cls.xyy = cls.XYY + [[r(0, 0.8, 4), r(0, 0.9, 4), r(0, 100)] for _ in range(400)]
        cls.rgb = cls.RGB + [[r(-10, 265, 1), r(-10, 265, 1), r(-10, 265, 1)]
                             for _ in range(200)]

    def each_setting(self, kind, values, check):
        """Runs `check(kw, rows)` with the converter's rows of the values as
        lines of `kind`, under each setting."""
        lines = [f"{kind}," + ",".join(repr(v) if isinstance(v, float) else str(v) for v in value)
                 for value in values]
        for kw, options in self.SETTINGS:
            with self.subTest(settings=kw):
                check(kw, converter_each(lines, "--names", "--chips", self.CHIPS, *options))

    def assert_numbers(self, got, keys, rows, columns, places, where):
        for i, row in enumerate(rows):
            if converter_refused(row) or got["status"][i] != "ok":
                continue
            for key, column in zip(keys, columns):
                self.assertTrue(close(got[key][i], row[column], places) or
                                math.isclose(got[key][i], float(row[column]), rel_tol=1e-6),
                                (key, got[key][i], where[i], row))

    def assert_refusals(self, got, rows, where, refusals=("out of range", "not a number")):
        """The module refuses, with NaN, exactly the lines the converter refuses."""
        number = next(k for k in got if k not in ("status", "notation"))
        for i, row in enumerate(rows):
            refused = got["status"][i] in refusals
            self.assertEqual(refused, converter_refused(row), (where[i], got["status"][i], row))
            if refused:
                self.assertTrue(math.isnan(got[number][i]), (where[i], row))

    def assert_chips(self, chips, rows, where, kw):
        """Nearest chips, and CIEDE2000 between the L*a*b* the converter read
        and the chip's L*a*b*, which must give the converter's dE00."""
        found = [i for i, row in enumerate(rows) if row["dE00"] != ""]
        self.assertGreater(len(found), len(rows) // 3)
        for i, row in enumerate(rows):
            if row["chip"] in ("", "no chip within 5"):
                self.assertNotEqual(chips["status"][i], "ok", (where[i], row))
                continue
            self.assertEqual(chips["status"][i], "ok", (where[i], row))
            # The module works at full precision, the converter from its
            # boxes: a tie within their difference may go either way.
            if chips["chip"][i] != row["chip"]:
                self.assertLess(abs(chips["dE00"][i] - float(row["dE00"])), 0.02, (where[i], row))
                continue
            for key in ("dE00", "dH", "dV", "dC"):
                self.assertLess(abs(chips[key][i] - float(row[key])), 0.011, (key, where[i], row))
        chip_xyz = huelinx.munsell_to_xyz([rows[i]["chip"] for i in found], **kw)
        chip_lab = huelinx.xyz_to_lab(np.column_stack([chip_xyz[k] for k in "XYZ"]), **kw)
        colour_lab = np.array([[float(rows[i][k]) for k in "Lab"] for i in found])
        de = huelinx.delta_e_2000(colour_lab, np.column_stack([chip_lab[k] for k in "Lab"]))
        for j, i in enumerate(found):
            self.assertTrue(close(de[j], rows[i]["dE00"]), (de[j], where[i], rows[i]))

    def assert_names(self, names, rows, where):
        for i, row in enumerate(rows):
            if converter_refused(row) or "Outside the Munsell data" in row["message"]:
                continue
            self.assertEqual((names["name"][i], names["abbreviation"][i]),
                             (row["name"], row["abbreviation"]), (where[i], row))

    def test_munsell_notations(self):
        texts = [f"{h} {v}/" if h == "N" else f"{h} {v}/{c}" for h, v, c in self.notations]

        def check(kw, rows):
            got = huelinx.munsell_to_xyz(texts, **kw)
            self.assert_refusals(got, rows, texts, ("out of range", "not a notation"))
            for i, row in enumerate(rows):
                outside = "Outside the Munsell data" in row["message"]
                self.assertEqual(got["status"][i] == "outside data", outside, (texts[i], row))
            self.assert_numbers(got, "XYZxy", rows, "XYZxy", 2, texts)
            self.assert_numbers(got, "xy", rows, "xy", 4, texts)
            self.assert_names(huelinx.iscc_nbs_name(texts), rows, texts)
            self.assert_chips(huelinx.nearest_chip(texts, chipset=self.CHIPS, **kw), rows, texts,
                              kw)

        self.each_setting("munsell", self.notations, check)

    def assert_munsell(self, got, rows, where):
        for i, row in enumerate(rows):
            if converter_refused(row):
                continue
            if "Outside the Munsell data" in row["message"]:
                self.assertEqual((got["status"][i], got["notation"][i]), ("outside data", ""))
            else:
                self.assertEqual(got["status"][i], "in data", (where[i], row))
                self.assertEqual(got["notation"][i], shown_notation(row), (where[i], row))
            self.assertTrue(close(got["value"][i], row["value"]), (where[i], row))

    def test_xyz(self):
        def check(kw, rows):
            xyz = np.array(self.xyz, dtype=float)
            munsell = huelinx.xyz_to_munsell(xyz, **kw)
            lab, rgb = huelinx.xyz_to_lab(xyz, **kw), huelinx.xyz_to_rgb(xyz, **kw)
            for got in (munsell, lab, rgb):
                self.assert_refusals(got, rows, self.xyz)
            self.assert_munsell(munsell, rows, self.xyz)
            self.assert_numbers(lab, "Lab", rows, "Lab", 2, self.xyz)
            for i, row in enumerate(rows):
                beyond = "Out of RGB Range" in row["message"]
                self.assertEqual(rgb["status"][i] == "out of RGB range", beyond, (self.xyz[i], row))
            self.assert_numbers(rgb, "RGB", rows, "RGB", 0, self.xyz)
            self.assert_names(huelinx.iscc_nbs_name(munsell["notation"]), rows, self.xyz)
            self.assert_chips(huelinx.nearest_chip(xyz, chipset=self.CHIPS, **kw), rows, self.xyz,
                              kw)

        self.each_setting("xyz", self.xyz, check)

    def test_lab_xyy_and_rgb(self):
        # The converter finds the notation of an L*a*b* or R, G, B entry from
        # its X, Y, Z at full precision, as xyz_to_munsell does from the
        # module's X, Y, Z.
        def notations_of(got, kw):
            return huelinx.xyz_to_munsell(np.column_stack([got[k] for k in "XYZ"]), **kw)

        def lab(kw, rows):
            got = huelinx.lab_to_xyz(self.lab, **kw)
            self.assert_refusals(got, rows, self.lab)
            self.assert_numbers(got, "XYZ", rows, "XYZ", 2, self.lab)
            self.assert_munsell(notations_of(got, kw), rows, self.lab)

        def xyy(kw, rows):
            got = huelinx.xyy_to_munsell(self.xyy, **kw)
            self.assert_refusals(got, rows, self.xyy)
            self.assert_munsell(got, rows, self.xyy)

        def rgb(kw, rows):
            got = huelinx.rgb_to_xyz(self.rgb, **kw)
            self.assertEqual(set(got["status"]), {"ok"})
            self.assert_numbers(got, "XYZ", rows, "XYZ", 2, self.rgb)
            self.assert_munsell(notations_of(got, kw), rows, self.rgb)

        self.each_setting("lab", self.lab, lab)
        self.each_setting("xy", self.xyy, xyy)
        self.each_setting("rgb", self.rgb, rgb)


class FullPrecision(unittest.TestCase):
    """xyz_to_munsell gives hue, value and chroma as computed (the numbers
    huelinx-convert --full prints), greys come back through munsell_to_xyz,
    and every illuminant's X, Y, Z and L*a*b* mean values under it."""

    ILLUMINANTS = ("C", "D50", "D65")

    def test_the_numbers_of_the_converters_full_mode(self):
        rng = random.Random(25)
        xyz = [[round(rng.uniform(0.05, 95), 4), round(rng.uniform(0.05, 100), 4),
                round(rng.uniform(0.05, 110), 4)] for _ in range(1500)]
        xyz += [[0.12, 0.12, 0.14], [0.1, 0.1, 0.12], [19.6148, 20, 23.6464]]
        for illuminant in self.ILLUMINANTS:
            rows = converter_lines([f"xyz,{x},{y},{z}" for x, y, z in xyz], "--full",
                                   "--illuminant", illuminant)
            got = huelinx.xyz_to_munsell(np.array(xyz), illuminant=illuminant)
            for i, row in enumerate(rows):
                where = (illuminant, xyz[i], row)
                self.assertEqual(got["value"][i], float(row["value"]), where)
                if row["hue"] == "":
                    self.assertEqual(got["status"][i], "outside data", where)
                elif row["hue"] == "N":
                    self.assertTrue(math.isnan(got["hue"][i]), where)
                    self.assertEqual(got["chroma"][i], 0.0, where)
                else:
                    self.assertEqual(got["hue"][i], float(row["hue_number"]), where)
                    self.assertEqual(got["chroma"][i], float(row["chroma"]), where)
        # Values below 0.5 are given as they are, in the numbers and the text.
        dark = huelinx.xyz_to_munsell([0.12, 0.12, 0.14])
        self.assertLess(dark["value"], 0.5)
        self.assertIn(f" {float(dark['value']):.2f}/", str(dark["notation"]))

    def test_greys_come_back_through_munsell_to_xyz(self):
        notations = ["N 0.3/", "N 1/", "N 5/", "N 9.5/"]
        for illuminant in self.ILLUMINANTS:
            grey = huelinx.munsell_to_xyz(notations, illuminant=illuminant)
            xyz = np.column_stack([grey["X"], grey["Y"], grey["Z"]])
            found = huelinx.xyz_to_munsell(xyz, illuminant=illuminant)
            self.assertTrue(all(math.isnan(h) for h in found["hue"]), found)
            self.assertEqual(list(found["chroma"]), [0.0] * len(notations))
            back = huelinx.munsell_to_xyz(
                np.column_stack([found["hue"], found["value"], found["chroma"]]),
                illuminant=illuminant)
            self.assertEqual(list(back["status"]), ["ok"] * len(notations), illuminant)
            for key in "XYZ":
                for a, b in zip(back[key], grey[key]):
                    self.assertAlmostEqual(a, b, delta=1e-6 * max(b, 1), msg=(illuminant, key))
        # NaN is a grey's hue only with chroma 0.
        self.assertEqual(huelinx.munsell_to_xyz([math.nan, 5, 2])["status"], "not a number")

    def test_every_box_means_a_value_under_the_illuminant_chosen(self):
        for illuminant in self.ILLUMINANTS:
            xyz = huelinx.lab_to_xyz([50, 20, -30], illuminant=illuminant)
            lab = huelinx.xyz_to_lab([xyz["X"], xyz["Y"], xyz["Z"]], illuminant=illuminant)
            for key, want in (("L", 50), ("a", 20), ("b", -30)):
                self.assertAlmostEqual(lab[key], want, delta=1e-3, msg=(illuminant, key))
            shown = huelinx.munsell_to_xyz("3.7YR 2.3/5.1", illuminant=illuminant)
            found = huelinx.xyz_to_munsell([shown["X"], shown["Y"], shown["Z"]],
                                           illuminant=illuminant)
            self.assertEqual(found["notation"], "3.70YR 2.30/5.10", illuminant)

    def test_hue_numbers_that_are_no_number_are_no_notation(self):
        got = huelinx.munsell_to_xyz(["nanR 5/10", "infYR 5/10", "5R 5/10"])
        self.assertEqual(list(got["status"]), ["not a notation", "not a notation", "ok"])


class StatusesAndShapes(unittest.TestCase):

    def test_colours_that_cannot_convert_give_nan_and_a_reason(self):
        got = huelinx.munsell_to_xyz(["5R 4/14", "5Q 4/14", "red", "", "5R 11/4", "5R 4/60",
                                      "5Y 9/40", None, float("nan"), "N 5/"])
        self.assertEqual(list(got["status"]), [
            "ok", "not a notation", "not a notation", "not a notation", "out of range",
            "out of range", "outside data", "not a notation", "not a number", "ok"])
        self.assertTrue(all(math.isnan(v) for v in got["X"][1:9]))
        nan = float("nan")
        back = huelinx.xyz_to_munsell([[nan, 10, 10], [10, -5, 10], [0, 0, 0], [5, 10, 90],
                                       [math.inf, 10, 10]])
        self.assertEqual(list(back["status"]), [
            "not a number", "in data", "in data", "outside data", "not a number"])
        # No light (Y 0 or below) is black, N 0/, as the window shows it.
        self.assertEqual(list(back["notation"][1:3]), ["N 0.00/", "N 0.00/"])
        self.assertTrue(math.isnan(back["hue"][3]) and close(back["value"][3], "3.68"))
        self.assertEqual(huelinx.xyy_to_munsell([0.3, 0, 20])["status"], "not a number")
        self.assertEqual(huelinx.lab_to_xyz([-20, 0, 0])["status"], "out of range")

    def test_scalars_lists_arrays_and_views(self):
        one = huelinx.munsell_to_xyz("5R 4/14")
        self.assertEqual(one["X"].shape, ())
        by_numbers = huelinx.munsell_to_xyz([5, 4, 14])
        self.assertEqual(by_numbers["X"], one["X"])
        grid = np.zeros((2, 3, 3))
        grid[..., 0], grid[..., 1], grid[..., 2] = 5, 4, 14
        self.assertEqual(huelinx.munsell_to_xyz(grid)["X"].shape, (2, 3))
        wide = np.array([[5, 4, 14, 99], [10, 6, 8, 99]], dtype=np.int64)
        self.assertEqual(list(huelinx.munsell_to_xyz(wide[:, :3])["status"]), ["ok", "ok"])
        reversed_rows = np.asfortranarray(np.array([[10.0, 6, 8], [5, 4, 14]]))[::-1]
        self.assertEqual(huelinx.munsell_to_xyz(reversed_rows)["X"][0], one["X"])
        for empty in ([], np.empty((0, 3))):
            got = huelinx.xyz_to_munsell(empty)
            self.assertEqual(got["notation"].shape, (0,))
        self.assertEqual(huelinx.iscc_nbs_name(np.array([["5R 4/14", "N 5/"]]))["name"].shape,
                         (1, 2))
        with self.assertRaises(ValueError):
            huelinx.xyz_to_munsell([[1, 2], [3, 4]])

    def test_nothing_a_colour_holds_raises(self):
        rng = random.Random(7)
        specials = [0.0, -0.0, 1e-300, -1e300, 1e300, math.inf, -math.inf, math.nan]
        for _ in range(200):
            triple = [rng.choice(specials + [rng.uniform(-200, 200)]) for _ in range(3)]
            for function in (huelinx.munsell_to_xyz, huelinx.xyz_to_munsell,
                             huelinx.xyy_to_munsell, huelinx.xyz_to_lab, huelinx.lab_to_xyz,
                             huelinx.xyz_to_rgb, huelinx.rgb_to_xyz, huelinx.iscc_nbs_name):
                function([triple])
            huelinx.nearest_chip([triple])
            huelinx.delta_e_2000(triple, [50, 0, 0])
        for text in ["", " ", "/", "N", "5R/", "5R 4/", "\u00e9\u00e8 4/2", "5R 4/14/2", "1e9R 4/2"]:
            huelinx.munsell_to_xyz(text)
            huelinx.nearest_chip(text)

    def test_a_string_utf8_cannot_hold_is_bad_text_and_the_rest_converts(self):
        texts = ["5R 4/14", "5R 4/\udc80", "\ud800", "N 5/"]
        one = huelinx.munsell_to_xyz("5R 4/14")
        for given in (texts, np.array(texts), tuple(texts)):
            got = huelinx.munsell_to_xyz(given)
            self.assertEqual(list(got["status"]), ["ok", "bad text", "bad text", "ok"])
            self.assertEqual(got["X"][0], one["X"])
            self.assertTrue(math.isnan(got["X"][1]) and math.isnan(got["X"][2]))
        self.assertEqual(huelinx.munsell_to_xyz("5R \udc80/2")["status"], "bad text")
        self.assertEqual(list(huelinx.iscc_nbs_name(texts)["name"]),
                         ["vivid red", "", "", "medium gray"])
        self.assertEqual(list(huelinx.nearest_chip(texts)["status"][1:3]), ["bad text"] * 2)


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


class NamesChipsAndDifferences(unittest.TestCase):

    def test_names_chips_and_ciede2000(self):
        names = huelinx.iscc_nbs_name(["5R 4/14", "N 5/", "5Q 4/14"])
        self.assertEqual(list(names["name"]), ["vivid red", "medium gray", ""])
        self.assertEqual(list(names["abbreviation"]), ["viv.R", "m.Gy", ""])
        self.assertEqual(names["status"][2], "not a notation")
        # A chip of the set is its own nearest chip; X, Y, Z find it too.
        chips = huelinx.nearest_chip(["10YR 5/3", "10YR 5.2/3.3", "5R 4/14"], chipset="soil")
        self.assertEqual(list(chips["chip"]), ["10YR 5/3", "10YR 5/3", ""])
        self.assertEqual(chips["dE00"][0], 0.0)
        self.assertTrue(close(chips["dV"][1], "0.20") and close(chips["dC"][1], "0.30"))
        self.assertEqual(chips["status"][2], "no chip within 5")
        xyz = huelinx.munsell_to_xyz("5R 4/14")
        real = huelinx.nearest_chip([[xyz["X"], xyz["Y"], xyz["Z"]]], chipset="renotation-real")
        self.assertEqual(real["chip"][0], "5R 4/14")
        with self.assertRaises(ValueError):
            huelinx.nearest_chip("5R 4/14", chipset="no-such-set")
        pair = huelinx.delta_e_2000([50, 2.6772, -79.7751], [50, 0, -82.7485])
        self.assertAlmostEqual(float(pair), 2.0425, places=4)
        many = huelinx.delta_e_2000([[50, 0, 0], [60, 10, 10]], [50, 0, 0])
        self.assertEqual(many.shape, (2,))
        self.assertEqual(many[0], 0.0)


    def test_notations_the_module_writes_read_back(self):
        # A hue at the end of RP is written .00R; it and 0R are 10RP, as the
        # converter reads them, for conversions and names alike.
        xyz = huelinx.munsell_to_xyz([[0.001, 7.48, 9.78], [20.0, 5, 4]])
        written = huelinx.xyz_to_munsell(np.column_stack([xyz[k] for k in "XYZ"]))["notation"]
        self.assertTrue(written[0].startswith(".00R "), written)
        notations = [written[0], "0YR 5/4", "0r 5/4", "0 5/4", "0X 5/4", "00R"]
        rows = converter_lines([f"munsell,{n.split()[0]},{n.split()[1].replace('/', ',')}"
                                for n in notations[:3]], "--names")
        got = huelinx.munsell_to_xyz(notations)
        names = huelinx.iscc_nbs_name(notations)
        for i, row in enumerate(rows):
            self.assertEqual(got["status"][i], "ok", row)
            self.assertTrue(close(got["X"][i], row["X"]) and close(got["Z"][i], row["Z"]), row)
            self.assertEqual((names["name"][i], names["abbreviation"][i]),
                             (row["name"], row["abbreviation"]))
        self.assertEqual(list(got["status"][3:]), ["not a notation"] * 3)

    def test_a_name_files_names_come_whole_in_any_script(self):
        # Names of a user's name file longer than the standard ones and
        # beyond ASCII reach the user as the file writes them.
        own = os.path.dirname(huelinx.data_files()["Vadoro.dat"])
        long_name = "vivid red as a fire engine seen at noon in the summer sun"
        rows = {"vivid red": (long_name, "viv.R"), "medium gray": ("gris moyen \u00e9t\u00e9",
                                                               "m.Gr\u00ef")}
        with tempfile.TemporaryDirectory() as folder:
            for name in ("Vadoro.dat", "iscc-nbs-blocks.csv"):
                shutil.copy(os.path.join(own, name), folder)
            with open(os.path.join(own, "iscc-nbs-names.csv"), encoding="utf-8") as f:
                table = list(csv.reader(f))
            for row in table:
                if row[1] in rows:
                    row[1:3] = rows[row[1]]
            with open(os.path.join(folder, "iscc-nbs-names.csv"), "w", encoding="utf-8",
                      newline="") as f:
                csv.writer(f).writerows(table)
            for only_ascii in (True, False):
                notations = ["5R 4/14", "5Q 4/14"] + ([] if only_ascii else ["N 5/"])
                out = run_python(f"""
import huelinx
names = huelinx.iscc_nbs_name({notations!r})
print(repr([list(names["name"]), list(names["abbreviation"])]))
""", HUELINX_DATA=folder)
                expected = [[long_name, ""], ["viv.R", ""]]
                if not only_ascii:
                    expected = [e + [rows["medium gray"][k]] for k, e in enumerate(expected)]
                self.assertEqual(out.strip(), repr(expected))

    def test_threads_share_the_chip_sets_without_waiting_for_each_other(self):
        xyz = np.column_stack([huelinx.munsell_to_xyz(["10YR 5/3"] * 20000)[k] for k in "XYZ"])
        results, threads = [], []
        for _ in range(4):
            def run():
                results.append(huelinx.nearest_chip(xyz, chipset="soil", illuminant="D50")["chip"])
            threads.append(threading.Thread(target=run, daemon=True))
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join(timeout=120)
        self.assertFalse(any(thread.is_alive() for thread in threads))
        self.assertEqual(len(results), 4)
        self.assertTrue(all((r == results[0]).all() for r in results))


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


# ---- photographs ---------------------------------------------------------------

PHOTO_DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data", "photo")


def spectra_rows(name):
    """The reflectance spectra of a data/photo file, one row a patch."""
    with open(os.path.join(PHOTO_DATA, name), newline="") as f:
        rows = list(csv.reader(f))
    return np.array([[float(v) for v in row[2:]] for row in rows[1:]])


def camera_rgb(reflectances):
    """Linear camera R, G, B of reflectances: a measured camera under D50,
    a perfect white's largest channel at 0.8."""
    with open(os.path.join(PHOTO_DATA, "cameras.csv"), newline="") as f:
        sens = np.array([[float(v) for v in row[2:]] for row in csv.reader(f)
                         if row[0] == "nikon_d7000"])
    with open(os.path.join(PHOTO_DATA, "illuminants.csv"), newline="") as f:
        rows = list(csv.reader(f))
    light = np.array([float(row[rows[0].index("D50")]) for row in rows[1:]])
    rgb = (reflectances * light) @ sens
    return 0.8 * rgb / (light @ sens).max()


def png(path, image):
    """Writes an (h, w, 3) uint8 or uint16 array as a PNG file."""
    import struct
    import zlib
    depth = 16 if image.dtype == np.uint16 else 8
    raw = image.astype(">u2" if depth == 16 else "u1").reshape(image.shape[0], -1)
    data = b"".join(b"\0" + row.tobytes() for row in raw)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    header = struct.pack(">IIBBBBB", image.shape[1], image.shape[0], depth, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(data))
                + chunk(b"IEND", b""))


def chart_shot(sample_light=1.0):
    """A linear picture 0..1 of the chart (patches 40 pixels apart, the top
    left centred at 60, 50), 8 held-out samples below it lit by sample_light,
    an 18 % grey card beside them; its chart corners and region rows."""
    image = np.full((330, 320, 3), 0.01)
    patches = camera_rgb(spectra_rows("chart-reflectance.csv"))
    for i, rgb in enumerate(patches):
        x, y = 60 + 40 * (i % 6), 50 + 40 * (i // 6)
        image[y - 16:y + 17, x - 16:x + 17] = rgb
    samples = camera_rgb(spectra_rows("training-reflectance.csv")[5::23][:8]) * sample_light
    regions = []
    for k, rgb in enumerate(samples):
        image[210:230, 20 + 30 * k:40 + 30 * k] = rgb
        regions.append([20 + 30 * k, 210, 20, 20])
    image[280:311, 20:51] = camera_rgb(np.full((1, 81), 0.18))[0] * sample_light
    image[280:300, 280:300] = 1.0  # at the top of the range: a clipped region
    return image, [60, 50, 260, 50, 260, 170, 60, 170], regions


def srgb8(linear):
    v = np.clip(linear, 0, 1)
    encoded = np.where(v <= 0.0031308, 12.92 * v, 1.055 * v ** (1 / 2.4) - 0.055)
    return np.round(encoded * 255).astype(np.uint8)


class PhotoRegions(unittest.TestCase):
    """photo_regions over a NumPy image gives, region by region, the numbers
    huelinx-convert --photo prints for the same picture written as a file."""

    def converter_photo(self, image, chart, lines, *options):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "shot.png")
            png(path, image)
            run = subprocess.run(
                [os.environ["HUELINX_CONVERT"], "--photo", path, "--chart",
                 ",".join(str(v) for v in chart), "--csv", *options],
                input="".join(line + "\n" for line in lines), capture_output=True, text=True,
                check=False)
        return run

    def test_the_same_numbers_as_the_converter_line_by_line(self):
        linear, chart, regions = chart_shot(sample_light=0.7)
        cases = [
            ("16-bit linear", np.round(linear.clip(0, 1) * 65535).astype(np.uint16),
             {"linear": True}, ["--linear"]),
            ("8-bit sRGB", srgb8(linear), {}, []),
            ("grey card", np.round(linear.clip(0, 1) * 65535).astype(np.uint16),
             {"linear": True, "reference": (35, 295, 12, 18), "fit": "rootpoly2"},
             ["--linear", "--reference", "35,295,12,18", "--fit", "rootpoly2"]),
        ]
        # Two regions that can't be read, and a clipped one, among the samples.
        rows = regions + [[310, 210, 20, 20], [20, 210, 0, 5], [280, 280, 20, 20]]
        lines = [f"r{i}," + ",".join(str(v) for v in r) for i, r in enumerate(rows)]
        for title, image, kwargs, options in cases:
            with self.subTest(title):
                run = self.converter_photo(image, chart, lines, "--names", "--chips", "soil",
                                           *options)
                self.assertEqual(run.returncode, 1, run.stderr)  # the two bad lines
                printed = list(csv.DictReader(io.StringIO(run.stdout)))
                got = huelinx.photo_regions(image, chart, rows, names=True, chipset="soil",
                                            **kwargs)
                self.assertEqual(len(printed), len(rows))
                self.assertEqual(len(got["X"]), len(rows))
                for i, row in enumerate(printed):
                    self.assertEqual(row["region"], f"r{i}")
                    self.assertEqual(row["notes"] or row["message"], got["notes"][i])
                    if not row["X"]:
                        self.assertEqual(got["status"][i], "bad region")
                        self.assertTrue(math.isnan(got["X"][i]))
                        continue
                    for k in "XYZ":
                        self.assertTrue(close(got[k][i], row[k]), (title, i, k))
                    if not row["hue"]:  # outside the Munsell data: the value alone
                        self.assertEqual((got["status"][i], got["notation"][i]),
                                         ("outside data", ""))
                    else:
                        self.assertEqual(got["notation"][i],
                                         f"{row['hue']} {row['value']}/{row['chroma']}")
                    self.assertEqual(got["name"][i], row["name"])
                    self.assertEqual(got["abbreviation"][i], row["abbreviation"])
                    if not row["hue"]:  # no chip for a colour outside the data
                        self.assertEqual((row["chip"], got["chip_status"][i]), ("", "outside data"))
                        self.assertTrue(math.isnan(got["dE00"][i]))
                    elif row["chip"] == "no chip within 5":
                        self.assertEqual(got["chip_status"][i], row["chip"])
                    elif not row["hue"]:  # outside the data: no chip
                        self.assertTrue(math.isnan(got["dE00"][i]))
                    else:
                        self.assertEqual(got["chip"][i], row["chip"])
                        self.assertTrue(close(got["dE00"][i], row["dE00"]))
                    self.assertTrue(close(got["expected_dE00_median"],
                                          row["expected_dE00_median"]))
                    self.assertTrue(close(got["expected_dE00_max"], row["expected_dE00_max"]))
                checked = "lighting of the sample not checked"
                self.assertEqual(checked in got["notes"][0], "reference" not in kwargs)
                self.assertIn("clipped", got["notes"][len(rows) - 1])

    def test_what_cannot_be_read_raises_with_the_reason(self):
        linear, chart, regions = chart_shot()
        image = np.round(linear * 65535).astype(np.uint16)
        for bad in (image.astype(np.float32), image[:, :, :2], image[0]):
            with self.assertRaises(ValueError):
                huelinx.photo_regions(bad, chart, regions)
        for kwargs in ({"fit": "4x4"}, {"reference": (35, 295, 12)}):
            with self.assertRaises(ValueError):
                huelinx.photo_regions(image, chart, regions, **kwargs)
        with self.assertRaises(ValueError):
            huelinx.photo_regions(image, chart[:6], regions)
        # No chart at these corners: the converter's message, as it says it.
        elsewhere = [5, 5, 60, 5, 60, 40, 5, 40]
        run = self.converter_photo(image, elsewhere, ["r,20,210,20,20"], "--linear")
        self.assertEqual((run.returncode, run.stdout), (1, ""))
        with self.assertRaises(ValueError) as raised:
            huelinx.photo_regions(image, elsewhere, regions, linear=True)
        self.assertIn(str(raised.exception), run.stderr)


class SoilContrastAndChecks(unittest.TestCase):
    """contrast_class and soil_checks give what huelinx-convert --contrast and
    --soil print for the same pairs."""

    SOIL_HUES = ["10R", "2.5YR", "5YR", "7.5YR", "10YR", "2.5Y", "5Y"]

    def notations(self, rng, count):
        """Soil chips, notations between chips, greys, and a few no soil chip is near."""
        out = []
        for i in range(count):
            kind = i % 10
            if kind == 9:
                out.append(rng.choice(["5PB 4/10", "N 5/", "7.5YR 4.4/5.1", "N 2.5/"]))
            elif kind >= 7:
                out.append("%s %.1f/%.1f" % (rng.choice(self.SOIL_HUES), rng.uniform(2, 8),
                                             rng.uniform(0.5, 7)))
            else:
                out.append("%s %s/%d" % (rng.choice(self.SOIL_HUES),
                                         rng.choice(["2", "2.5", "3", "4", "5", "6", "7", "8"]),
                                         rng.choice([1, 2, 3, 4, 6, 8])))
        return out

    def test_the_same_classes_as_the_converter(self):
        rng = random.Random(28)
        a, b = self.notations(rng, 3000), self.notations(rng, 3000)
        rows = converter_lines(["%s, %s" % pair for pair in zip(a, b)], "--contrast")
        self.assertEqual(len(rows), len(a))
        got = huelinx.contrast_class(a, b)
        classes = set()
        for i, row in enumerate(rows):
            where = (a[i], b[i], row)
            self.assertEqual(got["class"][i], row["class"], where)
            if not row["class"]:
                self.assertNotEqual(got["status"][i], "ok", where)
                continue
            classes.add(row["class"])
            self.assertEqual(got["status"][i], "ok", where)
            self.assertTrue(close(got["dE00"][i], row["dE00"]), where)
            for key in ("dH", "dV", "dC"):
                self.assertEqual(got[key][i], float(row[key]), where)
            for k in ("1", "2"):
                self.assertEqual(bool(got["taken" + k][i]), bool(row["chip" + k]), where)
                if row["chip" + k]:
                    self.assertEqual(got["chip" + k][i], row["chip" + k], where)
        self.assertEqual(classes, {"Faint", "Distinct", "Prominent"})

    def test_one_notation_against_many_and_shapes(self):
        many = huelinx.contrast_class(
            "10YR 6/3", np.array([["5YR 3/4", "10YR 6/3"], ["N 6/", "x"]]))
        self.assertEqual(many["class"].shape, (2, 2))
        self.assertEqual(many["class"][0, 0], "Prominent")
        self.assertEqual(many["dE00"][0, 1], 0.0)
        self.assertEqual(many["status"][1, 1], "not a notation")
        numbers = huelinx.contrast_class([[20, 6, 3]], ["5YR 3/4"])
        self.assertEqual(numbers["class"][0], "Prominent")
        with self.assertRaises(ValueError):
            huelinx.contrast_class(["10YR 6/3", "N 5/"], ["5YR 3/4", "N 5/", "N 6/"])

    def test_the_same_checks_as_the_converter(self):
        rng = random.Random(5)
        moist = ["10YR %s/%s" % (rng.choice(["2", "2.5", "3", "3.5", "4"]),
                                 rng.choice(["1", "2", "2.5", "3", "3.5"])) for _ in range(400)]
        dry = ["10YR %s/2" % rng.choice(["4", "4.5", "5", "5.5", "6"]) for _ in range(400)]
        moist[7], dry[9] = "N 3/", "bad"
        rows = converter_lines(["%s; %s" % pair for pair in zip(moist, dry)], "--soil")
        got = huelinx.soil_checks(moist, dry)
        seen = set()
        for i, row in enumerate(rows):
            where = (moist[i], dry[i], row)
            if not row["mollic_colour"]:
                self.assertEqual(got["status"][i], "not a notation", where)
                continue
            seen.add((row["mollic_colour"], row["chernic_colour"]))
            self.assertEqual(bool(got["mollic_colour"][i]), row["mollic_colour"] == "yes", where)
            self.assertEqual(bool(got["chernic_colour"][i]), row["chernic_colour"] == "yes", where)
        self.assertEqual(seen, {("yes", "yes"), ("yes", "no"), ("no", "no")})
