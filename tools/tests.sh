#!/usr/bin/env bash
# Installe ce qui manque (Debian 12, root), puis construit Lintaro et lance
# tous ses tests :
#   1. preset release (g++) : construction (avec la fenêtre « lintaro ») et
#      ctest, dont le test de bout en bout de la fenêtre sous Xvfb ;
#   2. preset sanitize (clang, address et undefined) : construction et ctest,
#      fenêtre comprise ;
#   3. preset threads (clang, ThreadSanitizer) : des vérifications en mémoire
#      menées en même temps dans plusieurs fils d'exécution ;
#   4. preset windows (mingw-w64) : construction croisée des programmes
#      Windows et de leurs tests, lancés sous Wine par ctest, puis les
#      paquets (tools/paquets.sh : .deb vérifié par lintian, zip Windows) ;
#   5. preset fuzz (clang, libFuzzer) : construction et de courtes campagnes de
#      fuzz_check (vérification avec fichiers de travail), fuzz_check_memory
#      (vérification en mémoire) sur une copie du corpus fuzz/corpus/check,
#      puis de fuzz_format (mise en forme), fuzz_lsp (serveur de langage) et
#      fuzz_plugin (lecture des plugins) sur une copie de leurs corpus.
# Le script s'arrête à la première étape en échec et finit par un résumé.
#
# Variable : LINTARO_FUZZ_SECONDES, durée de la campagne de fuzz (60 par défaut).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
racine="$PWD"
# shellcheck source=tools/commun.sh
source tools/commun.sh

fuzz_secondes="${LINTARO_FUZZ_SECONDES:-60}"
temporaire="$(mktemp -d "${TMPDIR:-/tmp}/lintaro-tests-XXXXXX")"

# Résumé : une ligne par étape terminée.
resume=()
etape_en_cours=""
tests_reussis=0
tests_echoues=0
debut_total=$SECONDS

afficher_resume() {
  local statut=$1
  trap - EXIT
  arreter_wine
  rm -rf "$temporaire"
  echo
  echo "==================== Résumé ===================="
  local ligne
  for ligne in "${resume[@]}"; do
    echo "  $ligne"
  done
  if [ "$statut" -ne 0 ] && [ -n "$etape_en_cours" ]; then
    echo "  ÉCHEC  $(printf '%12s' "")   $etape_en_cours"
  fi
  echo "  Durée totale : $(duree $((SECONDS - debut_total)))"
  echo "================================================"
  if [ "$statut" -eq 0 ]; then
    echo "Tout est passé : $tests_reussis tests réussis, campagne de fuzz sans plantage."
  else
    echo "Échec (code $statut) à l'étape « $etape_en_cours »." >&2
  fi
  if [ "$((tests_reussis + tests_echoues))" -gt 0 ]; then
    echo "Total: $tests_reussis passed, $tests_echoues failed"
  fi
  exit "$statut"
}
trap 'afficher_resume $?' EXIT

# etape NOM COMMANDE... : lance la commande et note sa durée dans le résumé.
# Le détail éventuel d'une étape est dans la variable « detail ».
detail=""
etape() {
  local nom=$1
  shift
  etape_en_cours="$nom"
  detail=""
  titre "$nom"
  local debut=$SECONDS
  "$@"
  resume+=("$(printf 'OK     %12s   %s' "$(duree $((SECONDS - debut)))" "$nom")${detail:+ : $detail}")
  etape_en_cours=""
}

# ctest_preset PRESET : lance ctest et compte les tests passés et échoués.
ctest_preset() {
  local journal="$temporaire/ctest-$1.log"
  local statut=0
  ctest --preset "$1" 2>&1 | tee "$journal" || statut=$?
  local bilan total echoues
  bilan="$(grep -Eo '[0-9]+ tests? failed out of [0-9]+' "$journal" | tail -n 1 || true)"
  if [ -n "$bilan" ]; then
    echoues="$(echo "$bilan" | awk '{print $1}')"
    total="$(echo "$bilan" | awk '{print $NF}')"
    tests_reussis=$((tests_reussis + total - echoues))
    tests_echoues=$((tests_echoues + echoues))
    detail="$((total - echoues))/$total tests réussis"
  fi
  return "$statut"
}

