#!/usr/bin/env bash
# Sets up, builds and runs panelry_bench under Wine on a virtual display: it
# starts the real panelry.exe from a temporary folder, drives it with the
# sample application and prints figures (times, CPU, memory, GUI objects).
# It asserts nothing; the exit code only says whether the runs got through.
# One run per tab count, 10, 50 and 200 unless others are given, first with
# the windows of one sample application, then spread over several
# (PANELRY_BENCH_APPS, "1 5" by default); then a table per application count
# with every figure at each tab count and the ratio of the last to the first.
#   scripts/bench.sh [TAB_COUNT...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/width.sh"

"$here/scripts/setup.sh" "$BUILD_DIR"
"$here/scripts/build.sh" "$BUILD_DIR"
. "$here/scripts/env.sh"

counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(10 50 200)
read -r -a app_counts <<< "${PANELRY_BENCH_APPS:-1 5}"
runs=$(mktemp -d)
trap 'rm -rf "$runs"' EXIT
cd "$BUILD_DIR/bin"
for apps in "${app_counts[@]}"; do
    for count in "${counts[@]}"; do
        on_virtual_display wine panelry_bench.exe "$count" "$apps" | tee "$runs/$apps-$count.txt"
    done
done

echo
echo "== Figures side by side ($(date -u +%Y-%m-%d), $(nproc) cores, $(uname -m), Panelry $PANELRY_ARCH) =="
for apps in "${app_counts[@]}"; do
    files=()
    for count in "${counts[@]}"; do files+=("$runs/$apps-$count.txt"); done
    echo
    echo "Windows of $apps sample application(s):"
    awk -F'|' -v counts="${counts[*]}" '
        BEGIN { n = split(counts, c, " ") }
        FNR == 1 { file++ }
        $1 == "figure" {
            if (!($2 in seen)) { seen[$2] = 1; order[++names] = $2 }
            value[$2, file] = $3
        }
        END {
            printf "  %-62s", "figure"
            for (i = 1; i <= n; i++) printf " %9s", c[i] " tabs"
            printf " %9s\n", c[n] ":" c[1]
            for (k = 1; k <= names; k++) {
                name = order[k]
                printf "  %-62s", name
                for (i = 1; i <= n; i++) {
                    if ((name, i) in value) printf " %9.2f", value[name, i]
                    else printf " %9s", "-"
                }
                first = value[name, 1]; last = value[name, n]
                if (first + 0 > 0 && ((name, n) in value)) printf " %8.2fx", last / first
                else printf " %9s", "-"
                printf "\n"
            }
        }' "${files[@]}"
done
