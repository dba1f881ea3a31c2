#!/usr/bin/env python3
"""What Windows reads from a built program before it runs it: the PE header's Terminal Server
mark, without which a Remote Desktop Session Host gives the program a private Windows folder
(no INF file, no spool file found, "not found" counted as removed), and the execution level its
embedded manifest asks for.
    program-marks.py PROGRAM.exe LEVEL [PROGRAM.exe LEVEL ...]"""
import re
import struct
import sys

TERMINAL_SERVER_AWARE = 0x8000  # IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE

failed = 0
args = sys.argv[1:]
for path, level in zip(args[::2], args[1::2]):
    try:
        with open(path, 'rb') as f:
            image = f.read()
    except OSError as error:
        print(f'FAIL {path}: {error.strerror}: build the Windows tree first')
        failed += 1
        continue
    pe = struct.unpack_from('<I', image, 0x3C)[0]
    if image[:2] != b'MZ' or image[pe:pe + 4] != b'PE\0\0':
        print(f'FAIL {path}: not a PE image')
        failed += 1
        continue
    # After the signature and the 20-byte file header, the optional header holds
    # DllCharacteristics at offset 70, in PE32 and PE32+ alike.
    characteristics = struct.unpack_from('<H', image, pe + 4 + 20 + 70)[0]
    problems = []
    if not characteristics & TERMINAL_SERVER_AWARE:
        problems.append(f'DllCharacteristics 0x{characteristics:04x} lacks TERMINAL_SERVER_AWARE')
    levels = [found.decode() for found in
              re.findall(rb'requestedExecutionLevel\s+level="([^"]*)"', image)]
    if levels != [level]:
        problems.append(f'the manifest asks for {levels}, not {level}')
    for problem in problems:
        print(f'FAIL {path}: {problem}')
    if not problems:
        print(f'ok   {path}: terminal server aware, {level}')
    failed += len(problems)
sys.exit(1 if failed or not args or len(args) % 2 else 0)
