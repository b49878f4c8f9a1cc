#!/usr/bin/env bash
# Prend la capture du dialogue « Débuguer un plugin » (docs/captures/plugin.png)
# sous Xvfb avec Openbox : un petit plugin écrit ici, ouvert par le menu
# « Fichiers... » et son sélecteur de fichiers.
#
# Usage : bash tools/capture_plugin.sh CHEMIN_DE_LINTARO
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
racine="$PWD"
lintaro="$(realpath "$1")"
sortie="$racine/docs/captures"
mkdir -p "$sortie"
# shellcheck source=tools/xvfb_commun.sh
source tools/xvfb_commun.sh
preparer_dossier lintaro-capture-plugin
mkdir -p "$dossier/travail" "$dossier/config"

# Le plugin : maîtres Morrowind.esm et Tribunal.esm, trois scripts et le
# résultat d'une réplique (format TES3, petit-boutiste).
python3 - "$dossier/travail/Garde.esp" <<'PY'
import struct, sys
def sub(tag, data): return tag.encode() + struct.pack("<I", len(data)) + data
def rec(tag, data): return tag.encode() + struct.pack("<III", len(data), 0, 0) + data
def script(name, text):
    return rec("SCPT", sub("SCHD", name.encode().ljust(32, b"\0") + bytes(20)) + sub("SCTX", text.encode()))
hedr = struct.pack("<fI", 1.3, 0) + b"Lintaro".ljust(32, b"\0") + bytes(256) + struct.pack("<I", 5)
head = sub("HEDR", hedr)
for master in ("Morrowind.esm", "Tribunal.esm"):
    head += sub("MAST", master.encode() + b"\0") + sub("DATA", bytes(8))
body = rec("TES3", head)
body += script("GardePorte", "Begin GardePorte\r\nshort compte\r\nif ( compte == 1 )\r\n\tset compte to 2\r\nendif\r\nendif\r\nEnd\r\n")
body += script("GardeSaut", "Begin GardeSaut\r\nshort x\r\nset x to GetPCJumping\r\nEnd\r\n")
body += script("GardeRonde", "Begin GardeRonde\r\nshort pas\r\nset pas to pas + 1\t; un pas\r\nEnd\r\n")
body += rec("DIAL", sub("NAME", b"Garde\0") + sub("DATA", b"\0"))
body += rec("INFO", sub("INAM", b"1204\0") + sub("PNAM", b"\0") + sub("NNAM", b"\0") + sub("BNAM", b"short a\r\nset a to 1\r\n"))
open(sys.argv[1], "wb").write(body)
PY

demarrer_xvfb
demarrer_openbox
cd "$dossier/travail"
XDG_CONFIG_HOME="$dossier/config" "$lintaro" >"$dossier/lintaro.log" 2>&1 &
lintaro_pid=$!
attendre 60 fenetre '^Lintaro$'
principale="$(fenetre '^Lintaro$')"

# Menu « Fichiers... », article « Débuguer un plugin... » (troisième) ; sous
# charge on réessaie jusqu'à ce que le sélecteur paraisse.
for essai in 1 2 3 4 5; do
  xdotool windowfocus --sync "$principale" 2>/dev/null || true
  xdotool mousemove --window "$principale" 35 12 click 1
  sleep $((essai / 2)).5
  xdotool key Down Down Down Return
  attendre 5 fenetre '^Choisir un plugin$' && break
  xdotool key Escape
done
attendre 1 fenetre '^Choisir un plugin$'
sleep 1
xdotool type --delay 30 "$dossier/travail/Garde.esp"
sleep 0.5
xdotool key Return
attendre 20 fenetre 'Débuguer un plugin : Garde.esp'
dialogue="$(fenetre 'Débuguer un plugin : Garde.esp')"
sleep 1
xdotool mousemove 1270 790
sleep 0.5
# La fenêtre avec le cadre qu'Openbox met autour d'elle.
id="$dialogue"
while ligne="$(xwininfo -tree -id "$id" | grep 'Parent window id')" &&
  [[ "$ligne" != *"(the root window)"* ]]; do
  id="$(awk '{print $4}' <<<"$ligne")"
done
zone="$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
  /Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h "+" x "+" y}')"
import -window root -screen "$dossier/ecran.png"
convert "$dossier/ecran.png" -crop "$zone" +repage "$sortie/plugin.png"
echo "  docs/captures/plugin.png"
