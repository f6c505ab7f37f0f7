#!/usr/bin/env bash
# A fuzzing campaign: each target runs FUZZ_SECONDS seconds in one process
# (one core), starting from its checked-in corpus. Afterwards the corpus and
# the new inputs are merged and minimised back into fuzz/corpus/<target>, and
# one line per target is appended to fuzz/campaigns.md: date, target,
# seconds, executions, coverage (cov, ft), corpus size and findings. An input
# that crashes or breaks a rule is kept in fuzz/findings/<target>/ and ends
# that target's run; it is to become a regression test in tests/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/fuzz_options.sh
SECONDS_EACH=${FUZZ_SECONDS:-60}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
log_file=fuzz/campaigns.md
if [ ! -f "$log_file" ]; then
  {
    echo "# Fuzzing campaigns"
    echo
    echo "One line per target and campaign, appended by scripts/fuzz_campaign.sh."
    echo
    echo "| date (UTC) | target | seconds | executions | cov | ft | corpus | findings |"
    echo "| --- | --- | ---: | ---: | ---: | ---: | ---: | --- |"
  } >"$log_file"
fi

for t in $FUZZ_TARGETS; do
  exe=$FUZZ_BUILD/fuzz/fuzz_$t
  corpus=fuzz/corpus/$t
  new=$work/$t-new
  mkdir -p "$corpus" "$new" "$work/$t-artifacts"
  log=$work/$t.log
  echo "fuzz campaign $t: $SECONDS_EACH s"
  status=0
  started=$(date +%s)
  "$exe" "$new" "$corpus" -max_total_time="$SECONDS_EACH" -max_len="$(fuzz_max_len "$t")" \
    -dict="$(fuzz_dict "$t")" -timeout=25 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/$t-artifacts/" >"$log" 2>&1 || status=$?

  elapsed=$(($(date +%s) - started))  # shorter than the budget when a finding ends the run
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  stats=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$stats")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$stats")

  findings=none
  if [ "$status" -ne 0 ] || [ -n "$(ls -A "$work/$t-artifacts")" ]; then
    mkdir -p "fuzz/findings/$t"
    cp "$work/$t-artifacts/"* "fuzz/findings/$t/" 2>/dev/null || true
    cp "$log" "fuzz/findings/$t/$(date -u +%Y%m%dT%H%M%S).log"
    findings=$(ls "$work/$t-artifacts" | tr '\n' ' ' | sed 's/ $//')
    [ -n "$findings" ] || findings="exit $status"
    grep -E "rule broken|ERROR: |SUMMARY" "$log" | head -3 || true
  fi

  # The corpus again from scratch: every old and new input that adds coverage.
  merged=$work/$t-merged
  mkdir -p "$merged"
  if "$exe" -merge=1 -max_len="$(fuzz_max_len "$t")" -timeout=25 "$merged" "$corpus" "$new" \
       >"$work/$t-merge.log" 2>&1; then
    rm -rf "$corpus"
    mkdir -p "$corpus"
    cp "$merged"/* "$corpus"/ 2>/dev/null || true
  else
    echo "fuzz campaign $t: merge failed, corpus left as it was"
  fi
  size=$(find "$corpus" -type f | wc -l)
  echo "| $(date -u '+%Y-%m-%d %H:%M') | $t | $elapsed | ${execs:-?} | ${cov:-?} | ${ft:-?} | $size | $findings |" \
    >>"$log_file"
  echo "fuzz campaign $t: ${execs:-?} executions, cov ${cov:-?}, ft ${ft:-?}, corpus $size, findings: $findings"
done
