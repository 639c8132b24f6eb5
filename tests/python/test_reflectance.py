"""spectrum_to_xyz: reflectance spectra under any light and observer, checked
against the published check table and against huelinx-convert --cgats."""

import csv
import io
import os
import subprocess
import tempfile
import unittest

import numpy as np

import huelinx

PHOTO_DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data", "photo")

def chart():
    with open(os.path.join(PHOTO_DATA, "chart-reflectance.csv"), newline="") as f:
        rows = list(csv.reader(f))
    return np.array([[float(v) for v in row[2:]] for row in rows[1:]])


class SpectrumToXyz(unittest.TestCase):

    def test_the_chart_under_c_gives_the_check_table_and_whites_their_own(self):
        # Patch 15 (red) as the check table of data/photo gives it.
        red = huelinx.spectrum_to_xyz(chart()[14])
        np.testing.assert_allclose([red["X"], red["Y"], red["Z"]], [20.75, 12.00, 5.65],
                                   atol=0.00501)
        # A perfect white under F2 with the 10 degree observer: x, y 0.3793,
        # 0.3672 and L*a*b* 100, 0, 0 against its own white.
        white = huelinx.spectrum_to_xyz(np.ones(81), illuminant="f2", observer=10)
        total = white["X"] + white["Y"] + white["Z"]
        self.assertAlmostEqual(float(white["X"] / total), 0.3793, delta=0.00005)
        self.assertAlmostEqual(float(white["Y"] / total), 0.3672, delta=0.00005)
        self.assertAlmostEqual(float(white["L"]), 100.0, places=9)
        self.assertAlmostEqual(float(white["a"]), 0.0, places=9)
        self.assertEqual(white["X"].shape, ())

    def test_ten_nanometre_readings_give_what_the_converter_gives(self):
        patches = chart()[:, ::2][:, :38]  # 380..750 nm at 10 nm
        readings = np.concatenate([patches[:, :1], patches[:, :1], patches], axis=1)
        nm = np.arange(360, 751, 10)
        fields = " ".join(f"SPECTRAL_NM{w}" for w in range(380, 751, 10))
        data = "\n".join(f"{i + 1} " + " ".join(repr(v) for v in p) for i, p in enumerate(patches))
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "chart.txt")
            with open(path, "w") as f:
                f.write(f"CGATS.17\nBEGIN_DATA_FORMAT\nSAMPLE_ID {fields}\nEND_DATA_FORMAT\n"
                        f"BEGIN_DATA\n{data}\nEND_DATA\n")
            run = subprocess.run([os.environ["HUELINX_CONVERT"], "--cgats", path,
                                  "--spectral-illuminant", "F11", "--observer", "10"],
                                 capture_output=True, text=True, check=True)
        rows = list(csv.DictReader(io.StringIO(run.stdout)))
        got = huelinx.spectrum_to_xyz(readings, nm, illuminant="F11", observer=10)
        self.assertEqual(len(rows), 24)
        for key in ("X", "Y", "Z", "L", "a", "b"):
            printed = np.array([float(row[f"{key}_F11_10"]) for row in rows])
            np.testing.assert_allclose(got[key], printed, atol=0.00501, err_msg=key)
        # Under another light the colours are others.
        c = huelinx.spectrum_to_xyz(readings, nm)
        self.assertGreater(np.abs(c["a"] - got["a"]).max(), 1.0)

    def test_what_is_no_light_observer_or_grid_raises_and_nan_stays_nan(self):
        for kwargs, words in (({"illuminant": "E"}, '"A", "C", "D50"'),
                              ({"observer": 4}, "2 or 10")):
            with self.assertRaises(ValueError) as raised:
                huelinx.spectrum_to_xyz(np.ones(81), **kwargs)
            self.assertIn(words, str(raised.exception))
        with self.assertRaises(ValueError):
            huelinx.spectrum_to_xyz(np.ones(40))  # 40 values need the 10 nm wavelengths
        with self.assertRaises(ValueError):
            huelinx.spectrum_to_xyz(np.ones(40), np.arange(370, 761, 10))
        with self.assertRaises(ValueError):
            huelinx.spectrum_to_xyz("grey")
        spectra = np.ones((2, 3, 81))
        spectra[1, 2, 40] = np.nan
        got = huelinx.spectrum_to_xyz(spectra)
        self.assertEqual(got["Y"].shape, (2, 3))
        self.assertTrue(np.isnan(got["Y"][1, 2]))
        self.assertEqual(int(np.isnan(got["Y"]).sum()), 1)


if __name__ == "__main__":
    unittest.main()
