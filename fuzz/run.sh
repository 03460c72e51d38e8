#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/CMakeLists.txt with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for the given number of seconds (default 60). A
# finding fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
out=build-fuzz
cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DKOVARO_FUZZ=ON
targets=(parse_real parse_int format_real project_reader)
cmake --build "$out" --parallel --target "${targets[@]/#/fuzz_}"
for target in "${targets[@]}"; do
  mkdir -p "$out/corpus-$target"
  echo "== $target: ${seconds} s"
  "$out/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$out/$target-" \
    "$out/corpus-$target"
done
