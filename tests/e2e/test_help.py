"""Help from the program's windows: "&Hilfe" in the settings window opens the help viewer,
the system's HTML Help with the help file beside Tastomat.exe, on the settings page."""

import re

import harness
import screen
from screen import wait_until
from test_settings_window import TITLE, SettingsCase

VIEWER = "Tastomat-Hilfe"  # the viewer's caption is the help file's title
# Wine draws help pages with Gecko, which the test prefix does without (see
# docs/decisions.md): the page the viewer went to is read from its own trace instead.
VIEWER_TRACE = "-all,trace+htmlhelp"
NAVIGATED = re.compile(r'navigate_url L"mk:@MSITStore:(.*?)::/([^"]*)"')


class SettingsHelp(SettingsCase):

    def opened_pages(self):
        with open(self.artifact("tastomat.log"), encoding="utf-8", errors="replace") as f:
            return [(chm.replace("\\\\", "\\"), page) for chm, page in NAVIGATED.findall(f.read())]

    def test_hilfe_opens_the_viewer_on_the_settings_page(self):
        env = harness.wine_env()
        env["WINEDEBUG"] = VIEWER_TRACE
        self.start_tastomat(env=env)
        self.wait_for_settings()
        self.focus = self.start_focus_window()
        self.open_settings()

        harness.click_button(TITLE, "&Hilfe")
        viewer = screen.wait_for_window(VIEWER)
        pages = wait_until(self.opened_pages, what="the viewer to open a page")
        screen.grab(save_as=self.artifact("help-viewer.png"))

        chm, page = pages[-1]
        self.assertEqual(page, "settings.htm")
        self.assertEqual(chm.lower(), harness.windows_path(self.exe)[:-len("Tastomat.exe")]
                         .lower() + "tastomat.chm")
        # The viewer is a window of its own: the settings window stays open beside it.
        self.assertTrue(screen.windows(TITLE))
        self.assertGreater(viewer.width, 300)
