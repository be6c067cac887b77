#!/usr/bin/env bash
# Runs two builds of zelvar-batch on the examples and on generated data, every
# model and the main options, and reports every table, message or exit status
# that differs. Use it before and after a change that must not change output:
#
#   scripts/compare-batch.sh /path/to/old/zelvar-batch build/src/cli/zelvar-batch
set -uo pipefail

old=${1:?usage: compare-batch.sh OLD_BATCH NEW_BATCH}
new=${2:?usage: compare-batch.sh OLD_BATCH NEW_BATCH}
root="$(cd "$(dirname "$0")/.." && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Generated data: log-normal inputs, outputs a noisy Cobb-Douglas of them,
# some exact duplicates and zeros; a fixed seed.
python3 - "$work" <<'EOF'
import math, random, sys
random.seed(20261206)
folder = sys.argv[1]
def write(name, rows, header):
    with open(f"{folder}/{name}", "w") as f:
        f.write(",".join(header) + "\n")
        for k, row in enumerate(rows):
            f.write(f"u{k + 1}," + ",".join(repr(v) for v in row) + "\n")
rows = []
for k in range(1500):
    x = [10 * random.lognormvariate(0, 0.6) for _ in range(3)]
    level = math.exp(sum(math.log(v) for v in x) * 0.8 / 3) * math.exp(-random.expovariate(4))
    y = [level * math.exp(random.gauss(0, 0.15)) for _ in range(2)]
    rows.append([round(v, 3) for v in x + y])
for k in range(0, 1500, 97):
    rows[k + 1] = list(rows[k])
for k in range(5, 1500, 131):
    rows[k][k % 5] = 0.0
write("generated.txt", rows, ["Name", "{I}x1", "{I}x2", "{IN}x3", "{O}y1", "{O}y2"])
write("small.txt", rows[:60], ["Name", "{I}x1", "{I}x2", "{I}x3", "{O}y1", "{ON}y2"])
EOF

files=("$root/examples/banks.txt" "$root/examples/banks.xlsx" "$work/generated.txt" "$work/small.txt")
models=()
for rts in CRS VRS NDR NIR; do
    for distance in RAD ADD MAXAV MINAV; do
        for orientation in IN OUT NON; do
            models+=("${rts}_${distance}_${orientation}")
        done
    done
done
models+=(FDH_RAD_IN FDH_RAD_OUT)

differences=0
compare() {
    local label=$1
    shift
    "$old" "$@" >"$work/old.out" 2>"$work/old.err"
    local oldStatus=$?
    "$new" "$@" >"$work/new.out" 2>"$work/new.err"
    local newStatus=$?
    if ! cmp -s "$work/old.out" "$work/new.out" || ! cmp -s "$work/old.err" "$work/new.err" \
        || [ "$oldStatus" != "$newStatus" ]; then
        echo "DIFFERS: $label (exit $oldStatus / $newStatus)"
        differences=$((differences + 1))
    fi
}

for file in "${files[@]}"; do
    for model in "${models[@]}"; do
        compare "$model $(basename "$file")" --model "$model" --decimals 8,8,8,8 "$file"
    done
    compare "no-super $(basename "$file")" --model VRS_RAD_OUT --no-super --pure-weights "$file"
    compare "eval/tech $(basename "$file")" --model CRS_RAD_IN --eval 1-9 --tech 5-40 "$file"
done
banks="$root/examples/banks.txt"
compare "weights" --weights "$root/examples/banks-weights.txt" "$banks"
compare "weights VRS" --model VRS_RAD_OUT --weights "$root/examples/banks-weights.txt" "$banks"
compare "window" --window 4:2 "$banks"
compare "malmquist" --malmquist 2 --model VRS_RAD_IN "$banks"
compare "threads" --threads 1 --model NIR_RAD_IN "$work/generated.txt"

echo "$differences difference(s)"
[ "$differences" = 0 ]
