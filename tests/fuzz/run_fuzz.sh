#!/bin/sh
# Runs a fuzz target for a bounded time.
# Usage: run_fuzz.sh TARGET SECONDS DICTIONARY WORK_CORPUS SEED_DIR...
# Seed folders that do not exist (the data files may not be there) are skipped;
# new inputs go to WORK_CORPUS, which outlives the run.
set -eu
TARGET=$1 SECONDS_=$2 DICT=$3 WORK=$4
shift 4
mkdir -p "$WORK"
set -- "$WORK" $(for d in "$@"; do [ -d "$d" ] && printf '%s ' "$d"; done)
exec "$TARGET" -max_total_time="$SECONDS_" -max_len=8192 -timeout=30 \
  -dict="$DICT" -print_final_stats=1 "$@"
