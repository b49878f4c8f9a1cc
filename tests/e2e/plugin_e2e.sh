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

dialogue="$(ouvrir_plugin "$dossier/travail/Garde.esp")" || echec "le dialogue n'apparaît pas"
# Les lignes, leur tri par nom, puis « Enregistrer le rapport » : les octets
# de scrutinette.
verifier_plugin "$dialogue" 78
cmp "$rapport" "$dossier/console/Correction de Garde.esp" || echec "le rapport diffère de celui de scrutinette"
echo "Débuguer un plugin : lignes, tri, rapport enregistré : OK"
