#!/usr/bin/env bash
# Runs every input of every checked-in corpus, and the inputs of mended
# findings in fuzz/regressions/<target>/, once through its fuzzing target
# (no mutation, so the same inputs every time). A reader that now crashes,
# leaks or breaks a rule of its target fails the replay. libFuzzer's own
# output goes to $FUZZ_BUILD/replay/<target>.log.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/fuzz_options.sh

mkdir -p "$FUZZ_BUILD/replay"
failed=0
start=$(date +%s)
for t in $FUZZ_TARGETS; do
  corpus=fuzz/corpus/$t
  log=$FUZZ_BUILD/replay/$t.log
  if [ ! -d "$corpus" ]; then
    echo "fuzz replay $t: no corpus in $corpus"
    failed=1
    continue
  fi
  # The inputs of mended findings too: a campaign's merge keeps only what
  # adds coverage, so they stand apart from the corpus.
  inputs=("$corpus")
  [ -d "fuzz/regressions/$t" ] && inputs+=("fuzz/regressions/$t")
  count=$(find "${inputs[@]}" -type f | wc -l)
  if "$FUZZ_BUILD/fuzz/fuzz_$t" -runs=0 -timeout=60 -artifact_prefix="$FUZZ_BUILD/replay/$t-" \
       "${inputs[@]}" >"$log" 2>&1; then
    echo "fuzz replay $t: $count inputs ok"
  else
    echo "fuzz replay $t: FAILED on its corpus, see $log"
    grep -E "rule broken|ERROR|SUMMARY|Test unit written" "$log" | head -5 || true
    failed=1
  fi
done
echo "fuzz replay: $(( $(date +%s) - start )) s"
exit $failed
