#!/usr/bin/env bash
# Construit et vérifie les paquets de Lintaro :
#  - le paquet Debian « lintaro » (scrutinette et lintaro, l'aide dans
#    /usr/share/lintaro, les pages de manuel, le .desktop et les icônes),
#    à partir d'un dossier de construction Linux release ; il est vérifié par
#    lintian et en lançant ses programmes depuis une copie extraite
#    (dpkg-deb -x) ;
#  - l'archive Windows lintaro-VERSION-windows.zip (scrutinette.exe,
#    lintaro.exe s'il est construit, l'aide et LISEZMOI.txt), à partir d'un
#    dossier de construction mingw-w64 ; elle est vérifiée en lançant
#    scrutinette.exe sous Wine depuis le dossier décompressé.
# Les paquets sont rangés dans DOSSIER_RELEASE/paquets/. Le script s'arrête
# avec un code non nul à la première vérification en échec.
#
# Usage : tools/paquets.sh DOSSIER_RELEASE [DOSSIER_WINDOWS]
# Outils : dpkg-deb et dpkg-shlibdeps (dpkg-dev), lintian, gzip, strip ; pour
# la fenêtre, Xvfb et xdotool (sinon elle n'est pas lancée) ; pour l'archive,
# cmake, Wine et x86_64-w64-mingw32-strip (binutils-mingw-w64-x86-64).
set -euo pipefail

racine="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "Usage : tools/paquets.sh DOSSIER_RELEASE [DOSSIER_WINDOWS]" >&2
  exit 2
fi
release="$(realpath "$1")"
windows="${2:+$(realpath "$2")}"

echec() {
  echo "paquets.sh : ÉCHEC : $*" >&2
  exit 1
}

version="$(sed -n 's/.*kVersion = "\([0-9.]*\)".*/\1/p' "$racine/core/Version.h")"
[ -n "$version" ] || echec "version introuvable dans core/Version.h"
# Les dates des fichiers et du changelog : celles du dernier commit, pour que
# deux constructions du même commit donnent les mêmes paquets.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH="$(git -C "$racine" log -1 --format=%ct 2>/dev/null || date +%s)"
fi
export SOURCE_DATE_EPOCH

sortie="$release/paquets"
mkdir -p "$sortie"
travail="$(mktemp -d "${TMPDIR:-/tmp}/lintaro-paquets-XXXXXX")"
xvfb_pid=""
lintaro_pid=""
nettoyer_paquets() {
  if [ -n "$lintaro_pid" ]; then kill "$lintaro_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$travail"
}
trap nettoyer_paquets EXIT
umask 022

titre() { printf '\n==> %s\n' "$*"; }

# Un script d'essai, tel qu'un auteur de mod en écrirait : un « endif » en
# trop à la ligne 7, que Lintaro doit signaler.
ecrire_script_fautif() {
  printf '%s\n' 'Begin essai_paquet' 'short compte' '' 'if ( compte == 1 )' \
    '	set compte to 2' 'endif' 'endif' 'End' >"$1"
}
ecrire_script_correct() {
  printf '%s\n' 'Begin essai_propre' 'short compte' 'set compte to 1' 'End' >"$1"
}
# La ligne du rapport qui le signale.
constat_attendu="- Ligne 7 : un 'endif' en trop"

# ---------------------------------------------------------------------------
# Paquet Debian
# ---------------------------------------------------------------------------

