"""The MacAdam fields of the module's conversions agree with huelinx-convert --limits."""
import math
import random
import unittest

import numpy as np

import huelinx

from converter_run import HUES, converter_lines


class MacAdamFields(unittest.TestCase):
    def test_notations_rgb_and_lab_give_what_the_converter_prints(self):
        rng = random.Random(29)
        notations = [f"{rng.choice([2.5, 5, 7.5, 10])}{rng.choice(HUES)} "
                     f"{round(rng.uniform(1, 9.5), 1)}/{rng.choice([2, 6, 10, 14, 18, 22, 26])}"
                     for _ in range(400)] + ["N 5/", "5R 11/4"]
        rgb = [[rng.randrange(256) for _ in range(3)] for _ in range(100)]
        lab = [[rng.uniform(1, 99), rng.uniform(-90, 90), rng.uniform(-90, 90)]
               for _ in range(100)]
        lines = ([f"munsell,{n.split()[0]},{n.split()[1].split('/')[0]},"
                  f"{n.split('/')[1] or 0}" for n in notations]
                 + [f"rgb,{r},{g},{b}" for r, g, b in rgb]
                 + [f"lab,{l!r},{a!r},{b!r}" for l, a, b in lab])
        for illuminant, pwd in [("C", False), ("D65", False), ("D50", True)]:
            with self.subTest(illuminant=illuminant, pwd=pwd):
                options = ["--illuminant", illuminant] + (["--pwd"] if pwd else [])
                rows = converter_lines(lines, "--limits", *options)
                self.assertEqual(len(rows), len(lines))
                got = [huelinx.munsell_to_xyz(notations, illuminant=illuminant, pwd=pwd),
                       huelinx.rgb_to_xyz(rgb, illuminant=illuminant, pwd=pwd),
                       huelinx.lab_to_xyz(lab, illuminant=illuminant, pwd=pwd)]
                within = np.concatenate([g["macadam"] for g in got])
                excess = np.concatenate([g["macadam_excess"] for g in got])
                beyond = 0
                for i, row in enumerate(rows):
                    if row["macadam"] == "":
                        self.assertTrue(math.isnan(excess[i]), lines[i])
                        self.assertFalse(within[i], lines[i])
                        continue
                    self.assertEqual(bool(within[i]), row["macadam"] == "within", lines[i])
                    # The converter prints the excess to four decimals.
                    self.assertLessEqual(abs(excess[i] - float(row["macadam_excess"])),
                                         0.00005 + 1e-9, lines[i])
                    beyond += row["macadam"] == "beyond"
                # Chromas up to 26 reach beyond the limits in every hue family.
                self.assertGreater(beyond, 20)
                self.assertLess(beyond, len(lines) - 20)

    def test_shapes_and_colours_without_xyz(self):
        one = huelinx.munsell_to_xyz("5R 4/14")
        self.assertEqual(one["macadam"].shape, ())
        self.assertTrue(bool(one["macadam"]))
        self.assertLess(float(one["macadam_excess"]), 0)
        grid = huelinx.munsell_to_xyz(np.array([[[5, 6, 24], [5, 4, 14]]]))
        self.assertEqual(grid["macadam"].shape, (1, 2))
        self.assertEqual(grid["macadam"].tolist(), [[False, True]])
        self.assertGreater(grid["macadam_excess"][0, 0], 0)
        # A notation that gives no colour has nothing to check.
        bad = huelinx.munsell_to_xyz(["5x 4/4", "5R 11/4"])
        self.assertEqual(bad["macadam"].tolist(), [False, False])
        self.assertTrue(np.isnan(bad["macadam_excess"]).all())
        # Conversions that give no X, Y, Z have no MacAdam fields.
        self.assertNotIn("macadam", huelinx.xyz_to_lab([20, 20, 20]))


if __name__ == "__main__":
    unittest.main()
