#!/usr/bin/env bash
# The release package from a Windows user's side:
#   1. CPack makes quorvin-<version>-win64.zip from the Windows build; it
#      holds the stripped programs, every template, setting.ini, the nine
#      bitmaps, the read-me, the CMake function and the licences, and the
#      programs need no DLL beyond Windows' own.
#   2. In a fresh Wine prefix (which holds no compiler runtime) the package
#      is unpacked into C:\設計ツール, and quorvin.exe is started with
#      C:\作業 current, a folder that holds none of its files: a design is
#      made, saved and its code written (package_driver.exe).
#   3. The code is the one the native quorvin-gen writes from the saved
#      design with the package's template and settings, and quorvin-gen.exe
#      from the package writes the same bytes and prints the version the
#      package is named after.
#   4. Without ListBox.bmp, quorvin.exe names that file and the folders it
#      looked in before it ends.
#
#   package_test.sh --build-dir DIR --generator QUORVIN_GEN --driver EXE
#                   [--session DIR] [--objdump OBJDUMP] [--artifacts DIR]
#
# With --artifacts, a picture of the message of step 4 is left there as
# package-missing-bitmap.bmp.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/harness.sh"

build_dir="" generator="" driver="" session="" artifacts="" objdump=x86_64-w64-mingw32-objdump
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) build_dir="$2" ;;
    --generator) generator="$2" ;;
    --driver) driver="$2" ;;
    --session) session="$2" ;;
    --objdump) objdump="$2" ;;
    --artifacts) artifacts="$2" ;;
    *) qv_die "unknown argument $1 (see the head of package_test.sh)" ;;
  esac
  shift 2 || qv_die "$1 needs a value"
done
[ -n "$build_dir" ] && [ -n "$generator" ] && [ -n "$driver" ] ||
  qv_die "usage: package_test.sh --build-dir DIR --generator QUORVIN_GEN --driver EXE [--session DIR] [--objdump OBJDUMP] [--artifacts DIR]"
build_dir="$(realpath "$build_dir")"
generator="$(realpath "$generator")"
driver="$(realpath "$driver")"

fail() { qv_log "package test FAILED: $*"; exit 1; }
step() { qv_log "package test: $*"; }

if [ -n "$session" ]; then
  session="$(realpath -m "$session")"
  mkdir -p "$session/runs"
  work="$(mktemp -d "$session/runs/package-XXXXXX")"
else
  work="$(mktemp -d "${TMPDIR:-/tmp}/quorvin-package-XXXXXX")"
fi
qv_on_exit rm -rf "$work"

# ---- 1. The package -------------------------------------------------------------

step "making the package with CPack"
(cd "$build_dir" && cpack -G ZIP -B "$work/cpack" --config "$build_dir/CPackConfig.cmake") \
  >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
version="$("$generator" --version | grep -oE '[0-9]+\.[0-9]+\.[0-9]+' | head -n 1)"
[ -n "$version" ] || fail "the native quorvin-gen prints no version"
zip="$work/cpack/quorvin-$version-win64.zip"
[ -f "$zip" ] || fail "no quorvin-$version-win64.zip; CPack made: $(ls "$work/cpack")"

top="quorvin-$version-win64"
listing="$(cmake -E tar tf "$zip")"
expected=(quorvin.exe quorvin-gen.exe code.txt setting.ini README.txt cmake/QuorvinGenerate.cmake
  licenses/gcc-runtime-libraries.txt licenses/mingw-w64-runtime.txt licenses/nlohmann-json.txt
  Select.bmp Button.bmp EditBox.bmp Static.bmp ListBox.bmp CheckBox.bmp RadioButton.bmp
  GroupBox.bmp Add_Point.bmp)
