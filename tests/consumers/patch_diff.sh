#!/usr/bin/env bash
# The formatter in pipelines: the diff of --format --diff applied by the real
# `patch -p0` gives the files that --format writes in place; --verifier-format
# names the files that would change; --format - filters standard input.
# shellcheck source=tests/consumers/commun.sh
source "$(dirname "${BASH_SOURCE[0]}")/commun.sh" "$1"
command -v patch >/dev/null || sauter "patch absent (apt-get install patch)"

mkdir original
cd original
printf 'Begin t\r\n  if ( a )\r\nset b to(1)\r\n  endif\r\nEnd\r\n' >"à b.txt"
{
  printf 'Begin long\n'
  for i in $(seq 1 12); do printf 'set x to %d\n' "$i"; done
  printf 'if(x)\n  set y to 1\nendif\n'
  for i in $(seq 1 12); do printf 'set z to %d\n' "$i"; done
  printf 'while ( x )\nset x to(x - 1)\nendwhile\nEnd'
} >lf.txt
printf 'Begin t\nif ( a )\n\tset b to ( 1 )\nendif\nEnd\n' >propre.txt
printf 'Begin t\n  endif\nEnd\n' >mal.txt
cd ..
fichiers=("à b.txt" lf.txt propre.txt mal.txt)
cp -R original patche
cp -R original formate

cd patche
statut=0
"$SCRUTINETTE" --format --diff "${fichiers[@]}" >../changements.diff 2>../err.txt || statut=$?
[ "$statut" -eq 1 ] || echec "--diff : code $statut au lieu de 1 (mal.txt)"
[ "$(cat ../err.txt)" = "mal.txt : Erreur dans l'enchainement des tests logiques." ] ||
  echec "--diff : sortie d'erreur $(cat ../err.txt)"
diff -r ../original . >/dev/null || echec "--diff a modifié des fichiers"
[ "$(grep -c '^--- ' ../changements.diff)" -eq 2 ] || echec "deux fichiers changent"
patch -p0 --quiet --forward <../changements.diff || echec "patch refuse le diff"
cd ../formate
"$SCRUTINETTE" --format "${fichiers[@]}" >/dev/null 2>&1 || true
cd ..
diff -r formate patche || echec "le diff appliqué ne donne pas la mise en forme"
cmp -s original/lf.txt patche/lf.txt && echec "lf.txt n'a pas changé"
# Hunks, context and the missing final line feed as GNU diff -u writes them.
(cd original && "$SCRUTINETTE" --format --diff lf.txt) >lf.diff
diff -u --label lf.txt --label lf.txt original/lf.txt formate/lf.txt >gnu.diff || true
cmp -s gnu.diff lf.diff || echec "le diff de lf.txt n'est pas celui de diff -u"

# --verifier-format: 1 and the names of the files that would change, 0 once
# formatted, 2 for a file that cannot be formatted.
cd original
statut=0
sortie="$("$SCRUTINETTE" --verifier-format "à b.txt" lf.txt propre.txt)" || statut=$?
{ [ "$statut" -eq 1 ] && [ "$sortie" = "$(printf 'à b.txt\nlf.txt')" ]; } ||
  echec "--verifier-format : $statut, $sortie"
statut=0
"$SCRUTINETTE" --verifier-format mal.txt propre.txt >/dev/null 2>&1 || statut=$?
[ "$statut" -eq 2 ] || echec "--verifier-format mal.txt : code $statut au lieu de 2"
cd ../patche
"$SCRUTINETTE" --verifier-format "à b.txt" lf.txt propre.txt >../verif.txt ||
  echec "--verifier-format après mise en forme"
[ ! -s ../verif.txt ] || echec "--verifier-format liste des fichiers déjà mis en forme"

# --format -: the formatted text, or the input unchanged when it cannot be.
"$SCRUTINETTE" --format - <../original/lf.txt | cmp -s - lf.txt || echec "--format - (lf.txt)"
statut=0
"$SCRUTINETTE" --format - <mal.txt >filtre.txt 2>/dev/null || statut=$?
{ [ "$statut" -eq 1 ] && cmp -s filtre.txt mal.txt; } || echec "--format - d'un script mal enchaîné"
echo "--diff appliqué par patch = --format ; --verifier-format et --format - corrects"
