#!/usr/bin/env bash
# Bout en bout : « scrutinette --sortie json -j 2 DOSSIER » sur un dossier de
# scripts (par défaut ../shared/corpus, hors du dépôt), mesuré par hyperfine ;
# puis le même dossier recopié quatre fois, pour voir que le coût suit le
# nombre de lignes.
#   bash bench/corpus_bench.sh [DOSSIER] [SCRUTINETTE]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
dossier=$(readlink -f "${1:-../shared/corpus}")
programme=$(readlink -f "${2:-build/release/scrutinette}")
command -v hyperfine >/dev/null || apt-get install -y --no-install-recommends hyperfine >/dev/null
temporaire=$(mktemp -d)
trap 'rm -rf "$temporaire"' EXIT
for i in 1 2 3 4; do cp -R "$dossier" "$temporaire/copie$i"; done
scripts=$(find "$dossier" -iname '*.mwscript' -o -iname '*.txt' | wc -l)
lignes=$(find "$dossier" \( -iname '*.mwscript' -o -iname '*.txt' \) -exec cat {} + | wc -l)
echo "$scripts scripts, $lignes lignes ; puis 4 fois plus"
cd "$temporaire"
hyperfine -i --warmup 3 --runs 30 -N --export-markdown resultats.md \
  -n "x1" "$programme --sortie json -j 2 $dossier" \
  -n "x4" "$programme --sortie json -j 2 $temporaire" 2>&1 | grep -v '^ *$' || true
cat resultats.md
