#!/usr/bin/env bash
# run-fuzzer.sh FUZZER SECONDS CORPUS_DIR [SEED_DIR...]
# Runs a libFuzzer target for a bounded time; the working corpus lives in the
# build tree, seeded from the repository's corpus and from generated seeds.
set -euo pipefail
fuzzer=$1; seconds=$2; corpus=$3; shift 3
mkdir -p "$corpus"
for seeds in "$@"; do
  [ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
done
artifacts=$(dirname "$corpus")/artifacts
mkdir -p "$artifacts"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=0 -artifact_prefix="$artifacts/$(basename "$fuzzer")-" "$corpus" </dev/null
