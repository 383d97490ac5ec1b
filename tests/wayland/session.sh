# Headless Wayland session for end-to-end runs. Source this file from a bash test script;
# it defines functions only and starts nothing by itself.
#
#   source tests/wayland/session.sh
#   wl_session_available || exit 77        # prints why when it is not
#   wl_session_start                       # or: wl_session_start --no-portal
#   WL_VPOINTER=$build/tests/wayland/chromint_vpointer
#   app=$(wl_stage_binary "$build/app/chromint")
#   wl_spawn app env QT_QPA_PLATFORM=wayland "$app"; app_pid=$WL_LAST_PID
#   wl_wait_window chromint >/dev/null || fail "no window"
#   wl_place chromint 100 100 300 200
#   wl_pointer_click 150 150
#   [[ $(wl_screenshot_pixel 150 150) == "#C83C1E" ]] || fail "..."
#   (wl_session_stop runs from the EXIT trap; calling it earlier is fine too)
#
# What runs: sway (headless backend, pixman renderer, one 1024x768 output HEADLESS-1 at 0,0
# with a #336699 background, XWayland on demand), a private D-Bus session bus, pipewire,
# xdg-desktop-portal-wlr and xdg-desktop-portal (these three not with --no-portal;
# xdg-desktop-portal-gtk is bus-activated by xdg-desktop-portal for Access). sway refuses
# to run as root, so when the caller is root everything runs as uid/gid 65534; otherwise
# as the caller. The session user gets a transparent cursor theme so that no cursor shows
# up in screenshots.
#
# Window placement: every window (native: any app_id, XWayland: any class) opens floating,
# without border or title bar; put it at a known place with `wl_place APP_ID X Y W H`
# (swaymsg resize set, then move position). Only the app_id / class matters, so give each
# window of a test a distinct one (Qt: QGuiApplication::setDesktopFileName).
#
# Functions:
#   wl_session_available [--no-portal]   0 when everything needed is installed, else 1 and why
#   wl_session_start [--no-portal]       start the session; returns non-zero (and stops what
#                                        it started) on failure. Installs an EXIT trap that
#                                        calls wl_session_stop before any EXIT trap the caller
#                                        had set; a caller that sets its own EXIT trap later
#                                        must call wl_session_stop from it.
#   wl_session_stop                      stop every process of the session by PID, remove
#                                        WL_WORK (and /tmp/out.png when this session made it);
#                                        idempotent
#   wl_run CMD...                        run CMD in the foreground as the session user, in the
#                                        session environment, with the working directory WL_HOME
#   wl_spawn NAME CMD...                 same, in the background; output to $WL_WORK/log/NAME.log.
#                                        WL_LAST_PID is a small supervisor that passes SIGTERM,
#                                        SIGINT and SIGHUP on to CMD, ends with CMD's exit status
#                                        and reaps what CMD leaves behind; stopped by
#                                        wl_session_stop
#   wl_stage_binary PATH                 copy an executable where the session user can run it
#                                        (mode 755, inside WL_WORK); prints the new path
#   wl_swaymsg ARGS...                   swaymsg for this session
#   wl_wait_window APP_ID [SECONDS]      wait until a window with this app_id (or XWayland
#                                        class) is mapped; prints "X Y W H" of its content
#   wl_window_rect APP_ID                "X Y W H" of the window's content now, or fails
#   wl_place APP_ID X Y W H              resize and move a (floating) window; waits until done
#   wl_pointer_move X Y                  move the pointer to X,Y (layout pixels)
#   wl_pointer_click X Y                 move there and click the left button
#                                        (both use the program in WL_VPOINTER, staged on first use)
#   wl_screenshot_pixel X Y              print the colour of the screen at X,Y as #RRGGBB
#
# Variables set by wl_session_start (all exported):
#   WL_WORK       private temp folder (under /tmp; removed by wl_session_stop)
#   WL_RUNTIME    XDG_RUNTIME_DIR of the session (0700, owned by the session user)
#   WL_HOME       HOME of the session user
#   WL_UID WL_GID the session user
#   WL_WAYLAND_DISPLAY WL_DBUS_ADDRESS WL_SWAYSOCK WL_DISPLAY (XWayland's, may be empty)
#   WL_WIDTH WL_HEIGHT WL_BACKGROUND   output size and background colour (#336699)
#   WL_ENV        array of VAR=value: the whole environment given to session processes
#                 (WAYLAND_DISPLAY, XDG_RUNTIME_DIR, DBUS_SESSION_BUS_ADDRESS, HOME, DISPLAY,
#                 XDG_CURRENT_DESKTOP=sway, XDG_SESSION_TYPE=wayland, SWAYSOCK, PATH, ...)
#   WL_RUN        array, the prefix that runs a command that way: "${WL_RUN[@]}" cmd args
#   WL_OUT_PNG    /tmp/out.png, where the screenshot portal backend always writes (shared by
#                 every session on the machine: do not run two portal screenshots at once)
# The caller's own environment (WAYLAND_DISPLAY, DISPLAY, ...) is left unchanged.
# Set WL_VPOINTER (path of chromint_vpointer) before using wl_pointer_*.
# Callers may use `set -euo pipefail`: each function turns these off for itself (`local -`).

