#!/usr/bin/env bash
# Test de bout en bout de la fenêtre, sous Xvfb : lance le vrai « lintaro »,
# ouvre « Débuguer un script » par le menu, tape un script qui contient un
# « endif » en trop, appuie sur OK et vérifie le rapport, son ouverture (un faux
# xdg-open note ce qu'on lui demande d'ouvrir), la ligne d'état, la boîte de
# message quand le rapport ne peut pas être affiché, puis Annuler et Alt+F4.
#
# Usage : fenetre_e2e.sh CHEMIN_DE_LINTARO
# Code 77 (test ignoré) quand Xvfb ou xdotool manquent.
set -euo pipefail

for outil in Xvfb xdotool; do
  if ! command -v "$outil" >/dev/null 2>&1; then
    echo "$outil est absent : test de la fenêtre ignoré."
    exit 77
  fi
done
lintaro="$(realpath "$1")"
# Construit avec les sanitizers : GTK garde ses caches jusqu'à la sortie, ce
# que LeakSanitizer prendrait pour des fuites.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"

# shellcheck source=tools/xvfb_commun.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/xvfb_commun.sh"
preparer_dossier lintaro-e2e

echec() {
  echo "ÉCHEC : $*" >&2
  montrer_fenetre
  exit 1
}

# Un faux xdg-open : note la cible, et échoue quand le fichier « refuser » existe.
mkdir -p "$dossier/bin" "$dossier/travail"
cat >"$dossier/bin/xdg-open" <<FAUX
#!/bin/sh
echo "\$1" >>"$dossier/ouverts.txt"
[ ! -e "$dossier/refuser" ]
FAUX
chmod +x "$dossier/bin/xdg-open"

demarrer_xvfb || echec "Xvfb ne démarre pas"

cd "$dossier/travail"
PATH="$dossier/bin:$PATH" LINTARO_TRACE_ETAT="$dossier/etat.txt" "$lintaro" \
  >"$dossier/lintaro.log" 2>&1 &
lintaro_pid=$!

etat_est() { [ "$(cat "$dossier/etat.txt" 2>/dev/null)" = "$1" ]; }

# Sous charge, GTK peut mettre longtemps à démarrer.
attendre 60 fenetre '^Lintaro$' || echec "la fenêtre « Lintaro » n'apparaît pas"
principale="$(fenetre '^Lintaro$')"
attendre 10 etat_est "Prêt au débuguage." || echec "ligne d'état initiale : $(cat "$dossier/etat.txt")"

# dans_le_script : le clavier va à la zone de texte du dialogue.
dans_le_script() {
  xdotool windowfocus --sync "$dialogue" 2>/dev/null || true
  xdotool mousemove --window "$dialogue" 200 120 click 1
  sleep 0.3
}

# « Débuguer un script », par sa lettre soulignée.
ouvrir_article s 'Débuguer un script$' >/dev/null || echec "le dialogue « Débuguer un script » n'apparaît pas"
dialogue="$(fenetre 'Débuguer un script$')"

# Le texte du script, ligne par ligne, dans la zone de saisie : Tab y écrit
# une tabulation, Ctrl+Z défait la dernière frappe, Ctrl+Y la refait (un
# second Ctrl+Z sans elle défairait la ligne « End »).
dans_le_script
xdotool type --delay 10 "Begin Essai"
xdotool key Return Tab
xdotool type --delay 10 "endif"
xdotool key Return
xdotool type --delay 10 "End"
xdotool key Return
xdotool type --delay 10 "xyz"
xdotool key ctrl+z ctrl+y ctrl+z
# Ctrl+Tab sort de la zone de texte vers le bouton OK.
xdotool key ctrl+Tab Return

rapport="Correction de ScriptMorrowind.txt"
attendre 20 test -s "$dossier/ouverts.txt" || echec "le rapport n'a pas été ouvert"
[ "$(cat "$dossier/ouverts.txt")" = "$dossier/travail/$rapport" ] ||
  echec "ouvert : $(cat "$dossier/ouverts.txt")"
[ "$(cat ScriptMorrowind.txt)" = $'Begin Essai\n\tendif\nEnd' ] ||
  echec "ScriptMorrowind.txt : $(od -c ScriptMorrowind.txt | head)"
grep -qF 'script "essai"' "$rapport" || echec "titre du rapport : $(head -n 3 "$rapport")"
grep -qF "un 'endif' en trop (pas de 'if' avant le 'endif')." "$rapport" ||
  echec "rapport sans l'erreur attendue : $(cat "$rapport")"
