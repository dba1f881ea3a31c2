#!/usr/bin/env python3
"""What Windows reads from a built program before it runs it: the PE header's Terminal Server
mark (without it a Remote Desktop Session Host gives the program a private Windows folder, where
it finds no INF file and no spool file) and the execution level its manifest asks for.
    program-marks.py PROGRAM.exe LEVEL [PROGRAM.exe LEVEL ...]"""
import re
import struct
import sys

TERMINAL_SERVER_AWARE = 0x8000  # IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE

problems = []
for path, level in zip(sys.argv[1::2], sys.argv[2::2]):
    with open(path, 'rb') as f:
        image = f.read()
    pe = struct.unpack_from('<I', image, 0x3C)[0]
    # DllCharacteristics: offset 70 of the optional header (PE32 and PE32+ alike), which follows
    # the signature and the 20-byte file header.
    characteristics = struct.unpack_from('<H', image, pe + 4 + 20 + 70)[0]
    if image[pe:pe + 4] != b'PE\0\0' or not characteristics & TERMINAL_SERVER_AWARE:
        problems.append(f'{path}: not marked TERMINAL_SERVER_AWARE')
    levels = re.findall(rb'requestedExecutionLevel\s+level="([^"]*)"', image)
    if levels != [level.encode()]:
        problems.append(f'{path}: the manifest asks for {levels}, not {level}')
print('\n'.join(f'FAIL {problem}' for problem in problems) or 'ok')
sys.exit(1 if problems or len(sys.argv) < 3 else 0)
