#!/usr/bin/env bash
# Sets up, builds (Release) and runs the main job on the bundled example project.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=Release
"$root/build/cli/skenbrus-cli" calc "$root/examples/stationsvagen.sdb"
