#!/usr/bin/env bash
# Inputs without end or above the 25 MB limit are refused in bounded time and
# memory, with exit 2 and a French message, whatever the mode.
# Usage: limites.sh SCRUTINETTE
set -uo pipefail
scrutinette="$(readlink -f "$1")"
travail="$(mktemp -d "${TMPDIR:-/tmp}/lintaro-limites-XXXXXX")"
trap 'rm -rf "$travail"' EXIT
cd "$travail" || exit 1
head -c 25000001 /dev/zero | tr '\0' 'a' >gros.txt
# Memory is capped at 400 MB, unless the program cannot start so (the address
# sanitizer reserves far more address space).
limite=(ulimit -v 400000)
{ (ulimit -v 400000 && "$scrutinette" --version) >/dev/null; } 2>/dev/null || limite=(true)
echec=0
# Each case: the arguments, then what is on standard input.
while IFS='|' read -r arguments entree; do
  # shellcheck disable=SC2086 # the arguments are split on purpose
  ("${limite[@]}" && exec timeout 60 "$scrutinette" $arguments <"$entree" >/dev/null 2>err.txt)
  statut=$?
  if [ "$statut" -ne 2 ] || ! grep -q 'dépasse 25 Mo' err.txt; then
    echo "ÉCHEC : scrutinette $arguments < $entree : code $statut, $(head -c 200 err.txt)"
    echec=1
  fi
done <<'FIN'
/dev/zero|/dev/null
gros.txt|/dev/null
--sortie json /dev/zero|/dev/null
--sortie gcc -|/dev/zero
-|/dev/zero
--format - |/dev/zero
--format --diff /dev/zero|/dev/null
--verifier-format gros.txt|/dev/null
FIN
ls Correction* 2>/dev/null && echec=1
[ "$echec" -eq 0 ] && echo "8 entrées trop grandes refusées avec le code 2"
exit "$echec"
