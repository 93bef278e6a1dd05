#!/usr/bin/env python3
"""Proves a mizona.exe's base-relocation table complete.

    pe_relocs.py EXE

Every absolute address inside the image that the program holds must sit on
a relocation entry, or a loader that places the program elsewhere (Win32s
always does) leaves it pointing at the old place. The addresses are found
where they can hide: in the operands of every instruction (objdump's
disassembly, byte by byte) and in the data after the code (every aligned
word or quadword). Then the image is rebased with its own relocations
(pefile does what the loader does) and each of those operands must have
moved by exactly the distance.

check_exe.py runs these checks on the shipped i686 exe; this script runs
them alone on the x86_64 one.
"""
import re
import subprocess
import sys

import pefile

# The empty constructor and destructor lists the linker script puts after
# the code: where the code ends and the data begins.
LISTS = b"\xff\xff\xff\xff\x00\x00\x00\x00" * 2
NEW_BASE = 0x10000000


def code_and_data(pe):
    """(section, code bytes, where the data after the lists starts)."""
    flat = pe.sections[0]
    data = flat.get_data()[: flat.Misc_VirtualSize]
    end = data.find(LISTS)
    return flat, data[:end] if end >= 0 else data, end + len(LISTS) if end >= 0 else len(data)


def objdump(pe, path, start, stop):
    tool = "i686-w64-mingw32-objdump" if pe.FILE_HEADER.Machine == 0x14C else "x86_64-w64-mingw32-objdump"
    return subprocess.run([tool, "-d", "-w", f"--start-address={start:#x}", f"--stop-address={stop:#x}", path],
                          capture_output=True, text=True, check=True).stdout


def instructions(listing):
    """(address, raw bytes, text) of every instruction in an objdump -w listing."""
    for line in listing.splitlines():
        m = re.match(r"^\s+([0-9a-f]+):\t((?:[0-9a-f]{2} )+)\s*\t?(.*)$", line)
        if m:
            yield int(m.group(1), 16), bytes.fromhex(m.group(2).replace(" ", "")), m.group(3)


def absolute_addresses(pe, path):
    """{rva of an operand or data word: the address it holds} for every value
    inside the image, in the code's instructions and in the data after it."""
    base, size = pe.OPTIONAL_HEADER.ImageBase, pe.OPTIONAL_HEADER.SizeOfImage
    width = 4 if pe.FILE_HEADER.Machine == 0x14C else 8
    inside = range(base, base + size)
    flat, code, data_start = code_and_data(pe)
    found = {}
    start = base + flat.VirtualAddress
    for address, raw, _ in instructions(objdump(pe, path, start, start + len(code))):
        for n in {4, width}:
            for i in range(len(raw) - n + 1):
                value = int.from_bytes(raw[i:i + n], "little")
                if value in inside:
                    found[address - base + i] = value
    data = flat.get_data()[: flat.Misc_VirtualSize]
    for offset in range(data_start - data_start % width, len(data) - width + 1, width):
        value = int.from_bytes(data[offset:offset + width], "little")
        if value in inside:
            found[flat.VirtualAddress + offset] = value
    return found, len(code)


def relocation_entries(pe):
    """{rva: type} of the base-relocation table (none when there is no table)."""
    entries = {}
    for block in getattr(pe, "DIRECTORY_ENTRY_BASERELOC", []):
        for entry in block.entries:
            if entry.type:  # type 0 only pads a block
                entries[entry.rva] = entry.type
    return entries


def rebase(path, new_base):
    """The file's bytes moved to new_base as a loader moves the image: each
    relocation gets the distance added, and the header names the new base.
    (pefile's own relocate_image also rewrites the import thunks, which the
    loader reads as they are stored, so its output does not load.)"""
    pe = pefile.PE(path)
    data = bytearray(pe.__data__)
    delta = new_base - pe.OPTIONAL_HEADER.ImageBase
    for rva, kind in relocation_entries(pe).items():
        offset = pe.get_offset_from_rva(rva)
        width = {3: 4, 10: 8}[kind]  # HIGHLOW, DIR64
        value = int.from_bytes(data[offset:offset + width], "little")
        data[offset:offset + width] = ((value + delta) % (1 << (8 * width))).to_bytes(width, "little")
    base_at = pe.OPTIONAL_HEADER.get_field_absolute_offset("ImageBase")
    width = 4 if pe.FILE_HEADER.Machine == 0x14C else 8
    data[base_at:base_at + width] = new_base.to_bytes(width, "little")
    return bytes(data)


def check_relocations(path, check):
    """Runs the checks through check(name, ok, detail)."""
    pe = pefile.PE(path)
    check("relocations not stripped", not pe.FILE_HEADER.Characteristics & 0x0001,
          hex(pe.FILE_HEADER.Characteristics))
    found, code_size = absolute_addresses(pe, path)
    entries = relocation_entries(pe)
    missing = sorted(hex(rva) for rva in found if rva not in entries)
    check(f"every absolute address sits on a relocation ({len(found)} found in {code_size} bytes of code and "
          f"the data; {len(entries)} relocations)", code_size > 1000 and not missing, missing)
    stray = sorted(hex(rva) for rva in entries if rva not in found)
    check("every relocation is an address the program holds", not stray, stray)

    rebased = pefile.PE(data=rebase(path, NEW_BASE))
    delta = NEW_BASE - pe.OPTIONAL_HEADER.ImageBase
    moved = []
    for rva, value in found.items():
        width = 8 if entries.get(rva) == 10 else 4  # DIR64, else HIGHLOW
        now = int.from_bytes(rebased.get_data(rva, width), "little")
        if now != value + delta:
            moved.append(f"{rva:#x}: {value:#x} -> {now:#x}")
    check(f"rebased to {NEW_BASE:#x}, each of them moved with the image", not moved, moved)


def main():
    from checklist import Checklist
    check = Checklist()
    check_relocations(sys.argv[1], check)
    return check.finish()


if __name__ == "__main__":
    sys.exit(main())
