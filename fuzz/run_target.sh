#!/usr/bin/env bash
# Runs one fuzz target from its seed corpus for QELVAR_FUZZ_SECONDS (20 by
# default); exits non-zero on any finding (crash, sanitizer report, leak,
# timeout, a failed check), which it leaves in WORK/findings.
#   run_target.sh BINARY NAME SEEDS DICTIONARY WORK
set -euo pipefail
binary=$1 name=$2 seeds=$3 dictionary=$4 work=$5
seconds=${QELVAR_FUZZ_SECONDS:-20}
# New inputs go to the build tree; the seed corpus in the source tree is only read.
mkdir -p "$work/corpus/$name" "$work/findings" "$work/logs"
set +e
"$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -dict="$dictionary" -artifact_prefix="$work/findings/$name-" \
    "$work/corpus/$name" "$seeds" >"$work/logs/$name.log" 2>&1
status=$?
set -e
# The last progress line (executions, coverage) and the final statistics.
grep -E '^#[0-9]+\s+DONE|^stat::' "$work/logs/$name.log" || true
if [ "$status" -ne 0 ]; then
    tail -n 60 "$work/logs/$name.log"
    echo "fuzz_$name: finding (exit $status); log $work/logs/$name.log" >&2
fi
exit "$status"
