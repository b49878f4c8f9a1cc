#!/usr/bin/env bash
# Vérifie que les dépendances entre dossiers ne vont que vers le bas :
# chaque dossier n'inclut que les dossiers listés pour lui ci-dessous.
# Sortie 1 (avec la liste des inclusions fautives) sinon.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# dossier : dossiers qu'il peut inclure (lui-même compris)
declare -A permis=(
  [core]="core"
  [expression]="core expression"
  [signatures]="core expression signatures"
  [special]="core expression signatures special"
  [analysis]="core expression analysis"
  [commands]="core expression signatures special analysis commands"
  [report]="core report"
  [formatter]="core analysis formatter"
  [run]="core expression signatures special analysis commands report run"
  [shell]="core report formatter run plugin shell"
  [lsp]="core expression commands formatter run lsp"
  [plugin]="core run plugin"
  [console]="core report formatter run plugin shell lsp console"
)

fautes=0
for dossier in "${!permis[@]}"; do
  [ -d "$dossier" ] || continue
  while IFS= read -r ligne; do
    fichier=${ligne%%:*}
    cible=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$ligne")
    if [[ " ${permis[$dossier]} " != *" $cible "* ]]; then
      echo "$fichier inclut $cible/ (permis : ${permis[$dossier]})"
      fautes=1
    fi
  done < <(grep -HE '^#include "[^/"]+/' "$dossier"/*.h "$dossier"/*.cpp 2>/dev/null || true)
done
[ "$fautes" -eq 0 ] && echo "Dépendances entre dossiers : toutes vers le bas."
exit "$fautes"
