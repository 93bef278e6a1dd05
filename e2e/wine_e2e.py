#!/usr/bin/env python3
"""Runs mizona.exe end to end under Wine, the real Win32 API.

    wine_e2e.py --build DIR [--tier T] setup      own Xvfb, fresh prefix, one wineserver
    wine_e2e.py --build DIR [--tier T] case NAME  one run (or two) of the program
    wine_e2e.py --build DIR [--tier T] table      the registry-helper table on Wine
    wine_e2e.py --build DIR [--tier T] cleanup    stop everything, remove the prefix
    wine_e2e.py --build DIR screenshots OUTDIR    the four boxes as PNG (wine64)
    wine_e2e.py --list [--tier T]                 the case names

Two tiers: wine64 runs the x86_64 build under Debian's wine64; wine32 runs
the shipped i686 file, byte for byte, under Debian's 32-bit Wine from a
private root that scripts/install-deps.sh prepares (wine32.py says how).

Each case seeds the registry and the reported Windows version, opens the
target window if it asks for one, lets boxdriver play the user (driving),
and then checks what it saw (checking): the boxes (text bytes against the
program's texts table, buttons), the program's own Win32 calls as Wine's
relay trace shows them (box styles and owner, registry flags, the order of
the steps, ExitWindowsEx(3, 0)), the WM_CLOSE messages the window received,
the registry afterwards and the exit status.
"""
import argparse
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import wine32

POLICIES = r"Software\Microsoft\Windows\CurrentVersion\Policies"
KEY = POLICIES + r"\Explorer"
VALUE = "NoAddPrinter"
CAPTION = "MIZOna pour Windows 95/98"
BASE, REBASED = 0x400000, 0x10000000  # where mizona.exe is linked to lie, and where a case may move it
PROGRAM_CALLS = ["GetVersion", "MessageBoxA", "ExitWindowsEx", "FindWindowA", "SendMessageA", "RegCreateKeyExA",
                 "RegOpenKeyExA", "RegQueryValueExA", "RegSetValueExA", "RegDeleteValueA", "RegCloseKey"]
STEP_LIMIT = 60  # seconds any one Wine command may take

REG_SZ, REG_BINARY, REG_DWORD = 1, 3, 4
MB_OK, MB_YESNO, MB_ICONERROR, MB_ICONQUESTION = 0x00, 0x04, 0x10, 0x20


def dword(v):
    return (REG_DWORD, (v & 0xFFFFFFFF).to_bytes(4, "little").hex())


def text(s):
    return (REG_SZ, (s + "\0").encode("cp1252").hex())


NEIGHBOURS = {"Autre": text("laisser tel quel"), "NoDriveTypeAutoRun": dword(0x95),
              "Binaire": (REG_BINARY, "00ff10")}

# The boxes, by the names texts_dump gives them (the program's own names for
# the line that sets each apart), with their buttons and style.
QUESTION = ("6,7", MB_YESNO | MB_ICONQUESTION)
ERROR = ("1", MB_OK | MB_ICONERROR)
BOXES = {"QuestionWhileEnabled": QUESTION, "QuestionWhileDisabled": QUESTION, "OutcomeSwitchedOff": QUESTION,
         "OutcomeSwitchedOn": QUESTION, "UnsupportedSystem": ERROR, "OperationFailed": ERROR}

