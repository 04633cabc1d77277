#!/usr/bin/env python3
"""Footprints of installs in a Wine prefix, read from the prefix itself.

    footprint.py snapshot PREFIX OUT              every key, value, file and folder
    footprint.py diff BEFORE AFTER OUT            what AFTER holds and BEFORE does not
    footprint.py recall FOOTPRINT AFTER SCAN_JSON what `orvix scan --json` found of it
    footprint.py left FOOTPRINT BEFORE FINAL      what is left of it, and what of BEFORE is gone

A snapshot reads the registry files the wineserver writes when it ends
(system.reg for HKLM, user.reg for HKCU) and walks drive_c. Its items, one
a line, tab-separated: "key PATH", "value PATH NAME", "folder PATH", "file
PATH"; registry paths are as stored (the 32-bit view of HKLM\\Software under
Wow6432Node), file paths are Windows paths on C:. Items are compared
without regard to letter case, as Windows does.

Not the program's, so left out of every footprint: the user's and the
system's %TEMP% (installers unpack their helpers there; an NSIS uninstaller
copies itself there), and what Wine rewrites at the start of every session:
the key of its fonts' list and the device classes of its display driver.
"""
import json
import os
import re
import sys

HIVES = {"system.reg": "HKLM", "user.reg": "HKCU"}
EXCLUDED = [r"C:\users\*\Temp", r"C:\windows\temp", r"HKLM\Software\Wine\Fonts",
            r"HKLM\System\CurrentControlSet\Control\Class"]


def folded(item):
    """An item as compared: in lower case, as Windows compares names."""
    return tuple(part.lower() for part in item)


def unescape(text):
    """A key or value name as Wine's registry files write it."""
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            n = text[i + 1]
            if n == "x":
                m = re.match(r"[0-9a-fA-F]{1,4}", text[i + 2:])
                out.append(chr(int(m.group(0), 16)))
                i += 2 + len(m.group(0))
                continue
            out.append({"n": "\n", "r": "\r", "t": "\t", "0": "\0"}.get(n, n))
            i += 2
            continue
        out.append(c)
        i += 1
    return "".join(out)


def registry_items(path, hive):
    """Keys (with every ancestor: Wine writes only keys with values or none
    below them) and value names of one registry file."""
    items, key = set(), None
    with open(path, encoding="utf-8", errors="surrogateescape") as f:
        for line in f:
            if line.startswith("["):
                raw = line[1:line.rindex("]")]
                # Key names never hold a backslash: "\\" separates, other escapes decode.
                parts = [unescape(p) for p in raw.split("\\\\")]
                key = hive + "\\" + "\\".join(parts)
                for depth in range(1, len(parts) + 1):
                    items.add(("key", hive + "\\" + "\\".join(parts[:depth])))
            elif key and (line.startswith('"') or line.startswith("@=")):
                if line.startswith("@="):
                    name = ""
                else:
                    m = re.match(r'"((?:[^"\\]|\\.)*)"=', line)
                    if not m:
                        continue
                    name = unescape(m.group(1))
                items.add(("value", key, name))
    return items


def file_items(drive_c):
    items = set()
    for root, dirs, files in os.walk(drive_c):
        rel = os.path.relpath(root, drive_c)
        base = "C:" if rel == "." else "C:\\" + rel.replace("/", "\\")
        for d in dirs:
            items.add(("folder", base + "\\" + d))
        for name in files:
            items.add(("file", base + "\\" + name))
    return items


def write_items(items, out):
    with open(out, "w", encoding="utf-8", errors="surrogatepass") as f:
        for item in sorted(items):
            f.write("\t".join(item) + "\n")


def read_items(path):
    with open(path, encoding="utf-8", errors="surrogatepass") as f:
        return {tuple(line.rstrip("\n").split("\t")) for line in f if line.strip()}


def below(path, folder):
    """Whether PATH is FOLDER or below it; FOLDER may hold * for one level."""
    pattern = re.escape(folder.lower()).replace(r"\*", r"[^\\]*")
    return re.match(pattern + r"(\\|$)", path.lower()) is not None


def excluded(item):
    return any(below(item[1], place) for place in EXCLUDED)


def by_name(items):
    """Items by their compared form, keeping one spelling each."""
    return {folded(item): item for item in items}


