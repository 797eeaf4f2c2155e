#!/usr/bin/env bash
# Cross-builds a lean static Qt for 64-bit Windows with the project's MinGW-w64 toolchain, from
# Debian's qt6-base source package, with Debian's own moc, rcc and uic (qt6-base-dev-tools) as the
# host Qt. Only what the desktop program uses: Core, Gui, Widgets, PrintSupport, Concurrent and
# Test, the windows and offscreen platform plugins and the Windows print support, over Qt's bundled
# zlib, pcre2, libpng, freetype and harfbuzz.
#
# The result goes into a cache folder outside the checkout, keyed by the Qt version and the build
# options: $PILECALC_QT_WINDOWS, or ~/.cache/pilecalc/qt-windows-<version>-<options hash>. When
# that folder is there it is reused at once. A build is installed into a temporary folder beside it
# and renamed into place only when complete, so a build stopped in the middle is never taken for
# the cache (its build folder is kept, and the next run carries on from where it stopped).
#
# The last line of the output is the folder of the Qt; a caller takes it with `tail -n 1`.
#   scripts/build-qt-windows.sh            build when missing, print the folder
#   PILECALC_QT_WINDOWS=DIR scripts/...    use (or build into) DIR instead
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
toolchain=$root/cmake/mingw-w64-x86_64.cmake
qt_version=6.4.2
started=$(date +%s)
say() { printf '== qt-windows: %s (%ds)\n' "$*" $(($(date +%s) - started)) >&2; }

# Every feature Qt's configure lets us switch off that the program does not use. Changing this list
# changes the cache key.
options=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=OFF
    -DFEATURE_static_runtime=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DQT_BUILD_TOOLS_WHEN_CROSSCOMPILING=OFF
    # Modules: Core, Gui, Widgets, PrintSupport, Concurrent, Test stay.
    -DFEATURE_concurrent=ON -DFEATURE_testlib=ON -DFEATURE_printsupport=ON -DFEATURE_widgets=ON
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF
    -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF
    # Qt 6.4 compiles its DirectWrite font engine only together with Direct2D, but references it
    # whenever DirectWrite is on: the GDI font engine alone, or the programs do not link.
    -DFEATURE_directwrite=OFF -DFEATURE_directwrite3=OFF
    # Qt's own copies of the libraries, never the build machine's.
    -DFEATURE_pkg_config=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_jpeg=OFF
    -DFEATURE_freetype=ON -DFEATURE_harfbuzz=ON -DFEATURE_png=ON
    -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_glib=OFF -DFEATURE_fontconfig=OFF
    -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF
    # Pen tablets need a header Debian's source leaves out for its licence.
    -DFEATURE_tabletevent=OFF
    # Parts of Gui and Widgets the program has no use for.
    -DFEATURE_textodfwriter=OFF -DFEATURE_textmarkdownwriter=OFF -DFEATURE_image_heuristic_mask=OFF
    -DFEATURE_undocommand=OFF -DFEATURE_undostack=OFF -DFEATURE_undogroup=OFF -DFEATURE_undoview=OFF
    -DFEATURE_colordialog=OFF -DFEATURE_dial=OFF -DFEATURE_fontcombobox=OFF
    -DFEATURE_keysequenceedit=OFF -DFEATURE_lcdnumber=OFF -DFEATURE_mdiarea=OFF
    -DFEATURE_splashscreen=OFF -DFEATURE_syntaxhighlighter=OFF -DFEATURE_wizard=OFF
    # Tools and platforms of other programs.
    -DFEATURE_androiddeployqt=OFF -DFEATURE_macdeployqt=OFF -DFEATURE_windeployqt=OFF
    -DFEATURE_qmake=OFF -DFEATURE_sessionmanager=OFF
    -DFEATURE_vnc=OFF -DFEATURE_linuxfb=OFF -DFEATURE_eglfs=OFF -DFEATURE_xcb=OFF
)

key=$( {
    echo "$qt_version"
    printf '%s\n' "${options[@]}"
    cat "$toolchain"
    x86_64-w64-mingw32-g++-posix --version | head -n 1
} | sha256sum | cut -c 1-12)
cache_root=${XDG_CACHE_HOME:-$HOME/.cache}/pilecalc
prefix=${PILECALC_QT_WINDOWS:-$cache_root/qt-windows-$qt_version-$key}
prefix=$(realpath -m "$prefix")

