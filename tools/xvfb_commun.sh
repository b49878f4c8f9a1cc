# shellcheck shell=bash
# Ce que partagent les tests de bout en bout des fenêtres et les captures :
# un dossier de travail effacé à la sortie avec les processus lancés, l'attente
# d'une condition, la recherche d'une fenêtre par son titre, le démarrage de
# Xvfb et celui d'un gestionnaire de fenêtres, les captures, le dialogue d'un
# plugin (à sourcer ; définit `dossier`, `prefixe`, `xvfb_pid`, `wm_pid`,
# `lintaro_pid`, `DISPLAY`).

# preparer_dossier PRÉFIXE : crée le dossier de travail et son nettoyage.
preparer_dossier() {
  prefixe="$1"
  dossier="$(mktemp -d "${TMPDIR:-/tmp}/$1-XXXXXX")"
  xvfb_pid=""
  wm_pid=""
  lintaro_pid=""
  trap nettoyer EXIT
}

nettoyer() {
  if [ -n "$lintaro_pid" ]; then kill "$lintaro_pid" 2>/dev/null || true; fi
  if [ -n "$wm_pid" ]; then kill "$wm_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$dossier"
}

# attendre SECONDES COMMANDE... : réessaie la commande jusqu'à ce qu'elle réussisse.
attendre() {
  local limite=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    if [ "$SECONDS" -ge "$limite" ]; then
      echo "Délai dépassé : $*" >&2
      return 1
    fi
    sleep 0.2
  done
}

# fenetre TITRE : la première fenêtre visible dont le titre correspond.
fenetre() { xdotool search --onlyvisible --name "$1" | head -n 1; }

# demarrer_xvfb : un serveur X virtuel sur un écran libre, choisi par Xvfb.
demarrer_xvfb() {
  exec 3>"$dossier/ecran"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$dossier/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  attendre 20 test -s "$dossier/ecran" || return 1
  DISPLAY=":$(head -n 1 "$dossier/ecran")"
  export DISPLAY
}

# demarrer_openbox : le gestionnaire de fenêtres Openbox sur l'écran de Xvfb,
# pour que les fenêtres aient leur barre de titre et leur taille réelle.
demarrer_openbox() {
  openbox --sm-disable >"$dossier/openbox.log" 2>&1 &
  wm_pid=$!
  attendre 20 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
}

# ouvrir_article LETTRE TITRE : l'article du menu « Fichiers... » de la fenêtre
# `principale` au clavier (Alt+F, puis la lettre soulignée de l'article) ;
# écrit le numéro de la fenêtre du dialogue TITRE. Sous charge, le menu peut ne pas être encore ouvert quand la lettre arrive :
# on referme et on recommence jusqu'à ce que le dialogue paraisse.
# shellcheck disable=SC2154 # `principale` vient du script qui source ce fichier
ouvrir_article() {
  local essai
  for essai in 1 2 3 4 5; do
    xdotool windowactivate --sync "$principale" 2>/dev/null ||
      xdotool windowfocus --sync "$principale" 2>/dev/null || true
    xdotool mousemove --window "$principale" 150 100 key alt+f
    sleep "$((essai / 2)).5"
    xdotool key "$1"
    if attendre 4 fenetre "$2" 2>/dev/null; then
      fenetre "$2"
      return 0
    fi
    xdotool key Escape
  done
  return 1
}

# montrer_fenetre : après un échec, la fin du journal de la fenêtre et, quand
# ImageMagick est là, une capture de l'écran (${TMPDIR}/PRÉFIXE-echec.png).
montrer_fenetre() {
  tail -n 20 "$dossier/lintaro.log" >&2 2>/dev/null || true
  if [ -n "${DISPLAY:-}" ] && command -v import >/dev/null 2>&1; then
    import -window root "${TMPDIR:-/tmp}/$prefixe-echec.png" 2>/dev/null &&
      echo "Capture de l'écran : ${TMPDIR:-/tmp}/$prefixe-echec.png" >&2
  fi
}

