# SPDX-License-Identifier: MIT
"""Headless Chromium through chromedriver (WebDriver over HTTP), a static
file server, and free ports: what the browser tests share. Standard library
only."""
import base64
import json
import os
import shutil
import socket
import subprocess
import tempfile
import time
import urllib.request

PORTS = range(8100, 8200)


def free_port():
    for port in PORTS:
        with socket.socket() as s:
            try:
                s.bind(("127.0.0.1", port))
            except OSError:
                continue
            return port
    raise RuntimeError("no free port in 8100-8199")


def wait_for_port(port, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        with socket.socket() as s:
            if s.connect_ex(("127.0.0.1", port)) == 0:
                return
        time.sleep(0.1)
    raise RuntimeError(f"nothing listens on port {port}")


class Server:
    """python3 -m http.server over a folder, on 127.0.0.1 only."""

    def __init__(self, folder):
        self.port = free_port()
        self.proc = subprocess.Popen(
            ["python3", "-m", "http.server", str(self.port), "--bind", "127.0.0.1",
             "--directory", folder],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for_port(self.port)
        self.url = f"http://127.0.0.1:{self.port}/"

    def close(self):
        self.proc.terminate()
        self.proc.wait()


class Browser:
    """One chromedriver and one headless Chromium with a fresh profile."""

    def __init__(self, downloads, width=1920, height=1080):
        self.profile = tempfile.mkdtemp(prefix="pelta-chromium-")
        self.port = free_port()
        self.driver = subprocess.Popen(["chromedriver", f"--port={self.port}"],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for_port(self.port)
        args = ["--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                "--no-sandbox", "--disable-background-networking", "--disable-component-update",
                "--disable-sync", "--no-first-run", f"--user-data-dir={self.profile}",
                f"--window-size={width},{height}", "--disable-dev-shm-usage"]
        caps = {"capabilities": {"alwaysMatch": {
            "browserName": "chrome",
            "goog:chromeOptions": {
                "binary": shutil.which("chromium") or "/usr/bin/chromium",
                "args": args,
                "prefs": {"download.default_directory": downloads,
                          "download.prompt_for_download": False},
            },
            "goog:loggingPrefs": {"browser": "ALL"},
        }}}
        self.session = self._call("POST", "/session", caps)["sessionId"]
        # The screens page runs its whole program before it answers.
        self.call("POST", "/timeouts", {"script": 1_200_000, "pageLoad": 1_200_000})
        # Every page of the session reports its errors into window.__errors.
        self.cdp("Page.addScriptToEvaluateOnNewDocument", {"source": """
            window.__errors = [];
            addEventListener('error', e => window.__errors.push('error: ' + e.message));
            addEventListener('unhandledrejection', e => window.__errors.push('rejection: ' + e.reason));
            const plain = console.error.bind(console);
            console.error = (...a) => { window.__errors.push('console: ' + a.join(' ')); plain(...a); };
        """})
        self.cdp("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": downloads})

    def _call(self, method, path, body=None):
        data = json.dumps(body).encode() if body is not None else None
        req = urllib.request.Request(f"http://127.0.0.1:{self.port}{path}", data=data,
                                     method=method,
                                     headers={"Content-Type": "application/json"})
        try:
            with urllib.request.urlopen(req, timeout=900) as r:
                return json.loads(r.read() or b"{}").get("value")
        except urllib.error.HTTPError as e:
            raise RuntimeError(f"{method} {path}: {e.read().decode()[:500]}") from None

    def call(self, method, path, body=None):
        return self._call(method, f"/session/{self.session}{path}", body)

    def cdp(self, cmd, params):
        return self.call("POST", "/goog/cdp/execute", {"cmd": cmd, "params": params})

    def get(self, url):
        self.call("POST", "/url", {"url": url})

    def js(self, script, *args):
        return self.call("POST", "/execute/sync", {"script": script, "args": list(args)})

    def wait(self, script, seconds=30, what=None):
        end = time.time() + seconds
        last = None
        while time.time() < end:
            try:
                value = self.js(script)
            except RuntimeError as e:  # a page on its way to the next one
                value, last = None, e
            if value:
                return value
            time.sleep(0.1)
        raise AssertionError(f"timed out waiting for {what or script} {last or ''}")

    def keys(self, *steps):
        """Real key events from the browser: ('down', key) / ('up', key) /
        ('pause', ms); key is a WebDriver key value."""
        actions = []
        for kind, value in steps:
            if kind == "pause":
                actions.append({"type": "pause", "duration": value})
            else:
                actions.append({"type": "keyDown" if kind == "down" else "keyUp", "value": value})
        self.call("POST", "/actions", {"actions": [{"type": "key", "id": "keyboard",
                                                    "actions": actions}]})
        self.call("DELETE", "/actions")

    def tap(self, key, hold_ms=30):
        self.keys(("down", key), ("pause", hold_ms), ("up", key))

    def errors(self):
        return self.js("return window.__errors || []")

    def new_tab(self):
        handle = self.call("POST", "/window/new", {"type": "tab"})["handle"]
        self.call("POST", "/window", {"handle": handle})
        return handle

    def switch(self, handle):
        self.call("POST", "/window", {"handle": handle})

    def handles(self):
        return self.call("GET", "/window/handles")

    def close(self):
        try:
            self.call("DELETE", "")
        except Exception:
            pass
        self.driver.terminate()
        self.driver.wait()
        shutil.rmtree(self.profile, ignore_errors=True)


KEY = {"Enter": "\ue007", "Escape": "\ue00c", "Up": "\ue013", "Down": "\ue015",
       "Left": "\ue012", "Right": "\ue014", "Backspace": "\ue003", "Control": "\ue009",
       "PageUp": "\ue00e", "PageDown": "\ue00f"}


def b64(data):
    return base64.b64decode(data)