attendre 10 etat_est "Essai : 1 erreur, 0 alerte" ||
  echec "ligne d'état : $(cat "$dossier/etat.txt")"
# Des erreurs : le dialogue reste ouvert.
[ -n "$(fenetre 'Débuguer un script$')" ] || echec "le dialogue s'est fermé malgré les erreurs"

# La constatation dans la liste de la fenêtre : la choisir sélectionne sa ligne.
# Sous charge, la liste peut n'être pas encore dessinée au premier clic : on
# recommence jusqu'à ce que la sélection arrive.
for _ in 1 2 3 4 5 6 7 8 9 10; do
  xdotool mousemove --window "$principale" 100 92 click 1
  attendre 2 test -s "$dossier/etat.txt.selection" && break
done
test -s "$dossier/etat.txt.selection" || echec "aucune constatation choisie"
[ "$(cat "$dossier/etat.txt.selection")" = $'\tendif' ] ||
  echec "ligne sélectionnée : $(cat "$dossier/etat.txt.selection")"

# Le rapport ne peut plus être affiché : une boîte « Débugueur » le dit.
touch "$dossier/refuser"
dans_le_script
xdotool key ctrl+Tab Return
attendre 20 fenetre '^Débugueur$' || echec "pas de boîte de message « Débugueur »"
[ "$(wc -l <"$dossier/ouverts.txt")" -eq 2 ] || echec "deuxième ouverture non tentée"
xdotool key Return
attendre 10 sh -c "! xdotool search --onlyvisible --name '^Débugueur\$' | grep -q ." ||
  echec "la boîte de message ne se ferme pas"

kill -0 "$lintaro_pid" || echec "lintaro s'est arrêté"

# Un script de 250 lignes collé (plus de 5000 caractères) est vérifié.
rm -f "$dossier/refuser"
{ echo "Begin Long"; for i in $(seq 248); do echo "; commentaire numéro $i assez long"; done
  echo "End"; } >long.txt
dans_le_script
xdotool key ctrl+a Delete
if xclip -selection clipboard -i long.txt 2>/dev/null; then
  xdotool key ctrl+v
else
  xdotool type --delay 0 "$(cat long.txt)"
fi
xdotool key ctrl+Tab Return
attendre 30 etat_est "Long : 0 erreur, 0 alerte" ||
  echec "script de 250 lignes : $(cat "$dossier/etat.txt")"

# Échap (« Annuler »), même tapé dans la zone de texte, cache le dialogue ;
# Alt+F4 ferme la fenêtre et le programme.
dans_le_script
xdotool key Escape
attendre 10 sh -c "! xdotool search --onlyvisible --name 'Débuguer un script\$' | grep -q ." ||
  echec "« Annuler » ne cache pas le dialogue"
# « Débuguer un fichier » : un chemin de 120 caractères, puis un fichier absent,
# dont l'échec se lit sur la ligne d'état.
profond="$dossier/travail/$(printf 'd%.0s' $(seq 50))/$(printf 'e%.0s' $(seq 50))"
mkdir -p "$profond"
printf 'Begin Profond\nendif\nEnd\n' >"$profond/profond.txt"
ouvrir_article f 'Débuguer un fichier$' >/dev/null || echec "le dialogue « Débuguer un fichier » n'apparaît pas"
xdotool key ctrl+a
xdotool type --delay 5 "$profond/profond.txt"
xdotool key Return
attendre 20 etat_est "Profond : 1 erreur, 0 alerte" || echec "chemin long : $(cat "$dossier/etat.txt")"
xdotool key ctrl+a
xdotool type --delay 5 "absent.txt"
xdotool key Return
attendre 20 fenetre '^Débugueur$' || echec "pas de boîte pour le fichier absent"
xdotool key Return
attendre 10 etat_est "absent.txt : échec (fichier illisible)." ||
  echec "ligne d'état après l'échec : $(cat "$dossier/etat.txt")"

xdotool key Escape
xdotool mousemove --window "$principale" 150 100 key alt+F4
attendre 10 sh -c "! kill -0 $lintaro_pid" || echec "Alt+F4 ne ferme pas lintaro"
wait "$lintaro_pid" || echec "lintaro se termine avec le code $?"
lintaro_pid=""
echo "Fenêtre : rapport, constatations, ligne choisie, script long, chemin long, échec, Annuler et Alt+F4 vérifiés."
