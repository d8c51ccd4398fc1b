# Sourced by the scripts that use Panelry on a virtual display as a user
# would (run_demo.sh, guide_demo.sh, guide_scale.sh): entering the folder
# Panelry runs in, starting and closing it, and changing its settings record
# between runs.

# Starts one persistent wineserver and Wine's services on this display, then
# goes to the run folder: where every demo starts.
enter_run_folder() {
    wineserver -p >/dev/null 2>&1
    wine wineboot -u >/dev/null 2>&1
    cd "$1"
}

# Starts Panelry and waits for its window; fails when it ends first.
start_panelry() {
    wine panelry.exe >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 150); do
        xdotool search --name "^Panelry$" >/dev/null 2>&1 && return 0
        if ! kill -0 $pid 2>/dev/null; then
            wait $pid
            echo "Panelry ended (exit code $?) before showing its window" >&2
            return 1
        fi
        sleep 0.2
    done
    echo "Panelry showed no window" >&2
    return 1
}

# Asks Panelry to close as the system does (WM_CLOSE), and waits until it
# has saved its settings and ended.
close_panelry() {
    wine taskkill /im panelry.exe >/dev/null 2>&1
    for _ in $(seq 1 100); do
        kill -0 $pid 2>/dev/null || return 0
        sleep 0.2
    done
    echo "Panelry did not close" >&2
    return 1
}

# The profile hex form of a key of system.ini: two digits a byte, then the
# low byte of their sum.
with_checksum() {
    local hex=$1 sum=0 i
    for ((i = 0; i < ${#hex}; i += 2)); do sum=$(((sum + 16#${hex:i:2}) & 255)); done
    printf '%s%02X' "$hex" "$sum"
}

# Sets one byte of system.ini's settings record.
set_record_byte() {
    local offset=$1 value=$2 line hex
    line=$(grep -a '^STRUCT=' system.ini | tr -d '\r')
    hex=${line#STRUCT=}
    [ ${#hex} -ge 4 ] || return 1
    hex=${hex:0:$((offset * 2))}$(printf %02X "$value")${hex:$((offset * 2 + 2))}
    sed -i "s/^STRUCT=.*/STRUCT=$(with_checksum "${hex:0:${#hex}-2}")\r/" system.ini
}

# Sets where the main window opens: left, top, width, height (a normal
# window placement, 44 bytes of little-endian numbers).
set_placement() {
    local words=(44 0 1 -1 -1 -1 -1 "$1" "$2" $(($1 + $3)) $(($2 + $4))) hex="" w
    for w in "${words[@]}"; do
        w=$((w & 0xFFFFFFFF))
        hex+=$(printf '%02X%02X%02X%02X' $((w & 255)) $((w >> 8 & 255)) $((w >> 16 & 255)) $((w >> 24 & 255)))
    done
    grep -aq '^PLACEMENT=' system.ini || return 1
    sed -i "s/^PLACEMENT=.*/PLACEMENT=$(with_checksum "$hex")\r/" system.ini
}
