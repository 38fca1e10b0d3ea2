#!/usr/bin/env python3
"""Tests of check_layers.py on small planted trees: it must pass a tree whose includes run
downwards and fail, naming file and line, on each kind of include that runs upwards."""
import os
import subprocess
import sys
import tempfile

CHECKER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "check_layers.py")


def run(files):
    with tempfile.TemporaryDirectory() as src:
        for path, text in files.items():
            full = os.path.join(src, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w") as f:
                f.write(text)
        p = subprocess.run([sys.executable, CHECKER, src], capture_output=True, text=True)
        return p.returncode, p.stdout


def main():
    failures = []

    def expect(name, files, code, needle=None):
        got, out = run(files)
        if got != code or (needle and needle not in out):
            failures.append(f"{name}: exit {got}, output:\n{out}")

    clean = {
        "base/text.h": '#include "platform/platform.h"\n',
        "model/drill.cpp": '#include "model/drill.h"\n#include "base/text.h"\n'
                           '#include "tooldb/database.h"\n#include "geometry/types.h"\n',
        "cam/gen_drill.cpp": '#include "paths/path.h"\n#include "cad/font.h"\n',
        "ui/qt/view.cpp": '#include "ui/view.h"\n#include <QWidget>\n',
        "cli/korvelc.cpp": '#include "ui/startup.h"\n#include "script/project.h"\n',
    }
    expect("downward includes pass", clean, 0)
    expect("model including script fails",
           dict(clean, **{"model/bulge.cpp": '// x\n\n#include "script/interpreter.h"\n'}), 1,
           "model/bulge.cpp:3:")
    expect("geometry and tooldb do not include each other",
           dict(clean, **{"geometry/offset.cpp": '#include "tooldb/database.h"\n'}), 1,
           "geometry/offset.cpp:1:")
    expect("the platform includes nothing above it",
           dict(clean, **{"platform/platform.cpp": '#  include "base/text.h"\n'}), 1,
           "platform/platform.cpp:1:")
    expect("the command-line program does not include the Qt front end",
           dict(clean, **{"cli/korvelc.cpp": '#include "ui/qt/main_window.h"\n'}), 1,
           "cli/korvelc.cpp:1:")
    expect("cam does not include script",
           dict(clean, **{"cam/compile.cpp": '#include "script/project.h"\n'}), 1,
           "cam/compile.cpp:1:")
    expect("a file outside every layer folder is reported",
           dict(clean, **{"misc/x.cpp": "\n"}), 1, "misc/x.cpp")

    for f in failures:
        print(f)
    print(f"{7 - len(failures)} of 7 checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
