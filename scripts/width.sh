# Sourced first by the scripts: which width of Panelry they build and run,
# and where.
#
#   PANELRY_ARCH=i686|x86_64   the width; by default i686 where this machine
#                              executes 32-bit x86 programs, x86_64 otherwise
#   PANELRY_BUILD_DIR=...      the build tree; by default build/<width>
#
# Sets PANELRY_ARCH, PANELRY_OTHER_ARCH and BUILD_DIR (exported), and
# defines runs_32bit.
# "here" (the checkout) must be set by the caller.

# Some kernels have 32-bit execution switched off, whatever the processor
# can do, so the only honest test is to run a 32-bit program: a 91-byte
# i386 ELF whose whole code is exit(0). Refused, it fails with "Exec format
# error" (126).
runs_32bit() {
    local probe
    probe=$(mktemp)
    printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5b\x00\x00\x00\x5b\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\x31\xc0\x40\x31\xdb\xcd\x80' >"$probe"
    chmod +x "$probe"
    local rc=0
    "$probe" 2>/dev/null || rc=$?
    rm -f "$probe"
    [ "$rc" = 0 ]
}

if [ -z "${PANELRY_ARCH:-}" ]; then
    if runs_32bit; then PANELRY_ARCH=i686; else PANELRY_ARCH=x86_64; fi
fi
case "$PANELRY_ARCH" in
    i686) PANELRY_OTHER_ARCH=x86_64 ;;
    x86_64) PANELRY_OTHER_ARCH=i686 ;;
    *)
        echo "PANELRY_ARCH must be i686 or x86_64, not \"$PANELRY_ARCH\"" >&2
        exit 2
        ;;
esac
export PANELRY_ARCH PANELRY_OTHER_ARCH
export BUILD_DIR="${PANELRY_BUILD_DIR:-$here/build/$PANELRY_ARCH}"
