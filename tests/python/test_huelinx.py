"""The Python module huelinx against the command-line converter: every conversion
line by line, at full precision, with its statuses and shapes. Run with
PYTHONPATH at build/python (or the module pip-installed) and HUELINX_CONVERT
naming huelinx-convert."""

import math
import random
import unittest

import numpy as np

import huelinx

from converter_run import HUES, converter_lines, converter_each, close, converter_refused, shown_notation


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