_WL_SESSION_VARS=(WL_WORK WL_RUNTIME WL_HOME WL_UID WL_GID WL_WAYLAND_DISPLAY WL_DBUS_ADDRESS
                  WL_SWAYSOCK WL_DISPLAY WL_WIDTH WL_HEIGHT WL_BACKGROUND WL_OUT_PNG)

wl_session_available() {
    local -
    set +e +u +o pipefail
    local portal=1 tool missing=()
    [[ "${1:-}" == --no-portal ]] && portal=0
    for tool in sway swaymsg swaybg grim jq dbus-daemon dbus-send; do
        command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
    done
    if ((portal)); then
        command -v slurp >/dev/null 2>&1 || missing+=(slurp)
        command -v pipewire >/dev/null 2>&1 || missing+=(pipewire)
        for tool in /usr/libexec/xdg-desktop-portal /usr/libexec/xdg-desktop-portal-wlr \
                    /usr/libexec/xdg-desktop-portal-gtk; do
            [[ -x "$tool" ]] || missing+=("$tool")
        done
    fi
    [[ -x /usr/bin/python3 ]] || missing+=(/usr/bin/python3)
    if ((EUID == 0)); then
        command -v setpriv >/dev/null 2>&1 || missing+=(setpriv)
    fi
    if ((${#missing[@]})); then
        echo "Wayland session unavailable, missing: ${missing[*]}"
        return 1
    fi
}

# Prints the PIDs of every process that belongs to the session in folder $1: those that
# carry its marker in their environment, those PIDs in the remaining arguments that are
# still children of this shell (a PID of an ended process may have been reused), and all
# their descendants.
_wl_session_pids() {
    local -
    set +e +u +o pipefail
    local work=$1 pid ppid changed
    shift
    local -A in_session=()
    for pid in "$@"; do
        [[ "$(ps -o ppid= -p "$pid" 2>/dev/null | tr -d ' ')" == "$$" ]] && in_session[$pid]=1
    done
    for pid in /proc/[0-9]*; do
        pid=${pid#/proc/}
        ((pid == $$ || pid == BASHPID)) && continue
        grep -qzxF "CHROMINT_WL_SESSION=$work" "/proc/$pid/environ" 2>/dev/null && in_session[$pid]=1
    done
    local -a table
    mapfile -t table < <(ps -e -o pid=,ppid=)
    changed=1
    while ((changed)); do
        changed=0
        local line
        for line in "${table[@]}"; do
            read -r pid ppid <<<"$line"
            if [[ -n "${in_session[$ppid]:-}" && -z "${in_session[$pid]:-}" ]] && ((pid != BASHPID)); then
                in_session[$pid]=1
                changed=1
            fi
        done
    done
    ((${#in_session[@]})) && printf '%s\n' "${!in_session[@]}"
    return 0
}

_wl_alive() { # true while the process exists and is not a zombie
    local state
    [[ -r /proc/$1/stat ]] || return 1
    state=$(awk '{ sub(/^.*\) /, ""); print $1 }' "/proc/$1/stat" 2>/dev/null) || return 1
    [[ -n "$state" && "$state" != Z ]]
}

# Stops the session in folder $1 (PIDs to include in the rest) and removes the folder.
_wl_kill_session() {
    local -
    set +e +u +o pipefail
    local work=$1 pid round
    shift
    local -a pids
    for round in 1 2; do
        mapfile -t pids < <(_wl_session_pids "$work" "$@")
        ((${#pids[@]})) || break
        kill -TERM "${pids[@]}" 2>/dev/null
        local deadline=$((SECONDS + 3)) left
        while :; do
            left=()
            for pid in "${pids[@]}"; do _wl_alive "$pid" && left+=("$pid"); done
            ((${#left[@]})) || break
            if ((SECONDS >= deadline)); then
                kill -KILL "${left[@]}" 2>/dev/null
                sleep 0.2
                break
            fi
            sleep 0.05
        done
    done
    [[ -n "$work" && "$work" == /tmp/* ]] && rm -rf "$work"
    return 0
}

wl_session_stop() {
    local -
    set +e +u +o pipefail
    [[ -n "${WL_WORK:-}" ]] || return 0
    local work=$WL_WORK
    local -a pids=("${_WL_PIDS[@]}")
    if [[ -n "${_WL_WATCHDOG:-}" ]]; then
        kill -TERM "$_WL_WATCHDOG" 2>/dev/null
        pids+=("$_WL_WATCHDOG")
        _WL_WATCHDOG=""
    fi
    _wl_kill_session "$work" "${pids[@]}"
    if ((_WL_MADE_OUT_PNG)) && [[ -e "$WL_OUT_PNG" ]]; then
        # Only a file that did not exist at the start and that the session user wrote.
        if [[ "$(stat -c %u "$WL_OUT_PNG" 2>/dev/null)" == "$WL_UID" ]]; then
            rm -f "$WL_OUT_PNG"
        fi
    fi
    _WL_PIDS=()
    unset "${_WL_SESSION_VARS[@]}" WL_ENV WL_RUN _WL_MADE_OUT_PNG
    return 0
}

wl_run() {
    (cd "$WL_HOME" && exec "${WL_RUN[@]}" "$@")
}

# Runs its arguments as a child and stays until every descendant has ended, as their
# subreaper: sway and the bus start programs that leave the process tree, and these must
# not end up as zombies of PID 1 when the session stops. SIGTERM, SIGINT and SIGHUP go on
# to the child; the exit status is the child's.
_WL_REAPER='
import ctypes, os, signal, sys
ctypes.CDLL(None).prctl(36, 1, 0, 0, 0)  # PR_SET_CHILD_SUBREAPER
child = os.fork()
if child == 0:
    try:
        # Python ignores these two; a program started from here must not.
        signal.signal(signal.SIGPIPE, signal.SIG_DFL)
        signal.signal(signal.SIGXFSZ, signal.SIG_DFL)
        os.execvp(sys.argv[1], sys.argv[1:])
    finally:
        os._exit(127)
alive = True
def forward(signum, frame):
    if alive:
        try:
            os.kill(child, signum)
        except OSError:
            pass
for signum in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
    signal.signal(signum, forward)
status = 1
while True:
    try:
        pid, raw = os.wait()
    except ChildProcessError:
        break
    if pid == child:
        alive = False
        code = os.waitstatus_to_exitcode(raw)
        status = code if code >= 0 else 128 - code
sys.exit(status)
'

wl_spawn() {
    local name=$1
    shift
    [[ -f "$WL_WORK/reaper.py" ]] || printf '%s' "$_WL_REAPER" >"$WL_WORK/reaper.py"
    (cd "$WL_HOME" && exec /usr/bin/python3 -I "$WL_WORK/reaper.py" "${WL_RUN[@]}" "$@") \
        </dev/null >"$WL_WORK/log/$name.log" 2>&1 &
    WL_LAST_PID=$!
    _WL_PIDS+=("$WL_LAST_PID")
}

wl_stage_binary() {
    local -
    set +e +u +o pipefail
    local source=$1 target
    [[ -f "$source" && -x "$source" ]] || { echo "wl_stage_binary: not an executable: $source" >&2; return 1; }
    target="$WL_WORK/bin/$(basename "$source")"
    if [[ ! -e "$target" || "$source" -nt "$target" ]]; then
        cp -f "$source" "$target" && chmod 755 "$target" || return 1
    fi
    printf '%s\n' "$target"
}

wl_swaymsg() {
    wl_run swaymsg "$@"
}

# Waits (up to $2 seconds, default 10) until $1 returns true.
_wl_wait_for() {
    local -
    set +e +u +o pipefail
    local what=$1 limit=${2:-10} start=$SECONDS
    until eval "$what"; do
        ((SECONDS - start >= limit)) && return 1
        sleep 0.05
    done
}

wl_window_rect() {
    local -
    set +e +u +o pipefail
    wl_swaymsg -t get_tree | jq -er --arg id "$1" '
        first(recurse(.nodes[]?, .floating_nodes[]?)
              | select(.app_id == $id or .window_properties.class? == $id))
        | "\(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y) \(.window_rect.width) \(.window_rect.height)"' \
        2>/dev/null
}

wl_wait_window() {
    local -
    set +e +u +o pipefail
    local id=$1 limit=${2:-10} start=$SECONDS rect
    while :; do
        rect=$(wl_window_rect "$id") && [[ -n "$rect" ]] && { printf '%s\n' "$rect"; return 0; }
        ((SECONDS - start >= limit)) && { echo "wl_wait_window: no window $id" >&2; return 1; }
        sleep 0.05
    done
}

wl_place() {
    local -
    set +e +u +o pipefail
    local id=$1 x=$2 y=$3 w=$4 h=$5 criteria
    # A native window is matched by app_id, an XWayland one by class.
    if wl_swaymsg -t get_tree | jq -e --arg id "$id" \
            '[recurse(.nodes[]?, .floating_nodes[]?) | select(.app_id == $id)] | length > 0' >/dev/null; then
        criteria="[app_id=\"^$id\$\"]"
    else
        criteria="[class=\"^$id\$\"]"
    fi
    wl_swaymsg "$criteria floating enable, resize set $w $h, move position $x $y" >/dev/null || return 1
    _wl_wait_for '[[ "$(wl_window_rect "$id")" == "$x $y $w $h" ]]' 5 || {
        echo "wl_place: $id is at $(wl_window_rect "$id"), not $x $y $w $h" >&2
        return 1
    }
}

_wl_vpointer() {
    local -
    set +e +u +o pipefail
    [[ -n "${WL_VPOINTER:-}" ]] || { echo "wl_pointer: set WL_VPOINTER to chromint_vpointer" >&2; return 1; }
    if [[ "$WL_VPOINTER" != "$WL_WORK"/* ]]; then
        WL_VPOINTER=$(wl_stage_binary "$WL_VPOINTER") || return 1
    fi
    wl_run "$WL_VPOINTER" "$WL_WIDTH" "$WL_HEIGHT" "$@"
}

wl_pointer_move() { _wl_vpointer move "$1" "$2"; }
wl_pointer_click() { _wl_vpointer click "$1" "$2"; }

wl_screenshot_pixel() {
    local -
    set +e +u +o pipefail
    local bytes
    bytes=$(wl_run grim -g "$1,$2 1x1" -t ppm - | tail -c 3 | od -An -tx1 | tr -d ' \n') || return 1
    [[ ${#bytes} == 6 ]] || { echo "wl_screenshot_pixel: grim failed" >&2; return 1; }
    printf '#%s\n' "${bytes^^}"
}

# One transparent pixel in the Xcursor file format (little endian): file header, one table
# of contents entry, one image chunk of 1x1 with a fully transparent ARGB pixel.
_wl_write_transparent_cursor() {
    printf 'Xcur\x10\x00\x00\x00\x00\x00\x01\x00\x01\x00\x00\x00'    # magic, header size 16, version, 1 entry
    printf '\x02\x00\xfd\xff\x18\x00\x00\x00\x1c\x00\x00\x00'        # image type, nominal size 24, at byte 28
    printf '\x24\x00\x00\x00\x02\x00\xfd\xff\x18\x00\x00\x00'        # chunk header 36, image type, size 24
    printf '\x01\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00'        # version 1, width 1, height 1
    printf '\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'        # hotspot 0,0, delay 0
    printf '\x00\x00\x00\x00'                                          # the pixel
}

_WL_CURSOR_NAMES=(left_ptr default arrow top_left_arrow right_ptr text xterm ibeam vertical-text
    hand hand1 hand2 pointer pointing_hand crosshair cross tcross cell plus watch wait progress
    left_ptr_watch half-busy grab grabbing openhand closedhand fleur move all-scroll
    not-allowed crossed_circle forbidden no-drop help question_arrow whats_this context-menu
    copy alias dnd-move dnd-copy dnd-link dnd-none dnd-ask col-resize row-resize split_h split_v
    sb_h_double_arrow sb_v_double_arrow size_hor size_ver size_bdiag size_fdiag size_all
    h_double_arrow v_double_arrow ew-resize ns-resize nesw-resize nwse-resize
    n-resize s-resize e-resize w-resize ne-resize nw-resize se-resize sw-resize
    top_side bottom_side left_side right_side top_left_corner top_right_corner
    bottom_left_corner bottom_right_corner zoom-in zoom-out color-picker pencil draft)

_wl_write_config() {
    cat >"$WL_WORK/sway.conf" <<EOF
# Written by tests/wayland/session.sh
xwayland enable
output HEADLESS-1 resolution ${WL_WIDTH}x${WL_HEIGHT} position 0 0 bg ${WL_BACKGROUND} solid_color
seat * xcursor_theme default 24
default_border none
default_floating_border none
# Every window floats, so that tests can give it an exact place and size.
for_window [app_id=".*"] floating enable
for_window [class=".*"] floating enable
EOF
}

# A session bus like the standard one, but it activates only the services the portals
# need: the standard set also starts the document portal, which tries to mount a FUSE
# file system in the runtime folder.
_WL_BUS_SERVICES=(org.freedesktop.impl.portal.desktop.gtk org.freedesktop.impl.portal.PermissionStore)
_wl_write_bus_config() {
    local service file
    mkdir -p "$WL_WORK/bus-services"
    for service in "${_WL_BUS_SERVICES[@]}"; do
        file=/usr/share/dbus-1/services/$service.service
        [[ -f "$file" ]] && cp "$file" "$WL_WORK/bus-services/"
    done
    cat >"$WL_WORK/bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <keep_umask/>
  <listen>$WL_DBUS_ADDRESS</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$WL_WORK/bus-services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
}

_wl_fail_start() {
    local -
    set +e +u +o pipefail
    echo "wl_session_start: $*" >&2
    local log
    for log in "$WL_WORK"/log/*.log; do
        [[ -s "$log" ]] && { echo "--- ${log##*/}:" >&2; tail -n 20 "$log" >&2; }
    done
    wl_session_stop
    return 1
}

_wl_bus_has_owner() {
    local -
    set +e +u +o pipefail
    wl_run dbus-send --bus="$WL_DBUS_ADDRESS" --print-reply=literal --dest=org.freedesktop.DBus \
        /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -c true >/dev/null
}

# True when the portal frontend exports the Screenshot interface (it does so only once it
# found a backend for Screenshot and one for Access).
_wl_screenshot_portal_ready() {
    local -
    set +e +u +o pipefail
    local interfaces
    interfaces=$(wl_run dbus-send --bus="$WL_DBUS_ADDRESS" --print-reply \
        --dest=org.freedesktop.portal.Desktop /org/freedesktop/portal/desktop \
        org.freedesktop.DBus.Introspectable.Introspect 2>/dev/null) || return 1
    [[ "$interfaces" == *'<interface name="org.freedesktop.portal.Screenshot">'* ]]
}

wl_session_start() {
    local -
    set +e +u +o pipefail
    local portal=1
    [[ "${1:-}" == --no-portal ]] && portal=0
    [[ -z "${WL_WORK:-}" ]] || { echo "wl_session_start: a session is running already" >&2; return 1; }
    wl_session_available "$@" >&2 || return 1

    WL_WORK=$(mktemp -d /tmp/chromint-wl.XXXXXX) || return 1
    chmod 755 "$WL_WORK"
    WL_RUNTIME=$WL_WORK/run
    WL_HOME=$WL_WORK/home
    WL_WIDTH=${WL_SESSION_WIDTH:-1024} WL_HEIGHT=${WL_SESSION_HEIGHT:-768} WL_BACKGROUND="#336699"
    WL_OUT_PNG=/tmp/out.png
    _WL_PIDS=()
    _WL_MADE_OUT_PNG=0
    [[ -e "$WL_OUT_PNG" ]] || _WL_MADE_OUT_PNG=1
    local -a as_user=()
    if ((EUID == 0)); then
        WL_UID=65534 WL_GID=65534
        as_user=(setpriv --reuid="$WL_UID" --regid="$WL_GID" --clear-groups --)
    else
        WL_UID=$(id -u) WL_GID=$(id -g)
    fi
    local user_name
    user_name=$(id -un "$WL_UID" 2>/dev/null) || user_name=nobody

    mkdir -p "$WL_WORK/bin" "$WL_WORK/log" "$WL_RUNTIME" "$WL_HOME/.icons/default/cursors"
    chmod 755 "$WL_WORK/bin"
    chmod 700 "$WL_RUNTIME"
    _wl_write_transparent_cursor >"$WL_HOME/.icons/default/cursors/left_ptr"
    local name
    for name in "${_WL_CURSOR_NAMES[@]}"; do
        [[ $name == left_ptr ]] || ln -s left_ptr "$WL_HOME/.icons/default/cursors/$name"
    done
    printf '[Icon Theme]\nName=default\n' >"$WL_HOME/.icons/default/index.theme"
    _wl_write_config
    if ((EUID == 0)); then
        chown -R "$WL_UID:$WL_GID" "$WL_RUNTIME" "$WL_HOME"
    fi

    # The marker lets wl_session_stop find every process of this session, also those that
    # sway or the bus start and that leave the process tree.
    WL_ENV=(PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 HOME="$WL_HOME"
            USER="$user_name" LOGNAME="$user_name" SHELL=/bin/sh
            XDG_RUNTIME_DIR="$WL_RUNTIME" XDG_CURRENT_DESKTOP=sway XDG_SESSION_TYPE=wayland
            XDG_CONFIG_HOME="$WL_HOME/.config" XDG_CACHE_HOME="$WL_HOME/.cache"
            XDG_DATA_HOME="$WL_HOME/.local/share"
            XCURSOR_PATH="$WL_HOME/.icons" XCURSOR_THEME=default XCURSOR_SIZE=24
            WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman
            NO_AT_BRIDGE=1 GTK_USE_PORTAL=0
            CHROMINT_WL_SESSION="$WL_WORK")
    WL_RUN=("${as_user[@]}" env -i "${WL_ENV[@]}")
    export "${_WL_SESSION_VARS[@]}"

    # Stop the session on exit, before whatever the caller had set for EXIT.
    local previous
    previous=$(trap -p EXIT)
    if [[ "$previous" == *wl_session_stop* ]]; then
        :
    elif [[ -n "$previous" ]]; then
        previous=${previous#trap -- }
        previous=${previous% EXIT}
        eval "previous=$previous"
        trap "wl_session_stop; $previous" EXIT
    else
        trap wl_session_stop EXIT
    fi
    [[ -n "$(trap -p INT)" ]] || trap 'exit 130' INT
    [[ -n "$(trap -p TERM)" ]] || trap 'exit 143' TERM
    [[ -n "$(trap -p HUP)" ]] || trap 'exit 129' HUP
    # Should this shell be killed without running its traps, a watchdog stops the session.
    local parent=$$
    # It waits on a FIFO nobody writes to, so that it starts no process of its own.
    mkfifo "$WL_WORK/watchdog"
    (
        set +e +u +o pipefail
        trap 'exit 0' TERM
        exec {tick}<>"$WL_WORK/watchdog"
        while kill -0 "$parent" 2>/dev/null; do
            read -r -t 1 -u "$tick" _
        done
        _wl_kill_session "$WL_WORK"
    ) </dev/null >/dev/null 2>&1 &
    _WL_WATCHDOG=$!

    # sway
    wl_spawn sway sway -c "$WL_WORK/sway.conf"
    local sway_pid=$WL_LAST_PID
    _wl_wait_for 'compgen -G "$WL_RUNTIME/wayland-[0-9]" >/dev/null && compgen -G "$WL_RUNTIME/sway-ipc.*.sock" >/dev/null' 10 \
        || _wl_fail_start "sway did not start" || return 1
    WL_WAYLAND_DISPLAY=$(basename "$(compgen -G "$WL_RUNTIME/wayland-[0-9]" | head -n 1)")
    WL_SWAYSOCK=$(compgen -G "$WL_RUNTIME/sway-ipc.*.sock" | head -n 1)
    WL_ENV+=(WAYLAND_DISPLAY="$WL_WAYLAND_DISPLAY" SWAYSOCK="$WL_SWAYSOCK")
    WL_RUN=("${as_user[@]}" env -i "${WL_ENV[@]}")
    _wl_wait_for '[[ "$(wl_swaymsg -t get_outputs 2>/dev/null)" == *HEADLESS-1* ]]' 10 \
        || _wl_fail_start "sway has no output HEADLESS-1" || return 1
    # XWayland's DISPLAY, as sway set it for the programs it starts.
    wl_swaymsg exec "echo \"\$DISPLAY\" > $WL_RUNTIME/display" >/dev/null
    _wl_wait_for '[[ -s "$WL_RUNTIME/display" ]]' 5
    WL_DISPLAY=$(cat "$WL_RUNTIME/display" 2>/dev/null)
    [[ -n "$WL_DISPLAY" ]] && WL_ENV+=(DISPLAY="$WL_DISPLAY")

    # D-Bus session bus
    WL_DBUS_ADDRESS="unix:path=$WL_RUNTIME/bus"
    WL_ENV+=(DBUS_SESSION_BUS_ADDRESS="$WL_DBUS_ADDRESS")
    WL_RUN=("${as_user[@]}" env -i "${WL_ENV[@]}")
    _wl_write_bus_config
    wl_spawn dbus dbus-daemon --config-file="$WL_WORK/bus.conf" --nofork --nopidfile
    _wl_wait_for 'wl_run dbus-send --bus="$WL_DBUS_ADDRESS" --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus.GetId >/dev/null 2>&1' 10 \
        || _wl_fail_start "the session bus does not answer" || return 1

    if ((portal)); then
        wl_spawn pipewire pipewire
        _wl_wait_for '[[ -S "$WL_RUNTIME/pipewire-0" ]]' 10 \
            || _wl_fail_start "pipewire did not start" || return 1
        wl_spawn portal-wlr /usr/libexec/xdg-desktop-portal-wlr
        _wl_wait_for '_wl_bus_has_owner org.freedesktop.impl.portal.desktop.wlr' 10 \
            || _wl_fail_start "xdg-desktop-portal-wlr did not start" || return 1
        wl_spawn portal /usr/libexec/xdg-desktop-portal
        _wl_wait_for _wl_screenshot_portal_ready 15 \
            || _wl_fail_start "the Screenshot portal did not appear" || return 1
    fi

    # The background is drawn by swaybg, a client of its own: wait until it shows.
    _wl_wait_for '[[ "$(wl_screenshot_pixel $((WL_WIDTH - 1)) $((WL_HEIGHT - 1)) 2>/dev/null)" == "$WL_BACKGROUND" ]]' 10 \
        || _wl_fail_start "the background did not appear" || return 1
    kill -0 "$sway_pid" 2>/dev/null || _wl_fail_start "sway ended" || return 1
    export "${_WL_SESSION_VARS[@]}"
    return 0
}
