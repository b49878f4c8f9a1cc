#!/usr/bin/env bash
# --sortie json validated by a JSON Schema validator (ajv) against
# docs/lintaro-resultats.schema.json; --sortie sarif validated by Microsoft's
# SARIF multitool and by ajv against the SARIF 2.1.0 schema the multitool
# ships; the findings of gcc, json and sarif compared (coherence.js).
# shellcheck source=tests/consumers/commun.sh
source "$(dirname "${BASH_SOURCE[0]}")/commun.sh" "$1"
exiger_outils_npm
preparer_dossier
preparer_plugin
printf 'Begin Entree\r\nshort _x\r\nendif\r\nEnd\r\n' >entree.txt
entrees=(dossier - absent.txt plugins/Mod.esp)

for forme in gcc json sarif; do
  statut=0
  "$SCRUTINETTE" --sortie "$forme" "${entrees[@]}" <entree.txt >"sortie.$forme" 2>"err.$forme" ||
    statut=$?
  [ "$statut" -eq 2 ] || echec "$forme : code de sortie $statut au lieu de 2"
  cmp -s err.gcc "err.$forme" || echec "$forme : sortie d'erreur différente de celle de gcc"
done
grep -q '^Impossible d.ouvrir le fichier "absent.txt" !$' err.gcc || echec "absent.txt non signalé"
ls Correction* 2>/dev/null && echec "un rapport a été écrit"

ajv=("$OUTILS/.bin/ajv" validate --spec=draft2020 --strict=true -c ajv-formats)
cp sortie.json resultats.json
"${ajv[@]}" -s "$RACINE/docs/lintaro-resultats.schema.json" -d resultats.json ||
  echec "json non conforme au schéma"

# The multitool writes its findings to a log; an error is a line
# "FILE(LINE,COL): error RULE: ...".
multitool="$OUTILS/@microsoft/sarif-multitool-linux/Sarif.Multitool"
[ -x "$multitool" ] || sauter "SARIF multitool absent"
cp sortie.sarif resultats.sarif
"$multitool" validate resultats.sarif --output multitool.sarif >multitool.txt 2>&1 ||
  { cat multitool.txt; echec "le multitool s'est arrêté"; }
grep -q 'Analysis completed successfully' multitool.txt || { cat multitool.txt; echec "multitool"; }
if grep -E '\): error ' multitool.txt; then echec "SARIF refusé par le multitool"; fi
cp sortie.sarif sarif.json
"${ajv[@]/--strict=true/--strict=false}" \
  -s "$OUTILS/@microsoft/sarif-multitool-linux/sarif-2.1.0.json" -d sarif.json ||
  echec "sarif non conforme au schéma SARIF 2.1.0"

node "$ICI/coherence.js" sortie.gcc sortie.json sortie.sarif
