#!/usr/bin/env bash
# build-fuzzers.sh SOURCE_DIR APP_DIR FUZZ_BUILD_DIR
# Builds the libFuzzer targets with clang, ASan and UBSan into FUZZ_BUILD_DIR, answering from the
# Voltaro.dat and Zephlib.so in APP_DIR. Exits 77 (the test is skipped) when clang is missing.
set -euo pipefail
source_dir=$1 app_dir=$2 build_dir=$3
if ! command -v clang >/dev/null || ! command -v clang++ >/dev/null; then
    echo "clang is not installed: the fuzzers are skipped (tools/setup installs it)"
    exit 77
fi
flags="-fsanitize=address,undefined -fsanitize=fuzzer-no-link -fno-sanitize-recover=all"
flags+=" -fno-omit-frame-pointer"
if [ ! -f "$build_dir/build.ninja" ]; then
    cmake -S "$source_dir" -B "$build_dir" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
        -DVOLTARO_FUZZ=ON -DVOLTARO_BENCH=OFF -DVOLTARO_FUZZ_APP_DIR="$app_dir"
fi
# Two jobs: the machine's cores are shared with the rest of the test run.
cmake --build "$build_dir" --target voltaro_fuzzers -- -j2
