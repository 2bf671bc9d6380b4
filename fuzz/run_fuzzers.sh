#!/usr/bin/env bash
# Runs every fuzz target for a set time: run_fuzzers.sh BUILD_DIR SECONDS
# A crash, a leak, an input that takes over a second, or any sanitizer report fails the run.
set -euo pipefail
build="$(cd "$1" && pwd)/fuzz"
seconds="$2"
source_dir="$(cd "$(dirname "$0")" && pwd)"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

status=0
for target in program_file_fuzzer gif_logo_fuzzer reply_reader_fuzzer device_model_fuzzer \
    load_job_fuzzer settings_file_fuzzer; do
    # The corpus grows across runs in the build tree; the seeds stay as they are.
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target/"
    mkdir -p "$corpus" "$artifacts"
    echo "== $target for $seconds s"
    if ! "$build/$target" "$corpus" "$build/seeds/$target" \
        -dict="$source_dir/$target.dict" -max_total_time="$seconds" -timeout=1 \
        -rss_limit_mb=2048 -max_len=4096 -detect_leaks=1 -print_final_stats=1 \
        -artifact_prefix="$artifacts" 2>"$build/$target.log"; then
        tail -n 60 "$build/$target.log"
        echo "== $target FAILED; the input is in $artifacts"
        status=1
    fi
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$build/$target.log" || true
done
exit $status
