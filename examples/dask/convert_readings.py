"""Converts a large CSV of X, Y, Z readings to Munsell notation and L*a*b*
with huelinx on a Dask cluster, a partition of rows at a time.

The input has columns X, Y, Z (white Y = 100) and any others, which are kept.
Each row gains notation (the text the window shows, empty outside the data),
hue (0..100, empty for a grey), value, chroma, L, a, b and status ('in data',
'outside data', 'out of range', 'not a number'). The output is a folder of
CSV files, one a partition, in the order of the input.

On this machine, with a local cluster of worker processes:
    python3 convert_readings.py readings.csv converted/ --workers 4
On a cluster (huelinx installed on every worker, e.g. by pip install):
    python3 convert_readings.py readings.csv converted/ --scheduler tcp://host:8786
The input and output paths must then be ones every worker reads and writes
(a shared file system or an object store URL that Dask reads).
"""

import argparse
import os
import sys

import dask.dataframe as dd
import numpy as np
import pandas as pd
from dask.distributed import Client, LocalCluster

# The columns each partition gains, and their types.
ADDED = {"notation": object, "hue": np.float64, "value": np.float64, "chroma": np.float64,
         "L": np.float64, "a": np.float64, "b": np.float64, "status": object}


def convert(readings, illuminant="C"):
    """One partition: the readings with their notation and L*a*b* added.
    huelinx is imported here, on the worker that runs the partition."""
    import huelinx  # pylint: disable=import-outside-toplevel
    xyz = readings[["X", "Y", "Z"]].to_numpy(dtype=np.float64)
    munsell = huelinx.xyz_to_munsell(xyz, illuminant=illuminant)
    lab = huelinx.xyz_to_lab(xyz, illuminant=illuminant)
    out = readings.copy()
    out["notation"] = munsell["notation"].astype(object)
    for key in ("hue", "value", "chroma"):
        out[key] = munsell[key]
    for key in "Lab":
        out[key] = lab[key]
    # A reading Munsell converts but L*a*b* refuses says why.
    out["status"] = np.where(lab["status"] == "ok", munsell["status"], lab["status"]).astype(object)
    return out


def converted(input_csv, illuminant="C", blocksize="64MB"):
    """The lazy frame of the converted readings."""
    readings = dd.read_csv(input_csv, blocksize=blocksize)
    meta = readings._meta.assign(**{k: pd.Series(dtype=t) for k, t in ADDED.items()})
    return readings.map_partitions(convert, illuminant=illuminant, meta=meta)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("input", help="CSV file(s) of readings with columns X, Y, Z (a glob too)")
    parser.add_argument("output", help="folder for the converted CSV files, one a partition")
    parser.add_argument("--workers", type=int, default=os.cpu_count() or 1,
                        help="worker processes of the local cluster (default: one a core)")
    parser.add_argument("--scheduler", help="address of a running cluster's scheduler instead")
    parser.add_argument("--illuminant", default="C", choices=["C", "D50", "D65"])
    parser.add_argument("--blocksize", default="64MB", help="bytes of input a partition")
    args = parser.parse_args(argv)

    if args.scheduler:
        client = Client(args.scheduler)
    else:
        cluster = LocalCluster(n_workers=args.workers, threads_per_worker=1, processes=True,
                               host="127.0.0.1", dashboard_address=None)
        client = Client(cluster)
    with client:
        frame = converted(args.input, args.illuminant, args.blocksize)
        os.makedirs(args.output, exist_ok=True)
        frame.to_csv(os.path.join(args.output, "part-*.csv"), index=False,
                     name_function=lambda i: f"{i:05d}")
        print(f"{frame.npartitions} partitions converted into {args.output}", file=sys.stderr)
        if not args.scheduler:
            client.close()
            cluster.close()


if __name__ == "__main__":
    main()
