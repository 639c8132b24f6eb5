"""ISCC-NBS names, nearest chips and colour differences against the converter."""

import csv
import os
import shutil
import tempfile
import threading
import unittest

import numpy as np

import huelinx

from converter_run import converter_lines, run_python, close


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
