"""Speed of the Python module huelinx on 1,000,000 colours (the nearest chip
on 100,000), one call each, on one core. Run: PYTHONPATH=build/python python3 bench/bench_python.py"""

import time

import numpy as np

import huelinx

N = 1_000_000


def rate(label, function, *args, **kwargs):
    count = len(args[0])
    best = float("inf")
    for _ in range(3):
        start = time.perf_counter()
        function(*args, **kwargs)
        best = min(best, time.perf_counter() - start)
    print(f"{label:<44} {count / best / 1e6:7.3f} million/s  ({count:,} in {best:.3f} s)")


def main():
    rng = np.random.default_rng(20261208)
    hvc = np.column_stack([rng.uniform(0, 100, N), rng.uniform(1, 9, N), rng.uniform(0, 14, N)])
    converted = huelinx.munsell_to_xyz(hvc)
    inside = converted["status"] == "ok"
    xyz = np.column_stack([converted[k] for k in "XYZ"])[inside]
    xyz = np.resize(xyz, (N, 3))
    hues = ["R", "YR", "Y", "GY", "G", "BG", "B", "PB", "P", "RP"]
    texts = [f"{h:.1f}{hues[i % 10]} {v:.1f}/{c:.1f}"
             for i, (h, v, c) in enumerate(zip(hvc[:, 0] % 10 + 0.1, hvc[:, 1], hvc[:, 2]))]
    lab = np.column_stack([huelinx.xyz_to_lab(xyz)[k] for k in "Lab"])

    print(f"huelinx on {N:,} colours")
    rate("munsell_to_xyz, (n, 3) numbers", huelinx.munsell_to_xyz, hvc)
    rate("munsell_to_xyz, notation strings", huelinx.munsell_to_xyz, texts)
    rate("xyz_to_munsell", huelinx.xyz_to_munsell, xyz)
    rate("xyz_to_lab", huelinx.xyz_to_lab, xyz)
    # Colours beyond 1e6 are entered into the window to see whether it
    # overflows: the slowest case, every colour so.
    rate("xyz_to_lab, X 1e30 (each entered)", huelinx.xyz_to_lab, xyz[: N // 10] * [1e30, 1, 1])
    rate("iscc_nbs_name, (n, 3) numbers", huelinx.iscc_nbs_name, hvc)
    # The nearest chip is the slow one: a tenth of the colours.
    rate("nearest_chip of X, Y, Z, renotation-real", huelinx.nearest_chip, xyz[: N // 10],
         chipset="renotation-real")
    rate("delta_e_2000", huelinx.delta_e_2000, lab, lab[::-1])


if __name__ == "__main__":
    main()
