# shellcheck shell=bash
# Shared by the consumer tests (sourced): the program under test, the npm
# tools, a scratch directory and the folder of scripts they all read.
#
# Usage from a test: source commun.sh SCRUTINETTE
set -euo pipefail
export LC_ALL=C.UTF-8
# shellcheck disable=SC2034 # used by the tests that source this file
SCRUTINETTE="$(readlink -f "$1")"
ICI="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck disable=SC2034
RACINE="$(cd "$ICI/../.." && pwd)"
OUTILS="$ICI/node_modules"
TRAVAIL="$(mktemp -d "${TMPDIR:-/tmp}/lintaro-consommateurs-XXXXXX")"
trap 'rm -rf "$TRAVAIL"' EXIT
cd "$TRAVAIL"

# Exit code that CTest reads as "skipped".
sauter() {
  echo "ignoré : $*"
  exit 77
}

echec() {
  echo "ÉCHEC : $*" >&2
  exit 1
}

exiger_outils_npm() {
  [ -x "$OUTILS/.bin/ajv" ] || sauter "outils npm absents (npm ci --prefix tests/consumers)"
}

# The codes of the rows other than LT901 are being assigned: compare them as
# "LT…".
codes_masques() {
  sed -E 's/([[|])LT901([]|])/\1LT-901\2/g; s/([[|])LT[0-9]+([]|])/\1LT…\2/g; s/LT-901/LT901/g'
}

# The folder "dossier": names with a space, an apostrophe and non-ASCII
# letters, a text that is not a script, a link to a file (followed), a link
# to a parent folder (not followed: no loop) and a file that cannot be read,
# even by root (a link to this process's memory, whose first page is never
# mapped).
preparer_dossier() {
  local mixte='Begin Mixte\r\nshort compte\r\nshort _secret\r\nif ( compte == 1 )\r\n\tset _secret to 2\r\nendif\r\nendif\r\nEnd\r\n'
  mkdir -p "dossier/a b" dossier/z
  printf '%b' "$mixte" >"dossier/a b/l'été.txt"
  printf 'pas un script\n' >"dossier/a b/notes.md"
  printf 'Begin Alertes\r\nshort _drapeau\r\nEnd\r\n' >"dossier/Ünïcode.MWSCRIPT"
  printf 'Begin Propre\r\nshort compte\r\n\tReturn\r\nEnd\r\n' >dossier/propre.TXT
  printf 'Begin Directive\nshort compte\nset compte to 1 ; lintaro: ignorer LT99999\nEnd\n' \
    >dossier/z/directive.txt
  ln -s .. dossier/z/boucle
  ln -s ../propre.TXT dossier/z/lien.txt
  ln -s /proc/self/mem dossier/illisible.txt
}

# The plugin "plugins/Mod.esp" (Morrowind.esm as its only master): a Tribunal
# function (an error without Tribunal), an alert about the whole script, a
# deleted script and a result script that declares a variable.
preparer_plugin() {
  mkdir -p plugins
  node "$ICI/plugin.js" plugins/Mod.esp '{"masters": ["Morrowind.esm"],
    "scripts": [
      {"name": "Saut", "text": "Begin Saut\r\nshort x\r\nset x to GetPCJumping\r\nEnd\r\n"},
      {"name": "Mon alerte", "text": "Begin Alerte\r\nshort _drapeau\r\nEnd\r\n"},
      {"name": "Parti", "text": "Begin Parti\r\nendif\r\nEnd\r\n", "deleted": true}],
    "dialogues": [{"topic": "Sujet", "infos": [{"id": "12345", "result": "short a\r\n"}]}]}'
}
