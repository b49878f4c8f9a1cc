#!/usr/bin/env bash
# Refait les icônes de Lintaro à partir de data/lintaro.svg : les PNG en 16,
# 32, 48 et 256 pixels (data/lintaro-TAILLE.png) et l'icône Windows
# data/lintaro.ico qui les réunit (la 256 y reste en PNG, comme le veut
# Windows). Les fichiers produits sont suivis par git : ce script ne sert
# qu'après une retouche du SVG, et n'est pas appelé par la CI.
# Outils : rsvg-convert (paquet librsvg2-bin) et icotool (paquet icoutils).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

for outil in rsvg-convert icotool; do
  if ! command -v "$outil" >/dev/null 2>&1; then
    echo "icones.sh : $outil manque (apt-get install librsvg2-bin icoutils)" >&2
    exit 1
  fi
done

tailles=(16 32 48 256)
for t in "${tailles[@]}"; do
  rsvg-convert --width "$t" --height "$t" data/lintaro.svg -o "data/lintaro-$t.png"
done
icotool --create --output data/lintaro.ico \
  data/lintaro-16.png data/lintaro-32.png data/lintaro-48.png \
  --raw=data/lintaro-256.png
echo "Icônes refaites dans data/ : ${tailles[*]} px et lintaro.ico."
