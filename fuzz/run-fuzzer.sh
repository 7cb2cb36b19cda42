#!/usr/bin/env bash
# run-fuzzer.sh WORK_DIR NAME RUNS SEED_CORPUS
# Runs one fuzzer (built in WORK_DIR/clang) for RUNS inputs from a fixed seed. New inputs go to a
# work corpus in WORK_DIR/corpus (the seeds in the source tree are never written); a crashing
# input is kept in WORK_DIR/artifacts/. Exits 77 (skipped) when the fuzzers were not built.
set -euo pipefail
work_dir=$1 name=$2 runs=$3 seeds=$4
fuzzer=$work_dir/clang/fuzz/${name}_fuzzer
if [ ! -x "$fuzzer" ]; then
    echo "$fuzzer was not built: skipped"
    exit 77
fi
mkdir -p "$work_dir/corpus/$name" "$work_dir/artifacts"
# libFuzzer's own exit code for a finding is 77, which CTest would take for "skipped": a crash or
# broken property must fail the test.
exec "$fuzzer" -runs="$runs" -seed=1 -max_len=512 -len_control=10 -timeout=10 -print_final_stats=1 \
    -error_exitcode=1 -timeout_exitcode=1 \
    -artifact_prefix="$work_dir/artifacts/${name}-" "$work_dir/corpus/$name" "$seeds"