# cadre FENÊTRE : la géométrie (LxH+X+Y) du cadre qu'Openbox met autour d'elle,
# l'ancêtre de la fenêtre juste sous la racine.
cadre() {
  local id="$1" ligne
  while ligne="$(xwininfo -tree -id "$id" | grep 'Parent window id')" &&
    [[ "$ligne" != *"(the root window)"* ]]; do
    id="$(awk '{print $4}' <<<"$ligne")"
  done
  xwininfo -id "$id" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
    /Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h "+" x "+" y}'
}

# capturer FENÊTRE NOM [LxH] : la fenêtre avec son cadre, prise sur l'écran
# (ce qui la recouvre, un menu déroulé, en fait partie) dans `sortie`/NOM.png ;
# LxH rogne le coin haut gauche du cadre à cette taille.
# shellcheck disable=SC2154 # `sortie` vient du script qui source ce fichier
capturer() {
  xdotool mousemove 1270 790 # pas de bulle d'aide sous le pointeur
  sleep 0.8
  local zone
  zone="$(cadre "$1")"
  if [ -n "${3:-}" ]; then zone="$3+${zone#*+}"; fi
  import -window root -screen "$dossier/ecran.png"
  convert "$dossier/ecran.png" -crop "$zone" +repage "$sortie/$2.png"
  echo "  docs/captures/$2.png"
}

# ouvrir_plugin CHEMIN : « Débuguer un plugin... » (Alt+F, l), le chemin tapé
# dans le sélecteur ; écrit le numéro de la fenêtre du dialogue du plugin.
ouvrir_plugin() {
  ouvrir_article l '^Choisir un plugin$' >/dev/null || return 1
  sleep 1
  xdotool type --delay 30 "$1"
  sleep 0.5
  xdotool key Return
  local titre="Débuguer un plugin : ${1##*[/\\]}"
  attendre 30 fenetre "$titre" || return 1
  fenetre "$titre"
}

# lignes : les lignes de la liste du dialogue du plugin, dans l'ordre affiché
# (nom, type, erreurs, alertes), lues dans la trace de la fenêtre.
lignes() { sed '/^--$/,$d' "$dossier/etat.txt.plugin" 2>/dev/null; }
lignes_sont() { [ "$(lignes)" = "$(printf '%b' "$1")" ]; }

# verifier_plugin DIALOGUE Y_EN_TETE : le dialogue du plugin d'exemple
# (tools/plugin_exemple.py) : ses lignes triées erreurs d'abord, un clic sur
# l'en-tête « Nom » (à Y_EN_TETE pixels du haut du contenu) qui les trie par
# nom, puis « Enregistrer le rapport » (Alt+E), qui écrit `rapport` dans le
# dossier courant. Appelle `echec`, que définit le script qui source ce fichier.
verifier_plugin() {
  local essai
  # Ceux avec erreurs d'abord, à égalité dans l'ordre du plugin ; GetPCJumping
  # est permis par le maître Tribunal.esm.
  attendre 10 lignes_sont 'GardePorte\tscript\t1\t0\ndialogue "Garde" / info 1204\trésultat\t1\t0\nGardeSaut\tscript\t0\t0\nGardeRonde\tscript\t0\t1' ||
    echec "lignes au départ : $(lignes)"
  # Le rapport du script choisi (le premier).
  grep -q "un 'endif' en trop" "$dossier/etat.txt.plugin" || echec "rapport de GardePorte"
  # Sous charge, on réessaie le clic.
  for essai in 1 2 3 4 5; do
    xdotool mousemove --window "$1" 40 "$2" click 1
    attendre 3 lignes_sont 'GardePorte\tscript\t1\t0\nGardeRonde\tscript\t0\t1\nGardeSaut\tscript\t0\t0\ndialogue "Garde" / info 1204\trésultat\t1\t0' && break
    [ "$essai" -lt 5 ] || echec "tri par nom : $(lignes)"
  done
  rapport="$PWD/Correction de Garde.esp"
  for essai in 1 2 3 4 5; do
    xdotool windowactivate --sync "$1" 2>/dev/null || true
    xdotool key alt+e
    attendre 4 test -s "$rapport" && break
    [ "$essai" -lt 5 ] || echec "le rapport n'est pas enregistré"
  done
}