# Courte campagne libFuzzer ; échoue si un plantage (ou un délai dépassé) est
# trouvé. Les entrées fautives sont copiées dans build/fuzz/plantages/.
# campagne_fuzz [CIBLE CORPUS] : fuzz_check et fuzz/corpus/check par défaut.
campagne_fuzz() {
  local nom="${1:-fuzz_check}"
  local cible="$racine/build/fuzz/fuzz/$nom"
  local dossier="$temporaire/$nom"
  mkdir -p "$dossier/artefacts"
  cp -R "fuzz/corpus/${2:-check}" "$dossier/corpus"
  # Le dictionnaire du projet (mots du langage), s'il existe.
  local options=()
  if [ -f fuzz/check.dict ]; then
    options+=(-dict="$racine/fuzz/check.dict")
  fi
  local statut=0
  (cd "$dossier" && "$cible" -max_total_time="$fuzz_secondes" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$dossier/artefacts/" "${options[@]}" \
    "$dossier/corpus") >"$dossier/journal.log" 2>&1 || statut=$?
  grep -E '^(INFO: Seed|INFO: seed corpus|#[0-9]+ *DONE|Done [0-9]+ runs|stat::)' \
    "$dossier/journal.log" || true
  local executions
  executions="$(grep -Eo 'stat::number_of_executed_units: [0-9]+' "$dossier/journal.log" |
    awk '{print $2}' || true)"
  if [ "$statut" -ne 0 ]; then
    tail -n 60 "$dossier/journal.log"
    mkdir -p build/fuzz/plantages
    cp "$dossier"/artefacts/* build/fuzz/plantages/ 2>/dev/null || true
    echo "libFuzzer a trouvé un problème (code $statut) ; entrées fautives copiées dans" \
      "build/fuzz/plantages/ (rejouer : build/fuzz/fuzz/$nom FICHIER)." >&2
    return 1
  fi
  detail="${executions:-?} exécutions, aucun plantage"
}

# Les clients LSP des tests (tests/lsp : bibliothèque de protocole de
# Microsoft, test de grammaire TextMate) et l'extension VS Code
# (editors/vscode : vscode-languageclient, vsce), d'après leurs
# package-lock.json.
installer_outils_npm_lsp() {
  local projet
  for projet in tests/lsp editors/vscode; do
    npm ci --prefix "$projet" --no-audit --no-fund --prefer-offline || return 1
  done
}

etape "Dépendances" installer_manquants \
  cmake ninja-build g++ libgtest-dev libbenchmark-dev clang libclang-rt-14-dev \
  "${PAQUETS_FENETRE[@]}" "${PAQUETS_CONSOLE[@]}" "${PAQUETS_WINDOWS[@]}" neovim python3
etape "Outils npm des tests" installer_outils_npm
etape "Outils npm du serveur de langage" installer_outils_npm_lsp

etape "Release : configuration" cmake --preset release
etape "Release : construction" cmake --build --preset release
etape "Release : tests" ctest_preset release

etape "Sanitizers : configuration" cmake --preset sanitize
etape "Sanitizers : construction" cmake --build --preset sanitize
etape "Sanitizers : tests" ctest_preset sanitize

etape "ThreadSanitizer : configuration" cmake --preset threads
etape "ThreadSanitizer : construction" cmake --build --preset threads
etape "ThreadSanitizer : vérifications simultanées" ctest_preset threads

# Le préfixe Wine d'abord : la construction lance déjà les tests (pour en
# dresser la liste).
etape "Windows : préfixe Wine" preparer_wine "$temporaire/wine"
etape "Windows : configuration" cmake --preset windows
etape "Windows : construction" cmake --build --preset windows
etape "Windows : tests sous Wine" ctest_preset windows
etape "Paquets Debian et Windows" bash tools/paquets.sh build/release build/windows

etape "Fuzz : configuration" cmake --preset fuzz
etape "Fuzz : construction" cmake --build --preset fuzz
etape "Fuzz : libFuzzer ($fuzz_secondes s)" campagne_fuzz
etape "Fuzz : vérification en mémoire ($fuzz_secondes s)" campagne_fuzz fuzz_check_memory check
etape "Fuzz : mise en forme ($fuzz_secondes s)" campagne_fuzz fuzz_format format
etape "Fuzz : serveur de langage ($fuzz_secondes s)" campagne_fuzz fuzz_lsp lsp
etape "Fuzz : plugins ($fuzz_secondes s)" campagne_fuzz fuzz_plugin plugin
