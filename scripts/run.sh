#!/usr/bin/env bash
# Installs what is missing, builds the program and starts the animation.
# Arguments are passed on ("/c" for the help box, "/p ID" for a preview).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
mkdir -p build
./scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
exec build/release/src/lumivortex "$@"
