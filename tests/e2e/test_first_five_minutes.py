"""What a newcomer meets first: the run command's guided tour on a machine without a
display, and the README's pictures of the windows it shows."""

import os
import re
import shutil
import subprocess
import tempfile

import harness

STEP = re.compile(r"^(\d+)\. (.*) \.\.\. (ok|FAILED)  \[(.*)\]$")
# The windows the tour pictures on their own, as the README shows them.
WINDOW_PICTURES = ("badge.png", "settings.png", "parameters.png", "info.png")
README = os.path.join(harness.REPO, "README.md")
IMAGES = os.path.join(harness.REPO, "docs", "images")


class GuidedTour(harness.TastomatCase):
    time_limit = 720  # the run command builds before its tour, and is given 600 s for both

    def test_run_command_without_display_tours_the_program_in_a_prefix_of_its_own(self):
        home = tempfile.mkdtemp(prefix="tastomat-home-")
        self.addCleanup(shutil.rmtree, home, True)
        env = harness.wine_env()
        del env["DISPLAY"]
        artifacts = os.path.dirname(harness.ARTIFACTS)
        # The test's own prefix saves creating one; HOME shows that nothing else is used.
        env.update(HOME=home, TASTOMAT_RUN_PREFIX=harness.prefix(), TASTOMAT_ARTIFACTS=artifacts)
        result = subprocess.run([os.path.join(harness.REPO, "scripts", "run.sh"), "--no-wait"],
                                env=env, stdin=subprocess.DEVNULL, capture_output=True,
                                timeout=600, cwd=home)
        out = result.stdout.decode("utf-8", "replace")
        with open(self.artifact("run.log"), "w", encoding="utf-8") as f:
            f.write(out + result.stderr.decode("utf-8", "replace"))
        steps = [STEP.match(line) for line in out.splitlines() if STEP.match(line)]
        self.assertEqual(len(steps), 8, out)
        for step in steps:
            self.assertEqual(step.group(3), "ok", step.group(0))
            self.assertGreater(os.path.getsize(os.path.join(harness.REPO, step.group(4))), 0)
        self.assertIn("All 8 steps worked.", out)
        self.assertEqual(result.returncode, 0, out)
        for name in WINDOW_PICTURES:
            self.assertTrue(os.path.isfile(os.path.join(artifacts, "demo", "windows", name)))
        self.assertFalse(os.path.exists(os.path.join(home, ".wine")), "the user's prefix")


class ReadmePictures(harness.TimeLimitedCase):

    def test_readme_shows_the_windows_and_every_picture_it_names_exists(self):
        with open(README, encoding="utf-8") as f:
            named = set(re.findall(r"\]\((docs/images/[^)\s]+)\)", f.read()))
        for name in WINDOW_PICTURES:
            self.assertIn(f"docs/images/{name}", named)
        for path in named:
            self.assertTrue(os.path.isfile(os.path.join(harness.REPO, path)), path)
        self.assertEqual(set(os.listdir(IMAGES)),
                         {os.path.basename(path) for path in named}, "pictures nobody shows")


class Release(harness.TimeLimitedCase):

    def test_checksum_beside_the_release_archive_matches_it(self):
        release = os.path.dirname(harness.build_file(os.path.join("release", "tastomat.zip")))
        result = subprocess.run(["sha256sum", "-c", "tastomat.zip.sha256"], cwd=release,
                                capture_output=True, text=True, timeout=60)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertEqual(result.stdout.strip(), "tastomat.zip: OK")
