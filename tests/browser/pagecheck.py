#!/usr/bin/env python3
"""Renders saved HTML pages in headless Chromium and reports what a reader
would notice: a page that scrolls sideways, text that runs out of its box,
text whose contrast with the pixels actually under it is below 4.5:1,
dividers below 3:1, and text not drawn in the page's chosen font.

Usage: pagecheck.py CHROMIUM WIDTHS PAGE[:GENERIC]...
  WIDTHS   comma-separated viewport widths in CSS pixels; widths under 600
           are rendered as a phone (mobile viewport, touch).
  GENERIC  serif or sans-serif: the kind of font the page's font list must
           fall back to on a machine without its named fonts.

Prints one JSON object: {"pages": [{"file", "width", "texts", "rules",
"font", "failures": [...]}]}. Exits 0 when every page was rendered (the
failures are in the report), 2 when the browser could not be driven.

Standard library only: the browser is driven through the DevTools protocol
on a pipe (--remote-debugging-pipe); its screenshot is read back through a
canvas in the page itself.
"""

import fcntl
import json
import os
import pathlib
import select
import shutil
import subprocess
import sys
import tempfile
import time

TEXT_RATIO = 4.5
RULE_RATIO = 3.0


class BrowserError(Exception):
    pass


class Browser:
    """One Chromium process with a DevTools session on its page target."""

    def __init__(self, exe):
        self.profile = tempfile.mkdtemp(prefix="pagecheck-")
        to_r, to_w = os.pipe()
        from_r, from_w = os.pipe()
        # Out of the way of 3 and 4, where Chromium expects the pipe.
        hi_r = fcntl.fcntl(to_r, fcntl.F_DUPFD_CLOEXEC, 10)
        hi_w = fcntl.fcntl(from_w, fcntl.F_DUPFD_CLOEXEC, 10)
        os.close(to_r)
        os.close(from_w)

        def child():
            os.dup2(hi_r, 3)
            os.dup2(hi_w, 4)

        args = [
            exe, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
            "--no-first-run", "--disable-background-networking",
            "--disable-component-update", "--disable-sync",
            "--disable-default-apps", "--disable-extensions", "--mute-audio",
            "--force-color-profile=srgb", "--remote-debugging-pipe",
            "--user-data-dir=" + self.profile, "about:blank",
        ]
        self.proc = subprocess.Popen(args, preexec_fn=child, close_fds=False,
                                     stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        os.close(hi_r)
        os.close(hi_w)
        self.out = to_w
        self.inp = from_r
        self.buffer = b""
        self.events = []
        self.next_id = 0
        self.session = None
        try:
            self._attach()
        except BrowserError:
            self.close()
            raise

    def _attach(self):
        # A first start on a busy machine can take a while.
        targets = self.call("Target.getTargets", timeout=90)["targetInfos"]
        page = next((t for t in targets if t["type"] == "page"), None)
        if page is None:
            page = {"targetId": self.call("Target.createTarget",
                                          {"url": "about:blank"})["targetId"]}
        self.session = self.call("Target.attachToTarget",
                                 {"targetId": page["targetId"],
                                  "flatten": True})["sessionId"]
        for domain in ("Page", "Runtime", "DOM", "CSS"):
            self.call(domain + ".enable")

    def close(self):
        try:
            self.call("Browser.close", session=False, timeout=5)
        except BrowserError:
            pass
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        os.close(self.out)
        os.close(self.inp)
        shutil.rmtree(self.profile, ignore_errors=True)

    def _read(self, deadline):
        while b"\0" not in self.buffer:
            left = deadline - time.monotonic()
            if left <= 0:
                raise BrowserError("no answer from the browser")
            ready, _, _ = select.select([self.inp], [], [], left)
            if ready:
                chunk = os.read(self.inp, 1 << 20)
                if not chunk:
                    raise BrowserError("the browser closed its pipe")
                self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def call(self, method, params=None, session=None, timeout=30):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session is None and self.session:
            message["sessionId"] = self.session
        os.write(self.out, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + timeout
        while True:
            answer = self._read(deadline)
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    raise BrowserError("%s: %s" % (method, answer["error"]))
                return answer.get("result", {})
            if "method" in answer:
                self.events.append(answer)

    def wait_event(self, method, timeout=30):
        deadline = time.monotonic() + timeout
        while True:
            for i, e in enumerate(self.events):
                if e["method"] == method:
                    del self.events[i]
                    return e
            self.events.append(self._read(deadline))

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", {"expression": expression,
                                                "returnByValue": True,
                                                "awaitPromise": True})
        if "exceptionDetails" in result:
            raise BrowserError("script failed: %s" % result["exceptionDetails"])
        return result["result"].get("value")


