#!/usr/bin/env python3
"""The browser page checked in Debian's headless Chromium, the way the Linux
end-to-end tests check the desktop program: the start-up transcript on the
page and in the console, the title, the loop ending on Escape, a captured
frame against the desktop reference frames, W taking the shadows away and S
bringing the same picture back.

Run by scripts/test-web while a server serves the built page:
    check_page.py URL SOURCE [--screenshot FILE.png]
URL is the page's address (http://127.0.0.1:PORT/index.html); SOURCE is the
repository, for the expected transcript and the reference pictures. With
--screenshot, writes a half-size picture of the page's canvas after 90 frames
instead of checking. Chromium is driven through its DevTools protocol over a
pipe, so pages run on real time and the checks wait for the page's own
status. Prints PASS or FAIL per check and the counts; exits 1 on any failure.
"""

import base64
import fcntl
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from checks import Report, difference, expected_transcript, read_png  # noqa: E402

# Chromium's software renderer (SwiftShader) filters textures a little
# differently from Mesa's llvmpipe, which drew the references: measured over
# frames 2 and 120, a mean channel difference of 1.75 and 1.81 (the sand's
# fine texture, a level or two darker everywhere) and 0.10 % of pixels off by
# more than 16. The limits leave about a third more room than that; the
# figures measured are printed with every comparison.
MEAN_LIMIT = 2.5
CHANGED_LIMIT = 0.004


