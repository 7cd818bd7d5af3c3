#!/usr/bin/env python3
"""scripts/check-layers against a copy of the sources, clean and with faults added."""
import json
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[2]
CHECK = ROOT / "scripts" / "check-layers"


class CheckLayersTest(unittest.TestCase):
    def setUp(self):
        self.temp = tempfile.TemporaryDirectory()
        self.root = pathlib.Path(self.temp.name)
        shutil.copy(ROOT / "README.md", self.root)
        for folder in ("engine", "kiv", "app", "cli"):
            shutil.copytree(ROOT / folder, self.root / folder,
                            ignore=shutil.ignore_patterns("*.sql", "*.html", "*.png", "*.qrc", "help", "pages"))

    def tearDown(self):
        self.temp.cleanup()

    def check(self, *extra):
        run = subprocess.run([sys.executable, str(CHECK), "--root", str(self.root), *extra],
                             capture_output=True, text=True)
        return run.returncode, run.stdout

    def add_line(self, relative, line):
        path = self.root / relative
        path.write_text(line + "\n" + path.read_text())

    def test_the_sources_as_they_stand_pass(self):
        self.assertEqual(self.check(), (0, ""))

    def test_an_include_from_a_higher_layer_fails_and_names_the_line(self):
        self.add_line("engine/store/Database.cpp", '#include "core/Engine.h"')
        status, output = self.check()
        self.assertEqual(status, 1)
        self.assertIn('engine/store/Database.cpp:1: includes "core/Engine.h" from a layer above engine/store', output)

    def test_an_include_from_a_lower_layer_passes(self):
        self.add_line("engine/core/Engine.cpp", '#include "base/AsciiText.h"')
        self.assertEqual(self.check()[0], 0)

    def test_the_bottom_layers_include_nothing_above_them(self):
        self.add_line("engine/base/Url.cpp", '#include "sys/MessageQueue.h"')
        self.add_line("engine/net/HttpJob.cpp", '#include "core/Messages.h"')
        status, output = self.check()
        self.assertEqual(status, 1)
        self.assertEqual(len(output.splitlines()), 2, output)

    def test_a_program_reaching_inside_the_engine_fails(self):
        self.add_line("cli/Commands.cpp", '#include "store/Database.h"')
        self.add_line("kiv/KivRequest.cpp", '#include "base/HtmlScanner.h"')
        status, output = self.check()
        self.assertEqual(status, 1)
        self.assertIn('cli/Commands.cpp:1: includes "store/Database.h"', output)
        self.assertNotIn("kiv/", output)

    def test_a_folder_missing_from_the_layout_table_fails(self):
        (self.root / "engine/extra").mkdir()
        (self.root / "engine/extra/Thing.cpp").write_text('#include "base/Url.h"\n')
        status, output = self.check()
        self.assertEqual(status, 1)
        self.assertIn("engine/extra: a folder of sources missing", output)

    def test_a_source_compiled_into_two_targets_fails(self):
        build = self.root / "build"
        build.mkdir()
        entries = [{"directory": str(build), "file": str(self.root / "engine/base/Url.cpp"), "command": c}
                   for c in ("c++ -c a", "c++ -c b")]
        entries.append({"directory": str(build), "file": "../engine/base/DateTime.cpp", "command": "c++"})
        (build / "compile_commands.json").write_text(json.dumps(entries))
        status, output = self.check("--build", str(build))
        self.assertEqual(status, 1)
        self.assertIn("Url.cpp: compiled into 2 targets", output)
        self.assertNotIn("DateTime", output)


if __name__ == "__main__":
    unittest.main()
