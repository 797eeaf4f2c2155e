#!/usr/bin/env bash
# Cross-builds both programs, the desktop program pilecalc-gui.exe and the batch tool pilecalc.exe,
# for 64-bit Windows with MinGW-w64 over a static Qt (scripts/build-qt-windows.sh, cached outside the
# checkout), runs the whole test suite under Wine in a simplified-Chinese locale (ANSI code page
# 936), checks that pilecalc.exe saves byte for byte the files of the Linux build (also on an
# English code page), drives the real window on a virtual display, and builds the installer and the
# zip (scripts/package-windows.sh), installs, uses and uninstalls it under Wine.
#
# Everything else goes into build-windows/ (or $PILECALC_WINDOWS_BUILD): the cross-built libraries
# the project takes from Debian's source packages, the Wine prefix, the build, the screenshots of
# the window (screenshots/) and the installer and zip (dist/). The Linux pilecalc to compare with is
# taken from $PILECALC_LINUX_BUILD (default build-asan, which scripts/test.sh leaves) and built
# there when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
work=${PILECALC_WINDOWS_BUILD:-$root/build-windows}
linux_build=${PILECALC_LINUX_BUILD:-$root/build-asan}
toolchain=$root/cmake/mingw-w64-x86_64.cmake
triplet=x86_64-w64-mingw32
deps=$work/deps
started=$(date +%s)

step() { printf '\n== %s (%ds)\n' "$*" $(($(date +%s) - started)); }

# --- Debian packages -----------------------------------------------------------------------------
step "Packages"
packages=(
    cmake ninja-build dpkg-dev locales
    mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
    wine wine64
    googletest nlohmann-json3-dev libcli11-dev
    qt6-base-dev qt6-base-dev-tools perl
    xvfb xdotool imagemagick fonts-noto-cjk nsis
)
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" </dev/null
fi

# With ccache, paths are taken relative to the checkout, so that another clone hits the cache.
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=$root
fi
mkdir -p "$deps/include" "$deps/lib" "$deps/share/cmake"

# --- GoogleTest, cross-built from Debian's source package ---------------------------------------
if [ ! -f "$deps/lib/cmake/GTest/GTestConfig.cmake" ]; then
    step "GoogleTest for Windows"
    cmake -S /usr/src/googletest -B "$work/googletest" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_GMOCK=ON \
        "${launcher[@]}" >/dev/null
    cmake --build "$work/googletest" -j2
    cmake --install "$work/googletest" >/dev/null
fi

# --- Header-only libraries: copies of just their folders and CMake packages ---------------------
# The cross compiler must never see the build machine's /usr/include.
for library in nlohmann:nlohmann_json CLI:CLI11; do
    headers=${library%%:*}
    package=${library##*:}
    rm -rf "${deps:?}/include/$headers" "${deps:?}/share/cmake/$package"
    cp -rL "/usr/include/$headers" "$deps/include/$headers"
    cp -rL "/usr/share/cmake/$package" "$deps/share/cmake/$package"
done

# --- libcsv, cross-built as a static library from Debian's source package -----------------------
# `apt-get source` needs deb-src entries: a private source list and package lists, derived from
# the machine's Debian entries, leave the machine's apt configuration untouched.
build_libcsv() {
    [ -f "$deps/lib/libcsv.a" ] && [ -f "$deps/include/csv.h" ] && return 0
    step "libcsv for Windows"
    local apt=$work/apt source=$work/libcsv-source
    rm -rf "$apt" "$source"
    mkdir -p "$apt/parts" "$apt/lists/partial" "$source"
    : >"$apt/sources.list"
    [ -f /etc/apt/sources.list ] && sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$apt/sources.list"
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] && grep -q 'debian' "$file" \
            && sed 's/^Types: deb$/Types: deb-src/' "$file" >"$apt/parts/$(basename "$file")"
    done
    local options=(-o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts="$apt/parts"
                   -o Dir::State::Lists="$apt/lists" -o APT::Sandbox::User=root)
    $sudo apt-get "${options[@]}" update -qq
    (cd "$source" && $sudo apt-get "${options[@]}" source -qq libcsv </dev/null)
    local folder
    folder=$(find "$source" -mindepth 1 -maxdepth 1 -type d -name 'libcsv-*' | head -n 1)
    "$triplet-gcc-posix" -O2 -c "$folder/libcsv.c" -I"$folder" -o "$source/libcsv.o"
    "$triplet-ar" rcs "$deps/lib/libcsv.a" "$source/libcsv.o"
    cp "$folder/csv.h" "$deps/include/csv.h"
    rm -rf "$apt"
}
build_libcsv

