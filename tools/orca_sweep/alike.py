#!/usr/bin/python3
"""Reads the sweeps (MODEL/MODEL.json) in DIR and lists, per model and page, the controls Orca
said alike: the same words to tell them by (their label, else their name) and the same role.
With BEFORE, lists the controls said alike there with what Orca says for them in DIR.

usage: alike.py DIR [BEFORE]      exits 1 when DIR has controls said alike
"""
import collections, glob, json, os, sys


def load(d):
    out = {}
    for f in sorted(glob.glob(os.path.join(d, "*", "*.json")) + glob.glob(os.path.join(d, "*.json"))):
        m = json.load(open(f))
        out[m["model"]] = m
    return out


def alike(model):
    groups = []
    for page in model["pages"]:
        by = collections.defaultdict(list)
        for c in page["controls"]:
            if c.get("onPage") and c.get("tellsBy"):
                by[c["tellsBy"]].append(c)
        for key, cs in by.items():
            if len(cs) > 1:
                groups.append((page["page"], key, cs))
    return groups


def main():
    now = load(sys.argv[1])
    before = load(sys.argv[2]) if len(sys.argv) > 2 else None
    total = 0
    for name, model in now.items():
        pages = len(model["pages"])
        controls = sum(1 for p in model["pages"] for c in p["controls"] if c.get("onPage"))
        print(f"{name}: {pages} pages, {controls} controls took the focus")
        for p in model["pages"]:
            if not p.get("selected", True) or not any(c.get("onPage") for c in p["controls"]):
                print(f"  warning: page \"{p['page']}\" was not swept (not selected, or no control took the focus)")
    ref = before if before else now
    for name, model in ref.items():
        for page, key, cs in alike(model):
            total += 1
            print(f"\n{name} / {page}: {len(cs)} controls said \"{key}\"" + (" before" if before else ""))
            for c in cs:
                line = f"  {c['role']} \"{c['name']}\": {' / '.join(c['speech'])}"
                if before and name in now:
                    for p in now[name]["pages"]:
                        if p["page"] != page:
                            continue
                        match = [d for d in p["controls"] if d.get("onPage") and d["role"] == c["role"] and d["name"] == c["name"]]
                        line += "\n     now: " + (" / ".join(match[0]["speech"]) if match else "(not reached)")
                print(line)
    if before:
        still = [(n, g) for n, m in now.items() for g in alike(m)]
        print(f"\nnow said alike: {len(still)} group(s)")
        for n, (page, key, cs) in still:
            print(f"  {n} / {page}: {len(cs)} x \"{key}\"")
    return 1 if (still if before else total) else 0


sys.exit(main())
