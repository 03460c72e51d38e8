#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and UndefinedBehaviorSanitizer
# and runs each for the given number of seconds (default 60). A finding fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
out=build-fuzz
mkdir -p "$out"
core="src/shell/numeric_text.cpp src/shell/format.cpp src/shell/real_math.cpp"
for target in parse_real parse_int format_real; do
  clang++ -std=c++20 -O1 -g -ffp-contract=off -fsanitize=fuzzer,address,undefined,float-cast-overflow \
    -fno-sanitize-recover=all -Isrc "fuzz/${target}_fuzz.cpp" $core -o "$out/$target"
  mkdir -p "$out/corpus-$target"
  echo "== $target: ${seconds} s"
  "$out/$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$out/$target-" \
    "$out/corpus-$target"
done
