#!/usr/bin/env python3
"""The real browsers judge the add-on cleaner's switches.

For Chromium and Firefox ESR (Debian's packages): makes a fresh profile, lets
the browser itself install a small extension of ours into it (a packed
extension that Chromium installs as an external one; an unsigned add-on that
Firefox takes from the profile's extensions folder), runs our switch-off on
the profile, starts the browser headless on it, and checks in the browser's
own files after it exited that the extension stayed off; then the same with
the switch-on.

Our switch runs either natively (orvix_profile_switch over the simulated
machine, with the profile copied in and the changed files copied back) or
through orvix.exe under Wine (--via wine: the profile placed in a fresh
prefix's application data, "orvix addons disable|enable ID" run there, the
files copied back).

Usage: real_browsers.py [--via native|wine] [--browser chromium|firefox]...
Exit code 0 when every check passed, 1 otherwise, 77 when no browser is
installed.
"""
import argparse
import hashlib
import json
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
NATIVE_SWITCH = os.environ.get("ORVIX_PROFILE_SWITCH",
                               os.path.join(REPO, "out", "native-build", "orvix_profile_switch"))
WINE_PREFIX = os.path.join(REPO, "scripts", "wine-prefix")
CHROMIUM_USER_REASON = 1
BROWSER_TIMEOUT = 120

MANIFEST = {"manifest_version": 3, "name": "Orvix Probe", "version": "1.0",
            "description": "Does nothing; the add-on cleaner's tests switch it off and on."}
FIREFOX_ID = "probe@orvix.test"


def run(command, **kwargs):
    return subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                          timeout=BROWSER_TIMEOUT, **kwargs)


class Checks:
    def __init__(self):
        self.failed = 0

    def expect(self, condition, what):
        print(("ok      " if condition else "FAILED  ") + what, flush=True)
        if not condition:
            self.failed += 1
        return condition


# --- the switch: native or through orvix.exe under Wine -------------------

def native_switch(browser, profile, action, item_id):
    result = run([NATIVE_SWITCH, browser, profile, action, item_id])
    print(result.stdout.strip())
    return result.returncode == 0


