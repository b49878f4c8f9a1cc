#!/usr/bin/env bash
# Eight scrutinette.exe at once in one folder under Wine share its work files:
# the directory lock (a named mutex) makes each report the one the script
# gets when it runs alone.
# Usage: verrou_parallele.sh SCRUTINETTE_EXE   (WINE: the Wine to use)
set -euo pipefail
exe="$(readlink -f "$1")"
wine="${WINE:-wine}"
travail="$(mktemp -d "${TMPDIR:-/tmp}/lintaro-verrou-XXXXXX")"
trap 'rm -rf "$travail"' EXIT
cd "$travail"
mkdir seul ensemble

# Eight scripts of different sizes and findings.
for i in $(seq 1 8); do
  {
    printf 'Begin Verrou%d\r\nshort v%d\r\n' "$i" "$i"
    for b in $(seq 1 $((150 * i))); do
      printf 'if ( v%d == %d )\r\n\tset v%d to %d\r\nendif\r\n' "$i" "$b" "$i" "$i"
    done
    [ $((i % 2)) -eq 0 ] && printf 'endif\r\n'
    [ $((i % 3)) -eq 0 ] && printf 'set inconnue%d to 1\r\n' "$i"
    printf 'End\r\n'
  } >"script$i.txt"
  cp "script$i.txt" seul/ && cp "script$i.txt" ensemble/
done

for i in $(seq 1 8); do
  (cd seul && "$wine" "$exe" "script$i.txt" >/dev/null 2>&1) || true
done
# A run is short next to Wine's start: several rounds give the runs many
# chances to overlap.
for tour in 1 2 3 4 5 6; do
  rm -f ensemble/Correction*
  pids=()
  for i in $(seq 1 8); do
    (cd ensemble && "$wine" "$exe" "script$i.txt" >/dev/null 2>&1) &
    pids+=("$!")
  done
  for pid in "${pids[@]}"; do wait "$pid" || true; done
  for i in $(seq 1 8); do
    rapport="Correction de script$i.txt"
    [ -s "seul/$rapport" ] || { echo "ÉCHEC : pas de rapport seul pour script$i"; exit 1; }
    cmp -s "seul/$rapport" "ensemble/$rapport" ||
      { echo "ÉCHEC : tour $tour, script$i : le rapport diffère de celui de l'exécution seule"; exit 1; }
  done
done
echo "Huit exécutions simultanées dans un dossier : les rapports des exécutions seules"
