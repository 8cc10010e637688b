#!/usr/bin/env python3
"""Writes a C++ file that holds files as byte strings, for the ranking page's assets built into the server.
Usage: embed.py OUTPUT.cpp NAME=FILE...   (each NAME becomes `extern const std::string_view NAME`).
A FILE ending in .png is wrapped as an icon file (.ico) holding that one PNG image."""
import struct
import sys


def icon(png):
    width, height = struct.unpack(">II", png[16:24])
    # ICONDIR, then one ICONDIRENTRY whose image starts right after it (22 bytes in); 0 means 256.
    return struct.pack("<HHH", 0, 1, 1) + struct.pack(
        "<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(png), 22) + png


output, *pairs = sys.argv[1:]
lines = ["// Made by server/web/embed.py at build time.", "#include <string_view>", "",
         "namespace quintora::server {", ""]
for pair in pairs:
    name, path = pair.split("=", 1)
    data = open(path, "rb").read()
    if path.endswith(".png"):
        data = icon(data)
    lines.append(f"extern const std::string_view {name};")
    lines.append(f"static const unsigned char {name}Bytes[] = {{")
    for start in range(0, len(data), 24):
        lines.append("    " + ", ".join(str(b) for b in data[start:start + 24]) + ",")
    lines.append("};")
    lines.append(f"const std::string_view {name}(reinterpret_cast<const char*>({name}Bytes), sizeof {name}Bytes);")
    lines.append("")
lines.append("}  // namespace quintora::server")
open(output, "w").write("\n".join(lines) + "\n")
