#!/usr/bin/env bash
# run-fuzzer.sh FUZZER SEED_DIR SECONDS
# Runs one fuzzer for a bounded time over a scratch copy of its seed corpus, so the checked-in
# seeds never change. Exits non-zero when the fuzzer finds a crash or a sanitizer report, and then
# keeps the scratch folder, with the input, and prints where it is; otherwise it removes it.
set -euo pipefail
fuzzer=$1 seeds=$2 seconds=${3:-4}
# Absolute, since the run happens inside the scratch folder.
fuzzer=$(realpath "$fuzzer") seeds=$(realpath -m "$seeds")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus"
[ -d "$seeds" ] && cp -r "$seeds"/. "$work/corpus/" 2>/dev/null || true
# A fuzzer may need other flags (a larger -max_len, say): they stand in SEED_DIR.args.
extra=()
[ -f "$seeds.args" ] && read -r -a extra < "$seeds.args"
cd "$work"
status=0
"$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/" \
    -max_len=4096 "${extra[@]}" "$work/corpus" || status=$?
if [ "$status" -ne 0 ]; then
    # The crashing input lies beside the grown corpus: both stay for a look.
    trap - EXIT
    echo "run-fuzzer: $(basename "$fuzzer") failed (exit $status); its input is kept in $work" >&2
fi
exit "$status"
