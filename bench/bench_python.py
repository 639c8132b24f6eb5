"""Speed of the Python module huelinx beside the core's: each module function on
1,000,000 colours in one call (the nearest chip and colours entered into a
window on 100,000), and the core's own benchmark of the same conversion, a
colour at a time on the same colours (huelinx_bench's module/ cases), in one
run. Rates are per second of processor time, best of three; the ratio is how
many times longer the module takes per colour than the core.

Run: PYTHONPATH=build/python python3 bench/bench_python.py [--core build/bench/huelinx_bench]
"""

import argparse
import json
import os
import subprocess
import sys
import tempfile
import time

import numpy as np

import huelinx

N = 1_000_000
HUES = ["R", "YR", "Y", "GY", "G", "BG", "B", "PB", "P", "RP"]


def inputs():
    """The colours of each case, by the name the core's cases read them under."""
    rng = np.random.default_rng(20261208)
    hvc = np.column_stack([rng.uniform(0, 100, N), rng.uniform(1, 9, N), rng.uniform(0, 14, N)])
    converted = huelinx.munsell_to_xyz(hvc)
    inside = converted["status"] == "ok"
    xyz = np.resize(np.column_stack([converted[k] for k in "XYZ"])[inside], (N, 3))
    texts = [f"{h:.1f}{HUES[i % 10]} {v:.1f}/{c:.1f}"
             for i, (h, v, c) in enumerate(zip(hvc[:, 0] % 10 + 0.1, hvc[:, 1], hvc[:, 2]))]
    lab = np.column_stack([huelinx.xyz_to_lab(xyz)[k] for k in "Lab"])
    xyy = np.column_stack([xyz[:, 0] / xyz.sum(1), xyz[:, 1] / xyz.sum(1), xyz[:, 1]])
    rgb = rng.uniform(0, 255, (N, 3))
    # Colours beyond 1e6 are entered into a window to see whether it
    # overflows: the slowest case, every colour so.
    big = xyz[: N // 10] * [1e30, 1, 1]
    return dict(hvc=hvc, xyz=xyz, texts=texts, lab=lab, xyy=xyy, rgb=rgb, big=big)


def cases(c):
    """(label, core case, module call, colours a call)."""
    return [
        ("munsell_to_xyz, (n, 3) numbers", "munsell_to_xyz/numbers",
         lambda: huelinx.munsell_to_xyz(c["hvc"]), N),
        ("munsell_to_xyz, notation strings", "munsell_to_xyz/texts",
         lambda: huelinx.munsell_to_xyz(c["texts"]), N),
        ("xyz_to_munsell", "xyz_to_munsell", lambda: huelinx.xyz_to_munsell(c["xyz"]), N),
        ("xyy_to_munsell", "xyy_to_munsell", lambda: huelinx.xyy_to_munsell(c["xyy"]), N),
        ("xyz_to_lab", "xyz_to_lab", lambda: huelinx.xyz_to_lab(c["xyz"]), N),
        ("xyz_to_lab, X 1e30 (each entered)", "xyz_to_lab/entered",
         lambda: huelinx.xyz_to_lab(c["big"]), N // 10),
        ("lab_to_xyz", "lab_to_xyz", lambda: huelinx.lab_to_xyz(c["lab"]), N),
        ("xyz_to_rgb", "xyz_to_rgb", lambda: huelinx.xyz_to_rgb(c["xyz"]), N),
        ("rgb_to_xyz", "rgb_to_xyz", lambda: huelinx.rgb_to_xyz(c["rgb"]), N),
        ("iscc_nbs_name, (n, 3) numbers", "iscc_nbs_name/numbers",
         lambda: huelinx.iscc_nbs_name(c["hvc"]), N),
        ("nearest_chip of X, Y, Z, renotation-real", "nearest_chip/xyz",
         lambda: huelinx.nearest_chip(c["xyz"][: N // 10], chipset="renotation-real"), N // 10),
        ("delta_e_2000", "delta_e_2000", lambda: huelinx.delta_e_2000(c["lab"], c["lab"][::-1]),
         N),
    ]


def module_rate(call, count):
    best = float("inf")
    for _ in range(3):
        start = time.process_time()
        call()
        best = min(best, time.process_time() - start)
    return count / best


def core_rates(core, c):
    """items per second of processor time of each module/ case of the core's
    benchmark, on the same colours."""
    with tempfile.TemporaryDirectory() as folder:
        for name in ("hvc", "xyz", "lab", "xyy", "rgb", "big"):
            np.ascontiguousarray(c[name], dtype="<f8").tofile(os.path.join(folder, name + ".f64"))
        with open(os.path.join(folder, "texts.txt"), "w", encoding="ascii") as f:
            f.write("\n".join(c["texts"]) + "\n")
        run = subprocess.run([core, "--benchmark_filter=^module/", "--benchmark_format=json"],
                             env={**os.environ, "HUELINX_BENCH_INPUTS": folder},
                             capture_output=True, text=True, check=True)
    return {b["name"][len("module/"):]: b["items_per_second"]
            for b in json.loads(run.stdout)["benchmarks"]}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--core", default=os.path.join(here, "..", "build", "bench", "huelinx_bench"))
    args = parser.parse_args()
    c = inputs()
    core = core_rates(args.core, c)
    print(f"huelinx on {N:,} colours a call; million colours a second of processor time")
    print(f"{'':<42} {'module':>8} {'core':>8} {'ratio':>6}")
    for label, case, call, count in cases(c):
        mine = module_rate(call, count)
        print(f"{label:<42} {mine / 1e6:8.3f} {core[case] / 1e6:8.3f} {core[case] / mine:6.2f}")
        sys.stdout.flush()


if __name__ == "__main__":
    main()
