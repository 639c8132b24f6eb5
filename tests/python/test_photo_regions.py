"""Colour from photographs through the module, against huelinx-convert --photo."""

import csv
import io
import math
import os
import subprocess
import tempfile
import unittest

import numpy as np

import huelinx

from converter_run import close


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
