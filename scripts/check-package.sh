#!/usr/bin/env bash
# Checks the Debian package of Chromint the way a user gets it: lintian, the desktop entry and
# AppStream validators, the file list, then installs it with apt, runs the installed program
# (its version, and its window on an own Xvfb with the time to the first map), and purges it.
# Whatever happens, the machine is left with the packages it had before.
#
#   bash scripts/check-package.sh <chromint_<version>_<arch>.deb>
#
# Needs root (or sudo) for apt-get. Exits non-zero when any check fails.
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [[ $# -ne 1 || ! -f "$1" ]]; then
    echo "usage: $0 <chromint_<version>_<arch>.deb>" >&2
    exit 2
fi
DEB=$(realpath "$1")

SUDO=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null 2>&1 || { echo "check-package: needs root or sudo" >&2; exit 2; }
    SUDO=(sudo)
fi
APT=("${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -q)

work=$(mktemp -d /tmp/chromint-check.XXXXXX)
chmod 755 "$work"
failures=()
summary=()
fail() { failures+=("$1"); echo "check-package: FAILED: $1" >&2; }
note() { summary+=("$1"); echo "check-package: $1"; }

VERSION=$(dpkg-deb -f "$DEB" Version)
ARCH=$(dpkg-deb -f "$DEB" Architecture)
MULTIARCH=$(dpkg-architecture -a "$ARCH" -qDEB_HOST_MULTIARCH 2>/dev/null || echo "$ARCH-linux-gnu")
ID=org.example.qelvo.Chromint

# --- cleanup: whatever failed, the program, the X server and the package go away ----------
app_pid=""
xvfb_pid=""
bus_pid=""
installed=0
packages_before=$work/packages-before
dpkg-query -W -f='${Package}:${Architecture} ${Version} ${db:Status-Status}\n' | sort >"$packages_before"

# Purges chromint and the packages its installation pulled in, and only those.
uninstall() {
    [[ $installed -eq 1 ]] || return 0
    installed=0
    "${APT[@]}" purge chromint >"$work/purge.log" 2>&1 || cat "$work/purge.log" >&2
    local pulled
    pulled=$(comm -13 <(cut -d' ' -f1 "$packages_before") \
        <(dpkg-query -W -f='${Package}:${Architecture} ${db:Status-Status}\n' |
            awk '$2 == "installed" {print $1}' | sort) | grep -v '^chromint:' || true)
    if [[ -n "$pulled" ]]; then
        echo "check-package: removing what the installation pulled in: $pulled"
        # shellcheck disable=SC2086
        "${APT[@]}" purge $pulled >>"$work/purge.log" 2>&1 || cat "$work/purge.log" >&2
    fi
}
cleanup() {
    [[ -n "$app_pid" ]] && kill "$app_pid" 2>/dev/null
    [[ -n "${bus_pid:-}" ]] && kill "$bus_pid" 2>/dev/null
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
    uninstall
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "check-package: $DEB ($VERSION, $ARCH)"

# --- the package itself -------------------------------------------------------------------
size=$(stat -c %s "$DEB")
if ((size < 3 * 1024 * 1024)); then
    note "size: $((size / 1024)) KiB (limit 3072 KiB)"
else
    fail "the package is $((size / 1024)) KiB, over 3 MB"
fi

dpkg-deb -f "$DEB" Package Version Architecture Section Priority Maintainer Homepage \
    Installed-Size Depends Recommends
depends=$(dpkg-deb -f "$DEB" Depends)
for needed in libqt6svg6 qt6-image-formats-plugins qt6-wayland libqt6widgets6; do
    grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed"
done
if grep -Eq -- '-dev( |,|$)' <<<"$depends"; then
    fail "Depends names a -dev package: $depends"
fi

# --- lintian ------------------------------------------------------------------------------
# As an unprivileged user when there is one: lintian warns about running as root.
lintian_cmd=(lintian --tag-display-limit 0 --display-info)
cp "$DEB" "$work/"
lintian_deb=$work/$(basename "$DEB")
if [[ $(id -u) -eq 0 ]] && id nobody >/dev/null 2>&1; then
    chmod 644 "$lintian_deb"
    mkdir -p "$work/lintian-home"
    chown nobody "$work/lintian-home"
    lintian_out=$(cd "$work/lintian-home" &&
        runuser -u nobody -- env HOME="$work/lintian-home" "${lintian_cmd[@]}" "$lintian_deb" 2>&1)
else
    lintian_out=$("${lintian_cmd[@]}" "$lintian_deb" 2>&1)
fi
lintian_rc=$?
[[ -n "$lintian_out" ]] && echo "$lintian_out"
lintian_errors=$(grep -c '^E: ' <<<"$lintian_out")
lintian_warnings=$(grep -c '^W: ' <<<"$lintian_out")
if [[ $lintian_errors -gt 0 ]]; then
    fail "lintian: $lintian_errors error(s)"
elif [[ $lintian_rc -ne 0 ]]; then
    fail "lintian exited with $lintian_rc"
else
    note "lintian: no errors, $lintian_warnings warning(s)"
fi

# --- the files it holds -------------------------------------------------------------------
contents=$work/contents
dpkg-deb -c "$DEB" | awk '{print $6}' | sed 's|^\./|/|' >"$contents"
expected=(
    /usr/bin/chromint
    "/usr/lib/$MULTIARCH/chromint/chromint-magick.so"
    "/usr/share/applications/$ID.desktop"
    "/usr/share/metainfo/$ID.metainfo.xml"
    "/usr/share/icons/hicolor/scalable/apps/$ID.svg"
    /usr/share/man/man1/chromint.1.gz
    /usr/share/chromint/help/index.html
    /usr/share/doc/chromint/copyright
    /usr/share/doc/chromint/changelog.gz
)
for size_px in 16 24 32 48 64 128 256; do
    expected+=("/usr/share/icons/hicolor/${size_px}x${size_px}/apps/$ID.png")
done
missing_files=0
for path in "${expected[@]}"; do
    if ! grep -qxF "$path" "$contents"; then
        fail "the package lacks $path"
        missing_files=$((missing_files + 1))
    fi
done
[[ $missing_files -eq 0 ]] && note "files: all ${#expected[@]} expected files present"

# --- the desktop entry and the AppStream metadata, as packaged ----------------------------
tree=$work/tree
dpkg-deb -x "$DEB" "$tree"
desktop_out=$(desktop-file-validate "$tree/usr/share/applications/$ID.desktop" 2>&1)
desktop_rc=$?
[[ -n "$desktop_out" ]] && echo "$desktop_out"
if [[ $desktop_rc -ne 0 ]] || grep -Eq '(error|warning):' <<<"$desktop_out"; then
    fail "desktop-file-validate"
else
    note "desktop-file-validate: no errors or warnings"
fi
appstream_out=$(appstreamcli validate --no-net --pedantic --strict \
    "$tree/usr/share/metainfo/$ID.metainfo.xml" 2>&1)
appstream_rc=$?
echo "$appstream_out"
if [[ $appstream_rc -ne 0 ]]; then
    fail "appstreamcli validate"
else
    note "appstreamcli validate --pedantic: passed"
fi

# --- installing it ------------------------------------------------------------------------
# Simulate first: the package may add packages, never remove or change one that is installed.
"${APT[@]}" install -s --no-install-recommends "$DEB" >"$work/simulate.log" 2>&1
changes=$(grep -E '^(Remv|Inst [^ ]+ \[)' "$work/simulate.log" | grep -v '^Inst chromint ' || true)
if [[ -n "$changes" ]]; then
    fail "installing would remove or change installed packages:"
    echo "$changes" >&2
else
    installed=1
    if "${APT[@]}" install --no-install-recommends "$DEB" >"$work/install.log" 2>&1; then
        note "apt-get install: done ($(grep -c '^Unpacking' "$work/install.log") package(s) unpacked)"
    else
        cat "$work/install.log" >&2
        fail "apt-get install"
    fi
fi

if [[ $installed -eq 1 ]] && dpkg-query -W -f='${db:Status-Status}' chromint 2>/dev/null | grep -qx installed; then
    for path in "${expected[@]}"; do
        [[ -e "$path" ]] || fail "installed, but $path is not on the disk"
    done

    version_out=$(/usr/bin/chromint --version 2>&1)
    if grep -qF "$VERSION" <<<"$version_out"; then
        note "chromint --version: $version_out"
    else
        fail "chromint --version printed '$version_out', not $VERSION"
    fi

    # --- the installed program on an own X server ---------------------------------------
    export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config HOME=$work/home
    mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$HOME"
    chmod 700 "$XDG_RUNTIME_DIR"
    unset WAYLAND_DISPLAY XDG_SESSION_TYPE QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -noreset -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    exec 3>&-
    for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
    export DISPLAY=:$(head -1 "$work/display")
    if ! xdpyinfo >/dev/null 2>&1; then
        fail "Xvfb did not start"
    else
        # A private session bus: the program owns its name there, not on the caller's bus.
        bus_info=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
        DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus_info")
        bus_pid=$(sed -n 2p <<<"$bus_info")
        export DBUS_SESSION_BUS_ADDRESS

        start_ns=$(date +%s%N)
        /usr/bin/chromint >"$work/app.log" 2>&1 &
        app_pid=$!
        window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Chromint$' 2>/dev/null | head -1)
        mapped_ms=$((($(date +%s%N) - start_ns) / 1000000))
        if [[ -n "$window" ]]; then
            wm_class=$(xprop -id "$window" WM_CLASS 2>/dev/null | sed 's/.*= //')
            note "installed program: window 'Chromint' mapped after ~$mapped_ms ms (xdotool), WM_CLASS $wm_class"
            grep -q '"Chromint"' <<<"$wm_class" ||
                fail "WM_CLASS $wm_class does not match StartupWMClass=Chromint"
        else
            cat "$work/app.log" >&2
            fail "the installed program showed no window named Chromint within 20 s"
        fi
        kill "$app_pid" 2>/dev/null
        wait "$app_pid" 2>/dev/null
        app_pid=""

        # The time to the first map, measured as scripts/measure-startup.sh does (the probe
        # of bench/StartupProbe.cpp, built here), median of 3 starts each with fresh settings.
        probe=$work/startup_probe
        if c++ -std=c++20 -O2 -o "$probe" "$ROOT/bench/StartupProbe.cpp" -lX11 2>"$work/probe.log"; then
            median() { sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }
            measure() { # <program>: prints the medians of the first and the main window's map
                local run results=$work/probe-$RANDOM
                for run in 1 2 3; do
                    XDG_CONFIG_HOME=$work/config-probe-$RANDOM-$run "$probe" 526 415 "$1" \
                        >>"$results" 2>/dev/null
                done
                echo "$(cut -d' ' -f1 "$results" | median) $(cut -d' ' -f2 "$results" | median)"
            }
            read -r first main < <(measure /usr/bin/chromint)
            note "installed program: first window mapped $first ms, main window $main ms (median of 3)"
            for tree_app in "$ROOT/build-pkg/app/chromint" "$ROOT/build/app/chromint"; do
                if [[ -x "$tree_app" ]]; then
                    read -r first main < <(measure "$tree_app")
                    note "build tree ${tree_app#"$ROOT/"}: first window mapped $first ms, main window $main ms (median of 3)"
                    break
                fi
            done
        else
            echo "check-package: the start-up probe did not build; timing from xdotool only" >&2
        fi
        [[ -n "$bus_pid" ]] && kill "$bus_pid" 2>/dev/null
        bus_pid=""
    fi
fi

# --- purge, and the machine as it was -----------------------------------------------------
if [[ $installed -eq 1 ]]; then
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
    uninstall
    dpkg-query -W -f='${Package}:${Architecture} ${Version} ${db:Status-Status}\n' | sort >"$work/packages-after"
    if [[ -e /usr/bin/chromint ]]; then
        fail "/usr/bin/chromint is still there after the purge"
    elif ! diff -u "$packages_before" "$work/packages-after" >"$work/packages.diff"; then
        cat "$work/packages.diff" >&2
        fail "the installed packages differ from those before the check"
    else
        note "apt-get purge: done, the installed packages are as before"
    fi
fi

echo
echo "check-package summary ($(basename "$DEB")):"
printf '  %s\n' "${summary[@]}"
if [[ ${#failures[@]} -gt 0 ]]; then
    printf '  FAILED: %s\n' "${failures[@]}"
    echo "check-package: ${#failures[@]} check(s) failed"
    exit 1
fi
echo "check-package: all checks passed"
