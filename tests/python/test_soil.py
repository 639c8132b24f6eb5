"""contrast_class and soil_checks against huelinx-convert --contrast and --soil."""

import random
import unittest

import numpy as np

import huelinx

from converter_run import converter_lines, close


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
