#!/usr/bin/env bash
# Neovim's built-in LSP client (headless) against `scrutinette --lsp`: the
# diagnostics it receives for scripts/essai.mwscript must be neovim.attendu.
# Skipped (77) when Neovim is not installed; needs vim.lsp.start_client
# (Neovim 0.5 or later).
set -euo pipefail
programme=$1
ici="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
if ! command -v nvim >/dev/null 2>&1; then
  echo "nvim absent : test sauté (apt-get install neovim)."
  exit 77
fi
temporaire="$(mktemp -d)"
trap 'rm -rf "$temporaire"' EXIT
cd "$temporaire"
LINTARO_SCRUTINETTE="$programme" LINTARO_SORTIE="$temporaire/diagnostics" \
  LINTARO_SCRIPT="$ici/scripts/essai.mwscript" \
  timeout 60 nvim --headless -u NONE -i NONE -n -c "luafile $ici/neovim.lua" </dev/null
diff -u "$ici/neovim.attendu" "$temporaire/diagnostics"
echo "Neovim $(nvim --version | head -n 1) : diagnostics conformes."
