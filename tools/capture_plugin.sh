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
dialogue="$(ouvrir_plugin "$dossier/travail/Garde.esp")"
sleep 1
capturer "$dialogue" plugin
