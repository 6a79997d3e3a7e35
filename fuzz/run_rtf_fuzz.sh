#!/usr/bin/env bash
# Builds the RTF reader's fuzz target with clang (AddressSanitizer, UBSan) and runs it, seeded
# with the conformance corpus, the regressions and every document present.
#   fuzz/run_rtf_fuzz.sh [SECONDS] [extra libFuzzer options...]      (default 600 seconds)
# Findings (crash-*, timeout-*, oom-*) are written to build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DVELTRANO_FUZZ=ON -DVELTRANO_GUI=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j2 --target rtf_fuzz

seeds=build-fuzz/seeds
work=build-fuzz/fuzz-corpus
mkdir -p "$seeds" "$work" build-fuzz/findings
rm -f "$seeds"/*
cp documents/*.rtf "$seeds"/ 2>/dev/null || true
# One seed per corpus case: the lines between "## title" and "--".
awk -v dir="$seeds" '
    /^## / { file = sprintf("%s/case-%04d.rtf", dir, ++n); input = 1; next }
    input && $0 == "--" { input = 0; close(file); next }
    input { printf "%s\n", $0 > file }
' tests/rtf/corpus.txt tests/rtf/regressions.txt

# -timeout catches inputs that take far longer than their size warrants (a non-linear path).
exec nice -n 19 build-fuzz/fuzz/rtf_fuzz "$work" "$seeds" \
    -dict=fuzz/rtf.dict -max_len=262144 -timeout=10 -rss_limit_mb=2048 \
    -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix=build-fuzz/findings/ "$@"
