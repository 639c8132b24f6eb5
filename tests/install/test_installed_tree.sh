#!/usr/bin/env bash
# The installed tree works on its own and wherever it is moved: cmake --install
# of the runtime into a scratch prefix, the prefix moved elsewhere, then from
# an empty working folder the installed converter converts as the build
# tree's does and names the moved tree's data files, the installed Python
# module finds the same data, and the menu entry and the metadata validate.
# Arguments: the build folder, the Python interpreter ("" when the module is
# not built).
set -euo pipefail
build=$1 python=${2:-}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$scratch/first" --component runtime >/dev/null
mv "$scratch/first" "$scratch/moved"
root=$scratch/moved
mkdir "$scratch/work"
cd "$scratch/work"

for args in "munsell 5R 4 14" "lab 50 20 -30" "--names rgb 30 90 160"; do
  # shellcheck disable=SC2086
  want=$("$build/huelinx-convert" $args) || fail "build tree: huelinx-convert $args"
  # shellcheck disable=SC2086
  got=$("$root/bin/huelinx-convert" $args) || fail "installed: huelinx-convert $args"
  [ "$got" = "$want" ] || fail "huelinx-convert $args: installed gives '$got', the build '$want'"
done
version=$("$root/bin/huelinx-convert" --version)
for file in Vadoro.dat iscc-nbs-blocks.csv iscc-nbs-names.csv munsell-renotation-real.csv; do
  grep -qxF "$file: $root/share/huelinx/$file" <<<"$version" || fail "--version: $file not from $root: $version"
done

if [ -n "$python" ]; then
  site=$(find "$root/lib" -name 'huelinx.*.so' -printf '%h\n')
  [ -n "$site" ] || fail "no Python module installed under $root/lib"
  PYTHONPATH=$site HUELINX_DATA= "$python" - "$root" <<'PY' || fail "the installed Python module"
import sys
import huelinx
root = sys.argv[1]
assert huelinx.__file__.startswith(root), huelinx.__file__
for name, path in huelinx.data_files().items():
    assert path == f"{root}/share/huelinx/{name}", (name, path)
xyz = huelinx.munsell_to_xyz(["5R 4/14"])
assert str(xyz["status"][0]) == "ok" and abs(float(xyz["X"][0]) - 22.51) < 0.005, xyz
PY
fi

for svg_or_png in scalable/apps/huelinx.svg 16x16/apps/huelinx.png 256x256/apps/huelinx.png; do
  [ -s "$root/share/icons/hicolor/$svg_or_png" ] || fail "icon $svg_or_png missing"
done
for page in huelinx huelinx-convert; do
  man -l "$root/share/man/man1/$page.1" 2>&1 >/dev/null | grep . && fail "man page $page.1 warns"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/share/applications/org.huelinx.Huelinx.desktop" || fail "menu entry"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$root/share/metainfo/org.huelinx.Huelinx.metainfo.xml" >/dev/null ||
    fail "AppStream metadata"
fi
echo "installed tree: converter, data, module, icons, manual pages and menu entry checked"
