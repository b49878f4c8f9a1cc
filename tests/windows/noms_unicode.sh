#!/usr/bin/env bash
# scrutinette.exe under Wine with scripts, a plugin and folders named in
# Cyrillic, Greek and accented Latin letters: each opens, its report
# « Correction de <nom> » is written under that name with the bytes shown on
# standard output (CR LF, never CR CR LF), and is the report of the same
# script under a plain name; the formatter rewrites such a file and never
# opens an existing file in its place.
# Usage: noms_unicode.sh SCRUTINETTE_EXE PLUGIN_ESP   (WINE: the Wine to use)
set -euo pipefail
exe="$(readlink -f "$1")"
plugin="$(readlink -f "$2")"
wine="${WINE:-wine}"
travail="$(mktemp -d "${TMPDIR:-/tmp}/lintaro-noms-XXXXXX")"
trap 'rm -rf "$travail"' EXIT
cd "$travail"
echec() { echo "ÉCHEC : $*"; exit 1; }
lancer() { "$wine" "$exe" "$@"; }

script=$'Begin Essai\r\nshort x\r\nif ( x == 1 )\r\nEnd\r\n'
mkdir simple unicode
printf '%s' "$script" >simple/a.txt
(cd simple && lancer a.txt >sortie 2>/dev/null) || true
[ -s "simple/Correction de a.txt" ] || echec "pas de rapport pour a.txt"

for nom in 'Скрипт.txt' 'Σενάριο.mwscript' 'Éléphant ça.txt'; do
  printf '%s' "$script" >"unicode/$nom"
  (cd unicode && lancer "$nom" >sortie 2>erreurs) || true
  rapport="unicode/Correction de $nom"
  [ -f "$rapport" ] || { ls unicode; cat unicode/erreurs; echec "pas de rapport « Correction de $nom »"; }
  cmp -s "$rapport" "simple/Correction de a.txt" || echec "$nom : le rapport diffère de celui de a.txt"
  cmp -s "$rapport" unicode/sortie || echec "$nom : la sortie standard n'est pas le rapport"
  grep -q $'\r\n' unicode/sortie || echec "$nom : lignes sans CR LF"
  if grep -q $'\r\r' unicode/sortie; then echec "$nom : CR CR LF sur la sortie standard"; fi
done

# A folder: its script is named with the folder on the "==>" line, in UTF-8.
mkdir -p 'Éléphant/Ωμέγα'
printf '%s' "$script" >'Éléphant/Ωμέγα/été.txt'
lancer 'Éléphant' >dossier 2>/dev/null || true
grep -qF '==> Éléphant\Ωμέγα\été.txt <==' dossier || { cat dossier; echec "dossier : ligne ==> attendue"; }

# A plugin in a Greek folder: its report is named after it.
mkdir 'Ελληνικά'
cp "$plugin" 'Ελληνικά/Плагин.esp'
lancer 'Ελληνικά/Плагин.esp' >plugin.out 2>plugin.err || true
[ -f 'Correction de Плагин.esp' ] || { cat plugin.err; echec "pas de rapport « Correction de Плагин.esp »"; }
cmp -s 'Correction de Плагин.esp' plugin.out || echec "plugin : la sortie standard n'est pas le rapport"
grep -q 'Maîtres : ' plugin.out || echec "plugin : en-tête absent"

# Formatting an accented name: one tab inside the if block; the name the
# formatter tries first is taken and must keep its bytes.
printf 'Begin Bon\r\nif (x==1)\r\nset x to 2\r\nendif\r\nEnd\r\n' >'Éléphant/Ωραίο.txt'
printf 'garder' >'Éléphant/.Ωραίο.txt.mef0.tmp'
lancer --format 'Éléphant/Ωραίο.txt' >/dev/null 2>&1 || echec "--format a échoué"
printf 'Begin Bon\r\nif ( x==1 )\r\n\tset x to 2\r\nendif\r\nEnd\r\n' >attendu
cmp -s 'Éléphant/Ωραίο.txt' attendu || { od -c 'Éléphant/Ωραίο.txt'; echec "--format : texte attendu"; }
[ "$(cat 'Éléphant/.Ωραίο.txt.mef0.tmp')" = garder ] || echec "--format a écrit dans un fichier existant"
echo "Noms cyrilliques, grecs et accentués : scripts, dossier, plugin et mise en forme"