def wine_switch(browser, profile, action, item_id):
    orvix = os.path.join(REPO, "out", "win64", "orvix.exe")
    prefix = tempfile.mkdtemp(prefix="orvix-browsers-wine-")
    try:
        subprocess.run([WINE_PREFIX, "create", prefix], check=True, stdout=subprocess.DEVNULL)
        users = os.path.join(prefix, "drive_c", "users")
        user = next(name for name in os.listdir(users) if name not in ("Public", "public"))
        appdata = os.path.join(users, user, "AppData")
        if browser == "chrome":
            inside = os.path.join(appdata, "Local", "Chromium", "User Data", "Default")
        else:
            mozilla = os.path.join(appdata, "Roaming", "Mozilla", "Firefox")
            inside = os.path.join(mozilla, "Profiles", "probe.default")
            os.makedirs(mozilla, exist_ok=True)
            with open(os.path.join(mozilla, "profiles.ini"), "w", newline="\r\n") as ini:
                ini.write("[Profile0]\nName=default\nIsRelative=1\nPath=Profiles/probe.default\nDefault=1\n")
        shutil.copytree(profile, inside, symlinks=True,
                        ignore=shutil.ignore_patterns("Cache", "Code Cache", "GPUCache", "cache2", "lock",
                                                      "SingletonLock", "SingletonSocket", "SingletonCookie"))
        result = subprocess.run([WINE_PREFIX, "run", prefix, orvix, "addons", action, item_id],
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, timeout=600)
        print(result.stdout.strip())
        for name in ("Preferences", "Secure Preferences", "extensions.json", "addonStartup.json.lz4"):
            changed = os.path.join(inside, name)
            if os.path.exists(changed):
                shutil.copyfile(changed, os.path.join(profile, name))
        return result.returncode == 0
    finally:
        subprocess.run([WINE_PREFIX, "destroy", prefix], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


# --- Chromium -----------------------------------------------------------

def chromium(user_data, *arguments):
    return run(["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                "--user-data-dir=" + user_data, *arguments, "--dump-dom", "about:blank"])


def chromium_record(user_data, item_id):
    with open(os.path.join(user_data, "Default", "Preferences"), encoding="utf-8") as f:
        return json.load(f).get("extensions", {}).get("settings", {}).get(item_id)


def chromium_disabled(record):
    return CHROMIUM_USER_REASON in record.get("disable_reasons", [])


def check_chromium(work, switch, checks):
    source = os.path.join(work, "probe")
    os.makedirs(source)
    with open(os.path.join(source, "manifest.json"), "w") as f:
        json.dump(MANIFEST, f)
    chromium(os.path.join(work, "packer"), "--pack-extension=" + source)
    # The id is the first 128 bits of the SHA-256 of the public key, in the
    # letters a to p.
    der = subprocess.run(["openssl", "rsa", "-in", source + ".pem", "-pubout", "-outform", "DER"],
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=True).stdout
    item_id = "".join(chr(ord("a") + int(c, 16)) for c in hashlib.sha256(der).hexdigest()[:32])

    user_data = os.path.join(work, "chromium")
    external = os.path.join(user_data, "External Extensions")
    os.makedirs(external)
    with open(os.path.join(external, item_id + ".json"), "w") as f:
        json.dump({"external_crx": source + ".crx", "external_version": MANIFEST["version"]}, f)
    chromium(user_data)
    record = chromium_record(user_data, item_id)
    if not checks.expect(record is not None and not chromium_disabled(record),
                         "chromium installed the probe extension " + item_id + " switched on"):
        return
    profile = os.path.join(user_data, "Default")
    # The older generation's switch, "state" 0 alone, is not one current
    # Chromium honours: the extension stays on.
    preferences = os.path.join(profile, "Preferences")
    with open(preferences, encoding="utf-8") as f:
        tree = json.load(f)
    tree["extensions"]["settings"][item_id]["state"] = 0
    with open(preferences, "w", encoding="utf-8") as f:
        json.dump(tree, f, separators=(",", ":"))
    chromium(user_data)
    record = chromium_record(user_data, item_id)
    checks.expect(record is not None and not chromium_disabled(record),
                  "\"state\" 0 alone leaves the extension on in current chromium")
    checks.expect(switch("chrome", profile, "disable", item_id), "our switch-off of the chromium extension")
    chromium(user_data)
    record = chromium_record(user_data, item_id)
    checks.expect(record is not None and chromium_disabled(record),
                  "after chromium ran again the extension is still off (disable_reasons %s)"
                  % (record or {}).get("disable_reasons"))
    checks.expect(switch("chrome", profile, "enable", item_id), "our switch-on of the chromium extension")
    chromium(user_data)
    record = chromium_record(user_data, item_id)
    checks.expect(record is not None and not chromium_disabled(record),
                  "after chromium ran again the extension is on (disable_reasons %s)"
                  % (record or {}).get("disable_reasons"))


# --- Firefox ------------------------------------------------------------

def firefox(profile):
    return run(["firefox-esr", "--headless", "--profile", profile, "--screenshot",
                os.path.join(profile, "..", "screenshot.png"), "about:blank"])


def decode_mozlz4(data):
    assert data[:8] == b"mozLz40\0"
    src, dst, i = data[12:], bytearray(), 0
    while i < len(src):
        token = src[i]
        i += 1
        literals = token >> 4
        if literals == 15:
            while True:
                literals += src[i]
                i += 1
                if src[i - 1] != 255:
                    break
        dst += src[i:i + literals]
        i += literals
        if i >= len(src):
            break
        offset = src[i] | (src[i + 1] << 8)
        i += 2
        match = token & 15
        if match == 15:
            while True:
                match += src[i]
                i += 1
                if src[i - 1] != 255:
                    break
        for _ in range(match + 4):
            dst.append(dst[-offset])
    return json.loads(dst.decode("utf-8"))


def firefox_state(profile):
    """(active and not userDisabled in extensions.json, enabled in the start-up cache)"""
    with open(os.path.join(profile, "extensions.json"), encoding="utf-8") as f:
        addon = next((a for a in json.load(f)["addons"] if a["id"] == FIREFOX_ID), None)
    with open(os.path.join(profile, "addonStartup.json.lz4"), "rb") as f:
        cache = decode_mozlz4(f.read())
    cached = [location["addons"][FIREFOX_ID]["enabled"] for location in cache.values()
              if FIREFOX_ID in location.get("addons", {})]
    if addon is None or len(cached) != 1:
        return None
    return (addon["active"] and not addon["userDisabled"], cached[0])


def check_firefox(work, switch, checks):
    profile = os.path.join(work, "firefox", "probe.default")
    os.makedirs(os.path.join(profile, "extensions"))
    manifest = dict(MANIFEST, manifest_version=2,
                    browser_specific_settings={"gecko": {"id": FIREFOX_ID}})
    with zipfile.ZipFile(os.path.join(profile, "extensions", FIREFOX_ID + ".xpi"), "w") as xpi:
        xpi.writestr("manifest.json", json.dumps(manifest))
    # Our add-on is unsigned, and Firefox switches off what it finds in the
    # profile's folder unless told otherwise.
    with open(os.path.join(profile, "user.js"), "w") as f:
        f.write('user_pref("xpinstall.signatures.required", false);\n'
                'user_pref("extensions.autoDisableScopes", 0);\n')
    firefox(profile)
    if not checks.expect(firefox_state(profile) == (True, True), "firefox installed the probe add-on switched on"):
        return
    # The database alone is not enough: Firefox starts its add-ons from the
    # start-up cache, which still says on.
    database = os.path.join(profile, "extensions.json")
    with open(database, encoding="utf-8") as f:
        saved = f.read()
    tree = json.loads(saved)
    for addon in tree["addons"]:
        if addon["id"] == FIREFOX_ID:
            addon.update(active=False, userDisabled=True)
    with open(database, "w", encoding="utf-8") as f:
        json.dump(tree, f, separators=(",", ":"))
    firefox(profile)
    checks.expect(firefox_state(profile) == (False, True),
                  "a switch of extensions.json alone leaves firefox's start-up cache on (%s)" % (firefox_state(profile),))
    with open(database, "w", encoding="utf-8") as f:
        f.write(saved)
    checks.expect(switch("firefox", profile, "disable", FIREFOX_ID), "our switch-off of the firefox add-on")
    firefox(profile)
    state = firefox_state(profile)
    checks.expect(state == (False, False),
                  "after firefox ran again the add-on is still off (database, start-up cache: %s)" % (state,))
    checks.expect(switch("firefox", profile, "enable", FIREFOX_ID), "our switch-on of the firefox add-on")
    firefox(profile)
    state = firefox_state(profile)
    checks.expect(state == (True, True),
                  "after firefox ran again the add-on is on (database, start-up cache: %s)" % (state,))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--via", choices=("native", "wine"), default="native")
    parser.add_argument("--browser", action="append", choices=("chromium", "firefox"))
    args = parser.parse_args()
    browsers = args.browser or ["chromium", "firefox"]
    programs = {"chromium": "chromium", "firefox": "firefox-esr"}
    browsers = [b for b in browsers if shutil.which(programs[b])]
    if not browsers:
        print("NOT RUN: neither chromium nor firefox-esr is installed")
        return 77
    switch = native_switch if args.via == "native" else wine_switch
    checks = Checks()
    for browser in browsers:
        work = tempfile.mkdtemp(prefix="orvix-browsers-")
        try:
            print("== " + browser + " (our switch " + args.via + ")", flush=True)
            (check_chromium if browser == "chromium" else check_firefox)(work, switch, checks)
        finally:
            shutil.rmtree(work, ignore_errors=True)
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main())
