#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang, under AddressSanitizer
# and UndefinedBehaviorSanitizer, and runs each for SECONDS (default 60):
#
#   scripts/fuzz.sh [SECONDS] [HARNESS...]     e.g. scripts/fuzz.sh 600 table_file
#
# Each harness starts from its corpus in fuzz/corpus (and the examples); the
# inputs it finds are kept in build-fuzz/corpus for the next run, and an
# input that breaks a property in build-fuzz/findings. Exits 1 when one did.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
dir=${Q5480_FUZZ_DIR:-build-fuzz}

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DQ5480_FUZZ=ON -DQ5480_BUILD_GUI=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)" --target fuzzers

harnesses=("$@")
if ((${#harnesses[@]} == 0)); then
  for source in fuzz/fuzz_*.cpp; do
    name=$(basename "$source" .cpp)
    [ "$name" = fuzz_support ] || harnesses+=("${name#fuzz_}")
  done
fi

failed=0
for name in "${harnesses[@]}"; do
  corpus=$dir/corpus/$name findings=$dir/findings/$name log=$dir/findings/$name.log
  mkdir -p "$corpus" "$findings"
  seeds=(fuzz/corpus/"$name")
  case $name in parameters_file | table_file) seeds+=(examples) ;; esac
  if "$dir/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
       -artifact_prefix="$findings/" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    echo "fuzz_$name: $runs runs in ${seconds} s ($rate a second), no property broken"
  else
    failed=1
    echo "fuzz_$name: FAILED, the input is in $findings/"
    grep -E "property broken|ERROR: |runtime error" "$log" | head -5 || tail -20 "$log"
  fi
done
exit "$failed"
