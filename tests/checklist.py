"""The checks of the test scripts: an "ok:" or "FAILED:" line each, then the
closing "N passed, N failed" line, and the exit status to end with."""


class Checklist:
    def __init__(self):
        self.results = []

    def __call__(self, name, ok, detail=""):
        self.results.append(bool(ok))
        print(("ok: " if ok else "FAILED: ") + name + ("" if ok or detail == "" else f"  ({detail})"))

    def finish(self):
        """Prints the closing line; the exit status: 0 when all passed."""
        passed = sum(self.results)
        print(f"{passed} passed, {len(self.results) - passed} failed")
        return 0 if all(self.results) else 1
