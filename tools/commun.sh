# shellcheck shell=bash
# Fonctions partagées par tools/exemple.sh et tools/tests.sh (à sourcer).

# Affiche un titre d'étape.
titre() {
  printf '\n==> %s\n' "$*"
}

# Paquets de la fenêtre « lintaro » (wxWidgets 3.2 pour GTK) et de son test de
# bout en bout : un serveur X virtuel (Xvfb) et xdotool, qui clique et tape
# dans la fenêtre comme le ferait un utilisateur.
# shellcheck disable=SC2034 # utilisé par les scripts qui sourcent ce fichier
PAQUETS_FENETRE=(libwxgtk3.2-dev xvfb xdotool)
# En plus, pour les captures d'écran de tools/captures.sh : « import »
# d'ImageMagick, qui enregistre une fenêtre X en PNG, une police, et le
# gestionnaire de fenêtres Openbox pour les barres de titre (xprop, de
# x11-utils, attend qu'il soit prêt).
# shellcheck disable=SC2034
PAQUETS_CAPTURES=(imagemagick fonts-dejavu-core openbox x11-utils)
# Bibliothèques du programme console (en-têtes seulement) : CLI11 pour la
# ligne de commande, nlohmann/json pour --sortie json et sarif, dtl pour
# --diff ; et les consommateurs réels de ses sorties dans les tests : Vim
# (format gcc), patch (--diff) et npm (tests/consumers : ajv, multitool SARIF).
# shellcheck disable=SC2034
PAQUETS_CONSOLE=(libcli11-dev nlohmann-json3-dev libdtl-dev vim patch)

# Construction pour Windows : le compilateur croisé mingw-w64 (fils POSIX),
# Wine pour lancer les programmes et les tests Windows, les sources de
# GoogleTest (compilées avec le compilateur croisé), Openbox et xprop pour le
# test de la fenêtre Windows (qui demande aussi Xvfb et xdotool). Pour les
# paquets de tools/paquets.sh : dpkg-dev (dépendances du paquet Debian) et
# lintian.
# shellcheck disable=SC2034
PAQUETS_WINDOWS=(g++-mingw-w64-x86-64-posix wine wine64 googletest openbox x11-utils dpkg-dev
  lintian)

# Prépare un préfixe Wine neuf dans le dossier donné et garde son serveur en
# marche (wineserver -p) : CTest n'attend pas les processus de fond de Wine,
# et chaque programme démarre vite. arreter_wine l'arrête.
preparer_wine() {
  export WINEPREFIX="$1" WINEDEBUG=-all
  mkdir -p "$WINEPREFIX"
  # Le serveur d'abord : une fois wineboot lancé, « wineserver -p » trouverait
  # le sien déjà en marche et échouerait.
  wineserver -p || return 1
  wineboot -i >/dev/null 2>&1 || return 1
}
arreter_wine() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
}

# Installe les outils npm des tests (tests/consumers) d'après leur
# package-lock.json ; npm vient de Debian s'il manque.
installer_outils_npm() {
  if ! command -v npm >/dev/null 2>&1; then
    installer_manquants npm || return 1
  fi
  npm ci --prefix tests/consumers --no-audit --no-fund --prefer-offline
}

# Vrai quand le paquet Debian est installé.
paquet_installe() {
  [ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" = "installed" ]
}

# Installe, avec apt-get, les paquets Debian de la liste qui manquent.
# La liste des paquets n'est mise à jour (apt-get update) que s'il en manque.
installer_manquants() {
  if ! command -v dpkg-query >/dev/null 2>&1; then
    echo "dpkg-query introuvable : système non Debian, les dépendances ne sont pas vérifiées" \
      "($*)." >&2
    return 0
  fi
  local manquants=()
  local paquet
  for paquet in "$@"; do
    paquet_installe "$paquet" || manquants+=("$paquet")
  done
  if [ "${#manquants[@]}" -eq 0 ]; then
    echo "Dépendances déjà installées : $*"
    return 0
  fi

  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      sudo=(sudo)
    else
      echo "Paquets manquants : ${manquants[*]}" >&2
      echo "Installez-les en tant que root (apt-get install ${manquants[*]}) puis relancez." >&2
      return 1
    fi
  fi
  echo "Installation des paquets manquants : ${manquants[*]}"
  "${sudo[@]}" apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${manquants[@]}"
  for paquet in "${manquants[@]}"; do
    if ! paquet_installe "$paquet"; then
      echo "Le paquet $paquet n'a pas pu être installé." >&2
      return 1
    fi
  done
}

# Durée lisible : « 75 » -> « 1 min 15 s ».
duree() {
  local s=$1
  if [ "$s" -ge 60 ]; then
    printf '%d min %02d s' $((s / 60)) $((s % 60))
  else
    printf '%d s' "$s"
  fi
}
