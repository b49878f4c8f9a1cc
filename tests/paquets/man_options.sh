#!/usr/bin/env bash
# Vérifie que la page de manuel et « scrutinette --help » nomment les mêmes
# options longues, pour que l'une ne s'écarte pas de l'autre.
#
# Usage : man_options.sh CHEMIN_DE_SCRUTINETTE PAGE.1
set -euo pipefail
programme=$1
page=$2

options_longues() {
  grep -oE -- '--[a-z][a-z-]*' | sort -u
}

aide=$("$programme" --help | options_longues)
# En roff, un tiret s'écrit « \- ».
manuel=$(sed 's/\\-/-/g' "$page" | options_longues)

nombre=$(printf '%s\n' "$aide" | grep -c .)
if [ "$nombre" -lt 10 ]; then
  echo "man_options : seulement $nombre options longues dans « $programme --help »" >&2
  exit 1
fi
manquantes=$(comm -23 <(printf '%s\n' "$aide") <(printf '%s\n' "$manuel"))
en_trop=$(comm -13 <(printf '%s\n' "$aide") <(printf '%s\n' "$manuel"))
code=0
if [ -n "$manquantes" ]; then
  echo "man_options : dans --help mais pas dans $page :" "$manquantes" >&2
  code=1
fi
if [ -n "$en_trop" ]; then
  echo "man_options : dans $page mais pas dans --help :" "$en_trop" >&2
  code=1
fi
[ "$code" -eq 0 ] && echo "man_options : $nombre options longues, les mêmes des deux côtés"
exit "$code"
