#!/usr/bin/env python3
"""Checks the mizona.exe we ship, as Windows 95 and 98 will see it.

    check_exe.py build/win32/mizona.exe

Read with pefile and binutils' objdump: the PE header a first-release Windows
95 accepts, three sections in 6 KiB, a complete relocation table (Win32s
needs one to load it on Windows 3.1), the exact import list (no C runtime),
no instruction a 486 lacks, no static constructors, the version record, the
icon, the French texts in code page 1252 and the setting's location and
window class not in clear.
"""
import os
import re
import subprocess
import sys
import tempfile

import pefile

import pe_relocs
from checklist import Checklist

EXE = sys.argv[1]
DATA = open(EXE, "rb").read()
PE = pefile.PE(EXE)
check = Checklist()


# ---- the PE header ----
oh, fh = PE.OPTIONAL_HEADER, PE.FILE_HEADER
check("i386 machine", fh.Machine == 0x14C, hex(fh.Machine))
check("PE32", oh.Magic == 0x10B)
check("GUI subsystem", oh.Subsystem == 2, oh.Subsystem)
check("subsystem version 4.0", (oh.MajorSubsystemVersion, oh.MinorSubsystemVersion) == (4, 0))
check("OS version 4.0", (oh.MajorOperatingSystemVersion, oh.MinorOperatingSystemVersion) == (4, 0))
check("image base 0x400000", oh.ImageBase == 0x400000, hex(oh.ImageBase))
for flag, bit in (("DYNAMIC_BASE", 0x40), ("NX_COMPAT", 0x100), ("TERMINAL_SERVER_AWARE", 0x8000)):
    check(f"no {flag}", not oh.DllCharacteristics & bit, hex(oh.DllCharacteristics))
tls = oh.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_TLS"]]
check("no TLS directory", tls.VirtualAddress == 0 and tls.Size == 0)
check("at most 6,144 bytes", len(DATA) <= 6144, f"{len(DATA)} bytes")

# ---- sections: headers in one 512-byte block, code, texts and imports in one
# section the loader may write (the import address table), then resources and
# relocations ----
check("headers of 512 bytes, file alignment 512", (oh.SizeOfHeaders, oh.FileAlignment) == (512, 512),
      (oh.SizeOfHeaders, oh.FileAlignment))
names = [sec.Name.rstrip(b"\0").decode() for sec in PE.sections]
check("three sections: .flat, .rsrc, .reloc", names == [".flat", ".rsrc", ".reloc"], names)
flat = PE.sections[0]
CODE, EXECUTE, READ, WRITE = 0x20, 0x20000000, 0x40000000, 0x80000000
check(".flat is code the loader may write", flat.Characteristics & (CODE | EXECUTE | READ | WRITE)
      == CODE | EXECUTE | READ | WRITE, hex(flat.Characteristics))
for entry in ("IMPORT", "IAT"):
    d = oh.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY[f"IMAGE_DIRECTORY_ENTRY_{entry}"]]
    check(f"{entry} table inside .flat", d.Size and flat.contains_rva(d.VirtualAddress), hex(d.VirtualAddress))
check("entry point inside .flat", flat.contains_rva(oh.AddressOfEntryPoint), hex(oh.AddressOfEntryPoint))

# ---- relocations: complete, and complete enough to move the image ----
pe_relocs.check_relocations(EXE, check)
# The check itself sees a relocation gone: the same file with its last entry
# turned into padding.
with tempfile.TemporaryDirectory() as tmp:
    last = [e for b in PE.DIRECTORY_ENTRY_BASERELOC for e in b.entries if e.type][-1]
    offset = last.struct.get_file_offset()
    damaged = os.path.join(tmp, "damaged.exe")
    open(damaged, "wb").write(DATA[:offset] + b"\0\0" + DATA[offset + 2:])
    seen = []
    pe_relocs.check_relocations(damaged, lambda name, ok, detail="": seen.append(ok))
    check("a relocation taken away is noticed", not all(seen), seen)

# ---- imports: the calls the program makes, and nothing else ----
expected = {
    "KERNEL32.DLL": {"GetVersion", "ExitProcess"},
    "USER32.DLL": {"MessageBoxA", "ExitWindowsEx", "FindWindowA", "SendMessageA"},
    "ADVAPI32.DLL": {"RegCreateKeyExA", "RegOpenKeyExA", "RegQueryValueExA", "RegSetValueExA", "RegDeleteValueA",
                     "RegCloseKey"},
}
imports = {e.dll.decode().upper(): {i.name.decode() for i in e.imports} for e in PE.DIRECTORY_ENTRY_IMPORT}
check("imports exactly the program's calls", imports == expected, imports)

# ---- code: no static constructors, nothing a 486 lacks ----
_, code, _ = pe_relocs.code_and_data(PE)
# The code ends with the empty constructor and destructor lists.
check("no static constructors or destructors", pe_relocs.LISTS in flat.get_data())
start = oh.ImageBase + flat.VirtualAddress
listing = subprocess.run(["i686-w64-mingw32-objdump", "-d", "--no-show-raw-insn", f"--start-address={start:#x}",
                          f"--stop-address={start + len(code):#x}", EXE],
                         capture_output=True, text=True, check=True).stdout
