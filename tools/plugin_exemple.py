"""Writes the example plugin of the window's screenshot and end-to-end test.

Masters Morrowind.esm and Tribunal.esm; three scripts (an extra "endif", a
Tribunal function, a tab before a comment) and a dialogue's result script
that declares a variable. TES3 format, little-endian.

Usage: python3 tools/plugin_exemple.py PATH
"""
import struct
import sys


def sub(tag, data):
    return tag.encode() + struct.pack("<I", len(data)) + data


def rec(tag, data):
    return tag.encode() + struct.pack("<III", len(data), 0, 0) + data


def script(name, text):
    schd = name.encode().ljust(32, b"\0") + bytes(20)
    return rec("SCPT", sub("SCHD", schd) + sub("SCTX", text.encode()))


hedr = struct.pack("<fI", 1.3, 0) + b"Lintaro".ljust(32, b"\0") + bytes(256) + struct.pack("<I", 5)
head = sub("HEDR", hedr)
for master in ("Morrowind.esm", "Tribunal.esm"):
    head += sub("MAST", master.encode() + b"\0") + sub("DATA", bytes(8))
body = rec("TES3", head)
body += script("GardePorte", "Begin GardePorte\r\nshort compte\r\nif ( compte == 1 )\r\n"
               "\tset compte to 2\r\nendif\r\nendif\r\nEnd\r\n")
body += script("GardeSaut", "Begin GardeSaut\r\nshort x\r\nset x to GetPCJumping\r\nEnd\r\n")
body += script("GardeRonde", "Begin GardeRonde\r\nshort pas\r\nset pas to pas + 1\t; un pas\r\nEnd\r\n")
body += rec("DIAL", sub("NAME", b"Garde\0") + sub("DATA", b"\0"))
body += rec("INFO", sub("INAM", b"1204\0") + sub("PNAM", b"\0") + sub("NNAM", b"\0")
            + sub("BNAM", b"short a\r\nset a to 1\r\n"))
with open(sys.argv[1], "wb") as out:
    out.write(body)
