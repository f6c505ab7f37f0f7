#!/usr/bin/env python3
"""Whole-process benchmark of tarvel-cli, run by `make bench`.

    bench/whole_process.py BUILD_DIR [--runs N]

Measures, each as whole processes started afresh:
  run FRAME5X10.TVL            5 bays x 10 storeys, 60 masses, 3 modes
  run LARGEST.TVL              12 bays x 8 storeys, 200 members
  run ... --json               the same with the JSON summary
  --help                       beside tarvel-hello, a C++ hello world built
                               with the same compiler, flags and linking
and prints per command: CPU time (user + system, `perf stat` task-clock,
mean and median of N runs), instructions executed (`valgrind --tool=callgrind`, one
run), page faults, fsync and fdatasync calls (`strace -c`), peak resident
memory (`/usr/bin/time`), and the wall-clock median (`hyperfine`).
Wall times move with the load of the machine and CPU times with it; the
instruction count does not, and is the figure to compare between builds. The frames come from bench/frames (written by
bench/make_frames.py) and are analysed in a scratch folder of BUILD_DIR.
"""

import argparse
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
TIME_STAMP = "2026 - 12 - 08   10:00:00"


def need(program):
    if shutil.which(program) is None:
        sys.exit(f"whole_process.py: '{program}' is missing (scripts/setup.sh installs it)")


def perf_stat(command, runs, cwd):
    """Mean and median task-clock (ms) and the median page faults of `runs`
    runs, each counted on its own. The two differ where a share of the runs
    pays for memory the host must first bring back (see the README)."""
    clocks, faults = [], []
    for _ in range(runs):
        result = subprocess.run(
            ["perf", "stat", "-x", ",", "-e", "task-clock,page-faults", "--"] + command,
            cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, check=True)
        values = {}
        for line in result.stderr.splitlines():
            fields = line.split(",")
            if len(fields) >= 3 and fields[2] in ("task-clock", "page-faults"):
                values[fields[2]] = float(fields[0])
        clocks.append(values["task-clock"])
        faults.append(values["page-faults"])
    return statistics.mean(clocks), statistics.median(clocks), statistics.median(faults)


def fsync_count(command, cwd):
    result = subprocess.run(
        ["strace", "-f", "-c", "-e", "trace=fsync,fdatasync"] + command,
        cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, check=True)
    count = 0
    for line in result.stderr.splitlines():
        m = re.match(r"\s*[\d.]+\s+[\d.]+\s+\d+\s+(\d+)\s+(?:\d+\s+)?(fsync|fdatasync)\s*$", line)
        if m:
            count += int(m.group(1))
    return count


def instructions(command, cwd):
    """Instructions of one run, user space, the dynamic loader included."""
    result = subprocess.run(
        ["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null"] + command,
        cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, check=True)
    m = re.search(r"Collected : (\d+)", result.stderr)
    return int(m.group(1)) if m else 0


def peak_rss_kb(command, cwd):
    result = subprocess.run(
        ["/usr/bin/time", "-f", "%M"] + command,
        cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, check=True)
    return int(result.stderr.strip().splitlines()[-1])


def wall_median_ms(command, runs, cwd, scratch):
    export = os.path.join(scratch, "hyperfine.json")
    subprocess.run(
        ["hyperfine", "-N", "--style", "none", "--warmup", "3", "--runs", str(runs),
         "--export-json", export, " ".join(quote(c) for c in command)],
        cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    with open(export, encoding="utf-8") as f:
        return json.load(f)["results"][0]["median"] * 1000.0


def quote(argument):
    return "'" + argument + "'" if re.search(r"\s", argument) else argument


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build")
    parser.add_argument("--runs", type=int, default=31)
    args = parser.parse_args()
    for program in ("perf", "strace", "hyperfine", "/usr/bin/time", "valgrind"):
        need(program)

    build = os.path.abspath(args.build)
    cli = os.path.join(build, "src", "cli", "tarvel-cli")
    hello = os.path.join(build, "bench", "tarvel-hello")
    for program in (cli, hello):
        if not os.access(program, os.X_OK):
            sys.exit(f"whole_process.py: '{program}' is not built")

    scratch = tempfile.mkdtemp(prefix="whole-process-", dir=build)
    try:
        for name in ("FRAME5X10.TVL", "LARGEST.TVL"):
            shutil.copy(os.path.join(HERE, "frames", name), scratch)
        run = [cli, "run", "--timestamp", TIME_STAMP]
        cases = [
            ("run FRAME5X10.TVL", run + ["FRAME5X10.TVL"]),
            ("run FRAME5X10.TVL --json", run + ["FRAME5X10.TVL", "--json", "FRAME5X10.json"]),
            ("run LARGEST.TVL", run + ["LARGEST.TVL"]),
            ("run LARGEST.TVL --json", run + ["LARGEST.TVL", "--json", "LARGEST.json"]),
            ("tarvel-cli --help", [cli, "--help"]),
            ("hello world", [hello]),
        ]
        rows = {}
        print(f"{'command':<24} {'CPU ms':>8} {'median':>7} {'instr. M':>9} {'faults':>7} {'fsync':>6} {'peak RSS MB':>12} "
              f"{'wall median ms':>15}")
        for label, command in cases:
            cpu, cpu_median, faults = perf_stat(command, args.runs, scratch)
            counted = instructions(command, scratch) / 1e6
            syncs = fsync_count(command, scratch)
            rss = peak_rss_kb(command, scratch) / 1024.0
            wall = wall_median_ms(command, args.runs, scratch, scratch)
            rows[label] = (cpu_median, counted)
            print(f"{label:<24} {cpu:8.2f} {cpu_median:7.2f} {counted:9.2f} {faults:7.0f} {syncs:6d} {rss:12.2f} {wall:15.2f}",
                  flush=True)
        json_cpu = rows["run LARGEST.TVL --json"][0] - rows["run LARGEST.TVL"][0]
        json_instructions = rows["run LARGEST.TVL --json"][1] - rows["run LARGEST.TVL"][1]
        help_cpu = rows["tarvel-cli --help"][0] - rows["hello world"][0]
        print(f"\n--json adds {json_cpu:.2f} ms CPU ({json_instructions:.2f} M instructions); "
              f"--help is {help_cpu:+.2f} ms CPU from hello world (medians)")
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
