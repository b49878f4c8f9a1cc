# shellcheck shell=bash
# Ce que partagent le test de bout en bout de la fenêtre et tools/captures.sh :
# un dossier de travail effacé à la sortie avec les processus lancés, l'attente
# d'une condition, la recherche d'une fenêtre par son titre, le démarrage de
# Xvfb et celui d'un gestionnaire de fenêtres (à sourcer ; définit `dossier`,
# `xvfb_pid`, `wm_pid`, `lintaro_pid`, `DISPLAY`).

# preparer_dossier PRÉFIXE : crée le dossier de travail et son nettoyage.
preparer_dossier() {
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
