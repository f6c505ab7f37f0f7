# Shared by the fuzzing scripts: the build, the targets, and each target's
# dictionary and largest input.
FUZZ_BUILD=${FUZZ_BUILD:-build-fuzz}
if [ ! -f "$FUZZ_BUILD/fuzz/targets.txt" ]; then
  echo "no fuzzing build in $FUZZ_BUILD: run 'make fuzz' first" >&2
  exit 2
fi
FUZZ_TARGETS=${FUZZ_TARGETS:-$(cat "$FUZZ_BUILD/fuzz/targets.txt")}

fuzz_dict() {
  case "$1" in
    dxf_reader) echo fuzz/dict/dxf.dict ;;
    force_drawing|reinforcement_drawing) echo fuzz/dict/numbers.dict ;;
    *) echo fuzz/dict/tvl.dict ;;
  esac
}

# Small inputs keep the corpora small and the whole run on small frames.
fuzz_max_len() {
  case "$1" in
    dxf_reader|force_drawing) echo 1024 ;;
    *) echo 512 ;;
  esac
}

# The sanitizer's allocator fills every new block and keeps 256 MB of freed
# blocks out of use; the targets allocate whole frames per input, so each
# input touched fresh pages and spent half its time in page faults. A small
# quarantine still catches a use of a block freed by the same input.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16:max_malloc_fill_size=0}