construire_deb() {
  titre "Paquet Debian depuis $release"
  local programme
  for programme in scrutinette lintaro; do
    [ -x "$release/$programme" ] ||
      echec "$release/$programme manque (construire avec -DLINTARO_BUILD_WINDOW=ON, cible $programme)"
  done
  local arch maintenance
  arch="$(dpkg --print-architecture)"
  maintenance="$(sed -n 's/^LINTARO_CONTACT_ADDRESS:[A-Z]*=//p' "$release/CMakeCache.txt")"
  [ -n "$maintenance" ] || maintenance="lintaro@example.org"
  deb_version="$version-1"
  deb="$sortie/lintaro_${deb_version}_${arch}.deb"

  local r="$travail/deb"
  install -d "$r/DEBIAN" "$r/usr/bin" "$r/usr/share/lintaro" "$r/usr/share/man/man1" \
    "$r/usr/share/applications" "$r/usr/share/doc/lintaro" \
    "$r/usr/share/icons/hicolor/scalable/apps"
  for programme in scrutinette lintaro; do
    install -m 0755 "$release/$programme" "$r/usr/bin/$programme"
    strip --strip-unneeded --remove-section=.comment --remove-section=.note "$r/usr/bin/$programme"
  done
  install -m 0644 "$racine/shell/AideDebug.htm" "$racine/shell/AideDebug.txt" "$r/usr/share/lintaro/"
  local page
  for page in scrutinette lintaro; do
    gzip -9n <"$racine/docs/$page.1" >"$r/usr/share/man/man1/$page.1.gz"
  done
  install -m 0644 "$racine/data/lintaro.desktop" "$r/usr/share/applications/"
  local taille
  for taille in 16 32 48 256; do
    install -d "$r/usr/share/icons/hicolor/${taille}x$taille/apps"
    install -m 0644 "$racine/data/lintaro-$taille.png" \
      "$r/usr/share/icons/hicolor/${taille}x$taille/apps/lintaro.png"
  done
  install -m 0644 "$racine/data/lintaro.svg" "$r/usr/share/icons/hicolor/scalable/apps/"
  install -m 0644 "$racine/data/debian/copyright" "$r/usr/share/doc/lintaro/"
  install -d "$r/usr/share/lintian/overrides"
  install -m 0644 "$racine/data/debian/lintian-overrides" "$r/usr/share/lintian/overrides/lintaro"
  gzip -9n <"$racine/docs/diagnostics.md" >"$r/usr/share/doc/lintaro/diagnostics.md.gz"
  {
    printf 'lintaro (%s) unstable; urgency=medium\n\n' "$deb_version"
    printf '  * Lintaro %s, paquet construit par tools/paquets.sh.\n\n' "$version"
    printf ' -- Équipe Lintaro <%s>  %s\n' "$maintenance" \
      "$(LC_ALL=C date -u -R -d "@$SOURCE_DATE_EPOCH")"
  } | gzip -9n >"$r/usr/share/doc/lintaro/changelog.Debian.gz"
  chmod 0644 "$r/usr/share/doc/lintaro/"* "$r/usr/share/man/man1/"*

  # Les dépendances : les bibliothèques partagées des deux programmes.
  mkdir -p "$travail/shlibs/debian"
  printf 'Source: lintaro\n\nPackage: lintaro\nArchitecture: any\n' >"$travail/shlibs/debian/control"
  local dependances
  dependances="$(cd "$travail/shlibs" && dpkg-shlibdeps -O -e"$r/usr/bin/scrutinette" \
    -e"$r/usr/bin/lintaro" 2>"$travail/shlibs.log" | sed -n 's/^shlibs:Depends=//p')" ||
    { cat "$travail/shlibs.log" >&2; echec "dpkg-shlibdeps"; }
  [ -n "$dependances" ] || echec "aucune dépendance trouvée par dpkg-shlibdeps"

  find "$r" -exec touch --no-dereference -d "@$SOURCE_DATE_EPOCH" {} +
  (cd "$r" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum) >"$r/DEBIAN/md5sums"
  local taille_installee
  taille_installee="$(du -sk --apparent-size "$r/usr" | cut -f1)"
  cat >"$r/DEBIAN/control" <<CONTROLE
Package: lintaro
Version: $deb_version
Architecture: $arch
Maintainer: Équipe Lintaro <$maintenance>
Installed-Size: $taille_installee
Depends: $dependances
Recommends: xdg-utils, x-terminal-emulator | xterm
Section: devel
Priority: optional
Description: vérificateur et formateur de scripts Morrowind
 Lintaro vérifie les scripts de Morrowind et de ses extensions Tribunal et
 Bloodmoon, y compris ceux des plugins (fichiers esp, esm et omwaddon), et
 écrit en français un rapport des erreurs et des alertes, ligne par ligne.
 Il sait aussi remettre les scripts en forme.
 .
 Le paquet contient le programme console scrutinette (sorties texte, gcc,
 JSON et SARIF, serveur de langage pour les éditeurs) et la fenêtre lintaro.
CONTROLE
  chmod 0644 "$r/DEBIAN/control" "$r/DEBIAN/md5sums"
  touch -d "@$SOURCE_DATE_EPOCH" "$r/DEBIAN" "$r/DEBIAN/"*
  dpkg-deb --root-owner-group -Zxz --build "$r" "$deb" >/dev/null
  echo "Construit : $deb"
}

