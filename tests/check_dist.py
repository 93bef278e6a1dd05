#!/usr/bin/env python3
"""Checks the release images of mizona.exe, read back with each format's own
tools, and that building them (the exe included) twice gives the same bytes.

    check_dist.py SOURCE_DIR EXE

The exe is built twice more, from SOURCE_DIR into two fresh build trees, and
the two must match; the images are made twice from EXE and must match. Then
one set is read back: the zip with unzip, the floppy with mtools, the CD
with xorriso; each holds MIZONA.EXE and LISEZMOI.TXT byte for byte.
"""
import hashlib
import os
import re
import subprocess
import sys
import tempfile

from checklist import Checklist

SOURCE, EXE = sys.argv[1], sys.argv[2]
README = os.path.join(SOURCE, "release", "LISEZMOI.TXT")
MAKE = os.path.join(SOURCE, "scripts", "make_dist.py")
check = Checklist()


def run(*args, **kw):
    return subprocess.run(args, check=True, capture_output=True, **kw).stdout


def files(directory):
    return {name: open(os.path.join(directory, name), "rb").read() for name in sorted(os.listdir(directory))}


want = {"MIZONA.EXE": open(EXE, "rb").read(), "LISEZMOI.TXT": open(README, "rb").read()}

with tempfile.TemporaryDirectory() as tmp:
    # ---- the exe, built twice from the sources ----
    exes = []
    for n in (1, 2):
        tree = os.path.join(tmp, f"build{n}")
        run("cmake", "-S", SOURCE, "-B", tree, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=MinSizeRel",
            f"-DCMAKE_TOOLCHAIN_FILE={SOURCE}/cmake/toolchain-i686-w64-mingw32.cmake")
        run("cmake", "--build", tree, "--target", "mizona")
        exes.append(open(os.path.join(tree, "mizona.exe"), "rb").read())
    check("mizona.exe built twice: the same bytes", exes[0] == exes[1])
    stamp = int.from_bytes(exes[0][0x88:0x8C], "little")  # TimeDateStamp (PE header at 0x80)
    commit = int(run("git", "-C", SOURCE, "log", "-1", "--format=%ct").decode() or 0)
    check("its time stamp is the last commit's date", stamp == commit, (stamp, commit))

    # ---- the images, made twice ----
    outs = [os.path.join(tmp, f"dist{n}") for n in (1, 2)]
    for out in outs:
        run(sys.executable, MAKE, EXE, README, out)
    made = [files(out) for out in outs]
    check("the images made twice: the same bytes", made[0] == made[1], sorted(made[0]))
    check("four files", sorted(made[0]) == ["SHA256SUMS", "mizona-1.0-disquette.img", "mizona-1.0.iso",
                                            "mizona-1.0.zip"], sorted(made[0]))
    sums = {line.split("  ")[1]: line.split("  ")[0] for line in made[0]["SHA256SUMS"].decode().splitlines()}
    check("SHA256SUMS matches the three images",
          sums == {n: hashlib.sha256(made[0][n]).hexdigest() for n in made[0] if n != "SHA256SUMS"}, sums)
    dist = outs[0]

    # ---- the zip ----
    zip_path = os.path.join(dist, "mizona-1.0.zip")
    names = run("unzip", "-Z1", zip_path).decode().split()
    check("zip: MIZONA.EXE and LISEZMOI.TXT", names == ["MIZONA.EXE", "LISEZMOI.TXT"], names)
    for name, data in want.items():
        check(f"zip: {name} byte for byte", run("unzip", "-p", zip_path, name) == data)

    # ---- the floppy ----
    img = os.path.join(dist, "mizona-1.0-disquette.img")
    boot = made[0]["mizona-1.0-disquette.img"][:512]
    check("floppy: 1,474,560 bytes", len(made[0]["mizona-1.0-disquette.img"]) == 1474560)
    bpb = (int.from_bytes(boot[11:13], "little"), boot[13], int.from_bytes(boot[14:16], "little"), boot[16],
           int.from_bytes(boot[17:19], "little"), int.from_bytes(boot[19:21], "little"), boot[21],
           int.from_bytes(boot[22:24], "little"))
    check("floppy: a 1.44 MB FAT12 boot sector", boot[510:] == b"\x55\xaa" and boot[54:62] == b"FAT12   "
          and bpb == (512, 1, 1, 2, 224, 2880, 0xF0, 9), (bpb, boot[54:62]))
    env = dict(os.environ, MTOOLS_SKIP_CHECK="1")
    label = run("mlabel", "-s", "-i", img, "::", env=env).decode()
    check("floppy: labelled MIZONA", re.search(r"Volume label is MIZONA\s*$", label), label)
    listing = run("mdir", "-b", "-i", img, "::", env=env).decode().split()
    check("floppy: MIZONA.EXE and LISEZMOI.TXT", listing == ["::/MIZONA.EXE", "::/LISEZMOI.TXT"], listing)
    for name, data in want.items():
        check(f"floppy: {name} byte for byte", run("mtype", "-i", img, "::" + name, env=env) == data)

    # ---- the CD ----
    iso = os.path.join(dist, "mizona-1.0.iso")
    pvd = made[0]["mizona-1.0.iso"][16 * 2048:17 * 2048]
    check("CD: an ISO 9660 volume MIZONA", pvd[1:6] == b"CD001" and pvd[40:72].rstrip() == b"MIZONA", pvd[40:72])
    extracted = os.path.join(tmp, "cd")
    run("xorriso", "-osirrox", "on", "-indev", iso, "-extract", "/", extracted)
    names = sorted(os.listdir(extracted))
    check("CD: 8.3 names MIZONA.EXE and LISEZMOI.TXT", names == ["LISEZMOI.TXT", "MIZONA.EXE"], names)
    for name, data in want.items():
        path = os.path.join(extracted, name)
        check(f"CD: {name} byte for byte", os.path.exists(path) and open(path, "rb").read() == data)

# ---- the read-me ----
readme = want["LISEZMOI.TXT"]
check("LISEZMOI.TXT: code page 1252", readme.decode("cp1252", "strict") is not None)
check("LISEZMOI.TXT: CR LF line ends only", readme.endswith(b"\r\n") and readme.count(b"\n") == readme.count(b"\r\n")
      and readme.count(b"\r") == readme.count(b"\r\n"))
long = [line for line in readme.decode("cp1252").split("\r\n") if len(line) > 76]
check("LISEZMOI.TXT: no line over 76 characters", not long, long)
check("LISEZMOI.TXT: French letters, not their UTF-8 bytes", b"\xc3" not in readme and "é".encode("cp1252") in readme)

sys.exit(check.finish())