# Marks the text and measures the page as laid out. Text nodes are grouped by
# their element; each run gives its rectangles in page pixels, its colour with
# the opacity of every ancestor multiplied in, and the border box of the
# nearest block that holds it.
MEASURE = r"""
(() => {
  const de = document.documentElement;
  const blockOf = el => {
    while (el && el !== de) {
      const d = getComputedStyle(el).display;
      if (!d.startsWith('inline') && d !== 'contents') return el;
      el = el.parentElement;
    }
    return de;
  };
  const opacityOf = el => {
    let o = 1;
    for (; el; el = el.parentElement) o *= parseFloat(getComputedStyle(el).opacity);
    return o;
  };
  const rgba = s => {
    const m = s.match(/[\d.]+/g).map(Number);
    return [m[0], m[1], m[2], m.length > 3 ? m[3] : 1];
  };
  const box = r => [r.left + scrollX, r.top + scrollY, r.right + scrollX, r.bottom + scrollY];
  const name = el => el.tagName.toLowerCase() + (el.className ? '.' + el.className : '');
  const runs = [];
  const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  let marked = 0;
  for (let n = walker.nextNode(); n; n = walker.nextNode()) {
    const el = n.parentElement;
    if (!n.data.trim() || el.closest('[data-pc-probe]')) continue;
    const range = document.createRange();
    range.selectNodeContents(n);
    const rects = [...range.getClientRects()].filter(r => r.width > 0 && r.height > 0).map(box);
    if (!rects.length) continue;
    if (!el.hasAttribute('data-pc')) el.setAttribute('data-pc', marked++);
    const colour = rgba(getComputedStyle(el).color);
    colour[3] *= opacityOf(el);
    runs.push({element: name(el), mark: +el.getAttribute('data-pc'),
               text: n.data.trim().slice(0, 40), rects, colour,
               block: box(blockOf(el).getBoundingClientRect()), blockName: name(blockOf(el))});
  }
  // Dividers: each rule, and each heading's underline.
  const rules = [];
  for (const hr of document.querySelectorAll('hr')) {
    const r = hr.getBoundingClientRect();
    if (r.width && r.height) rules.push({element: 'hr', rect: box(r)});
  }
  for (const h of document.querySelectorAll('h1, h2, h3')) {
    const s = getComputedStyle(h), w = parseFloat(s.borderBottomWidth);
    if (s.borderBottomStyle === 'none' || !w) continue;
    const r = h.getBoundingClientRect();
    rules.push({element: name(h) + ' underline', rect: box(new DOMRect(r.left, r.bottom - w, r.width, w))});
  }
  // Probes: what the page's font list, serif and sans-serif come out as here.
  document.querySelectorAll('[data-pc-probe]').forEach(p => p.remove());
  const font = document.querySelector('font[face]');
  const face = font ? font.getAttribute('face') : '';
  for (const [key, family] of [['page', face], ['serif', 'serif'], ['sans-serif', 'sans-serif']]) {
    const p = document.createElement('div');
    p.setAttribute('data-pc-probe', key);
    p.style.cssText = 'position:absolute;left:0;top:0;visibility:hidden';
    if (family) p.setAttribute('style', p.getAttribute('style') + ';font-family:' + family);
    p.textContent = 'Morrowind';
    document.body.appendChild(p);
  }
  return {runs, rules, face, scrollWidth: de.scrollWidth, clientWidth: de.clientWidth,
          innerWidth, height: Math.ceil(Math.max(de.scrollHeight, document.body.scrollHeight))};
})()
"""

HIDE_TEXT = r"""
(() => {
  const s = document.createElement('style');
  s.textContent = '*, *::before, *::after { color: transparent !important; ' +
      '-webkit-text-fill-color: transparent !important; text-shadow: none !important; ' +
      'text-decoration-color: transparent !important; caret-color: transparent !important; }';
  document.head.appendChild(s);
  return document.fonts.ready.then(() => new Promise(r => requestAnimationFrame(() => r(1))));
})()
"""


