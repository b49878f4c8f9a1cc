#!/usr/bin/env bash
# Prend les captures d'écran (PNG) de la fenêtre « lintaro » et de chacun de
# ses dialogues sous un serveur X virtuel (Xvfb), pour le README :
# docs/captures/*.png. Installe ce qui manque (Debian 12, root), construit la
# fenêtre (preset release) si besoin.
#
# Usage : bash tools/captures.sh [CHEMIN_DE_LINTARO]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
racine="$PWD"
# shellcheck source=tools/commun.sh
source tools/commun.sh

titre "Dépendances"
installer_manquants cmake ninja-build g++ libgtest-dev libbenchmark-dev \
  "${PAQUETS_FENETRE[@]}" "${PAQUETS_CAPTURES[@]}" "${PAQUETS_CONSOLE[@]}"

lintaro="${1:+$(realpath "$1")}"
if [ -z "$lintaro" ]; then
  titre "Construction de la fenêtre (preset release)"
  cmake --preset release >/dev/null
  cmake --build --preset release --target lintaro
  lintaro="$racine/build/release/lintaro"
fi

sortie="$racine/docs/captures"
mkdir -p "$sortie"
# shellcheck source=tools/xvfb_commun.sh
source tools/xvfb_commun.sh
preparer_dossier lintaro-captures

# Aucun rapport ne s'ouvre pendant les captures : xdg-open note la cible et
# refuse tant que le fichier « refuser » existe.
mkdir -p "$dossier/bin" "$dossier/travail" "$dossier/config"
cat >"$dossier/bin/xdg-open" <<FAUX
#!/bin/sh
[ ! -e "$dossier/refuser" ]
FAUX
chmod +x "$dossier/bin/xdg-open"

titre "Captures sous Xvfb, avec Openbox"
demarrer_xvfb
demarrer_openbox
cd "$dossier/travail"
printf 'Begin Garde\nshort compte\nif ( compte == 1 )\n\tset compte to 2\nendif\nEnd\n' >garde.txt
printf 'Begin Porte\nif ( GetLocked == 0 )\n\tLock 50\nendif\nendif\nEnd\n' >porte.mwscript
# Les dossiers et fichiers récents se rangent dans le dossier de travail.
PATH="$dossier/bin:$PATH" XDG_CONFIG_HOME="$dossier/config" "$lintaro" \
  >"$dossier/lintaro.log" 2>&1 &
lintaro_pid=$!

attendre 20 fenetre '^Lintaro$'
principale="$(fenetre '^Lintaro$')"
capturer "$principale" fenetre

fermer() { # Échap sur le dialogue le cache
  xdotool windowactivate --sync "$1" 2>/dev/null || true
  xdotool key Escape
  sleep 0.3
}

# « Débuguer un fichier », son sélecteur de fichiers (« Parcourir... », filtré
# sur les scripts Morrowind) puis la vérification de porte.mwscript, qui
# entre dans les fichiers récents.
dialogue="$(ouvrir_article f 'Débuguer un fichier$')"
capturer "$dialogue" debuguer_un_fichier
xdotool key alt+p
attendre 10 fenetre '^Choisir un script$'
xdotool windowsize "$(fenetre '^Choisir un script$')" 760 440
sleep 2
capturer "$(fenetre '^Choisir un script$')" selecteur
xdotool key Escape
sleep 0.5
xdotool windowactivate --sync "$dialogue" 2>/dev/null || true
xdotool key ctrl+a
xdotool type --delay 5 "porte.mwscript"
xdotool key Return
sleep 1
fermer "$dialogue"

dialogue="$(ouvrir_article m 'Mettre en forme un fichier$')"
capturer "$dialogue" mettre_en_forme_un_fichier
fermer "$dialogue"
dialogue="$(ouvrir_article p 'Préférences$')"
capturer "$dialogue" preferences
fermer "$dialogue"
dialogue="$(ouvrir_article d 'Type de script$')"
capturer "$dialogue" dependances
fermer "$dialogue"

# Le menu « Fichiers... » déroulé, avec le fichier récent.
xdotool windowactivate --sync "$principale" 2>/dev/null || true
xdotool mousemove --window "$principale" 35 12 click 1
sleep 0.8
capturer "$principale" menu 460x300
xdotool key Escape

# « Débuguer un script » avec un script tapé (Tab y écrit une tabulation),
# puis « Charger... ».
dialogue="$(ouvrir_article s 'Débuguer un script$')"
xdotool mousemove --window "$dialogue" 200 120 click 1
for ligne in "Begin Garde" "short compte" "if ( compte == 1 )" "	set compte to 2" "endif" "endif" \
  "End"; do
  if [[ "$ligne" == $'\t'* ]]; then xdotool key Tab; fi
  xdotool type --delay 5 "${ligne#$'\t'}"
  xdotool key Return
done
capturer "$dialogue" debuguer_un_script
xdotool key ctrl+Tab Tab Tab Return
attendre 10 fenetre '^Charger...$'
charger="$(fenetre '^Charger...$')"
capturer "$charger" charger
fermer "$charger"

# OK : le script contient des erreurs, le rapport ne peut pas s'ouvrir ici.
touch "$dossier/refuser"
xdotool windowactivate --sync "$dialogue" 2>/dev/null || true
xdotool mousemove --window "$dialogue" 200 120 click 1
xdotool key ctrl+Tab Return
attendre 10 fenetre '^Débugueur$'
capturer "$(fenetre '^Débugueur$')" boite_de_message
xdotool key Return
sleep 0.5
fermer "$dialogue"

# La fenêtre principale et ses constatations, la première choisie.
xdotool windowactivate --sync "$principale" 2>/dev/null || true
xdotool mousemove --window "$principale" 100 92 click 1
capturer "$principale" fenetre_apres_verification

echo "Captures enregistrées dans docs/captures/."
