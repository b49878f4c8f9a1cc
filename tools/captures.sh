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

capturer() { # capturer FENÊTRE NOM
  sleep 0.6
  import -window "$1" "$sortie/$2.png"
  echo "  docs/captures/$2.png"
}

# Aucun rapport ne s'ouvre pendant les captures : xdg-open refuse tout.
mkdir -p "$dossier/bin" "$dossier/travail"
printf '#!/bin/sh\nexit 1\n' >"$dossier/bin/xdg-open"
chmod +x "$dossier/bin/xdg-open"

titre "Captures sous Xvfb"
demarrer_xvfb
cd "$dossier/travail"
printf 'Begin Garde\nshort compte\nif ( compte == 1 )\nset compte to 2\nendif\nEnd\n' >garde.txt
PATH="$dossier/bin:$PATH" "$lintaro" >"$dossier/lintaro.log" 2>&1 &
lintaro_pid=$!

attendre 20 fenetre '^Lintaro$'
principale="$(fenetre '^Lintaro$')"
capturer "$principale" fenetre

# Le menu « Fichiers... » déroulé.
xdotool mousemove --window "$principale" 35 12 click 1
sleep 0.6
import -window root -crop 300x210+0+0 +repage "$sortie/menu.png"
echo "  docs/captures/menu.png"
xdotool key Escape

# ouvrir_article N TITRE : N-ième article du menu « Fichiers... ».
ouvrir_article() {
  xdotool mousemove --window "$principale" 35 12 click 1
  sleep 0.5
  local i
  for ((i = 0; i < $1; i++)); do xdotool key Down; done
  xdotool key Return
  attendre 10 fenetre "$2"
  fenetre "$2"
}
fermer() { # Échap sur le dialogue le cache
  xdotool mousemove --window "$1" 20 10
  xdotool key Escape
  sleep 0.3
}

dialogue="$(ouvrir_article 2 'Débuguer un fichier$')"
capturer "$dialogue" debuguer_un_fichier
fermer "$dialogue"
dialogue="$(ouvrir_article 3 'Mettre en forme un fichier$')"
capturer "$dialogue" mettre_en_forme_un_fichier
fermer "$dialogue"
dialogue="$(ouvrir_article 4 'Préférences$')"
capturer "$dialogue" preferences
fermer "$dialogue"
dialogue="$(ouvrir_article 5 'Type de script$')"
capturer "$dialogue" dependances
fermer "$dialogue"

# « Débuguer un script » avec un script tapé (sans tabulation : la touche Tab
# passe au contrôle suivant), puis « Charger... ».
dialogue="$(ouvrir_article 1 'Débuguer un script$')"
xdotool mousemove --window "$dialogue" 200 120 click 1
for ligne in "Begin Garde" "short compte" "if ( compte == 1 )" "set compte to 2" "endif" "endif" \
  "End"; do
  xdotool type --delay 5 "$ligne"
  xdotool key Return
done
capturer "$dialogue" debuguer_un_script
xdotool key ctrl+Tab Tab Tab Return
attendre 10 fenetre '^Charger...$'
charger="$(fenetre '^Charger...$')"
capturer "$charger" charger
fermer "$charger"

# OK : le script contient des erreurs, le rapport ne peut pas s'ouvrir ici.
xdotool mousemove --window "$dialogue" 200 120 click 1
xdotool key ctrl+Tab Return
attendre 10 fenetre '^Débugueur$'
capturer "$(fenetre '^Débugueur$')" boite_de_message
xdotool key Return
sleep 0.5
fermer "$dialogue"
capturer "$principale" fenetre_apres_verification

echo "Captures enregistrées dans docs/captures/."