# Every case, named as the host flow table names the same path: the Windows
# version Wine reports (None: its own NT version), the value before (None: no
# key at all), a fault, the target window, and one (answers, boxes) pair a
# run; then what must hold afterwards. "rebased" runs the exe moved to
# another base with its own relocations, as Win32s and any loader that
# cannot use the linked base place it: a relocation missing from the table
# leaves an address pointing at the old place.
CASES = {
    "NoValueYesThenNoRestart": dict(
        version="win98", seed=None, window="closes",
        runs=[("yes,no", ["QuestionWhileEnabled", "OutcomeSwitchedOff"])], closes=1, restart=False, after=dword(1)),
    "ValueOneYesThenRestart": dict(
        version="win95", seed=dword(1), window="closes",
        runs=[("yes,yes", ["QuestionWhileDisabled", "OutcomeSwitchedOn"])], closes=1, restart=True, after=None),
    "NoWhileSwitchedOffKeepsIt": dict(
        version="win98", seed=dword(1), window="ignores", runs=[("no", ["QuestionWhileDisabled"])],
        closes=1, restart=False, after=dword(1)),
    "PresentZeroIsOverwritten": dict(
        version="win98", seed=dword(0), window="ignores",
        runs=[("yes,no", ["QuestionWhileEnabled", "OutcomeSwitchedOff"])], closes=2, restart=False, after=dword(1)),
    "TextOneReadsAsOnAndIsReplaced": dict(
        version="win98", seed=text("1"), window=None,
        runs=[("yes,no", ["QuestionWhileEnabled", "OutcomeSwitchedOff"])], closes=0, restart=False, after=dword(1)),
    "TwoRunsOffThenOnWithRestart": dict(
        version="win95", seed=None, window="ignores",
        runs=[("yes,no", ["QuestionWhileEnabled", "OutcomeSwitchedOff"]),
              ("yes,yes", ["QuestionWhileDisabled", "OutcomeSwitchedOn"])], closes=4, restart=True, after=None),
    "Windows31IsRefused": dict(
        version="win31", seed=dword(1), window="ignores", runs=[("ok", ["UnsupportedSystem"])],
        closes=0, restart=False, after=dword(1)),
    "RefusedWriteShowsTheError": dict(
        version="win98", seed=None, fault="volatile", window="closes",
        runs=[("yes,ok", ["QuestionWhileEnabled", "OperationFailed"])], closes=1, restart=False, after=None),
    "ReadOnlyKeyIsReadButNotChanged": dict(
        version="winxp", seed=dword(1), fault="readonly", window="closes",
        runs=[("yes,ok", ["QuestionWhileDisabled", "OperationFailed"])], closes=1, restart=False, after=dword(1)),
    "RebasedWindows31IsRefused": dict(
        version="win31", seed=None, window="ignores", rebased=True, runs=[("ok", ["UnsupportedSystem"])],
        closes=0, restart=False, after=None),
    "RebasedNoValueYesThenNoRestart": dict(
        version="win98", seed=None, window="ignores", rebased=True,
        runs=[("yes,no", ["QuestionWhileEnabled", "OutcomeSwitchedOff"])], closes=2, restart=False, after=dword(1)),
}


class Failed(Exception):
    pass