class Browser:
    """Headless Chromium driven over --remote-debugging-pipe: fd 3 carries
    commands to it, fd 4 its answers, each a JSON text ended by a zero byte."""

    def __init__(self, profile, flags=()):
        to_browser = os.pipe()
        from_browser = os.pipe()
        # High numbers first, so moving them to 3 and 4 cannot clobber one another.
        self.child_in = fcntl.fcntl(to_browser[0], fcntl.F_DUPFD, 20)
        self.child_out = fcntl.fcntl(from_browser[1], fcntl.F_DUPFD, 20)
        for fd in (to_browser[0], from_browser[1]):
            os.close(fd)
        self.writer = to_browser[1]
        self.reader = from_browser[0]

        def place_pipes():
            os.dup2(self.child_in, 3)
            os.dup2(self.child_out, 4)

        self.process = subprocess.Popen(
            ["chromium", "--headless=new", "--no-sandbox", "--remote-debugging-pipe",
             f"--user-data-dir={profile}", "--window-size=1280,1024", "--no-first-run",
             "--disable-background-timer-throttling", "--disable-renderer-backgrounding",
             "--disable-backgrounding-occluded-windows", "--enable-unsafe-swiftshader",
             *flags, "about:blank"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=place_pipes, pass_fds=(3, 4), close_fds=True)
        os.close(self.child_in)
        os.close(self.child_out)
        self.buffer = b""
        self.next_id = 0
        self.console = []

    def send(self, method, params=None, session=None, timeout=60):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self.writer, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + timeout
        while True:
            answer = self._receive(deadline)
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    raise RuntimeError(f"{method}: {answer['error']}")
                return answer.get("result", {})

    def _receive(self, deadline):
        while b"\0" not in self.buffer:
            if time.monotonic() > deadline:
                raise TimeoutError("no answer from Chromium")
            chunk = os.read(self.reader, 1 << 20)
            if not chunk:
                raise RuntimeError("Chromium closed its pipe")
            self.buffer += chunk
        text, self.buffer = self.buffer.split(b"\0", 1)
        message = json.loads(text)
        if message.get("method") == "Runtime.consoleAPICalled":
            arguments = message["params"].get("args", [])
            self.console.append(" ".join(str(a.get("value", "")) for a in arguments))
        return message

    def close(self):
        try:
            self.send("Browser.close", timeout=10)
        except (RuntimeError, TimeoutError, OSError):
            pass
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        os.close(self.writer)
        os.close(self.reader)


class Page:
    """One tab with the page loaded at the given address."""

    def __init__(self, browser, url):
        self.browser = browser
        self.target = browser.send("Target.createTarget", {"url": "about:blank"})["targetId"]
        self.session = browser.send(
            "Target.attachToTarget", {"targetId": self.target, "flatten": True})["sessionId"]
        browser.console = []
        browser.send("Runtime.enable", session=self.session)
        browser.send("Page.enable", session=self.session)
        self.started = time.monotonic()
        browser.send("Page.navigate", {"url": url}, session=self.session)

    def evaluate(self, expression):
        result = self.browser.send(
            "Runtime.evaluate", {"expression": expression, "returnByValue": True},
            session=self.session)
        return result.get("result", {}).get("value")

    def status(self):
        return self.evaluate("(document.getElementById('status') || {}).textContent") or ""

    def wait_stopped(self, seconds):
        """True once the page says its loop stopped; False on failure or time-out."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            status = self.status()
            if status == "stopped":
                return True
            if status.startswith("failed"):
                return False
            time.sleep(0.2)
        return False

    def text(self, element):
        return self.evaluate(f"document.getElementById('{element}').textContent") or ""

    def frames_drawn(self):
        return int(self.evaluate("document.body.dataset.framesDrawn || '0'"))

    def frame(self, number, folder):
        """The kept frame as a PNG file (its path), or None."""
        url = self.evaluate(f"(document.getElementById('frame-{number}') || {{}}).src")
        if not url or not url.startswith("data:image/png;base64,"):
            return None
        path = os.path.join(folder, f"{self.target}-{number}.png")
        with open(path, "wb") as file:
            file.write(base64.b64decode(url.split(",", 1)[1]))
        return path

    def close(self):
        self.browser.send("Target.closeTarget", {"targetId": self.target})


def capture(browser, base, query):
    """Loads base?query, waits for the loop to stop, returns (page, stopped)."""
    page = Page(browser, f"{base}?{query}")
    return page, page.wait_stopped(120)


def check_escape_run(report, browser, base, source):
    started = time.monotonic()
    page = Page(browser, f"{base}?key=5:Escape")
    try:
        stopped = page.wait_stopped(60)
        report.check("Escape before frame 5 stops the loop and the page shows \"stopped\"",
                     stopped, f"status {page.status()!r}", started)
        time.sleep(0.5)  # animation frames would go on here if the loop had not stopped
        drawn = page.frames_drawn()
        report.check("no frame is drawn after Escape", drawn == 5, f"{drawn} frames drawn, 5 wanted")
        expected = expected_transcript(source)
        transcript = page.text("transcript")
        report.check("#transcript holds the desktop's start-up transcript, ready included",
                     transcript == expected, f"expected:\n{expected}\ngot:\n{transcript}")
        console = "".join(line + "\n" for line in browser.console)
        report.check("the console shows the same lines", console == expected, f"got:\n{console}")
        title = page.evaluate("document.title")
        report.check("the title is \"Vorlin - Tidemoor\"", title == "Vorlin - Tidemoor",
                     f"title {title!r}")
        timing = page.text("timing").strip().replace("\n", "; ")
        report.check("the page notes when it was ready and drew its first frame",
                     "ready:" in timing and "first frame:" in timing, timing, figures=timing)
    finally:
        page.close()


def check_without_webgl(report, base, folder):
    """A browser without WebGL: the desktop's message, and the page says so."""
    started = time.monotonic()
    browser = Browser(os.path.join(folder, "profile-without-webgl"), ["--disable-webgl"])
    try:
        page = Page(browser, base)
        deadline = time.monotonic() + 30
        while not page.status().startswith("failed") and time.monotonic() < deadline:
            time.sleep(0.2)
        transcript = page.text("transcript")
        report.check("without WebGL the page prints \"Could not create window!\" and says it failed",
                     transcript == "Could not create window!\n" and page.status().startswith("failed"),
                     f"status {page.status()!r}, transcript {transcript!r}", started)
        page.close()
    finally:
        browser.close()


def check_reference_frames(report, browser, base, source, folder):
    started = time.monotonic()
    page, stopped = capture(browser, base, "frames=121&size=320x250&shot=2&shot=9")
    try:
        drawn = page.frames_drawn()
        report.check("?frames=121 draws 121 frames with a fixed step and stops",
                     stopped and drawn == 121, f"status {page.status()!r}, {drawn} frames", started)
        shots = {number: page.frame(number, folder) for number in (2, 9, 120)}
    finally:
        page.close()
    for number in (2, 120):
        name = f"frame{number}.png"
        if shots[number] is None:
            report.check(f"frame {number} matches the desktop reference", False, "no frame kept")
            continue
        shot = read_png(shots[number])
        reference = read_png(os.path.join(source, "tests/data/reference", name))
        measured = difference(reference, shot)
        if measured is None:
            report.check(f"frame {number} matches the desktop reference", False,
                         f"size {shot[0]} x {shot[1]}, reference {reference[0]} x {reference[1]}")
            continue
        ok = measured[0] < MEAN_LIMIT and measured[1] < CHANGED_LIMIT
        figures = (f"mean difference {measured[0]:.3f} (below {MEAN_LIMIT} wanted), changed pixels "
                   f"{100 * measured[1]:.2f} % (below {100 * CHANGED_LIMIT:.1f} % wanted)")
        report.check(f"frame {number} matches the desktop reference", ok, figures=figures)
    return shots[9]


def brightness(picture):
    return sum(sum(row) for row in picture[2]) / (picture[0] * picture[1] * 3)


def check_keys(report, browser, base, folder, baseline):
    """Frame 9 of ten, with W pressed before it, and with W then S."""
    if baseline is None:
        report.check("W and S", False, "no baseline frame 9")
        return
    plain = read_png(baseline)
    pictures = {}
    for name, keys in (("W", "key=9:W"), ("W then S", "key=8:W&key=9:S")):
        started = time.monotonic()
        page, stopped = capture(browser, base, f"frames=10&size=320x250&{keys}")
        try:
            path = page.frame(9, folder)
            report.check(f"?frames=10&{keys} stops with frame 9 kept", stopped and path is not None,
                         f"status {page.status()!r}", started)
            pictures[name] = read_png(path) if path else None
        finally:
            page.close()
    if pictures["W"] is not None:
        measured = difference(plain, pictures["W"])
        brighter = brightness(pictures["W"]) > brightness(plain)
        report.check("W takes the figures' shadows away (a changed, brighter picture)",
                     measured is not None and measured[1] * 320 * 250 > 200 and brighter,
                     f"difference {measured}, brighter {brighter}",
                     figures=f"{100 * measured[1]:.2f} % of pixels changed" if measured else "")
    if pictures["W then S"] is not None:
        report.check("S brings back the same picture", pictures["W then S"][2] == plain[2],
                     f"difference {difference(plain, pictures['W then S'])}")


def screenshot(browser, base, path):
    page = Page(browser, f"{base}?frames=90")
    try:
        if not page.wait_stopped(120):
            raise RuntimeError(f"the page did not stop: {page.status()!r}")
        shot = browser.send("Page.captureScreenshot", {
            "format": "png",
            "clip": {"x": 0, "y": 0, "width": 1024, "height": 800, "scale": 0.5}},
            session=page.session)
        with open(path, "wb") as file:
            file.write(base64.b64decode(shot["data"]))
    finally:
        page.close()


def main():
    arguments = sys.argv[1:]
    shot_path = None
    if "--screenshot" in arguments:
        at = arguments.index("--screenshot")
        shot_path = os.path.abspath(arguments[at + 1])
        del arguments[at:at + 2]
    if len(arguments) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    base, source = arguments[0], os.path.abspath(arguments[1])
    folder = tempfile.mkdtemp(prefix="tidemoor-web-")
    browser = Browser(os.path.join(folder, "profile"))
    try:
        if shot_path:
            screenshot(browser, base, shot_path)
            print(f"wrote {shot_path}")
            return 0
        report = Report()
        check_escape_run(report, browser, base, source)
        baseline = check_reference_frames(report, browser, base, source, folder)
        check_keys(report, browser, base, folder, baseline)
        check_without_webgl(report, base, folder)
        print(f"{report.passed} passed, {report.failed} failed")
        return 0 if report.failed == 0 else 1
    finally:
        browser.close()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
