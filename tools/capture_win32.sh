#!/usr/bin/env bash
# Prend la capture de la fenêtre Windows « lintaro.exe » sous Wine, Xvfb et
# Openbox (docs/captures/fenetre-windows.png) : un script vérifié par
# « Débuguer un fichier », ses constatations, la première choisie.
#
# Usage : bash tools/capture_win32.sh CHEMIN_DE_LINTARO_EXE
# Wine prend le préfixe de WINEPREFIX (sinon le sien).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
racine="$PWD"
lintaro="$(realpath "$1")"
sortie="$racine/docs/captures"
mkdir -p "$sortie"
export WINEDEBUG="${WINEDEBUG:--all}"
# shellcheck source=tools/xvfb_commun.sh
source tools/xvfb_commun.sh
preparer_dossier lintaro-capture-win32
mkdir -p "$dossier/travail"
cd "$dossier/travail"
# Le rapport ne s'ouvre pas (première préférence à 0) : une boîte le dit.
printf '\0\0\0\0\1\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0' >Scrivlex3.dat
printf 'Begin GardePorte\r\nshort compte\r\nif ( compte == 1 )\r\n\tset compte to 2\t; ouvre\r\nendif\r\nendif\r\nset porte to 1\r\nEnd\r\n' \
  >GardePorte.txt

demarrer_xvfb
demarrer_openbox
wine "$lintaro" >"$dossier/lintaro.log" 2>&1 &
lintaro_pid=$!
attendre 60 fenetre '^Lintaro$'
principale="$(fenetre '^Lintaro$')"
xdotool windowsize "$principale" 640 480

ouvrir_article f 'Débuguer un fichier$' >/dev/null
xdotool key ctrl+a
xdotool type --delay 10 "GardePorte.txt"
xdotool key Return
attendre 20 fenetre '^Débugueur$'
xdotool key Return
sleep 0.5
xdotool windowactivate --sync "$(fenetre 'Débuguer un fichier$')" 2>/dev/null || true
xdotool key Escape
xdotool mousemove --window "$principale" 100 77 click 1
capturer "$principale" fenetre-windows