complete() { [ -f "$1/lib/cmake/Qt6/Qt6Config.cmake" ] && [ -f "$1/.pilecalc-complete" ]; }
if complete "$prefix"; then
    say "reusing $prefix"
    echo "$prefix"
    exit 0
fi

# One build at a time per cache folder; a second caller waits and then reuses the first one's.
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
if ! flock -n 9; then
    say "another build of $prefix is running; waiting for it"
    flock 9
fi
if complete "$prefix"; then
    say "reusing $prefix"
    echo "$prefix"
    exit 0
fi

# --- Packages ------------------------------------------------------------------------------------
packages=(cmake ninja-build dpkg-dev perl qt6-base-dev qt6-base-dev-tools
          g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix)
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
    say "installing ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" </dev/null
fi
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
case "$host_version" in
    "$qt_version"*) ;;
    *) echo "qt6-base-dev-tools is $host_version; this build needs the host tools of $qt_version" >&2
       exit 1 ;;
esac

# --- Debian's source package ---------------------------------------------------------------------
work=$prefix.work
mkdir -p "$work"
source_dir=$work/qt6-base-$qt_version
if [ ! -f "$source_dir/.pilecalc-unpacked" ]; then
    say "fetching Debian's qt6-base source package $host_version"
    # `apt-get source` needs deb-src entries: a private source list and package lists, derived
    # from the machine's Debian entries, leave the machine's apt configuration untouched.
    apt=$work/apt
    download=$work/download
    rm -rf "$apt" "$download" "$source_dir"
    mkdir -p "$apt/parts" "$apt/lists/partial" "$download"
    : >"$apt/sources.list"
    [ -f /etc/apt/sources.list ] && sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$apt/sources.list"
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] && grep -q 'debian' "$file" \
            && sed 's/^Types: deb$/Types: deb-src/' "$file" >"$apt/parts/$(basename "$file")"
    done
    apt_options=(-o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts="$apt/parts"
                 -o Dir::State::Lists="$apt/lists" -o APT::Sandbox::User=root)
    $sudo apt-get "${apt_options[@]}" update -qq
    # The same Debian revision as the host tools, so that moc and the libraries agree.
    (cd "$download" && $sudo apt-get "${apt_options[@]}" source -qq "qt6-base=$host_version" \
        </dev/null >/dev/null)
    unpacked=$(find "$download" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
    [ -n "$unpacked" ] || { echo "apt-get source qt6-base left no source folder" >&2; exit 1; }
    mv "$unpacked" "$source_dir"
    rm -rf "$apt" "$download"
    touch "$source_dir/.pilecalc-unpacked"
fi

# --- Configure, build, install -------------------------------------------------------------------
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=$work CCACHE_NOHASHDIR=1
fi
build=$work/build
if [ ! -f "$build/build.ninja" ]; then
    say "configuring into $build"
    cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        "${launcher[@]}" "${options[@]}" >"$work/configure.log" 2>&1 \
        || { tail -n 40 "$work/configure.log" >&2; rm -f "$build/build.ninja"; exit 1; }
fi
jobs=${PILECALC_JOBS:-$(nproc)}
say "building with $jobs jobs at a lower priority (log: $work/build.log)"
if ! nice -n 10 cmake --build "$build" -j "$jobs" >"$work/build.log" 2>&1; then
    grep -m 20 -B 2 -A 10 'FAILED\|error:' "$work/build.log" >&2 || tail -n 40 "$work/build.log" >&2
    exit 1
fi

say "installing"
staging=$prefix.partial
rm -rf "$staging"
DESTDIR=$staging cmake --install "$build" >"$work/install.log" 2>&1
installed=$staging$prefix
complete_marker=$installed/.pilecalc-complete
{
    echo "Qt $qt_version for Windows, from Debian's qt6-base $host_version"
    printf '%s\n' "${options[@]}"
} >"$complete_marker"
rm -rf "$prefix"
mv "$installed" "$prefix"
rm -rf "$staging" "$work"
say "done: $prefix ($(du -sh "$prefix" | cut -f 1))"
echo "$prefix"
