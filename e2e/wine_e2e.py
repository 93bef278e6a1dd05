#!/usr/bin/env python3
"""Runs mizona.exe (x86_64) end to end under Wine, the real Win32 API.

    wine_e2e.py --build DIR setup        own Xvfb, fresh prefix, one wineserver
    wine_e2e.py --build DIR case NAME    one run (or two) of the program
    wine_e2e.py --build DIR table        the registry-helper table on Wine
    wine_e2e.py --build DIR cleanup      stop everything, remove the prefix
    wine_e2e.py --build DIR screenshots OUTDIR   the four boxes as PNG
    wine_e2e.py --list                   the case names

Each case seeds the registry and the reported Windows version, opens the
target window if it asks for one, lets boxdriver play the user, and then
checks the boxes (text bytes against the program's texts table, buttons),
the program's own Win32 calls as Wine's relay trace shows them (box styles
and owner, registry flags, ExitWindowsEx(3, 0)), the WM_CLOSE messages the
window received, the registry afterwards and the exit status.
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

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
POLICIES = r"Software\Microsoft\Windows\CurrentVersion\Policies"
KEY = POLICIES + r"\Explorer"
VALUE = "NoAddPrinter"
CAPTION = "MIZOna pour Windows 95/98"
HKCU = "ffffffff80000001"  # HKEY_CURRENT_USER sign-extended, as the relay trace prints it
BASE, REBASED = 0x400000, 0x10000000  # where mizona.exe is linked to lie, and where a case may move it
PROGRAM_CALLS = ["GetVersion", "MessageBoxA", "ExitWindowsEx", "FindWindowA", "SendMessageA", "RegCreateKeyExA",
                 "RegOpenKeyExA", "RegQueryValueExA", "RegSetValueExA", "RegDeleteValueA", "RegCloseKey"]
STEP_LIMIT = 60  # seconds any one Wine command may take

REG_SZ, REG_BINARY, REG_DWORD = 1, 3, 4


def dword(v):
    return (REG_DWORD, (v & 0xFFFFFFFF).to_bytes(4, "little").hex())


def text(s):
    return (REG_SZ, (s + "\0").encode("cp1252").hex())


NEIGHBOURS = {"Autre": text("laisser tel quel"), "NoDriveTypeAutoRun": dword(0x95),
              "Binaire": (REG_BINARY, "00ff10")}

# Every case: the Windows version Wine reports (None: its own NT version), the
# value before (None: no key at all), a fault, the target window, and one
# (answers, boxes) pair a run; then what must hold afterwards.
ASK_OFF, ASK_ON, DONE_OFF, DONE_ON, NOT_3X, FAILED = "ask_off", "ask_on", "done_off", "done_on", "not_3x", "failed"
CASES = {
    "switch_off_no_restart": dict(
        version="win98", seed=None, window="closes", runs=[("yes,no", [ASK_OFF, DONE_OFF])],
        closes=1, restart=False, after=dword(1)),
    "switch_on_with_restart": dict(
        version="win95", seed=dword(1), window="closes", runs=[("yes,yes", [ASK_ON, DONE_ON])],
        closes=1, restart=True, after=None),
    "no_at_the_question_changes_nothing": dict(
        version="win98", seed=dword(1), window="ignores", runs=[("no", [ASK_ON])],
        closes=1, restart=False, after=dword(1)),
    "change_closes_the_window_twice": dict(
        version="win98", seed=dword(0), window="ignores", runs=[("yes,no", [ASK_OFF, DONE_OFF])],
        closes=2, restart=False, after=dword(1)),
    "value_stored_as_text_is_replaced": dict(
        version="win98", seed=text("1"), window=None, runs=[("yes,no", [ASK_OFF, DONE_OFF])],
        closes=0, restart=False, after=dword(1)),
    "two_runs_answered_yes_leave_no_value": dict(
        version="win95", seed=None, window="ignores",
        runs=[("yes,no", [ASK_OFF, DONE_OFF]), ("yes,no", [ASK_ON, DONE_ON])],
        closes=4, restart=False, after=None),
    "windows_31_is_refused": dict(
        version="win31", seed=dword(1), window="ignores", runs=[("ok", [NOT_3X])],
        closes=0, restart=False, after=dword(1)),
    "refused_write_shows_the_error": dict(
        version="win98", seed=None, fault="volatile", window="closes", runs=[("yes,ok", [ASK_OFF, FAILED])],
        closes=1, restart=False, after=None),
    "read_only_key_is_read_but_not_changed": dict(
        version="winxp", seed=dword(1), fault="readonly", window="closes", runs=[("yes,ok", [ASK_ON, FAILED])],
        closes=1, restart=False, after=dword(1)),
    # The exe moved to another base with its own relocations, as Win32s and
    # any loader that cannot use the linked base place it: a relocation
    # missing from the table leaves an address pointing at the old place.
    "rebased_windows_31_is_refused": dict(
        version="win31", seed=None, window="ignores", rebased=True, runs=[("ok", [NOT_3X])],
        closes=0, restart=False, after=None),
    "rebased_switch_off": dict(
        version="win98", seed=None, window="ignores", rebased=True, runs=[("yes,no", [ASK_OFF, DONE_OFF])],
        closes=2, restart=False, after=dword(1)),
}
BUTTONS = {ASK_OFF: "6,7", ASK_ON: "6,7", DONE_OFF: "6,7", DONE_ON: "6,7", NOT_3X: "1", FAILED: "1"}
STYLES = {ASK_OFF: 0x24, ASK_ON: 0x24, DONE_OFF: 0x24, DONE_ON: 0x24, NOT_3X: 0x10, FAILED: 0x10}


class Failed(Exception):
    pass


def winpath(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Wine:
    def __init__(self, build):
        self.build = os.path.abspath(build)
        self.work = os.path.join(self.build, "e2e")
        self.state_file = os.path.join(self.work, "state.json")
        self.state = json.load(open(self.state_file)) if os.path.exists(self.state_file) else {}

    def exe(self, name):
        if name == "mizona-rebased":
            return os.path.join(self.work, name + ".exe")
        sub = "" if name == "mizona" else "e2e"
        return os.path.join(self.build, sub, name + ".exe")

    def env(self, relay=False, lang=None):
        env = dict(os.environ)
        env.update(WINEPREFIX=self.state["prefix"], DISPLAY=self.state["display"],
                   WINEDEBUG="+relay" if relay else "-all", WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        env["LC_ALL"] = lang or "C.UTF-8"
        return env

    def run(self, args, relay=False, lang=None, stderr=subprocess.DEVNULL):
        """A Wine command; its output goes through files, as the Wine services
        it may start inherit its handles and would hold a pipe open."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            try:
                code = subprocess.run([WINE] + args, env=self.env(relay, lang), stdout=out,
                                      stderr=err if stderr == subprocess.PIPE else stderr, stdin=subprocess.DEVNULL,
                                      timeout=STEP_LIMIT, check=False).returncode
            except subprocess.TimeoutExpired as e:
                raise Failed(f"{args[0]} took more than {STEP_LIMIT} s") from e
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(args, code, out.read(), err.read())

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
        os.makedirs(prefix)
        self.state = {"display": f":{display}", "xvfb": xvfb.pid, "prefix": prefix}
        json.dump(self.state, open(self.state_file, "w"))
        wait_for(lambda: os.path.exists(f"/tmp/.X11-unix/X{display}"), 10, "Xvfb to start")
        # One wineserver for the whole run, so that each Wine command starts fast.
        subprocess.run([WINESERVER, "-p"], env=self.env(), check=True, timeout=STEP_LIMIT, **quiet)
        boot = self.run(["wineboot", "-i"], lang=lang)
        if boot.returncode != 0:
            raise Failed(f"wineboot failed ({boot.returncode})")
        self.regtool("set", r"Software\Wine\Debug", "RelayInclude", str(REG_SZ),
                     (";".join(PROGRAM_CALLS) + "\0").encode().hex())
        dump = self.run([self.exe("texts_dump")])
        texts = dict(line.strip().split("\t") for line in dump.stdout.decode().splitlines() if line.strip())
        if set(texts) != set(BUTTONS):
            raise Failed(f"texts_dump gave {sorted(texts)}")
        self.state["texts"] = texts
        json.dump(self.state, open(self.state_file, "w"))
        rebase(self.exe("mizona"), self.exe("mizona-rebased"))

    def cleanup(self):
        if self.state.get("prefix"):
            subprocess.run([WINESERVER, "-k"], env=self.env(), timeout=STEP_LIMIT, check=False,
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
        calls = program_calls(result.stderr.decode("latin-1"), range(base, base + 0x10000))
        return boxes, end, calls


def wait_for(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            raise Failed(f"waited {seconds} s for {what}")
        time.sleep(0.05)


def rebase(exe, out):
    """A copy of the exe moved to REBASED with its own relocations."""
    import pefile
    pe = pefile.PE(exe)
    pe.relocate_image(REBASED)
    pe.OPTIONAL_HEADER.ImageBase = REBASED
    pe.write(out)


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


# ---- checks ----

class Checker:
    def __init__(self):
        self.failures, self.count = [], 0

    def __call__(self, what, ok, detail=""):
        self.count += 1
        print(("ok: " if ok else "FAILED: ") + what + ("" if ok or detail == "" else f"\n    {detail}"))
        if not ok:
            self.failures.append(what)


def run_case(wine, name):
    case = CASES[name]
    check = Checker()
    texts = wine.state["texts"]
    wine.seed(case["version"], case["seed"], case.get("fault"))
    before = wine.regtool("dump", KEY)
    tmp = tempfile.mkdtemp(dir=wine.work)
    window_log = os.path.join(tmp, "window.log")
    window = None
    try:
        if case["window"]:
            flags = ["--ignore-close"] if case["window"] == "ignores" else []
            window = subprocess.Popen([WINE, wine.exe("targetwin"), winpath(window_log)] + flags, env=wine.env(),
                                      stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            wait_for(lambda: os.path.exists(window_log) and "ready" in open(window_log).read(), 30,
                     "the target window")
        restarts = 0
        for run, (answers, expected) in enumerate(case["runs"], 1):
            boxes, end, calls = wine.drive(answers, tmp, rebased=case.get("rebased", False))
            check(f"run {run}: exit status 0", end == "exit 0", end)
            check(f"run {run}: {len(expected)} box(es), in order",
                  [t for _, t in boxes] == [bytes.fromhex(texts[e]) for e in expected],
                  [t.decode("cp1252") for _, t in boxes])
            check(f"run {run}: buttons", [b for b, _ in boxes] == [BUTTONS[e] for e in expected],
                  [b for b, _ in boxes])
            shown = [a for n, a in calls if n == "MessageBoxA"]
            check(f"run {run}: boxes without owner, captioned, styled",
                  [(num(a[0]), a[2].split(" ", 1)[-1], num(a[3], 32)) for a in shown]
                  == [(0, f'"{CAPTION}"', STYLES[e]) for e in expected], shown)
            check_registry_calls(check, run, calls, expected)
            check_order(check, run, calls, expected, case["window"])
            restarts += sum(1 for n, a in calls if n == "ExitWindowsEx" and (num(a[0], 32), num(a[1], 32)) == (3, 0))
        check("ExitWindowsEx(3, 0) " + ("called once" if case["restart"] else "never called"),
              restarts == (1 if case["restart"] else 0), restarts)
    finally:
        if window:
            if window.poll() is None:
                window.terminate()
            window.wait(timeout=STEP_LIMIT)
    closes = open(window_log).read().split().count("WM_CLOSE") if os.path.exists(window_log) else 0
    check(f"the window received WM_CLOSE {case['closes']} time(s)", closes == case["closes"], closes)

    after = wine.regtool("dump", KEY)
    values = dict(line.split("\t", 1) for line in after.splitlines()[1:])
    want = f"{case['after'][0]}\t{case['after'][1]}" if case["after"] else None
    check(f"{VALUE} afterwards: {want or 'absent'}", values.get(VALUE) == want, values.get(VALUE))
    if case["after"] and not case["seed"]:
        check("the key was created", after.startswith("present"))
    old = dict(line.split("\t", 1) for line in before.splitlines()[1:])
    for name in NEIGHBOURS:
        if name in old:
            check(f"{name} kept byte for byte", values.get(name) == old[name], values.get(name))
    shutil.rmtree(tmp, ignore_errors=True)
    print(f"{check.count - len(check.failures)} passed, {len(check.failures)} failed")
    return not check.failures


def check_registry_calls(check, run, calls, expected):
    reg = [(n, a) for n, a in calls if n.startswith("Reg")]
    if expected == [NOT_3X]:
        check(f"run {run}: Windows 3.x: no registry call, no window looked for",
              not reg and not any(n in ("FindWindowA", "SendMessageA") for n, _ in calls), calls)
        return
    opens = [a for n, a in reg if n in ("RegOpenKeyExA", "RegCreateKeyExA")]
    check(f"run {run}: every key opened below HKEY_CURRENT_USER at the setting's path",
          opens and all(a[0] == HKCU and a[1].endswith(f'"{KEY.replace(chr(92), chr(92) * 2)}"') for a in opens),
          opens)
    first = [num(a[3], 32) for n, a in reg if n == "RegOpenKeyExA"][:1]
    check(f"run {run}: read opens with KEY_ALL_ACCESS first", first == [0xF003F], first)
    for n, a in reg:
        if n == "RegCreateKeyExA":
            check(f"run {run}: create: non-volatile, KEY_ALL_ACCESS, no class or security",
                  (num(a[2], 32), num(a[3]), num(a[4], 32), num(a[5], 32), num(a[6])) == (0, 0, 0, 0xF003F, 0), a)
        if n == "RegSetValueExA":
            check(f"run {run}: write: REG_DWORD of 4 bytes",
                  a[1].endswith(f'"{VALUE}"') and (num(a[3], 32), num(a[5], 32)) == (REG_DWORD, 4), a)
    finds = sum(1 for n, a in calls if n == "FindWindowA" and a[0].endswith('"PrintFolder"'))
    check(f"run {run}: target window looked for {2 if len(expected) > 1 else 1} time(s)",
          finds == (2 if len(expected) > 1 else 1), finds)
    sends = [a[1:] for n, a in calls if n == "SendMessageA"]
    check(f"run {run}: only WM_CLOSE sent, with no parameters",
          all((num(s[0], 32), num(s[1]), num(s[2])) == (0x10, 0, 0) for s in sends), sends)


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
    if expected == [NOT_3X]:
        want = "B"
    else:
        want = "F" + ("S" if window else "") + "RB"
        if len(expected) > 1:
            want += "F" + ("S" if window == "ignores" else "") + "WB"
    check(f"run {run}: steps in order {want}", steps == want, steps)


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
    parser.add_argument("--list", action="store_true")
    parser.add_argument("command", nargs="?")
    parser.add_argument("argument", nargs="?")
    args = parser.parse_args()
    if args.list:
        print("\n".join(CASES))
        return 0
    wine = Wine(args.build)
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
