#!/usr/bin/env bash
# Installs what is missing, builds and starts the editor. Arguments are
# passed to pixoran3 (an image file to open).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh --target pixoran3 pixoran3-editor
exec ./build/pixoran3 "$@"