verifier_deb_lintian() {
  titre "lintian"
  local rapport="$travail/lintian.txt"
  local code=0
  lintian --fail-on error,warning --display-info "$deb" >"$rapport" 2>&1 || code=$?
  cat "$rapport"
  [ "$code" -eq 0 ] || echec "lintian (code $code)"
  echo "lintian : ni erreur ni avertissement."
}

verifier_deb_programmes() {
  titre "Programmes du paquet Debian, depuis une copie extraite"
  local copie="$travail/extrait"
  dpkg-deb -x "$deb" "$copie"
  local scrutinette="$copie/usr/bin/scrutinette"
  local f
  for f in usr/bin/lintaro usr/share/lintaro/AideDebug.htm usr/share/lintaro/AideDebug.txt \
    usr/share/man/man1/scrutinette.1.gz usr/share/applications/lintaro.desktop \
    usr/share/icons/hicolor/48x48/apps/lintaro.png; do
    [ -s "$copie/$f" ] || echec "$f manque dans le paquet"
  done

  local essai="$travail/essai-deb"
  mkdir -p "$essai"
  [ "$("$scrutinette" --version)" = "scrutinette (Lintaro) $version" ] ||
    echec "scrutinette --version : $("$scrutinette" --version)"
  ecrire_script_fautif "$essai/essai.txt"
  ecrire_script_correct "$essai/propre.txt"
  local code=0
  (cd "$essai" && "$scrutinette" essai.txt >sortie.txt) || code=$?
  [ "$code" -eq 1 ] || echec "scrutinette essai.txt : code $code au lieu de 1"
  grep -qF -- "$constat_attendu" "$essai/Correction de essai.txt" ||
    echec "le rapport de essai.txt ne signale pas l'endif en trop"
  cmp -s "$essai/sortie.txt" "$essai/Correction de essai.txt" ||
    echec "la sortie standard diffère du rapport écrit"
  code=0
  (cd "$essai" && "$scrutinette" --sortie gcc propre.txt essai.txt >gcc.txt) || code=$?
  [ "$code" -eq 1 ] || echec "scrutinette --sortie gcc : code $code au lieu de 1"
  grep -q "^essai.txt:7: error: .*\[LT[0-9]*\]$" "$essai/gcc.txt" ||
    echec "--sortie gcc ne donne pas la ligne 7 de essai.txt"
  ! grep -q "^propre.txt:.*error" "$essai/gcc.txt" || echec "propre.txt a des erreurs"
  echo "scrutinette : rapport, sortie standard et sortie gcc conformes."

  verifier_deb_fenetre "$copie"
}

