#!/usr/bin/env bash
# The particle library and the host build without any window-system header:
# only src/platform/sdl and src/platform/x11 may include SDL or X11.
set -euo pipefail
src=$1
found=$(grep -rnE '#\s*include\s*[<"](SDL|X11/)' \
  "$src"/host "$src"/framebuffer "$src"/math "$src"/controllers "$src"/particles \
  "$src"/render "$src"/scene "$src"/platform/headless "$src"/platform/*.h 2>/dev/null || true)
if [[ -n $found ]]; then
  echo "window-system headers outside the platform backends:"
  echo "$found"
  exit 1
fi
echo "layering ok"
