#!/usr/bin/python3
"""Chooses one model in codecbench on the emulated board, Tabs through each of its pages with
Orca listening, and writes what Orca said for each control that took the focus. Runs inside
its own display and session bus, under session.sh (see orca_sweep.sh).

usage: sweep.py MODEL OUTDIR    (reads OUTDIR/orca.log; writes OUTDIR/MODEL.json)
env:   CODECBENCH_BIN (the program), SWEEP_MAX_TABS (Tab presses a page takes at most, 220)
"""
import codecs, json, os, re, subprocess, sys, time

import pyatspi

MODEL, OUT = sys.argv[1], sys.argv[2]
BIN = os.environ.get("CODECBENCH_BIN", "build/bin/codecbench")
LOG = os.path.join(OUT, "orca.log")
MAX_TABS = int(os.environ.get("SWEEP_MAX_TABS", "220"))


def log_text_from(pos):
    with open(LOG, errors="replace") as f:
        f.seek(pos)
        return f.read()


class LogTail:
    """What Orca has written to its debug file since the last read, each byte read once."""

    def __init__(self):
        self.pos = os.path.getsize(LOG)
        self.decoder = codecs.getincrementaldecoder("utf-8")(errors="replace")

    def read(self):
        with open(LOG, "rb") as f:
            f.seek(self.pos)
            data = f.read()
        self.pos += len(data)
        return self.decoder.decode(data)


def wait_for_orca(timeout=30):
    end = time.time() + timeout
    while time.time() < end:
        if os.path.exists(LOG) and "ORCA: Starting registry" in log_text_from(0):
            return True
        time.sleep(0.2)
    return False


def walk(o, pred, out, showing_only=False):
    try:
        if showing_only and not o.getState().contains(pyatspi.STATE_SHOWING):
            return out
        if pred(o):
            out.append(o)
        for c in o:
            if c is not None:
                walk(c, pred, out, showing_only)
    except Exception:
        pass
    return out


def path_of(o):
    p = []
    while o is not None and o.getRole() != pyatspi.ROLE_APPLICATION:
        p.insert(0, o.getIndexInParent())
        o = o.parent
    return p


BLOCK = re.compile(r"vvvvv PROCESS OBJECT EVENT (\S+) vvvvv(.*?)\^\^\^\^\^ PROCESS OBJECT EVENT \1 \^\^\^\^\^", re.S)


def focus_blocks(text):
    """The focus gains Orca handled in `text`, each with the object's path, role and name, all
    Orca said for it, what it said for the object itself, and the words and role it told the
    object by."""
    out = []
    for m in BLOCK.finditer(text):
        kind, body = m.group(1), m.group(2)
        if kind != "object:state-changed:focused":
            continue
        head = re.search(r"OBJECT EVENT: object:state-changed:focused \((\d+), \d+, \[(.*?) \| (.*?)\]\)", body)
        if not head or head.group(1) != "1":
            continue
        path = re.search(r"path=\[([0-9, ]*)\]", body)
        speech = [s for s in re.findall(r"SPEECH OUTPUT: '(.*)' ?\{", body) if s.strip() not in ("tab", "shift tab", "")]
        ancestors = " ".join(re.findall(r"---->  newAncestors=\[(.*)\]", body))
        # What Orca said for the object itself: without the containers it announced on the way in.
        own = [s for s in speech if not (ancestors and s.rstrip(". ") and s.rstrip(". ") in ancestors)]
        # The words Orca chose to tell the object by (its label, else its name) and its role, as
        # its speech generator logged them after the containers.
        tail = body[body.rfind("newAncestors="):] if "newAncestors=" in body else body
        said = re.search(r"---->  (?:labelOrName|labelAndName|displayedText)=\[(.*)\]", tail)
        role = re.search(r"---->  roleName=\[(.*)\]", tail)
        out.append({"role": head.group(2), "name": head.group(3),
                    "path": [int(x) for x in path.group(1).split(",") if x.strip()] if path else [],
                    "speech": speech, "own": " ".join(own),
                    "tellsBy": ((said.group(1) if said else "") + " | " + (role.group(1) if role else "")) if own else ""})
    return out