# La fenêtre extraite démarre, et « Aide » trouve l'aide dans
# usr/share/lintaro de la copie (un faux xdg-open note ce qu'il ouvre).
verifier_deb_fenetre() {
  local copie=$1
  if ldd "$copie/usr/bin/lintaro" | grep -q "not found"; then
    ldd "$copie/usr/bin/lintaro" | grep "not found" >&2
    echec "bibliothèques de lintaro introuvables"
  fi
  local outil
  for outil in Xvfb xdotool; do
    if ! command -v "$outil" >/dev/null 2>&1; then
      echo "$outil est absent : la fenêtre n'est pas lancée (ses bibliothèques sont là)."
      return 0
    fi
  done
  # shellcheck source=tools/xvfb_commun.sh disable=SC1091
  source "$racine/tools/xvfb_commun.sh"
  local dossier="$travail/fenetre"
  mkdir -p "$dossier/bin" "$dossier/travail"
  cat >"$dossier/bin/xdg-open" <<FAUX
#!/bin/sh
echo "\$1" >>"$dossier/ouverts.txt"
FAUX
  chmod +x "$dossier/bin/xdg-open"
  demarrer_xvfb || echec "Xvfb ne démarre pas"
  xvfb_pid_local=$xvfb_pid
  (cd "$dossier/travail" && PATH="$dossier/bin:$PATH" exec "$copie/usr/bin/lintaro") \
    >"$dossier/lintaro.log" 2>&1 &
  lintaro_pid=$!
  attendre 60 fenetre '^Lintaro$' || { cat "$dossier/lintaro.log" >&2; echec "la fenêtre « Lintaro » n'apparaît pas"; }
  local principale aide_ouverte="" essai
  principale="$(fenetre '^Lintaro$')"
  aide_attendue="$copie/usr/share/lintaro/AideDebug.htm"
  aide_trouvee() { grep -qxF "$aide_attendue" "$dossier/ouverts.txt" 2>/dev/null; }
  for essai in 1 2 3 4 5; do
    xdotool windowactivate --sync "$principale" 2>/dev/null ||
      xdotool windowfocus --sync "$principale" 2>/dev/null || true
    xdotool mousemove --window "$principale" 150 100 key alt+m
    sleep "$((essai / 2)).5"
    xdotool key a
    if attendre 5 aide_trouvee; then
      aide_ouverte=1
      break
    fi
    xdotool key Escape
  done
  [ -n "$aide_ouverte" ] ||
    echec "« Aide » n'a pas ouvert $aide_attendue (ouverts : $(cat "$dossier/ouverts.txt" 2>/dev/null))"
  kill "$lintaro_pid" 2>/dev/null || true
  wait "$lintaro_pid" 2>/dev/null || true
  lintaro_pid=""
  kill "$xvfb_pid_local" 2>/dev/null || true
  wait "$xvfb_pid_local" 2>/dev/null || true
  xvfb_pid=""
  echo "lintaro : la fenêtre s'ouvre, « Aide » ouvre usr/share/lintaro/AideDebug.htm."
}

# ---------------------------------------------------------------------------
# Archive Windows
# ---------------------------------------------------------------------------

construire_zip() {
  titre "Archive Windows depuis $windows"
  [ -f "$windows/scrutinette.exe" ] || echec "$windows/scrutinette.exe manque"
  local nom="lintaro-$version-windows"
  local d="$travail/zip/$nom"
  mkdir -p "$d"
  install -m 0644 "$windows/scrutinette.exe" "$d/"
  local fenetre_exe
  fenetre_exe="$(find "$windows" -maxdepth 3 -name lintaro.exe -type f | head -n 1)"
  if [ -n "$fenetre_exe" ]; then
    install -m 0644 "$fenetre_exe" "$d/"
  else
    echo "lintaro.exe n'est pas construit : l'archive n'a que scrutinette.exe."
  fi
  if command -v x86_64-w64-mingw32-strip >/dev/null 2>&1; then
    x86_64-w64-mingw32-strip --strip-unneeded "$d/"*.exe
  fi
  install -m 0644 "$racine/shell/AideDebug.htm" "$racine/shell/AideDebug.txt" "$d/"
  # LISEZMOI.txt est gardé en LF dans le dépôt ; Windows le veut en CR LF.
  ! grep -q $'\r' "$racine/data/windows/LISEZMOI.txt" || echec "data/windows/LISEZMOI.txt contient des CR"
  sed 's/$/\r/' "$racine/data/windows/LISEZMOI.txt" >"$d/LISEZMOI.txt"
  zip="$sortie/$nom.zip"
  rm -f "$zip"
  find "$d" -exec touch -d "@$SOURCE_DATE_EPOCH" {} +
  # Les fichiers dans l'ordre de leurs noms, datés du commit : la même
  # archive à chaque construction.
  (cd "$travail/zip" && find "$nom" -type f | LC_ALL=C sort >"$travail/zip.liste" &&
    cmake -E tar cf "$zip" --format=zip --files-from="$travail/zip.liste" \
      --mtime="$(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S UTC')")
  echo "Construit : $zip"
}

