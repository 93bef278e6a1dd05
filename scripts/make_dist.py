#!/usr/bin/env python3
"""Builds the release of mizona.exe for a Windows 95/98 machine:

    make_dist.py EXE LISEZMOI OUTDIR

OUTDIR gets mizona-1.0.zip, mizona-1.0-disquette.img (a 1.44 MB FAT12
floppy labelled MIZONA), mizona-1.0.iso (ISO 9660 with 8.3 names) and
SHA256SUMS, each holding MIZONA.EXE and LISEZMOI.TXT. Two runs over the same
inputs give the same bytes: every date is the last commit's
(SOURCE_DATE_EPOCH, or git's), the files go in in one order, and the
floppy's serial number comes from that date.
"""
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile

NAME = "mizona-1.0"
FILES = ["MIZONA.EXE", "LISEZMOI.TXT"]  # in this order everywhere


def epoch():
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    here = os.path.dirname(os.path.abspath(__file__))
    out = subprocess.run(["git", "-C", here, "log", "-1", "--format=%ct"], capture_output=True, text=True)
    if out.returncode != 0 or not out.stdout.strip():
        sys.exit("make_dist: no SOURCE_DATE_EPOCH and no git history to take the date from")
    return int(out.stdout.strip())


def main():
    exe, readme, outdir = sys.argv[1:4]
    when = epoch()
    env = dict(os.environ, SOURCE_DATE_EPOCH=str(when), TZ="UTC", LC_ALL="C", MTOOLS_SKIP_CHECK="1")
    os.makedirs(outdir, exist_ok=True)
    with tempfile.TemporaryDirectory() as stage:
        for name, source in zip(FILES, [exe, readme]):
            shutil.copyfile(source, os.path.join(stage, name))
            os.utime(os.path.join(stage, name), (when, when))

        def run(*args):
            done = subprocess.run(args, cwd=stage, env=env, capture_output=True, text=True)
            if done.returncode != 0:
                sys.exit(f"make_dist: {args[0]} failed ({done.returncode}):\n{done.stderr}")

        zip_path = os.path.join(os.path.abspath(outdir), NAME + ".zip")
        img_path = os.path.join(os.path.abspath(outdir), NAME + "-disquette.img")
        iso_path = os.path.join(os.path.abspath(outdir), NAME + ".iso")
        for path in (zip_path, img_path, iso_path):
            if os.path.exists(path):
                os.remove(path)
        # zip: no extra fields (owners, Unix times), no directory entries.
        run("zip", "-X", "-D", "-q", zip_path, *FILES)
        # The floppy: formatted in the image file itself, no mount, no root.
        run("mformat", "-C", "-i", img_path, "-f", "1440", "-v", "MIZONA", "-N", f"{when & 0xFFFFFFFF:08X}", "::")
        run("mcopy", "-m", "-i", img_path, *FILES, "::")
        # The CD: plain ISO 9660 level 1 (8.3 names), as Windows 95's CD
        # driver reads it; xorriso takes every date from SOURCE_DATE_EPOCH.
        run("xorriso", "-as", "mkisofs", "-quiet", "-iso-level", "1", "-V", "MIZONA", "-o", iso_path, *FILES)

    sums = []
    for path in (zip_path, img_path, iso_path):
        digest = hashlib.sha256(open(path, "rb").read()).hexdigest()
        sums.append(f"{digest}  {os.path.basename(path)}\n")
    open(os.path.join(outdir, "SHA256SUMS"), "w").write("".join(sums))
    print("".join(sums), end="")


if __name__ == "__main__":
    main()
