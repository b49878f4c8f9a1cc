#!/usr/bin/env bash
# Prend la capture du dialogue « Débuguer un plugin » (docs/captures/plugin.png)
# sous Xvfb avec Openbox : un petit plugin écrit ici, ouvert par le menu
# « Fichiers... » et son sélecteur de fichiers.
#
# Usage : bash tools/capture_plugin.sh CHEMIN_DE_LINTARO
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
racine="$PWD"
lintaro="$(realpath "$1")"
sortie="$racine/docs/captures"
mkdir -p "$sortie"
# shellcheck source=tools/xvfb_commun.sh
source tools/xvfb_commun.sh
preparer_dossier lintaro-capture-plugin
mkdir -p "$dossier/travail" "$dossier/config"

python3 tools/plugin_exemple.py "$dossier/travail/Garde.esp"

demarrer_xvfb
demarrer_openbox
cd "$dossier/travail"
XDG_CONFIG_HOME="$dossier/config" "$lintaro" >"$dossier/lintaro.log" 2>&1 &
lintaro_pid=$!
attendre 60 fenetre '^Lintaro$'
principale="$(fenetre '^Lintaro$')"

# « Fichiers... », « Débuguer un p&lugin... » : le sélecteur de fichiers.
ouvrir_article l '^Choisir un plugin$' >/dev/null
sleep 1
xdotool type --delay 30 "$dossier/travail/Garde.esp"
sleep 0.5
xdotool key Return
attendre 20 fenetre 'Débuguer un plugin : Garde.esp'
dialogue="$(fenetre 'Débuguer un plugin : Garde.esp')"
sleep 1
xdotool mousemove 1270 790
sleep 0.5
# La fenêtre avec le cadre qu'Openbox met autour d'elle.
id="$dialogue"
while ligne="$(xwininfo -tree -id "$id" | grep 'Parent window id')" &&
  [[ "$ligne" != *"(the root window)"* ]]; do
  id="$(awk '{print $4}' <<<"$ligne")"
done
zone="$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
  /Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h "+" x "+" y}')"
import -window root -screen "$dossier/ecran.png"
convert "$dossier/ecran.png" -crop "$zone" +repage "$sortie/plugin.png"
echo "  docs/captures/plugin.png"