# --- The Linux pilecalc to compare with ----------------------------------------------------------
linux_pilecalc=$linux_build/cli/pilecalc
if [ ! -x "$linux_pilecalc" ]; then
    step "Linux pilecalc"
    linux_build=$work/linux
    cmake -S "$root" -B "$linux_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DPILECALC_BUILD_GUI=OFF -DPILECALC_BUILD_BENCHMARKS=OFF -DPILECALC_BUILD_TESTS=OFF \
        -DPILECALC_BUILD_PDF=OFF "${launcher[@]}" >/dev/null
    cmake --build "$linux_build" -j2 --target pilecalc
    linux_pilecalc=$linux_build/cli/pilecalc
fi

# --- Qt for Windows, built once into a cache outside the checkout ---------------------------------
step "Qt for Windows"
qt=$("$root/scripts/build-qt-windows.sh" | tail -n 1)
echo "Qt: $qt"

# --- The programs for Windows --------------------------------------------------------------------
step "Cross-building pilecalc-gui, pilecalc and the tests"
build=$work/pilecalc
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_PREFIX_PATH="$deps;$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DPILECALC_BUILD_BENCHMARKS=OFF \
    -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST "${launcher[@]}" >/dev/null
test_programs=(core/tests/core_tests.exe piles/tests/piles_tests.exe
               reports/tests/reports_tests.exe optimize/tests/optimize_tests.exe
               render/tests/render_tests.exe ui/tests/ui_tests.exe)
cmake --build "$build" -j2 --target pilecalc pilecalc-gui core_tests piles_tests reports_tests \
    optimize_tests render_tests ui_tests
# Shipped without their symbols; the test programs keep theirs for a failure's backtrace.
mkdir -p "$work/programs"
for program in pilecalc-gui.exe cli/pilecalc.exe; do
    "$triplet-strip" -o "$work/programs/$(basename "$program")" "$build/$program"
done

# --- Wine in a simplified-Chinese locale, without display or input -----------------------------
step "Wine prefix"
# Wine takes the ANSI code page from the Unix locale, and the Unix locale must exist for file
# names with Chinese characters to reach the Unix file system: a private copy of zh_CN.UTF-8.
if [ ! -f "$work/locale/zh_CN.UTF-8/LC_CTYPE" ]; then
    mkdir -p "$work/locale"
    localedef -i zh_CN -f UTF-8 "$work/locale/zh_CN.UTF-8"
fi
if [ ! -f "$work/locale/en_US.UTF-8/LC_CTYPE" ]; then
    localedef -i en_US -f UTF-8 "$work/locale/en_US.UTF-8"
fi
# Only Wine runs in that locale; the script's own tools keep the caller's. Wine's home is a folder
# of its own, so that the user folders of the prefix (Documents) never reach the caller's home.
mkdir -p "$work/wine-home"
wine_locale=(LOCPATH="$work/locale" LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 HOME="$work/wine-home")
export WINEPREFIX=$work/wine-prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
wine() { env "${wine_locale[@]}" wine "$@"; }
# An English Windows: ANSI code page 1252.
wine_english() { env "${wine_locale[@]}" LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 wine "$@"; }
stop_wine() { env "${wine_locale[@]}" wineserver -k 2>/dev/null || true; }
trap stop_wine EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    env "${wine_locale[@]}" wineboot --init </dev/null >/dev/null 2>&1 || true
    env "${wine_locale[@]}" wineserver -w
