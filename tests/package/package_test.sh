#!/usr/bin/env bash
# The Debian package as a user gets it: built by cpack from this build tree,
# unpacked with dpkg -x into a scratch root, and every program started through
# its link in usr/bin, so each one has to find its program folder
# (usr/lib/tarvel) from its own resolved path.
#
# usage: package_test.sh BUILD_DIR SOURCE_DIR SCRATCH_DIR REFERENCE_CLI
set -euo pipefail

build=$1
source=$2
scratch=$3
reference_cli=$4

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

rm -rf "$scratch"
mkdir -p "$scratch"
scratch=$(cd "$scratch" && pwd -P)
root=$scratch/root
folder=$root/usr/lib/tarvel

# The package, and what its control fields declare.
if ! (cd "$build" && cpack -G DEB -B "$scratch/pkg") >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  fail "cpack -G DEB failed"
fi
debs=("$scratch"/pkg/tarvel_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one tarvel_*.deb, found: ${debs[*]}"
deb=${debs[0]}
[ "$(dpkg-deb -f "$deb" Package)" = tarvel ] || fail "package name"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no maintainer"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libc6 libstdc++6 libsqlite3-0 libqt6core6 libqt6gui6 libqt6widgets6 fonts-wqy-microhei; do
  tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' | grep -qxF "$needed" ||
    fail "Depends lacks $needed: $depends"
done

dpkg -x "$deb" "$root"

# Layout: the links, the program folder, the desktop entry and its icon.
for program in tarvel tarvel-cli tarvel-render; do
  [ -L "$root/usr/bin/$program" ] || fail "usr/bin/$program is not a link"
  [ "$(readlink "$root/usr/bin/$program")" = "../lib/tarvel/$program" ] ||
    fail "usr/bin/$program points to $(readlink "$root/usr/bin/$program")"
  [ -x "$folder/$program" ] || fail "usr/lib/tarvel/$program missing"
  if readelf -d "$folder/$program" | grep -Eq 'R(UN)?PATH'; then
    fail "$program keeps a library search path: $(readelf -d "$folder/$program" | grep -E 'R(UN)?PATH')"
  fi
done
for file in FRM/FRM.MDB BMP/P01.JPG BMP/Logoa.GIF BMP/toolbar/TB1.png TARVEL.CHM/index.html TARVEL.CHM/run.html; do
  [ -s "$folder/$file" ] || fail "usr/lib/tarvel/$file missing"
done
desktop=$root/usr/share/applications/tarvel.desktop
grep -qx 'Exec=tarvel' "$desktop" || fail "desktop entry does not start tarvel"
grep -qx 'Icon=tarvel' "$desktop" || fail "desktop entry has no tarvel icon"
[ -s "$root/usr/share/icons/hicolor/256x256/apps/tarvel.png" ] || fail "no 256 px icon"
# Debian keeps the copyright and licence of every package in its doc folder.
copyright=$root/usr/share/doc/tarvel/copyright
grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" ||
  fail "usr/share/doc/tarvel/copyright missing or not in the machine-readable format"
grep -q '^License: ' "$copyright" || fail "the copyright file names no licence"
[ -s "$root/usr/share/icons/hicolor/scalable/apps/tarvel.svg" ] || fail "no scalable icon"

# A run of the example from the unpacked tree writes the six result files,
# and the four machine-read ones equal those of the build tree's program.
mkdir -p "$scratch/work" "$scratch/reference"
cp "$source/examples/FRAME3X4.TVL" "$scratch/work/"
cp "$source/examples/FRAME3X4.TVL" "$scratch/reference/"
status=0
"$root/usr/bin/tarvel-cli" run "$scratch/work/FRAME3X4.TVL" >"$scratch/run.log" 2>&1 || status=$?
[ $status -eq 0 ] || { cat "$scratch/run.log" >&2; fail "tarvel-cli run ended with status $status"; }
for result in TARVEL1.wri TARVEL2.wri DLOAD.fkn LLOAD.fkn WLOAD.fkn AS.ags; do
  [ -s "$scratch/work/$result" ] || fail "the run wrote no $result"
done
"$reference_cli" run "$scratch/reference/FRAME3X4.TVL" >/dev/null 2>&1 || fail "the build tree's tarvel-cli failed"
for result in DLOAD.fkn LLOAD.fkn WLOAD.fkn AS.ags; do
  cmp -s "$scratch/work/$result" "$scratch/reference/$result" || fail "$result differs from the build tree's"
done

# The template job database and the renderer are found in the program folder.
# (started by name through PATH, as a shell or the desktop entry starts it)
PATH="$root/usr/bin:$PATH" tarvel-cli new "$scratch/work/JOB.mdb" --yes >"$scratch/new.log" 2>&1 ||
  { cat "$scratch/new.log" >&2; fail "tarvel-cli new failed"; }
cmp -s "$scratch/work/JOB.mdb" "$folder/FRM/FRM.MDB" || fail "the new job is not a copy of the template"
"$root/usr/bin/tarvel-cli" draw frame "$scratch/work/FRAME3X4.TVL" --png "$scratch/work/frame.png" \
  >"$scratch/draw.log" 2>&1 || { cat "$scratch/draw.log" >&2; fail "tarvel-cli draw failed"; }
[ "$(head -c 8 "$scratch/work/frame.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
  fail "no PNG picture from tarvel-render"

# The desktop program up to its main window, without a display.
export QT_QPA_PLATFORM=offscreen
status=0
"$root/usr/bin/tarvel" --check-start >"$scratch/start.log" 2>&1 || status=$?
[ $status -eq 0 ] || { cat "$scratch/start.log" >&2; fail "tarvel --check-start ended with status $status"; }
grep -qF "tarvel: main window shown, program folder $folder" "$scratch/start.log" ||
  { cat "$scratch/start.log" >&2; fail "tarvel did not name usr/lib/tarvel as its program folder"; }

# Without the template the same start reports it and fails.
mv "$folder/FRM/FRM.MDB" "$scratch/FRM.MDB"
status=0
"$root/usr/bin/tarvel" --check-start >"$scratch/start2.log" 2>&1 || status=$?
[ $status -eq 1 ] || fail "tarvel --check-start without the template ended with status $status"
grep -qF "tarvel: missing $folder/FRM/FRM.MDB" "$scratch/start2.log" ||
  { cat "$scratch/start2.log" >&2; fail "the missing template was not named"; }

echo "package $(basename "$deb"): $(du -k "$deb" | cut -f1) KiB, layout, run, new, draw and desktop start pass"
