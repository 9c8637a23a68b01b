#!/usr/bin/env bash
# Builds Lunawa (installing the Debian packages it needs), creates the demo
# store on first run and starts the desktop program. Arguments go to lunawa.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"


source scripts/install_missing.sh
install_missing "${build_packages[@]}"

# ccache hits across checkouts in other folders; the sloppiness is what lets
# ccache cache translation units built with precompiled headers at all.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --target lunawa lunawactl

bin=build/bin
store="$bin/Baza"
if [[ ! -e $store/lunawa.db ]]; then
  echo "Creating the demo store in $store"
  mkdir -p "$store"
  # A kindergarten with children, fees and attendance up to yesterday, so
  # that there is something to look at from the first start.
  if ! "$bin/lunawactl" demo "$store"; then
    # A half-made store would be taken as done on the next run.
    rm -f "$store/lunawa.db" "$store/lunawa.db-wal" "$store/lunawa.db-shm"
    echo "Creating the store failed." >&2
    exit 1
  fi
fi

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
  cat >&2 <<'EOF'
No display is available (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are not set).
To run the program on a virtual X server:  xvfb-run -a ./run.sh

Brak ekranu (nie ustawiono DISPLAY, WAYLAND_DISPLAY ani QT_QPA_PLATFORM).
Aby uruchomić program na wirtualnym serwerze X:  xvfb-run -a ./run.sh
EOF
  exit 1
fi

exec "$bin/lunawa" "$@"