def winpath(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Wine:
    """One tier's Wine: its loader, prefix, display and wineserver."""

    def __init__(self, build, tier="wine64"):
        self.build = os.path.abspath(build)
        self.tier = tier
        self.work = os.path.join(self.build, "e2e")
        self.state_file = os.path.join(self.work, "state.json")
        self.state = json.load(open(self.state_file)) if os.path.exists(self.state_file) else {}
        if tier == "wine32":
            self.loader, self.wineserver = wine32.LOADER, wine32.WINESERVER
            self.bits = 32
        else:
            self.loader, self.wineserver = "/usr/lib/wine/wine64", "/usr/lib/wine/wineserver"
            self.bits = 64
        # HKEY_CURRENT_USER as the relay trace prints it: sign-extended on x86_64.
        self.hkcu = "80000001" if self.bits == 32 else "ffffffff80000001"

    def exe(self, name):
        if name == "mizona-rebased":
            return os.path.join(self.work, name + ".exe")
        sub = "" if name == "mizona" else "e2e"
        return os.path.join(self.build, sub, name + ".exe")

    def env(self, relay=False, lang=None):
        env = dict(os.environ)
        env.update(WINEPREFIX=self.state["prefix"], DISPLAY=self.state["display"],
                   WINEDEBUG="+relay" if relay else "-all", WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        if self.tier == "wine32":
            env.update(wine32.environment())
        env["LC_ALL"] = lang or "C.UTF-8"
        return env

    def run(self, args, relay=False, lang=None, stderr=subprocess.DEVNULL):
        """A Wine command; its output goes through files, as the Wine services
        it may start inherit its handles and would hold a pipe open."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            try:
                code = subprocess.run([self.loader] + args, env=self.env(relay, lang), stdout=out,
                                      stderr=err if stderr == subprocess.PIPE else stderr, stdin=subprocess.DEVNULL,
                                      timeout=STEP_LIMIT, check=False).returncode
            except subprocess.TimeoutExpired as e:
                raise Failed(f"{args[0]} took more than {STEP_LIMIT} s") from e
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(args, code, out.read(), err.read())

    def image_size(self):
        """How much of the address space mizona.exe's image takes."""
        import pefile
        return pefile.PE(self.exe("mizona"), fast_load=True).OPTIONAL_HEADER.SizeOfImage

    def regtool(self, *args):
        result = self.run([self.exe("regtool"), *args])
        if result.returncode != 0:
            raise Failed(f"regtool {' '.join(args)} failed ({result.returncode})")
        return result.stdout.decode("latin-1").replace("\r\n", "\n")

    # ---- the environment ----

    def setup(self, lang=None):
        os.makedirs(self.work, exist_ok=True)
        self.cleanup()
        display = next(n for n in range(90, 400) if not os.path.exists(f"/tmp/.X{n}-lock")
                       and not os.path.exists(f"/tmp/.X11-unix/X{n}"))
        # Daemons get none of our handles: ctest waits for our output to close.
        quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        xvfb = subprocess.Popen(["Xvfb", f":{display}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                start_new_session=True, **quiet)
        prefix = os.path.join(self.work, "prefix")
        shutil.rmtree(prefix, ignore_errors=True)
        self.state = {"display": f":{display}", "xvfb": xvfb.pid, "prefix": prefix}
        json.dump(self.state, open(self.state_file, "w"))
        wait_for(lambda: os.path.exists(f"/tmp/.X11-unix/X{display}"), 10, "Xvfb to start")
        if self.tier == "wine32":
            wine32.copy_ready_prefix(prefix)  # booted once, when the root was made
        else:
            os.makedirs(prefix)
        # One wineserver for the whole run, so that each Wine command starts fast.
        subprocess.run([self.wineserver, "-p"], env=self.env(), check=True, timeout=STEP_LIMIT, **quiet)
        boot = self.run(["wineboot", "-i"] if self.tier != "wine32" else ["wineboot"], lang=lang)
        if boot.returncode != 0:
            raise Failed(f"wineboot failed ({boot.returncode})")
        self.regtool("set", r"Software\Wine\Debug", "RelayInclude", str(REG_SZ),
                     (";".join(PROGRAM_CALLS) + "\0").encode().hex())
        dump = self.run([self.exe("texts_dump")])
        texts = dict(line.strip().split("\t") for line in dump.stdout.decode().splitlines() if line.strip())
        if set(texts) != set(BOXES):
            raise Failed(f"texts_dump gave {sorted(texts)}")
        self.state["texts"] = texts
        json.dump(self.state, open(self.state_file, "w"))
        rebase(self.exe("mizona"), self.exe("mizona-rebased"))

    def cleanup(self):
        if self.state.get("prefix"):
            subprocess.run([self.wineserver, "-k"], env=self.env(), timeout=STEP_LIMIT, check=False,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            shutil.rmtree(self.state["prefix"], ignore_errors=True)
        if self.state.get("xvfb"):
            try:
                os.killpg(self.state["xvfb"], signal.SIGTERM)
            except ProcessLookupError:
                pass
        if os.path.exists(self.state_file):
            os.remove(self.state_file)
        self.state = {}

    # ---- one run of the program ----

    def seed(self, version, seed, fault):
        self.regtool("wipe", POLICIES)
        if version:
            self.regtool("set", r"Software\Wine", "Version", str(REG_SZ), (version + "\0").encode().hex())
        else:
            self.regtool("unset", r"Software\Wine", "Version")
        args = []
        if fault == "volatile":
            args += ["volatile", POLICIES]
        if seed:
            for name, (kind, data) in {**NEIGHBOURS, VALUE: seed}.items():
                args += ["set", KEY, name, str(kind), data]
        if fault == "readonly":
            args += ["readonly", KEY]
        if args:
            self.regtool(*args)

    def drive(self, answers, tmp, shots=None, lang=None, rebased=False):
        """One run through boxdriver: (boxes, exit line, the program's calls)."""
        record = os.path.join(tmp, "boxes.txt")
        args = [self.exe("boxdriver"), winpath(record), answers] + ([winpath(shots)] if shots else [])
        args += ["--", winpath(self.exe("mizona-rebased" if rebased else "mizona"))]
        if shots:  # a virtual desktop, so that Wine draws the title bars
            args = ["explorer", "/desktop=MIZOna,800x500"] + args
        result = self.run(args, relay=not shots, lang=lang, stderr=subprocess.PIPE)
        lines = open(record, encoding="latin-1").read().splitlines() if os.path.exists(record) else []
        boxes = []
        for line in lines:
            if line.startswith("box "):
                buttons, hex_text = line[4:].rsplit(" ", 1)
                boxes.append((",".join(b.split(":")[0] for b in buttons.split(",")), bytes.fromhex(hex_text)))
        end = lines[-1] if lines else "no record"
        base = REBASED if rebased else BASE
        calls = program_calls(result.stderr.decode("latin-1"), range(base, base + self.image_size()))
        return boxes, end, calls


def wait_for(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            raise Failed(f"waited {seconds} s for {what}")
        time.sleep(0.05)


def rebase(exe, out):
    """A copy of the exe moved to REBASED with its own relocations."""
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
    import pe_relocs
    open(out, "wb").write(pe_relocs.rebase(exe, REBASED))


def program_calls(trace, image):
    """The Win32 calls mizona.exe itself made (from inside its image), in
    order: (name, [arguments])."""
    calls = []
    for line in trace.splitlines():
        m = re.match(r"^[0-9a-f]+:Call [\w.]+?\.(\w+)\((.*)\) ret=([0-9a-f]+)$", line)
        if m and int(m.group(3), 16) in image:
            calls.append((m.group(1), split_args(m.group(2))))
    return calls


def num(arg, bits=64):
    """An argument as the relay trace prints it ("0060fab0 \"text\""), as a
    number; 32-bit arguments travel in 64-bit slots whose upper half is
    whatever was there."""
    return int(arg.split(" ", 1)[0], 16) & ((1 << bits) - 1)


def split_args(text):
    args, current, quoted = [], "", False
    for i, c in enumerate(text):
        if c == '"' and (i == 0 or text[i - 1] != "\\"):
            quoted = not quoted
        if c == "," and not quoted:
            args.append(current)
            current = ""
        else:
            current += c
    return args + [current]


# ---- driving: one case played through, and what it left ----

def drive_case(wine, case):
    """Seeds, runs the program once a run, and collects what a check needs."""
    wine.seed(case["version"], case["seed"], case.get("fault"))
    seen = {"before": wine.regtool("dump", KEY), "runs": []}
    tmp = tempfile.mkdtemp(dir=wine.work)
    window_log = os.path.join(tmp, "window.log")
    window = None
    try:
        if case["window"]:
            flags = ["--ignore-close"] if case["window"] == "ignores" else []
            window = subprocess.Popen([wine.loader, wine.exe("targetwin"), winpath(window_log)] + flags,
                                      env=wine.env(), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL)
            wait_for(lambda: os.path.exists(window_log) and "ready" in open(window_log).read(), 30,
                     "the target window")
        for answers, _ in case["runs"]:
            seen["runs"].append(wine.drive(answers, tmp, rebased=case.get("rebased", False)))
    finally:
        if window:
            if window.poll() is None:
                window.terminate()
            window.wait(timeout=STEP_LIMIT)
    seen["closes"] = open(window_log).read().split().count("WM_CLOSE") if os.path.exists(window_log) else 0
    seen["after"] = wine.regtool("dump", KEY)
    shutil.rmtree(tmp, ignore_errors=True)
    return seen


# ---- checking: what was seen against what the case asks ----

class Checker:
    def __init__(self):
        self.failures, self.count = [], 0

    def __call__(self, what, ok, detail=""):
        self.count += 1
        print(("ok: " if ok else "FAILED: ") + what + ("" if ok or detail == "" else f"\n    {detail}"))
        if not ok:
            self.failures.append(what)


def check_case(check, case, seen, texts, wine):
    restarts = 0
    for run, ((_, expected), (boxes, end, calls)) in enumerate(zip(case["runs"], seen["runs"]), 1):
        check(f"run {run}: exit status 0", end == "exit 0", end)
        check(f"run {run}: {len(expected)} box(es), in order",
              [t for _, t in boxes] == [bytes.fromhex(texts[e]) for e in expected],
              [t.decode("cp1252") for _, t in boxes])
        check(f"run {run}: buttons", [b for b, _ in boxes] == [BOXES[e][0] for e in expected], [b for b, _ in boxes])
        shown = [a for n, a in calls if n == "MessageBoxA"]
        check(f"run {run}: boxes without owner, captioned, styled",
              [(num(a[0], wine.bits), a[2].split(" ", 1)[-1], num(a[3], 32)) for a in shown]
              == [(0, f'"{CAPTION}"', BOXES[e][1]) for e in expected], shown)
        check_registry_calls(check, run, calls, expected, wine)
        check_order(check, run, calls, expected, case["window"])
        restarts += sum(1 for n, a in calls if n == "ExitWindowsEx" and (num(a[0], 32), num(a[1], 32)) == (3, 0))
    check("ExitWindowsEx(3, 0) " + ("called once" if case["restart"] else "never called"),
          restarts == (1 if case["restart"] else 0), restarts)
    check(f"the window received WM_CLOSE {case['closes']} time(s)", seen["closes"] == case["closes"], seen["closes"])

    values = dict(line.split("\t", 1) for line in seen["after"].splitlines()[1:])
    want = f"{case['after'][0]}\t{case['after'][1]}" if case["after"] else None
    check(f"{VALUE} afterwards: {want or 'absent'}", values.get(VALUE) == want, values.get(VALUE))
    if case["after"] and not case["seed"]:
        check("the key was created", seen["after"].startswith("present"))
    old = dict(line.split("\t", 1) for line in seen["before"].splitlines()[1:])
    for name in NEIGHBOURS:
        if name in old:
            check(f"{name} kept byte for byte", values.get(name) == old[name], values.get(name))


def check_registry_calls(check, run, calls, expected, wine):
    reg = [(n, a) for n, a in calls if n.startswith("Reg")]
    if expected == ["UnsupportedSystem"]:
        check(f"run {run}: Windows 3.x: no registry call, no window looked for",
              not reg and not any(n in ("FindWindowA", "SendMessageA") for n, _ in calls), calls)
        return
    opens = [a for n, a in reg if n in ("RegOpenKeyExA", "RegCreateKeyExA")]
    check(f"run {run}: every key opened below HKEY_CURRENT_USER at the setting's path",
          opens and all(a[0] == wine.hkcu and a[1].endswith(f'"{KEY.replace(chr(92), chr(92) * 2)}"')
                        for a in opens), opens)
    first = [num(a[3], 32) for n, a in reg if n == "RegOpenKeyExA"][:1]
    check(f"run {run}: read opens with KEY_ALL_ACCESS first", first == [0xF003F], first)
    for n, a in reg:
        if n == "RegCreateKeyExA":
            check(f"run {run}: create: non-volatile, KEY_ALL_ACCESS, no class or security",
                  (num(a[2], 32), num(a[3], wine.bits), num(a[4], 32), num(a[5], 32), num(a[6], wine.bits))
                  == (0, 0, 0, 0xF003F, 0), a)
        if n == "RegSetValueExA":
            check(f"run {run}: write: REG_DWORD of 4 bytes",
                  a[1].endswith(f'"{VALUE}"') and (num(a[3], 32), num(a[5], 32)) == (REG_DWORD, 4), a)
    finds = sum(1 for n, a in calls if n == "FindWindowA" and a[0].endswith('"PrintFolder"'))
    check(f"run {run}: target window looked for {2 if len(expected) > 1 else 1} time(s)",
          finds == (2 if len(expected) > 1 else 1), finds)
    sends = [a[1:] for n, a in calls if n == "SendMessageA"]
    check(f"run {run}: only WM_CLOSE sent, with no parameters",
          all((num(s[0], 32), num(s[1], wine.bits), num(s[2], wine.bits)) == (0x10, 0, 0) for s in sends), sends)


def check_order(check, run, calls, expected, window):
    """The order of the program's steps, one letter each: F looks for the
    window, S sends it WM_CLOSE, R reads the setting, B shows a box, W
    changes the setting. A change closes the window again after the Yes
    and before the change."""
    letters = {"FindWindowA": "F", "SendMessageA": "S", "MessageBoxA": "B", "RegOpenKeyExA": "R",
               "RegCreateKeyExA": "W", "RegSetValueExA": "W", "RegDeleteValueA": "W"}
    steps = ""
    for name, _ in calls:
        letter = letters.get(name, "")
        if letter and not steps.endswith(letter):
            steps += letter
    if expected == ["UnsupportedSystem"]:
        want = "B"
    else:
        want = "F" + ("S" if window else "") + "RB"
        if len(expected) > 1:
            want += "F" + ("S" if window == "ignores" else "") + "WB"
    check(f"run {run}: steps in order {want}", steps == want, steps)


def run_case(wine, name):
    check = Checker()
    check_case(check, CASES[name], drive_case(wine, CASES[name]), wine.state["texts"], wine)
    print(f"{check.count - len(check.failures)} passed, {len(check.failures)} failed")
    return not check.failures


def run_table(wine):
    wine.regtool("unset", r"Software\Wine", "Version")  # an NT version: key security holds
    result = wine.run([wine.exe("registry_wine_test")], stderr=subprocess.PIPE)
    print(result.stdout.decode("latin-1") + result.stderr.decode("latin-1"))
    return result.returncode == 0


def screenshots(wine, outdir):
    lang = "fr_FR.UTF-8"
    if subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.find("fr_FR.utf8") < 0:
        subprocess.run(["localedef", "-i", "fr_FR", "-f", "UTF-8", "fr_FR.UTF-8"], check=True)
    wine.setup(lang)
    # Wine draws the title-bar buttons with Marlett, which Debian ships apart.
    marlett = "/usr/share/wine/fonts/marlett.ttf"
    if os.path.exists(marlett):
        shutil.copy(marlett, os.path.join(wine.state["prefix"], "drive_c", "windows", "Fonts"))
    os.makedirs(outdir, exist_ok=True)
    shots = [("win98", None, None, "yes,no", {1: "box-confirmation", 2: "box-success"}),
             ("win31", None, None, "ok", {1: "box-windows3x"}),
             ("win98", None, "volatile", "yes,ok", {2: "box-failed"})]
    try:
        for version, seed, fault, answers, names in shots:
            wine.seed(version, seed, fault)
            tmp = tempfile.mkdtemp(dir=wine.work)
            boxes, end, _ = wine.drive(answers, tmp, shots=tmp, lang=lang)
            if end != "exit 0":
                raise Failed(f"{version} run ended with {end}")
            for number, name in names.items():
                subprocess.run(["convert", os.path.join(tmp, f"box{number}.bmp"), os.path.join(outdir, name + ".png")],
                               check=True)
                print(f"wrote {os.path.join(outdir, name + '.png')}")
            shutil.rmtree(tmp, ignore_errors=True)
    finally:
        wine.cleanup()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build")
    parser.add_argument("--tier", default="wine64", choices=["wine64", "wine32"])
    parser.add_argument("--list", action="store_true")
    parser.add_argument("command", nargs="?")
    parser.add_argument("argument", nargs="?")
    args = parser.parse_args()
    if args.list:
        print("\n".join(CASES))
        return 0
    wine = Wine(args.build, args.tier)
    if args.tier == "wine32" and args.command in ("setup", "case", "table"):
        reason = wine32.unsupported()
        if reason:
            print(f"SKIPPED: {reason}")
            return wine32.SKIPPED
    try:
        if args.command == "setup":
            wine.setup()
            return 0
        if args.command == "cleanup":
            wine.cleanup()
            return 0
        if not wine.state and args.command in ("case", "table"):
            raise Failed("no Wine environment: run setup first")
        if args.command == "case":
            return 0 if run_case(wine, args.argument) else 1
        if args.command == "table":
            return 0 if run_table(wine) else 1
        if args.command == "screenshots":
            screenshots(wine, args.argument)
            return 0
    except (Failed, subprocess.CalledProcessError) as e:
        print(f"FAILED: {e}")
        return 1
    parser.error("unknown command")


if __name__ == "__main__":
    sys.exit(main())
