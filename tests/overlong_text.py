#!/usr/bin/env python3
"""A composed box text that would not fit its 255 characters must stop the
build rather than show a cut text.

    overlong_text.py COMPILER texts.h

Compiles the program's texts table as it is (it must compile), then copies
of it with one line made longer, each of which must fail on its own check.
"""
import os
import subprocess
import sys
import tempfile

from checklist import Checklist

compiler, header = sys.argv[1], sys.argv[2]
table = open(header, encoding="latin-1").read()
longer = " et pour tous les utilisateurs de cet ordinateur, maintenant"
cases = [  # (a line of the table, the check that must stop the build)
    ("Voulez-vous d\\351sactiver ?", "confirmation text too long"),
    ("Voulez-vous activer ?", "confirmation text too long"),
    ("a \\351t\\351 d\\351sactiv\\351.", "success report too long"),
    ("a \\351t\\351 r\\351activ\\351.", "success report too long"),
]


def compiles(text):
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "texts.h")
        open(path, "w", encoding="latin-1").write(text)
        source = os.path.join(tmp, "use.cpp")
        open(source, "w").write('#include "texts.h"\n')
        run = subprocess.run([compiler, "-std=c++20", "-fsyntax-only", source], capture_output=True, text=True)
        return run.returncode == 0, run.stderr


check = Checklist()
ok, err = compiles(table)
check("the table as it is compiles", ok, err)
for line, message in cases:
    if line not in table:
        check(f"{line!r} is in the table", False)
        continue
    ok, err = compiles(table.replace(line, line[:-1] + longer + line[-1:], 1))
    check(f"{line!r} made longer stops the build with {message!r}", not ok and message in err, err)
sys.exit(check.finish())
