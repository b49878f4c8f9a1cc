#!/usr/bin/env bash
# -j N gives the bytes of -j 1, in every output, on a folder of generated
# scripts (errors, alerts, clean, too long, in subfolders); the texte output
# of a folder lists its scripts in path order.
# Usage: parallele.sh SCRUTINETTE
set -euo pipefail
export LC_ALL=C
scrutinette="$(readlink -f "$1")"
travail="$(mktemp -d "${TMPDIR:-/tmp}/lintaro-parallele-XXXXXX")"
trap 'rm -rf "$travail"' EXIT
cd "$travail"

for i in $(seq 0 47); do
  dossier="scripts/lot$((i % 5))"
  mkdir -p "$dossier"
  {
    printf 'Begin Genere%d\r\nshort compte%d\r\n' "$i" "$i"
    [ $((i % 4)) -eq 1 ] && printf 'short _cache%d\r\n' "$i"
    for b in $(seq 0 $((20 + i * 7))); do
      printf 'if ( compte%d == %d )\r\n\tset compte%d to ( compte%d + 1 )\r\nendif\r\n' "$i" "$b" "$i" "$i"
    done
    [ $((i % 3)) -eq 0 ] && printf 'endif\r\n'
    [ $((i % 7)) -eq 2 ] && printf 'while ( compte%d < 3 )\r\n' "$i"
    printf 'End\r\n'
  } >"$dossier/script$i.txt"
done
printf 'Begin Long\r\n' >scripts/long.mwscript
for _ in $(seq 1 5000); do printf '\r\n'; done >>scripts/long.mwscript

for forme in texte gcc json sarif; do
  seul=0
  "$scrutinette" --sortie "$forme" -j 1 scripts >"un.out" 2>"un.err" || seul=$?
  [ "$seul" -eq 2 ] || { echo "ÉCHEC : $forme -j 1 : code $seul au lieu de 2 (script trop long)"; exit 1; }
  for j in 2 5 16; do
    statut=0
    "$scrutinette" --sortie "$forme" -j "$j" scripts >"n.out" 2>"n.err" || statut=$?
    if [ "$statut" -ne "$seul" ] || ! cmp -s un.out n.out || ! cmp -s un.err n.err; then
      echo "ÉCHEC : --sortie $forme -j $j diffère de -j 1"
      diff un.err n.err | head -5 || true
      exit 1
    fi
  done
  [ -s un.out ] || { echo "ÉCHEC : $forme : sortie vide"; exit 1; }
  tail -n 1 un.err | grep -qx '48 scripts vérifiés : 21 avec erreurs, 7 avec alertes seulement, 1 non vérifié' ||
    { echo "ÉCHEC : $forme : bilan"; cat un.err; exit 1; }
  if [ "$forme" = texte ]; then
    grep '^==> ' un.out | sed 's/^==> \(.*\) <==$/\1/' >ordre.txt
    find scripts -name '*.txt' | sort | grep -v long >attendu.txt
    diff -u attendu.txt ordre.txt || { echo "ÉCHEC : ordre des scripts du dossier"; exit 1; }
  fi
done
if compgen -G "$travail/Correction*" >/dev/null; then echo "ÉCHEC : un rapport a été écrit"; exit 1; fi
echo "-j 2, 5 et 16 donnent les octets de -j 1 en texte, gcc, json et sarif"