def main():
    if not wait_for_orca():
        print("orca did not start", file=sys.stderr)
        return 2
    env = dict(os.environ, BOARDHID_BACKEND="emulator", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    app = subprocess.Popen([BIN], env=env, stdout=open(os.path.join(OUT, "app.out"), "w"), stderr=subprocess.STDOUT)
    try:
        return sweep(app)
    finally:
        app.terminate()
        try:
            app.wait(5)
        except subprocess.TimeoutExpired:
            app.kill()


def sweep(app):
    a = None
    end = time.time() + 30
    while time.time() < end:
        for x in pyatspi.Registry.getDesktop(0):
            if x is not None and x.name == "codecbench" and x.childCount:
                a = x
        if a:
            break
        time.sleep(0.3)
    if a is None:
        print("program not on the bus", file=sys.stderr)
        return 2
    time.sleep(1.0)
    # Choose the model: its picture button, or a click on the "KorJorbx" text for Jorbx.
    for attempt in range(5):
        try:
            if MODEL == "Jorbx":
                t = walk(a, lambda o: o.getRole() == pyatspi.ROLE_LABEL and o.name == "KorJorbx", [])[0]
                e = t.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                subprocess.run(["xdotool", "mousemove", str(e.x + e.width // 2), str(e.y + e.height // 2), "click", "1"])
            else:
                b = walk(a, lambda o: o.getRole() == pyatspi.ROLE_PUSH_BUTTON and o.name == "Kor" + MODEL, [])[0]
                b.queryAction().doAction(0)
            break
        except Exception as error:  # the tree may still be settling
            print("retrying the model choice:", error, file=sys.stderr)
            time.sleep(1.0)
    time.sleep(2.0)
    tabs = walk(a, lambda o: o.getRole() == pyatspi.ROLE_PAGE_TAB_LIST, [], showing_only=True)
    if not tabs:
        print("no page tab list", file=sys.stderr)
        return 2
    tablist = tabs[0]
    pages = [c.name for c in tablist if c.getRole() == pyatspi.ROLE_PAGE_TAB]
    result = {"model": MODEL, "title": a[0].name, "pages": []}
    for index, page in enumerate(pages):
        # A click on the page's tab; a tab scrolled out of the bar is brought in by its arrows.
        for attempt in range(12):
            tab = [c for c in tablist if c.getRole() == pyatspi.ROLE_PAGE_TAB][index]
            e = tab.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            bar = tablist.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            if e.width > 0 and e.x >= bar.x and e.x + e.width <= bar.x + bar.width:
                subprocess.run(["xdotool", "mousemove", str(e.x + e.width // 2), str(e.y + e.height // 2), "click", "1"])
                time.sleep(0.6)
                if tab.getState().contains(pyatspi.STATE_SELECTED):
                    break
            arrows = [c for c in tablist if c.getRole() == pyatspi.ROLE_PUSH_BUTTON and c.name == "Scroll Right"]
            if arrows:
                arrows[0].queryAction().doAction(0)
                time.sleep(0.3)
        selected = tab.getState().contains(pyatspi.STATE_SELECTED)
        pane = walk(tablist.parent, lambda o: o.getRole() == pyatspi.ROLE_LAYERED_PANE, [], showing_only=True)
        prefix = path_of(pane[0]) if pane else None
        # The click left the focus on the tab bar: Tab round until the focus comes back to where
        # it first went. Each Tab waits for Orca to have handled the focus change it made.
        seen, order = set(), []
        tail = LogTail()
        pending = ""
        first = None
        for n in range(MAX_TABS):
            subprocess.run(["xdotool", "key", "Tab"])
            got = None
            end = time.time() + 3.0
            while time.time() < end and got is None:
                time.sleep(0.05)
                text = tail.read()
                if text:
                    pending += text
                    blocks = focus_blocks(pending)
                    if blocks:
                        cut = pending.rfind("^^^^^ PROCESS OBJECT EVENT object:state-changed:focused ^^^^^")
                        pending = pending[cut:]
                        got = blocks[-1]
            if got is None:
                continue
            key = tuple(got["path"])
            if first is None:
                first = key
            elif key == first:
                break
            if key in seen:
                continue
            seen.add(key)
            on_page = prefix is not None and list(key[:len(prefix)]) == prefix
            got["onPage"] = on_page
            order.append(got)
        result["pages"].append({"page": page, "selected": selected, "controls": order})
        print(MODEL, page, len([c for c in order if c["onPage"]]), "controls", "" if selected else "(PAGE NOT SELECTED)", flush=True)
    with open(os.path.join(OUT, MODEL + ".json"), "w") as f:
        json.dump(result, f, indent=1)
    return 0


sys.exit(main())
