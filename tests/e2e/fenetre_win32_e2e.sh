#!/usr/bin/env bash
# Test de bout en bout de la fenêtre Windows « lintaro.exe », sous Wine et Xvfb :
# « Débuguer un fichier » vérifie un script, le rapport s'ouvre dans le Bloc-notes
# de Wine, la ligne d'état et la liste des constatations suivent, choisir une
# constatation sélectionne sa ligne ; puis « Débuguer un plugin... » ouvre un
# plugin par le sélecteur de fichiers, ses lignes viennent triées erreurs
# d'abord, un clic sur « Nom » les trie par nom, « Enregistrer le rapport »
# écrit le rapport de scrutinette.exe, octet pour octet ; Alt+F4 ferme tout.
# xdotool perd des lettres accentuées sous Wine : on ne tape que de l'ASCII.
#
# Usage : fenetre_win32_e2e.sh CHEMIN_DE_LINTARO_EXE CHEMIN_DE_SCRUTINETTE_EXE
# Wine prend le préfixe de WINEPREFIX (sinon le sien). Code 77 (test ignoré)
# quand Xvfb, Openbox, xdotool, wine ou python3 manquent. Openbox décore les
# fenêtres : les positions des clics comptent depuis le haut de leur contenu.
set -euo pipefail

for outil in Xvfb openbox xdotool wine python3; do
  if ! command -v "$outil" >/dev/null 2>&1; then
    echo "$outil est absent : test de la fenêtre Windows ignoré."
    exit 77
  fi
done
lintaro="$(realpath "$1")"
scrutinette="$(realpath "$2")"
outils="$(dirname "${BASH_SOURCE[0]}")/../../tools"
export WINEDEBUG="${WINEDEBUG:--all}"

# shellcheck source=tools/xvfb_commun.sh
source "$outils/xvfb_commun.sh"
preparer_dossier lintaro-win32-e2e

echec() {
  echo "ÉCHEC : $*" >&2
  montrer_fenetre
  exit 1
}

# fermer TITRE : ferme par Alt+F4 la fenêtre TITRE (le Bloc-notes, une boîte).
fermer() {
  local id
  id="$(fenetre "$1")"
  [ -n "$id" ] || return 0
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id" || true
  xdotool key alt+F4
  attendre 10 sh -c "! xdotool search --onlyvisible --name '$1' | grep -q ." || true
}

mkdir -p "$dossier/travail" "$dossier/console"
printf 'Begin Essai\r\n\tendif\r\nEnd\r\n' >"$dossier/travail/Essai.txt"
python3 "$outils/plugin_exemple.py" "$dossier/travail/Garde.esp"
# Un chemin relatif : sous Windows, « /... » serait lu comme une option.
(cd "$dossier/console" && wine "$scrutinette" ../travail/Garde.esp >/dev/null 2>&1) || true
[ -s "$dossier/console/Correction de Garde.esp" ] || echec "scrutinette.exe n'écrit pas de rapport"

demarrer_xvfb || echec "Xvfb ne démarre pas"
demarrer_openbox || echec "Openbox ne démarre pas"

# Un préfixe Wine à la fenêtre, fait sous cet écran : le bureau de Wine
# (explorer.exe) d'un serveur gardé en marche par d'autres tests aurait été
# lancé sans écran, et les fenêtres n'y apparaîtraient pas.
export WINEPREFIX="$dossier/wine"
trap 'wineserver -k >/dev/null 2>&1 || true; nettoyer' EXIT
wineboot -i >/dev/null 2>&1 || echec "wineboot ne prépare pas le préfixe"

# Le dossier de travail est sur le disque Z: de Wine : les chemins Unix absolus
# y restent valables, celui de la trace comme les autres.
cd "$dossier/travail"
LINTARO_TRACE_ETAT="$dossier/etat.txt" wine "$lintaro" >"$dossier/lintaro.log" 2>&1 &
lintaro_pid=$!

etat_est() { [ "$(cat "$dossier/etat.txt" 2>/dev/null)" = "$1" ]; }

attendre 60 fenetre '^Lintaro$' || echec "la fenêtre « Lintaro » n'apparaît pas"
principale="$(fenetre '^Lintaro$')"
attendre 10 etat_est "Prêt au débuguage." || echec "ligne d'état initiale : $(cat "$dossier/etat.txt")"

# « Débuguer un fichier » (Alt+F, f) : le nom tapé, puis Entrée (OK).
ouvrir_article f 'Débuguer un fichier$' >/dev/null || echec "le dialogue « Débuguer un fichier » n'apparaît pas"
xdotool key ctrl+a
xdotool type --delay 10 "Essai.txt"
xdotool key Return
attendre 20 etat_est "Essai : 1 erreur, 0 alerte" || echec "ligne d'état : $(cat "$dossier/etat.txt")"
grep -qF "un 'endif' en trop" "Correction de Essai.txt" || echec "rapport : $(cat "Correction de Essai.txt")"
# Le rapport s'ouvre avec le programme que Windows associe aux .txt.
attendre 30 fenetre '^Correction de Essai.txt' || echec "le rapport ne s'ouvre pas"
fermer '^Correction de Essai.txt'
# Des erreurs : le dialogue reste ouvert.
[ -n "$(fenetre 'Débuguer un fichier$')" ] || echec "le dialogue s'est fermé malgré les erreurs"
xdotool windowactivate --sync "$(fenetre 'Débuguer un fichier$')" 2>/dev/null || true
xdotool key Escape
attendre 10 sh -c "! xdotool search --onlyvisible --name 'Débuguer un fichier\$' | grep -q ." ||
  echec "Échap ne cache pas le dialogue"

# La constatation dans la liste : la choisir sélectionne sa ligne dans le texte.
# La première ligne de la liste est à 77 pixels du haut de la fenêtre (menu,
# ligne d'état, en-tête) ; sous charge, on recommence.
for _ in 1 2 3 4 5; do
  xdotool mousemove --window "$principale" 100 77 click 1
  attendre 3 test -s "$dossier/etat.txt.selection" && break
done
[ "$(cat "$dossier/etat.txt.selection" 2>/dev/null)" = $'\tendif' ] ||
  echec "ligne sélectionnée : $(cat "$dossier/etat.txt.selection" 2>/dev/null)"

# « Débuguer un plugin... » (Alt+F, l) : le chemin Windows du plugin, sur Z:.
dialogue="$(ouvrir_plugin "Z:${dossier//\//\\}\\travail\\Garde.esp")" ||
  echec "le dialogue du plugin n'apparaît pas"
# Les lignes, leur tri par nom, puis « Enregistrer le rapport » : les octets
# de scrutinette.exe.
verifier_plugin "$dialogue" 68
attendre 10 fenetre '^Débuguer un plugin$' || echec "pas de boîte après l'enregistrement"
fermer '^Débuguer un plugin$'
cmp "$rapport" "$dossier/console/Correction de Garde.esp" || echec "le rapport diffère de celui de scrutinette.exe"

# Alt+F4 sur la fenêtre principale ferme le programme.
xdotool windowactivate --sync "$principale" 2>/dev/null || true
xdotool mousemove --window "$principale" 150 100 key alt+F4
attendre 20 sh -c "! kill -0 $lintaro_pid" || echec "Alt+F4 ne ferme pas lintaro.exe"
wait "$lintaro_pid" || echec "lintaro.exe se termine avec le code $?"
lintaro_pid=""
echo "Fenêtre Windows : fichier vérifié, rapport ouvert, ligne d'état, constatation choisie, plugin trié et enregistré, Alt+F4 vérifiés."
