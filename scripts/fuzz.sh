#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for SECONDS (default 30), keeping each
# harness's corpus in build-fuzz/corpus/ between runs.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
harnesses=(fuzz_record_file fuzz_job_routine fuzz_sales_line fuzz_csv_reader fuzz_xlsx_reader)
bash scripts/deps.sh
cmake -S . -B build-fuzz -G Ninja -DKORVAN_FUZZ=ON -DKORVAN_GUI=OFF -DKORVAN_BENCH=OFF \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${harnesses[@]}"
for h in "${harnesses[@]}"; do
  mkdir -p "build-fuzz/corpus/$h"
  echo "--- $h, $seconds s"
  log="build-fuzz/$h.log"
  if ! "build-fuzz/bin/$h" -max_total_time="$seconds" -print_final_stats=1 "build-fuzz/corpus/$h" \
    >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "$h found a fault (the input is saved beside the log)" >&2
    exit 1
  fi
  grep -E "^stat::number_of_executed_units" "$log"
done