source_root="$(realpath "$(dirname "${BASH_SOURCE[0]}")/../..")"
for template in "$source_root"/codegen/*.txt; do
  [ "$(basename "$template")" = CMakeLists.txt ] || expected+=("$(basename "$template")")
done
for file in "${expected[@]}"; do
  grep -qxF "$top/$file" <<<"$listing" || fail "the package lacks $file"
done
unexpected="$(grep -v '/$' <<<"$listing" | grep -vxF -f <(printf "$top/%s\n" "${expected[@]}") || true)"
[ -z "$unexpected" ] || fail "the package holds more than it should: $unexpected"

unpacked="$work/unpacked"
mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$zip") || fail "the package cannot be unpacked"
for program in quorvin.exe quorvin-gen.exe; do
  headers="$("$objdump" -h "$unpacked/$top/$program")"
  ! grep -qE '\.debug_|\.symtab' <<<"$headers" || fail "$program is not stripped"
  # Only Windows' own DLLs: the compiler's runtime is linked in.
  while read -r dll; do
    case "${dll,,}" in
      kernel32.dll | user32.dll | gdi32.dll | comdlg32.dll | msvcrt.dll | advapi32.dll | shell32.dll | \
        api-ms-win-*.dll) ;;
      *) fail "$program needs $dll" ;;
    esac
  done < <("$objdump" -p "$unpacked/$top/$program" | sed -n 's/^[[:space:]]*DLL Name: //p')
done
grep -q 'GCC Runtime Library Exception' "$unpacked/$top/licenses/gcc-runtime-libraries.txt" ||
  fail "the GCC runtime licence lacks its exception"
head -c 3 "$unpacked/$top/README.txt" | cmp -s - <(printf '\xef\xbb\xbf') ||
  fail "README.txt is not UTF-8 with a byte order mark"
head -n 1 "$unpacked/$top/README.txt" | grep -qF "Quorvin $version " ||
  fail "README.txt does not name version $version"
[ "$(grep -c $'\r$' "$unpacked/$top/README.txt")" = "$(wc -l <"$unpacked/$top/README.txt")" ] ||
  fail "README.txt does not have CR LF line ends"

# ---- 2. A fresh prefix, the package in a Japanese folder ---------------------------------

qv_start_xvfb
if [ -n "$session" ] && [ -f "$session/template/user.reg" ] && [ -d "$session/locale/ja_JP.UTF-8" ]; then
  template="$session/template"
  export QV_LOCALE_DIR="$session/locale"
else
  step "no prepared Wine session: building a private prefix"
  export QV_LOCALE_DIR="$work/locale"
  qv_make_locale "$QV_LOCALE_DIR"
  template="$work/template"
  qv_make_template "$template"
fi
qv_wine_env "$work/run"
qv_copy_prefix "$template" "$WINEPREFIX" || fail "could not copy the Wine prefix"
runtime="$(find "$WINEPREFIX" -iname 'libstdc++*.dll' -o -iname 'libgcc*.dll' -o -iname 'libwinpthread*.dll' |
  head -n 5)"
[ -z "$runtime" ] || fail "the prefix holds a compiler runtime: $runtime"
wineserver -p
qv_on_exit bash -c 'wineserver -k 2>/dev/null; wineserver -w 2>/dev/null'
wine wineboot >/dev/null 2>&1 </dev/null

drive_c="$WINEPREFIX/drive_c"
mkdir -p "$drive_c/設計ツール" "$drive_c/作業"
cp -r "$unpacked/$top" "$drive_c/設計ツール/"
cp "$driver" "$drive_c/package_driver.exe"
program='C:\設計ツール\'"$top"'\quorvin.exe'
package="$drive_c/設計ツール/$top"
run_wine() { timeout -k 5 "${QV_WINE_TIMEOUT:-120}" wine "$@" </dev/null; }

step "quorvin.exe from C:\\設計ツール, started with C:\\作業 current"
(cd "$drive_c" && run_wine 'C:\package_driver.exe' design "$program" 'C:\作業') ||
  fail "the designer from the package could not make, save and write a design"
[ -f "$drive_c/作業/設計.mwd" ] && [ -f "$drive_c/作業/窓.cpp" ] || fail "the saved files are missing"
for file in code.txt setting.ini ListBox.bmp; do
  [ ! -e "$drive_c/作業/$file" ] || fail "the designer wrote $file into the folder it was started in"
done

# ---- 3. The generated code, natively and from the package's quorvin-gen.exe ---------------------

step "comparing the code with quorvin-gen's"
"$generator" -t "$package/code.txt" -s "$package/setting.ini" -o "$work/expected.cpp" \
  "$drive_c/作業/設計.mwd" || fail "the native quorvin-gen could not read the saved design"
cmp "$work/expected.cpp" "$drive_c/作業/窓.cpp" ||
  fail "the designer's code differs from quorvin-gen's with the package's template and settings"
grep -qF '"PackageWindow"' "$drive_c/作業/窓.cpp" || fail "the code lacks the designed class name"
(cd "$drive_c/作業" && run_wine "C:\\設計ツール\\$top\\quorvin-gen.exe" \
  -t "C:\\設計ツール\\$top\\code.txt" -s "C:\\設計ツール\\$top\\setting.ini" -o 出力.cpp 設計.mwd) ||
  fail "quorvin-gen.exe from the package failed"
cmp "$work/expected.cpp" "$drive_c/作業/出力.cpp" ||
  fail "quorvin-gen.exe from the package writes other bytes than the native one"
packaged_version="$(cd "$drive_c" && run_wine "C:\\設計ツール\\$top\\quorvin-gen.exe" --version | tr -d '\r')"
grep -qF "$version" <<<"$packaged_version" ||
  fail "quorvin-gen.exe --version prints '$packaged_version', not $version"

# ---- 4. A bitmap missing -------------------------------------------------------------------

step "quorvin.exe without ListBox.bmp"
rm "$package/ListBox.bmp"
(cd "$drive_c" && run_wine 'C:\package_driver.exe' missing "$program" 'C:\作業' 'C:\missing.bmp') ||
  fail "no message naming the missing bitmap"
if [ -n "$artifacts" ] && [ -f "$drive_c/missing.bmp" ]; then
  mkdir -p "$artifacts"
  cp "$drive_c/missing.bmp" "$artifacts/package-missing-bitmap.bmp"
fi
step "passed"
