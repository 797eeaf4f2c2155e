#!/usr/bin/env bash
# Builds the Windows installer pilecalc-setup-x64.exe (Debian's NSIS) and the zip
# pilecalc-windows-x64.zip from the two cross-built programs: pilecalc-gui.exe and pilecalc.exe,
# the README as text, and the licence notices of the libraries linked into them.
#   scripts/package-windows.sh PROGRAMS_FOLDER OUTPUT_FOLDER
# scripts/test-windows.sh calls it after building and testing the programs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
programs=$(realpath "$1")
output=$(realpath -m "$2")
for program in pilecalc-gui.exe pilecalc.exe; do
    [ -f "$programs/$program" ] || { echo "no $program in $programs" >&2; exit 1; }
done
version=$(sed -n 's/^project(pilecalc VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

staging=$output/staging
rm -rf "$staging"
mkdir -p "$staging/licences" "$output"
# Windows' Notepad reads CR LF; the Markdown stays as it is, readable as text.
sed 's/$/\r/' README.md >"$staging/README.txt"
cp windows/licences.txt "$staging/licences/licences.txt"
# The notices of the libraries, as Debian ships them with each package.
notice() {
    [ -f "$1" ] || { echo "missing licence notice $1" >&2; exit 1; }
    cp "$1" "$staging/licences/$2"
}
notice /usr/share/common-licenses/LGPL-3 LGPL-3.txt
notice /usr/share/common-licenses/GPL-3 GPL-3.txt
notice /usr/share/common-licenses/LGPL-2.1 LGPL-2.1.txt
notice /usr/share/doc/libqt6core6/copyright qt6-base.txt
notice /usr/share/doc/zlib1g/copyright zlib.txt
notice /usr/share/doc/libpcre2-8-0/copyright pcre2.txt
notice /usr/share/doc/libcsv3/copyright libcsv.txt
notice /usr/share/doc/nlohmann-json3-dev/copyright nlohmann-json.txt
notice /usr/share/doc/libcli11-dev/copyright cli11.txt
notice /usr/share/doc/mingw-w64-common/copyright mingw-w64.txt
notice /usr/share/doc/gcc-mingw-w64-base/copyright gcc-runtime.txt
for file in "$staging"/licences/*.txt; do
    sed -i 's/\r*$/\r/' "$file"
done

echo "== installer"
rm -f "$output/pilecalc-setup-x64.exe"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DPROGRAMS="$programs" \
    -DLICENCES="$staging/licences" -DREADME="$staging/README.txt" \
    -DOUTFILE="$output/pilecalc-setup-x64.exe" "$root/windows/installer.nsi"

echo "== zip"
zip_folder=$staging/pilecalc
mkdir -p "$zip_folder"
cp "$programs/pilecalc-gui.exe" "$programs/pilecalc.exe" "$staging/README.txt" "$zip_folder/"
cp -r "$staging/licences" "$zip_folder/"
rm -f "$output/pilecalc-windows-x64.zip"
(cd "$staging" && cmake -E tar cf "$output/pilecalc-windows-x64.zip" --format=zip pilecalc)
rm -rf "$staging"
