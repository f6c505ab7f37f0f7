#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, when missing.
# As root through apt-get, otherwise through sudo.
set -euo pipefail

packages=(
  build-essential cmake make pkg-config
  googletest libgtest-dev libbenchmark-dev
  libsqlite3-dev sqlite3
  python3 python3-ezdxf
  # the fuzzing build: clang with libFuzzer and its sanitizer runtimes
  clang-14 libclang-rt-14-dev
  # the desktop program and its pictures: Qt Widgets, Sql, Svg; Chinese text in WenQuanYi
  qt6-base-dev libqt6sql6-sqlite qt6-svg-dev fonts-wqy-microhei xvfb hyperfine
  # the Debian package: dpkg-shlibdeps finds its dependencies, CPack reads file types with file
  dpkg-dev file
  # the whole-process benchmark of make bench: CPU time, system calls, peak memory,
  # instructions (callgrind counts them where the virtual machine hides the counters)
  linux-perf strace time valgrind
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  SUDO=()
else
  SUDO=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -q
"${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
