#!/usr/bin/env bash
# pip installs the checkout into a fresh virtual environment, offline, and
# runs the module's tests with that environment's interpreter from a folder
# outside the checkout, with HUELINX_DATA unset and PYTHONPATH empty: the
# installed module must find its own data.
# Usage: pip_install.sh SOURCE_DIR BUILD_DIR HUELINX_CONVERT
set -euo pipefail
source_dir=$(cd "$1" && pwd)
build_dir=$(cd "$2" && pwd)
convert=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Debian's NumPy comes from the system's site packages.
/usr/bin/python3 -m venv --system-site-packages "$work/venv"
python="$work/venv/bin/python"
# The module built in the build folder is reused when it fits this interpreter.
HUELINX_CMAKE_BUILD="$build_dir" "$python" -m pip install --quiet --no-build-isolation \
  --no-index --no-deps "$source_dir"

mkdir "$work/elsewhere"
cd "$work/elsewhere"
unset HUELINX_DATA
export PYTHONPATH= PYTHONDONTWRITEBYTECODE=1 HUELINX_CONVERT="$convert"
"$python" - "$work/venv" <<'PY'
import os, sys
import huelinx
venv = os.path.realpath(sys.argv[1])
inside = lambda path: os.path.realpath(path).startswith(venv + os.sep)
assert inside(huelinx.__file__), huelinx.__file__
for name, path in huelinx.data_files().items():
    assert path and inside(path), (name, path)
print("huelinx and its data files from", os.path.dirname(huelinx.__file__))
PY
# The tests are read from the checkout (as are the photographs' spectra they
# compare with); the module and its data are the installed ones.
"$python" -m unittest discover -s "$source_dir/tests/python" -v
