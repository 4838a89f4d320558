#!/usr/bin/env bash
# Runs the fuzz targets for longer than ./test --preset fuzz does.
#   scripts/fuzz.sh SECONDS [TARGET...]     each target (all by default) for SECONDS,
#                                           QELVAR_FUZZ_JOBS (2 by default) at a time
#   scripts/fuzz.sh --coverage [TARGET...]  the lines of the core each target's corpus reaches
# A run starts from the seed corpus (fuzz/corpus/TARGET) and from what earlier
# runs kept (build-fuzz/fuzz/corpus/TARGET). Any finding fails it and is left in
# build-fuzz/fuzz/findings; build-fuzz/fuzz/fuzz_TARGET FILE replays one.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() { sed -n '2,8p' "$0"; exit 1; }
[ $# -ge 1 ] || usage
mode=$1
shift
case "$mode" in
    --coverage) preset=fuzz-coverage ;;
    '' | *[!0-9]*) usage ;;
    *) preset=fuzz ;;
esac

bash scripts/ensure-packages.sh clang libclang-rt-14-dev llvm-14
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"

build=build-${preset}/fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for binary in "$build"/fuzz_*; do targets+=("${binary##*/fuzz_}"); done
fi

if [ "$preset" = fuzz ]; then
    status=0
    regex="^fuzz_($(IFS='|'; echo "${targets[*]}"))\$"
    QELVAR_FUZZ_SECONDS=$mode ctest --preset fuzz -j "${QELVAR_FUZZ_JOBS:-2}" \
        --timeout $((mode + 600)) -R "$regex" || status=$?
    for target in "${targets[@]}"; do
        echo "== $target: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$build/logs/$target.log" | tail -n 1)"
    done
    exit "$status"
fi

# Coverage: each target replays its corpora once, then its own report.
profiles=$build/profiles
rm -rf "$profiles"
mkdir -p "$profiles"
for target in "${targets[@]}"; do
    mkdir -p "build-fuzz/fuzz/corpus/$target"
    LLVM_PROFILE_FILE="$profiles/$target.profraw" "$build/fuzz_$target" -runs=0 \
        "build-fuzz/fuzz/corpus/$target" "fuzz/corpus/$target" >"$profiles/$target.log" 2>&1
    llvm-profdata-14 merge -sparse "$profiles/$target.profraw" -o "$profiles/$target.profdata"
    echo "== $target: $(find "build-fuzz/fuzz/corpus/$target" "fuzz/corpus/$target" -type f | wc -l) inputs"
    # The files of the core it reaches at all: lines, and lines missed.
    llvm-cov-14 report "$build/fuzz_$target" -instr-profile="$profiles/$target.profdata" \
        -ignore-filename-regex='^/usr/|/fuzz/' |
        awk 'NR > 2 && $8 > $9 && $1 !~ /^-/ { printf "  %-40s lines %4d  missed %3d  %s\n", $1, $8, $9, $10 }'
done
