#!/usr/bin/env bash
# Test de bout en bout de « Débuguer un plugin... », sous Xvfb : ouvre un plugin
# par le menu et son sélecteur, lit les lignes de la liste dans la trace
# (LINTARO_TRACE_ETAT, fichier « .plugin »), les trie par un clic sur l'en-tête
# « Nom », enregistre le rapport et le compare à celui de scrutinette.
#
# Usage : plugin_e2e.sh CHEMIN_DE_LINTARO CHEMIN_DE_SCRUTINETTE
# Code 77 (test ignoré) quand Xvfb, xdotool ou python3 manquent.
set -euo pipefail

for outil in Xvfb xdotool python3; do
  if ! command -v "$outil" >/dev/null 2>&1; then
    echo "$outil est absent : test ignoré."
    exit 77
  fi
done
lintaro="$(realpath "$1")"
scrutinette="$(realpath "$2")"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
outils="$(dirname "${BASH_SOURCE[0]}")/../../tools"

# shellcheck source=tools/xvfb_commun.sh
source "$outils/xvfb_commun.sh"
preparer_dossier lintaro-plugin-e2e

echec() {
  echo "ÉCHEC : $*" >&2
  cat "$dossier/etat.txt.plugin" >&2 2>/dev/null || true
  exit 1
}

mkdir -p "$dossier/travail" "$dossier/console" "$dossier/config"
python3 "$outils/plugin_exemple.py" "$dossier/travail/Garde.esp"
(cd "$dossier/console" && "$scrutinette" "$dossier/travail/Garde.esp" >/dev/null) || true
[ -s "$dossier/console/Correction de Garde.esp" ] || echec "scrutinette n'écrit pas de rapport"

demarrer_xvfb || echec "Xvfb ne démarre pas"
demarrer_openbox || echec "Openbox ne démarre pas"
cd "$dossier/travail"
LINTARO_TRACE_ETAT="$dossier/etat.txt" XDG_CONFIG_HOME="$dossier/config" "$lintaro" \
  >"$dossier/lintaro.log" 2>&1 &
lintaro_pid=$!
attendre 60 fenetre '^Lintaro$' || echec "la fenêtre « Lintaro » n'apparaît pas"
principale="$(fenetre '^Lintaro$')"

ouvrir_article l '^Choisir un plugin$' >/dev/null || echec "le sélecteur n'apparaît pas"
sleep 1
xdotool type --delay 30 "$dossier/travail/Garde.esp"
sleep 0.5
xdotool key Return
attendre 30 fenetre 'Débuguer un plugin : Garde.esp' || echec "le dialogue n'apparaît pas"
dialogue="$(fenetre 'Débuguer un plugin : Garde.esp')"

# lignes : les lignes de la liste, dans l'ordre affiché (nom, type, erreurs, alertes).
lignes() { sed '/^--$/,$d' "$dossier/etat.txt.plugin" 2>/dev/null; }
lignes_sont() { [ "$(lignes)" = "$(printf '%b' "$1")" ]; }

# Ceux avec erreurs d'abord, à égalité dans l'ordre du plugin ; GetPCJumping
# est permis par le maître Tribunal.esm.
attendre 10 lignes_sont 'GardePorte\tscript\t1\t0\ndialogue "Garde" / info 1204\trésultat\t1\t0\nGardeSaut\tscript\t0\t0\nGardeRonde\tscript\t0\t1' ||
  echec "lignes au départ"
# Le rapport du script choisi (le premier).
grep -q "un 'endif' en trop" "$dossier/etat.txt.plugin" || echec "rapport de GardePorte"

# Un clic sur l'en-tête « Nom » trie par nom ; sous charge, on réessaie.
for essai in 1 2 3 4 5; do
  xdotool mousemove --window "$dialogue" 40 78 click 1
  attendre 3 lignes_sont 'GardePorte\tscript\t1\t0\nGardeRonde\tscript\t0\t1\nGardeSaut\tscript\t0\t0\ndialogue "Garde" / info 1204\trésultat\t1\t0' && break
  [ "$essai" -lt 5 ] || echec "tri par nom"
done

# « Enregistrer le rapport » (Alt+E) : les octets de scrutinette.
rapport="$dossier/travail/Correction de Garde.esp"
for essai in 1 2 3 4 5; do
  xdotool windowactivate --sync "$dialogue" 2>/dev/null || true
  xdotool key alt+e
  attendre 4 test -s "$rapport" && break
  [ "$essai" -lt 5 ] || echec "le rapport n'est pas enregistré"
done
cmp "$rapport" "$dossier/console/Correction de Garde.esp" || echec "le rapport diffère de celui de scrutinette"
echo "Débuguer un plugin : lignes, tri, rapport enregistré : OK"
