#!/usr/bin/env bash
# Installe ce qui manque (Debian 12, root), construit scrutinette avec le
# preset release puis vérifie le script d'exemple examples/exemple.txt et
# affiche son rapport. La vérification se fait dans un répertoire temporaire :
# aucun rapport ni fichier de travail n'est laissé dans le dépôt.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
racine="$PWD"
# shellcheck source=tools/commun.sh
source tools/commun.sh

titre "Dépendances"
installer_manquants cmake ninja-build g++ libgtest-dev libbenchmark-dev "${PAQUETS_CONSOLE[@]}"

titre "Configuration (preset release)"
# La fenêtre n'est pas nécessaire ici : pas besoin de wxWidgets.
cmake --preset release -DLINTARO_BUILD_WINDOW=OFF

titre "Construction de scrutinette"
cmake --build --preset release --target scrutinette

travail="$(mktemp -d "${TMPDIR:-/tmp}/lintaro-exemple-XXXXXX")"
trap 'rm -rf "$travail"' EXIT
cp examples/exemple.txt "$travail/"

titre "Rapport de examples/exemple.txt"
statut=0
(cd "$travail" && "$racine/build/release/scrutinette" exemple.txt) || statut=$?

echo
case "$statut" in
  0) echo "Code de sortie 0 : aucune erreur dans le script." ;;
  1) echo "Code de sortie 1 : le script contient des erreurs (c'est voulu pour cet exemple)." ;;
  *)
    echo "Code de sortie $statut : le script n'a pas pu être vérifié." >&2
    exit "$statut"
    ;;
esac
echo "Pour vérifier vos scripts : $racine/build/release/scrutinette FICHIER..."
