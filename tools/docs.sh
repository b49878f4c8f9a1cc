#!/usr/bin/env bash
# Réécrit docs/diagnostics.md à partir du catalogue des diagnostics
# (core/diagnostics/*.def), avec le programme lintaro_catalogue_doc du preset
# release.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target lintaro_catalogue_doc >/dev/null
build/release/lintaro_catalogue_doc >docs/diagnostics.md
echo "docs/diagnostics.md réécrit."
