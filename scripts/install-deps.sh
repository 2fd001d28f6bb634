#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Idempotent:
# does nothing (and needs no network) when every package is present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libjpeg62-turbo-dev libpng-dev libstb-dev libx11-dev libpixman-1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool x11-utils python3 xfonts-base libxfixes-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "installing: ${missing[*]}" >&2
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
