#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang, under AddressSanitizer
# and UndefinedBehaviorSanitizer, and runs each for SECONDS (default 60), as
# many at once as there are cores:
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

# One harness: its report line(s) go to $dir/findings/NAME.result.
fuzz_one() {
  local name=$1
  local corpus=$dir/corpus/$name findings=$dir/findings/$name log=$dir/findings/$name.log
  local result=$dir/findings/$name.result
  mkdir -p "$corpus" "$findings"
  local seeds=(fuzz/corpus/"$name")
  case $name in parameters_file | table_file | window_logic) seeds+=(examples) ;; esac
  if "$dir/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
       -artifact_prefix="$findings/" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    local runs rate
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    echo "fuzz_$name: $runs runs in ${seconds} s ($rate a second), no property broken" >"$result"
  else
    { echo "fuzz_$name: FAILED, the input is in $findings/"
      grep -E "property broken|ERROR: |runtime error" "$log" | head -5 || tail -20 "$log"
    } >"$result"
  fi
}

# As many harnesses at once as there are cores; the reports in a fixed order.
mkdir -p "$dir/findings"
running=0
for name in "${harnesses[@]}"; do
  rm -f "$dir/findings/$name.result"
  if ((running >= $(nproc))); then
    wait -n || true
    running=$((running - 1))
  fi
  fuzz_one "$name" &
  running=$((running + 1))
done
wait

failed=0
for name in "${harnesses[@]}"; do
  cat "$dir/findings/$name.result"
  grep -q "FAILED" "$dir/findings/$name.result" && failed=1
done
exit "$failed"