mnemonics = [line.split("\t")[1].split()[0] for line in listing.splitlines()
             if re.match(r"^\s+[0-9a-f]+:\t\S", line)]
# Instructions of the Pentium and later, and any MMX/SSE register.
later = re.compile(r"^(cmov|fcmov|fcomi|fucomi|cmpxchg8b|cpuid|rdtsc|rdpmc|rdmsr|wrmsr|sysenter|sysexit|ud2|"
                   r"fxsave|fxrstor|prefetch|movnt|[lms]fence|pause|popcnt|lzcnt|tzcnt|movbe|emms)")
bad = sorted({m for m in mnemonics if later.match(m) or m == "(bad)"})
bad += ["an MMX or SSE register"] if re.search(r"%(x|y)?mm\d", listing) else []
check(f"only 386/486 instructions ({len(mnemonics)} read)", len(mnemonics) > 100 and not bad, bad)

# ---- the version record ----
fixed = PE.VS_FIXEDFILEINFO[0]
check("file version 1.0.0.0", (fixed.FileVersionMS, fixed.FileVersionLS) == (0x10000, 0))
check("product version 1.0.0.0", (fixed.ProductVersionMS, fixed.ProductVersionLS) == (0x10000, 0))
check("file flags 0", fixed.FileFlags == 0)
check("VOS__WINDOWS32", fixed.FileOS == 0x4, hex(fixed.FileOS))
check("VFT_APP", fixed.FileType == 0x1)
tables, translations = {}, []
for info in PE.FileInfo[0]:
    for table in getattr(info, "StringTable", []):
        tables[table.LangID.decode()] = {k.decode(): v.decode() for k, v in table.entries.items()}
    for var in getattr(info, "Var", []):
        translations += list(var.entry.values())
check("one string table, French and code page 1252", list(tables) in (["040C04E4"], ["040c04e4"]), list(tables))
strings = next(iter(tables.values()), {})
want = {"FileDescription": "Désactivation Ajout d'imprimante", "FileVersion": "1.0.0.0",
        "ProductVersion": "1.0.0.0", "InternalName": "MIZOna", "ProductName": "MIZOna",
        "OriginalFilename": "mizona.exe"}
for key, value in want.items():
    check(f"{key} {value!r}", strings.get(key) == value, strings.get(key))
for key in ("CompanyName", "LegalCopyright", "Comments"):
    check(f"{key} given", bool(strings.get(key)))
check("translation French, 1252", translations == ["0x040c 0x04e4"], translations)

# ---- the icon ----
resources = {e.id or str(e.name): e for e in PE.DIRECTORY_ENTRY_RESOURCE.entries}


def leaf_data(named):  # the data of a resource's first language
    leaf = named.directory.entries[0].data.struct
    return PE.get_data(leaf.OffsetToData, leaf.Size)


groups = resources.get(pefile.RESOURCE_TYPE["RT_GROUP_ICON"])
names = [str(e.name) for e in groups.directory.entries] if groups else []
check("icon group MAINICON", names == ["MAINICON"], names)
if groups:
    group = leaf_data(groups.directory.entries[0])
    count = int.from_bytes(group[4:6], "little")
    width, height, colours = group[6], group[7], group[8]
    bits = int.from_bytes(group[12:14], "little")
    check("one image, 32 x 32, 16 colours, 4 bits", (count, width, height, colours, bits) == (1, 32, 32, 16, 4),
          (count, width, height, colours, bits))
icons = resources.get(pefile.RESOURCE_TYPE["RT_ICON"])
if icons:
    image = leaf_data(icons.directory.entries[0])
    size, w, h, planes, bits, compression = pefile.struct.unpack("<IiiHHI", image[:20])
    check("an uncompressed 4-bit bitmap image", (size, w, h, planes, bits, compression) == (40, 32, 64, 1, 4, 0)
          and len(image) == 40 + 16 * 4 + 32 * 16 + 32 * 4, (size, w, h, planes, bits, compression, len(image)))
else:
    check("an icon image", False)

# ---- texts ----
french = [
    "MIZOna pour Windows 95/98",
    "Fonction : Option [Ajout Imprimante] pour Windows",
    "Note       : Option réversible en relançant le programme",
    "Ajout Imprimante possible. Voulez-vous désactiver ?",
    "Ajout Imprimante désactivé. Voulez-vous activer ?",
    "L'ajout d'imprimante a été désactivé.",
    "L'ajout d'imprimante a été réactivé.",
    "L'opération s'est déroulée avec succés.\r\n",
    "Votre ordinateur doit redémarrer pour prendre en",
    "compte les modifications apportées. Voulez-vous",
    "redémarrer maintenant ?",
    "Ce programme ne peut pas être utilisé sous Windows 3.x !",
    "Une erreur s'est produite durant l'opération !",
]
missing = [t for t in french if t.encode("cp1252") not in DATA]
check(f"the {len(french)} French texts stored in code page 1252", not missing, missing)

hidden = ["Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", "Policies", "Explorer",
          "CurrentVersion", "NoAddPrinter", "PrintFolder"]
lower = DATA.lower()
shown = [t for t in hidden if t.lower().encode() in lower or t.lower().encode("utf-16-le") in lower]
check("setting location and window class not in clear", not shown, shown)

sys.exit(check.finish())
