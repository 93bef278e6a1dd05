"""Where the wine32 tier's Wine lives: Debian's own 32-bit Wine, unpacked by
scripts/wine32-root.sh into a private root below the user's cache, with a
prefix booted there once. The i386 programs run on the processor itself
(the kernel's IA-32 emulation); their libraries come from the root, their
C library from the machine's libc6-i386. The machine's own 64-bit
wineserver serves them, as it serves 32-bit clients by design."""
import os
import shutil
import subprocess

CACHE = os.path.join(os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache"), "mizona", "wine32")
ROOT = os.path.join(CACHE, "root")
LOADER = os.path.join(ROOT, "usr/lib/wine/wine")
WINESERVER = "/usr/lib/wine/wineserver"


# The exit status by which a wine32 test says it could not run here (ctest's
# SKIP_RETURN_CODE): shown as skipped, with the reason, never as passed.
SKIPPED = 77


def unsupported():
    """Why the tier cannot run on this machine, or None when it can."""
    if not os.path.exists(LOADER):
        return None  # not prepared: the set-up fails and says so
    try:
        runs = subprocess.run([LOADER, "--version"], env=dict(os.environ, **environment()),
                              capture_output=True, timeout=30).returncode == 0
    except OSError:
        runs = False
    if not runs:
        return "this kernel starts no 32-bit programs (no IA-32 emulation), so the shipped i686 exe cannot run here"
    return None


def environment():
    return {"LD_LIBRARY_PATH": f"{ROOT}/usr/lib/i386-linux-gnu:{ROOT}/lib/i386-linux-gnu", "WINEARCH": "win32",
            "WINESERVER": WINESERVER}


def copy_ready_prefix(prefix):
    """A fresh copy of the prefix booted when the root was made."""
    ready = os.path.join(CACHE, "prefix")
    if not os.path.isdir(ready):
        raise RuntimeError(f"no 32-bit Wine prefix in {ready}: run scripts/install-deps.sh wine32")
    subprocess.run(["cp", "-a", "--reflink=auto", ready, prefix], check=True)
    shutil.rmtree(os.path.join(prefix, "wineserver"), ignore_errors=True)