# Reads the screenshot back through a canvas and finds, for each text run,
# its worst contrast with the pixels under it (the text colour composited
# over each pixel by its alpha), and for each divider the worst contrast of
# its middle line with the background above and below it.
ANALYSE = r"""
async (png, runs, rules) => {
  const img = new Image();
  img.src = 'data:image/png;base64,' + png;
  await img.decode();
  const canvas = document.createElement('canvas');
  canvas.width = img.naturalWidth;
  canvas.height = img.naturalHeight;
  const ctx = canvas.getContext('2d', {willReadFrequently: true});
  ctx.drawImage(img, 0, 0);
  const w = canvas.width, h = canvas.height;
  const data = ctx.getImageData(0, 0, w, h).data;
  const at = (x, y) => {
    x = Math.min(Math.max(Math.floor(x), 0), w - 1);
    y = Math.min(Math.max(Math.floor(y), 0), h - 1);
    const i = (y * w + x) * 4;
    return [data[i], data[i + 1], data[i + 2]];
  };
  const lin = v => (v /= 255) <= 0.04045 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4);
  const lum = c => 0.2126 * lin(c[0]) + 0.7152 * lin(c[1]) + 0.0722 * lin(c[2]);
  const ratio = (a, b) => {
    const la = lum(a), lb = lum(b);
    return (Math.max(la, lb) + 0.05) / (Math.min(la, lb) + 0.05);
  };
  const hex = c => '#' + c.map(v => Math.round(v).toString(16).padStart(2, '0')).join('');
  const out = {runs: [], rules: []};
  for (const run of runs) {
    const [r, g, b, a] = run.colour;
    let worst = [99, '', ''];
    for (const [left, top, right, bottom] of run.rects) {
      // One pixel in from each edge: the rectangle's border pixels are shared
      // with whatever lies beside the line.
      for (let y = Math.floor(top) + 1; y < Math.max(Math.ceil(bottom) - 1, Math.floor(top) + 2); y++)
        for (let x = Math.floor(left) + 1; x < Math.max(Math.ceil(right) - 1, Math.floor(left) + 2); x++) {
          const under = at(x, y);
          const drawn = [r, g, b].map((c, k) => a * c + (1 - a) * under[k]);
          const v = ratio(drawn, under);
          if (v < worst[0]) worst = [v, hex(drawn), hex(under)];
        }
    }
    out.runs.push(worst);
  }
  for (const rule of rules) {
    const [left, top, right, bottom] = rule.rect;
    const y = (top + bottom) / 2;
    let worst = [99, '', ''];
    for (let x = Math.floor(left) + 2; x < Math.ceil(right) - 2; x++)
      for (const beside of [at(x, top - 3), at(x, bottom + 3)]) {
        const v = ratio(at(x, y), beside);
        if (v < worst[0]) worst = [v, hex(at(x, y)), hex(beside)];
      }
    out.rules.push(worst);
  }
  return out;
}
"""


def font_of(browser, node):
    fonts = browser.call("CSS.getPlatformFontsForNode", {"nodeId": node})["fonts"]
    if not fonts:
        return ""
    return max(fonts, key=lambda f: f["glyphCount"])["familyName"]