fi
[ -f "$WINEPREFIX/system.reg" ] || { echo "wineboot made no Wine prefix in $WINEPREFIX" >&2; exit 1; }
# A CJK font in the prefix's own font folder, so that the window draws Chinese text.
noto=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
if [ -f "$noto" ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/NotoSansCJK-Regular.ttc" ]; then
    cp "$noto" "$WINEPREFIX/drive_c/windows/Fonts/"
fi
# A prefix made by an older run may link Documents to the caller's home: pointed at Wine's own.
documents_link=$WINEPREFIX/drive_c/users/$(id -un)/Documents
if [ -L "$documents_link" ] && [[ "$(readlink "$documents_link")" != "$work"/* ]]; then
    ln -sfn "$work/wine-home" "$documents_link"
fi

# --- Tests under Wine ----------------------------------------------------------------------------
step "Tests under Wine"
failed=0
passed=0
for program in "${test_programs[@]}"; do
    echo "-- $program"
    if (cd "$build" && wine "$program" --gtest_brief=1 </dev/null); then
        passed=$((passed + 1))
    else
        echo "FAILED: $program" >&2
        failed=$((failed + 1))
    fi
done

# --- pilecalc.exe against the Linux build --------------------------------------------------------
step "pilecalc.exe against the Linux build"
checks=$work/checks
rm -rf "$checks"
mkdir -p "$checks/windows" "$checks/linux"
pilecalc_exe=$build/cli/pilecalc.exe
check() {
    local name=$1
    shift
    if "$@"; then
        echo "ok: $name"
        passed=$((passed + 1))
    else
        echo "FAILED: $name" >&2
        failed=$((failed + 1))
    fi
}
same_file() { cmp "$1" "$2"; }

# The book and the table saved with a fixed time stamp, byte for byte those of the Linux build.
for format in book table; do
    for stamp in T "2024/3/5 14:07:09"; do
        (cd "$checks/windows" && wine "$pilecalc_exe" calc --format "$format" --timestamp "$stamp" \
            --out "$format.txt" </dev/null)
        (cd "$checks/linux" && "$linux_pilecalc" calc --format "$format" --timestamp "$stamp" \
            --out "$format.txt" </dev/null)
        check "$format with time stamp '$stamp' as on Linux" \
            same_file "$checks/windows/$format.txt" "$checks/linux/$format.txt"
    done
done
check "book is the golden GBK book" \
    same_file "$checks/windows/book.txt" "$root/tests/data/reports/book_default_gbk.txt"

# Saving over an existing, longer file replaces it and leaves no temporary file behind.
saved_over() {
    local folder=$checks/over
    mkdir -p "$folder"
    head -c 100000 /dev/zero >"$folder/book.txt"
    (cd "$folder" && wine "$pilecalc_exe" calc --timestamp "2024/3/5 14:07:09" --out book.txt \
        </dev/null)
    cmp "$folder/book.txt" "$root/tests/data/reports/book_default_gbk.txt" \
        && [ "$(find "$folder" -mindepth 1 | wc -l)" -eq 1 ]
}
check "saving over an existing file" saved_over

# Names in Chinese characters on the command line: a pile file read and a book saved.
chinese_names() {
    local folder=$checks/names book="嵌岩桩计算书(依据JTG3363-2019)_文本.txt"
    mkdir -p "$folder"
    printf '[{}, {"section": "椭圆桩", "d": "1000", "c": "800"}]' >"$folder/桩基.json"
    (cd "$folder" && wine "$pilecalc_exe" calc 桩基.json --timestamp T --out "$book" </dev/null)
    (cd "$folder" && "$linux_pilecalc" calc 桩基.json --timestamp T --out linux.txt </dev/null)
    cmp "$folder/$book" "$folder/linux.txt"
}
check "file names in Chinese characters" chinese_names

# The optimization: the filtered candidate file of a sweep as on Linux.
sweep_as_on_linux() {
    local folder=$checks/sweep
    mkdir -p "$folder"
    printf '%s' '{ "options": { "1": ["1000", "2000", "250"], "12": ["1"], "14": ["20000", "0"] },
      "base": { "soil": [ { "li": "5.00", "qik": "200.00" } ] } }' >"$folder/sweep.json"
    (cd "$folder" && wine "$pilecalc_exe" sweep sweep.json --filter --sort ra,ra --timestamp T \
        --out windows.txt </dev/null)
    (cd "$folder" && "$linux_pilecalc" sweep sweep.json --filter --sort ra,ra --timestamp T \
        --out linux.txt </dev/null)
    cmp "$folder/windows.txt" "$folder/linux.txt" && [ -s "$folder/linux.txt" ]
}
check "sweep file as on Linux" sweep_as_on_linux

# The local time of a report: the form and the clock of the Linux side, also when TZ names a zone
# the way Linux does.
local_time_matches() {
    local zone=$1 before after stamp
    before=$(TZ=$zone date +%s)
    stamp=$(TZ=$zone wine "$pilecalc_exe" calc --format table </dev/null \
        | sed -n 's/^计算时间：//p' | tr -d '\r')
    after=$(TZ=$zone date +%s)
    for ((second = before; second <= after; ++second)); do
        [ "$stamp" = "$(TZ=$zone date -d "@$second" '+%Y/%-m/%-d %-H:%M:%S')" ] && return 0
    done
    echo "time stamp '$stamp', Linux clock $(TZ=$zone date -d "@$after" '+%Y/%-m/%-d %-H:%M:%S')" >&2
    return 1
}
for zone in UTC Asia/Shanghai America/New_York; do
    check "local time with TZ=$zone as on Linux" local_time_matches "$zone"
done

# --- An English Windows (code page 1252) -------------------------------------------------------
step "pilecalc.exe and the code-page tests on code page 1252"
# The locale must really give another code page, or the checks below would prove nothing.
not_gbk() {
    ! (cd "$build" && wine_english reports/tests/reports_tests.exe \
        --gtest_filter=SystemCodePage.IsGbk --gtest_brief=1 </dev/null >/dev/null 2>&1)
}
check "the English locale's code page is not 936" not_gbk
english_reports_tests() {
    (cd "$build" && wine_english reports/tests/reports_tests.exe --gtest_brief=1 \
        --gtest_filter=-SystemCodePage.IsGbk </dev/null)
}
check "the reports' tests on code page 1252" english_reports_tests
english_book() {
    local folder=$checks/english
    mkdir -p "$folder"
    (cd "$folder" && wine_english "$pilecalc_exe" calc --timestamp "2024/3/5 14:07:09" \
        --out book.txt </dev/null)
    (cd "$folder" && wine_english "$pilecalc_exe" calc --format table \
        --timestamp "2024/3/5 14:07:09" --out table.txt </dev/null)
    cmp "$folder/book.txt" "$root/tests/data/reports/book_default_gbk.txt" \
        && cmp "$folder/table.txt" "$checks/linux/table.txt"
}
check "book and table on code page 1252 are the GBK files" english_book

# --- The window on a virtual display -------------------------------------------------------------
step "The window of pilecalc-gui.exe on a virtual display"
screenshots=$work/screenshots
rm -rf "$screenshots"
mkdir -p "$screenshots"
display_number=
for number in $(seq 91 140); do
    if [ ! -e "/tmp/.X$number-lock" ] && [ ! -e "/tmp/.X11-unix/X$number" ]; then
        display_number=$number
        break
    fi
done
xvfb_pid=
stop_all() {
    stop_wine
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap stop_all EXIT
Xvfb ":$display_number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X$display_number" ] && break
    sleep 0.2
done
on_display() { DISPLAY=":$display_number" "$@"; }
# The window is 380 × 800 design units at scale 1 on this screen (its fit to a screen of 1024
# lines); a click at a button's design centre.
click_at() {
    on_display xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 3
}
window_saves_the_book() {
    local title=JTG3363-2019 window= documents book=嵌岩桩计算书\(依据JTG3363-2019\)_文本.txt
    documents=$(wine cmd /c 'echo %USERPROFILE%' </dev/null | tr -d '\r')
    documents=$(env "${wine_locale[@]}" winepath -u "$documents\\Documents" 2>/dev/null)
    mkdir -p "$documents"
    rm -f "$documents/$book"
    on_display env "${wine_locale[@]}" wine "$work/programs/pilecalc-gui.exe" </dev/null \
        >"$screenshots/gui.log" 2>&1 &
    for _ in $(seq 1 120); do
        window=$(on_display xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1)
        [ -n "$window" ] && break
        sleep 0.5
    done
    [ -n "$window" ] || { echo "no window titled …$title" >&2; return 1; }
    sleep 3
    on_display xdotool getwindowname "$window"
    on_display xdotool getwindowgeometry "$window"
    on_display import -window root "$screenshots/1-input.png"
    click_at "$window" 90 748 # 计算
    on_display import -window root "$screenshots/2-calculated.png"
    click_at "$window" 90 748 # 结果
    on_display import -window root "$screenshots/3-results.png"
    click_at "$window" 274 748 # 保存
    for _ in $(seq 1 40); do
        [ -f "$documents/$book" ] && break
        sleep 0.5
    done
    on_display import -window root "$screenshots/4-saved.png"
    on_display xdotool windowclose "$window" 2>/dev/null || true
    stop_wine
    [ -f "$documents/$book" ] || { echo "no book in $documents" >&2; return 1; }
    cp "$documents/$book" "$checks/window-book.txt"
    (cd "$checks/linux" && "$linux_pilecalc" calc --out linux-book.txt </dev/null)
    # Byte for byte, the line of the time of saving aside.
    local stamp
    stamp=$(printf '计算时间：' | iconv -f UTF-8 -t GBK)
    cmp <(LC_ALL=C grep -a -v "^$stamp" "$checks/window-book.txt") \
        <(LC_ALL=C grep -a -v "^$stamp" "$checks/linux/linux-book.txt") \
        && [ "$(LC_ALL=C grep -a -c "^$stamp" "$checks/window-book.txt")" -eq 1 ]
}
check "the window's 计算, 结果, 保存 save the Linux build's book" window_saves_the_book
echo "screenshots: $screenshots"

# --- The installer and the zip -------------------------------------------------------------------
step "The installer and the zip"
dist=$work/dist
packages_built() {
    "$root/scripts/package-windows.sh" "$work/programs" "$dist" && ls -l "$dist" "$work/programs"
}
check "installer and zip built" packages_built
installed_program_works() {
    local folder=$checks/installed target
    mkdir -p "$folder"
    wine "$dist/pilecalc-setup-x64.exe" /S /CurrentUser </dev/null
    env "${wine_locale[@]}" wineserver -w
    target=$(wine cmd /c 'echo %LOCALAPPDATA%' </dev/null | tr -d '\r')
    target=$(env "${wine_locale[@]}" winepath -u "$target\\Programs\\pilecalc" 2>/dev/null)
    ls "$target"
    [ -f "$target/pilecalc-gui.exe" ] && [ -f "$target/README.txt" ] || return 1
    (cd "$folder" && wine "$target/pilecalc.exe" calc --timestamp "2024/3/5 14:07:09" \
        --out book.txt </dev/null)
    cmp "$folder/book.txt" "$root/tests/data/reports/book_default_gbk.txt" || return 1
    wine "$target/uninstall.exe" /S </dev/null
    env "${wine_locale[@]}" wineserver -w
    sleep 1
    [ ! -e "$target/pilecalc.exe" ] && [ ! -e "$target/pilecalc-gui.exe" ]
}
check "installed silently, pilecalc.exe saves the GBK book, uninstalled" installed_program_works

step "Done"
echo "windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
