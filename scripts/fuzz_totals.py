#!/usr/bin/env python3
"""Executions of every fuzzing target over all campaigns in fuzz/campaigns.md,
with the coverage and corpus size of its latest campaign and the share of the
goal of 10 million executions each."""
import re
import sys
from pathlib import Path

GOAL = 10_000_000
ROW = re.compile(r"^\| (\d{4}-\d\d-\d\d \d\d:\d\d) \| (\w+) \| (\d+) \| (\d+) \| (\d+) \| (\d+) \| (\d+) \| (.*) \|$")


def totals(log: Path):
    seen = {}
    for line in log.read_text(encoding="utf-8").splitlines():
        m = ROW.match(line)
        if not m:
            continue
        when, target, seconds, execs, cov, ft, corpus, _ = m.groups()
        t = seen.setdefault(target, {"seconds": 0, "execs": 0})
        t["seconds"] += int(seconds)
        t["execs"] += int(execs)
        t.update(last=when, cov=int(cov), ft=int(ft), corpus=int(corpus))
    return seen


def main() -> int:
    log = Path(sys.argv[1] if len(sys.argv) > 1 else "fuzz/campaigns.md")
    rows = totals(log)
    print("| target | seconds | executions | of 10 M | cov | ft | corpus |")
    print("| --- | ---: | ---: | ---: | ---: | ---: | ---: |")
    for target, t in sorted(rows.items(), key=lambda kv: -kv[1]["execs"]):
        print(f"| {target} | {t['seconds']} | {t['execs']:,} | {100 * t['execs'] / GOAL:.0f} % "
              f"| {t['cov']} | {t['ft']} | {t['corpus']} |")
    return 0


if __name__ == "__main__":
    sys.exit(main())