def check(browser, path, width, generic):
    failures = []
    phone = width < 600
    height = 844 if phone else 1024
    metrics = {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": phone}
    browser.call("Emulation.setDeviceMetricsOverride", metrics)
    browser.call("Emulation.setTouchEmulationEnabled", {"enabled": phone})
    browser.events.clear()
    browser.call("Page.navigate", {"url": pathlib.Path(path).resolve().as_uri()})
    browser.wait_event("Page.loadEventFired")
    browser.evaluate("document.fonts.ready.then(() => 1)")

    # Sideways scrolling is judged at the device's own height.
    first = browser.evaluate("(() => { const d = document.documentElement; return "
                             "{sw: d.scrollWidth, cw: d.clientWidth, iw: innerWidth, "
                             "h: Math.ceil(d.scrollHeight)}; })()")
    if first["sw"] > first["cw"] or first["iw"] != width:
        failures.append("the page is %d px wide in a %d px window: it scrolls sideways or "
                        "zooms out" % (max(first["sw"], first["iw"]), width))

    # The whole page in one screen, so that every text is in the screenshot.
    metrics["height"] = max(height, first["h"])
    browser.call("Emulation.setDeviceMetricsOverride", metrics)
    page = browser.evaluate(MEASURE)
    if page["height"] > metrics["height"]:
        metrics["height"] = page["height"]
        browser.call("Emulation.setDeviceMetricsOverride", metrics)
        page = browser.evaluate(MEASURE)

    # Text inside its own box and inside the window.
    for run in page["runs"]:
        bl, bt, br, bb = run["block"]
        for l, t, r, b in run["rects"]:
            if l < -1 or r > width + 1:
                failures.append("%s \"%s\" is drawn outside the window (x %d to %d)"
                                % (run["element"], run["text"], l, r))
                break
            if l < bl - 1 or r > br + 1:
                failures.append("%s \"%s\" runs out of its %s (x %d to %d, box %d to %d)"
                                % (run["element"], run["text"], run["blockName"], l, r, bl, br))
                break

    # The fonts the text is drawn in.
    root = browser.call("DOM.getDocument", {"depth": 0})["root"]["nodeId"]

    def nodes(selector):
        return browser.call("DOM.querySelectorAll",
                            {"nodeId": root, "selector": selector})["nodeIds"]

    probe = {}
    for key in ("page", "serif", "sans-serif"):
        found = nodes("[data-pc-probe=\"%s\"]" % key)
        probe[key] = font_of(browser, found[0]) if found else ""
    fonts_by_mark = {}
    for node in nodes("[data-pc]"):
        attrs = browser.call("DOM.getAttributes", {"nodeId": node})["attributes"]
        mark = int(attrs[attrs.index("data-pc") + 1])
        fonts_by_mark[mark] = font_of(browser, node)
    for run in page["runs"]:
        used = fonts_by_mark.get(run["mark"], "")
        if used and used != probe["page"]:
            failures.append("%s \"%s\" is drawn in %s, not in the page's font %s (%s)"
                            % (run["element"], run["text"], used, probe["page"], page["face"]))
    other = {"serif": "sans-serif", "sans-serif": "serif"}.get(generic)
    if other and probe["serif"] != probe["sans-serif"] and probe["page"] == probe[other]:
        failures.append("the font list \"%s\" comes out as %s, the %s font of this machine"
                        % (page["face"], probe["page"], other))

    # Contrast against the pixels under the text, with the text hidden.
    browser.evaluate(HIDE_TEXT)
    shot = browser.call("Page.captureScreenshot", {"format": "png"}, timeout=60)
    found = browser.evaluate("(%s)(%s, %s, %s)" % (ANALYSE, json.dumps(shot["data"]),
                                                   json.dumps(page["runs"]),
                                                   json.dumps(page["rules"])))
    for run, (value, drawn, under) in zip(page["runs"], found["runs"]):
        if value < TEXT_RATIO:
            failures.append("%s \"%s\": %s on %s is %.2f:1 (under %.1f:1)"
                            % (run["element"], run["text"], drawn, under, value, TEXT_RATIO))
    for rule, (value, drawn, under) in zip(page["rules"], found["rules"]):
        if value < RULE_RATIO:
            failures.append("%s: %s on %s is %.2f:1 (under %.1f:1)"
                            % (rule["element"], drawn, under, value, RULE_RATIO))
    texts = len(page["runs"])

    return {"file": str(path), "width": width, "texts": texts, "rules": len(page["rules"]),
            "font": probe["page"], "failures": failures}


def main(argv):
    if len(argv) < 4:
        print(__doc__, file=sys.stderr)
        return 2
    exe, widths, pages = argv[1], [int(w) for w in argv[2].split(",")], argv[3:]
    browser = None
    try:
        browser = Browser(exe)
        report = []
        for spec in pages:
            path, _, generic = spec.rpartition(":") if spec.endswith(("serif", "sans-serif")) \
                else (spec, "", "")
            for width in widths:
                report.append(check(browser, path, width, generic))
        print(json.dumps({"pages": report}, indent=1))
        return 0
    except BrowserError as e:
        print("pagecheck: %s" % e, file=sys.stderr)
        return 2
    finally:
        if browser:
            browser.close()


if __name__ == "__main__":
    sys.exit(main(sys.argv))
