#!/usr/bin/env bash
# Builds bridge_large_message.cc against the adapters of a build folder and
# runs it on a private display:
#   bench/bridge_large_message.sh [BUILD_DIR] [benchmark options...]
# It is not a *.cpp: the benchmarks CMake builds link only the system's code.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${1:-$root/build}
shift || true
cmake --build "$build" --target tolvane_gtk -j2 >/dev/null
out="$build/bridge_large_message"
# shellcheck disable=SC2046
c++ -std=c++20 -O2 -g -I"$root" "$here/bridge_large_message.cc" -o "$out" \
  "$build/libtolvane_gtk.a" "$build/libtolvane_uri.a" "$build/libtolvane_bundle.a" "$build/libtolvane_ui.a" \
  $(pkg-config --cflags --libs gtk4 webkitgtk-6.0 pugixml libcurl benchmark) -lpthread
exec "$root/tests/integration/with-display" "$out" "$@"