def describe(item):
    if item[0] == "value":
        return f"{item[1]} | {item[2] or '(default)'}"
    return f"{item[1]}" + ("\\" if item[0] == "folder" else "")


# --- what a finding of the scan names, as a snapshot's item -----------------

def candidates(root, key, view):
    """The stored paths a key of the scan's JSON may be, most likely first."""
    classes = "software\\classes\\"
    def views(hive, path):
        low = path.lower()
        if view == "32" and low.startswith(classes):
            return [hive + "\\Software\\Classes\\Wow6432Node\\" + path[len(classes):], hive + "\\" + path]
        if view == "32" and hive == "HKLM" and low.startswith("software\\"):
            return [hive + "\\Software\\Wow6432Node\\" + path[len("software\\"):], hive + "\\" + path]
        return [hive + "\\" + path]
    if root == "HKEY_CLASSES_ROOT":
        return views("HKCU", "Software\\Classes\\" + key) + views("HKLM", "Software\\Classes\\" + key)
    hive = {"HKEY_LOCAL_MACHINE": "HKLM", "HKEY_CURRENT_USER": "HKCU"}.get(root, root)
    return views(hive, key)


def finding_items(scan, present):
    """(item, text) for each finding, the item as the prefix stores it."""
    found = []
    for f in scan.get("registry", []):
        paths = candidates(f["root"], f["key"], f["view"])
        if f["value"] is None:
            options = [("key", p) for p in paths]
        else:
            options = [("value", p, f["value"]) for p in paths]
        item = next((o for o in options if folded(o) in present), options[0])
        found.append((item, f"{f['view']} {f['root']}\\{f['key']}" + ("" if f["value"] is None else f" | {f['value']}")))
    for f in scan.get("files", []):
        found.append((("folder" if f["kind"] == "folder" else "file", f["path"].rstrip("\\")), f["path"]))
    return found


def covers(finding, item):
    """A finding covers an item it is, or a key or folder above it."""
    if folded(finding) == folded(item):
        return True
    if finding[0] not in ("key", "folder"):
        return False
    kinds = ("key", "value") if finding[0] == "key" else ("folder", "file")
    at_or_below = item[1].lower().startswith(finding[1].lower() + "\\") or (
        item[0] == "value" and item[1].lower() == finding[1].lower())
    return item[0] in kinds and at_or_below


# --- commands -----------------------------------------------------------------

def snapshot(prefix, out):
    items = set()
    for name, hive in HIVES.items():
        items |= registry_items(os.path.join(prefix, name), hive)
    items |= file_items(os.path.join(prefix, "drive_c"))
    write_items(items, out)


def diff(before, after, out):
    old = by_name(read_items(before))
    write_items({item for low, item in by_name(read_items(after)).items() if low not in old and not excluded(item)}, out)


def recall(footprint_path, after_path, scan_path, label):
    footprint = read_items(footprint_path)
    present = set(by_name(read_items(after_path)))
    in_footprint = set(by_name(footprint))
    with open(scan_path, encoding="utf-8", errors="replace") as f:
        scan = json.loads(f.read())
    findings = finding_items(scan, present)
    inside = [item for item, _ in findings if folded(item) in in_footprint]
    outside = [text for item, text in findings if folded(item) not in in_footprint]
    found = {item for item in footprint if any(covers(f, item) for f in inside)}
    missed = sorted(footprint - found)
    share = len(found) / len(footprint) if footprint else 1.0
    print(f"{label}: footprint {len(footprint)}, found {len(found)}, recall {share:.2f}, "
          f"false positives {len(outside)} (of {len(findings)} findings)")
    for item in missed:
        print(f"  missed: {describe(item)}")
    for text in outside:
        print(f"  false positive: {text}")


def left(footprint_path, before_path, final_path, label):
    footprint = read_items(footprint_path)
    final = by_name(read_items(final_path))
    remaining = sorted(item for item in footprint if folded(item) in final)
    lost = sorted(item for low, item in by_name(read_items(before_path)).items()
                  if low not in final and not excluded(item))
    print(f"{label}: footprint {len(footprint)}, left {len(remaining)}, pre-existing items gone {len(lost)}")
    for item in remaining:
        print(f"  left: {describe(item)}")
    for item in lost:
        print(f"  GONE (existed before the install): {describe(item)}")


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    {"snapshot": snapshot, "diff": diff, "recall": recall, "left": left}[command](*args)