verifier_zip() {
  titre "Archive Windows : scrutinette.exe sous Wine, depuis le dossier décompressé"
  local nom="lintaro-$version-windows"
  local ouvert="$travail/zip-ouvert"
  mkdir -p "$ouvert"
  (cd "$ouvert" && cmake -E tar xf "$zip")
  local d="$ouvert/$nom"
  local f
  for f in scrutinette.exe AideDebug.htm AideDebug.txt LISEZMOI.txt; do
    [ -s "$d/$f" ] || echec "$f manque dans l'archive"
  done
  # Chaque ligne de LISEZMOI.txt finit par CR LF, et par un seul CR.
  if grep -qv $'\r$' "$d/LISEZMOI.txt" || grep -q $'\r\r' "$d/LISEZMOI.txt"; then
    echec "LISEZMOI.txt n'est pas en CR LF"
  fi
  command -v wine >/dev/null 2>&1 || echec "Wine est absent"
  export WINEPREFIX="${WINEPREFIX:-${TMPDIR:-/tmp}/lintaro-paquets-wine}"
  export WINEDEBUG="${WINEDEBUG:--all}"

  # Le script d'essai est posé dans le dossier décompressé, en CR LF comme
  # sous Windows, et vérifié par scrutinette.exe lancé depuis ce dossier.
  ecrire_script_fautif "$travail/essai-lf.txt"
  sed 's/$/\r/' "$travail/essai-lf.txt" >"$d/essai.txt"
  local version_vue
  version_vue="$(cd "$d" && wine ./scrutinette.exe --version 2>"$travail/wine.log" | tr -d '\r')" ||
    { cat "$travail/wine.log" >&2; echec "wine scrutinette.exe --version"; }
  [ "$version_vue" = "scrutinette (Lintaro) $version" ] ||
    echec "scrutinette.exe --version : $version_vue"
  local code=0
  (cd "$d" && wine ./scrutinette.exe essai.txt >sortie.txt 2>"$travail/wine.log") || code=$?
  [ "$code" -eq 1 ] || { cat "$travail/wine.log" >&2; echec "scrutinette.exe essai.txt : code $code au lieu de 1"; }
  local rapport="$d/Correction de essai.txt"
  [ -s "$rapport" ] || echec "scrutinette.exe n'a pas écrit « Correction de essai.txt »"
  grep -qF -- "$constat_attendu" "$rapport" ||
    echec "le rapport de scrutinette.exe ne signale pas l'endif en trop"
  if grep -qv $'\r$' "$rapport" || grep -q $'\r\r' "$rapport"; then
    echec "le rapport de scrutinette.exe n'est pas en CR LF"
  fi
  cmp -s "$d/sortie.txt" "$rapport" ||
    echec "la sortie standard de scrutinette.exe diffère du rapport écrit (CR CR LF ?)"
  echo "scrutinette.exe : version, rapport en CR LF et sortie standard conformes."
}

construire_deb
verifier_deb_lintian
verifier_deb_programmes
if [ -n "$windows" ]; then
  construire_zip
  verifier_zip
fi
titre "Paquets prêts dans $sortie"
ls -l "$sortie"
