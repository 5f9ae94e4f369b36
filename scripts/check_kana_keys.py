#!/usr/bin/python3
"""Types every question of the roman-type sample sets in kana under an X server, by the keys'
physical positions (XTest key codes), as a player on a JIS keyboard would. For each set a
portable copy gets one question made of all the set's readings; the session must end with no
miss. Run it twice, with `setxkbmap us` and `setxkbmap jp` on the display (not part of CI):

    DISPLAY=:71 /usr/bin/python3 scripts/check_kana_keys.py BUILD/bin WORKDIR

Needs python3-xlib, xdotool and a running X server without a window manager.
"""
import os
import shutil
import subprocess
import sys
import time

from Xlib import X, display
from Xlib.ext import xtest

# Kana (press notation) -> (Linux input code, Shift), the JIS kana layout.
ROWS = [
    [(2, "ぬ", ""), (3, "ふ", ""), (4, "あ", "ぁ"), (5, "う", "ぅ"), (6, "え", "ぇ"), (7, "お", "ぉ"),
     (8, "や", "ゃ"), (9, "ゆ", "ゅ"), (10, "よ", "ょ"), (11, "わ", "を"), (12, "ほ", ""), (13, "へ", ""),
     (124, "ー", "")],
    [(16, "た", ""), (17, "て", ""), (18, "い", "ぃ"), (19, "す", ""), (20, "か", ""), (21, "ん", ""),
     (22, "な", ""), (23, "に", ""), (24, "ら", ""), (25, "せ", ""), (26, "゛", ""), (27, "゜", "「")],
    [(30, "ち", ""), (31, "と", ""), (32, "し", ""), (33, "は", ""), (34, "き", ""), (35, "く", ""),
     (36, "ま", ""), (37, "の", ""), (38, "り", ""), (39, "れ", ""), (40, "け", ""), (43, "む", "」")],
    [(44, "つ", "っ"), (45, "さ", ""), (46, "そ", ""), (47, "ひ", ""), (48, "こ", ""), (49, "み", ""),
     (50, "も", ""), (51, "ね", "、"), (52, "る", "。"), (53, "め", "・"), (89, "ろ", "")],
]
PRESS = {}
for row in ROWS:
    for code, plain, shifted in row:
        PRESS[plain] = (code, False)
        if shifted:
            PRESS[shifted] = (code, True)
for i, d in enumerate("1234567890"):
    PRESS[d] = (2 + i, False)
PRESS["!"] = (2, True)
PRESS["?"] = (53, True)
PRESS[" "] = PRESS["_"] = (57, False)
SHIFT = 42


def sets(data):
    for name in sorted(os.listdir(data)):
        lines = open(os.path.join(data, name), encoding="cp932", newline="").read().split("\r\n")
        pairs = [(lines[i], lines[i + 1]) for i in range(1, len(lines) - 1, 2) if lines[i + 1]]
        if pairs and any(c.isupper() for _, c in pairs) and not name.startswith("English"):
            yield name, lines[0], pairs


def presses(tool, code):
    out = subprocess.run([tool, "type", "--kana"], input=code + "\t\n", capture_output=True,
                         text=True, check=True).stdout
    return out.rstrip("\n").split("\t")[1]


def main():
    app, work = sys.argv[1], sys.argv[2]
    tool = os.path.join(app, "keyrook-tool")
    d = display.Display()
    failures = 0
    for name, header, pairs in sets(os.path.join(app, "data")):
        copy = os.path.join(work, "app")
        shutil.rmtree(copy, ignore_errors=True)
        shutil.copytree(app, copy, ignore=shutil.ignore_patterns("data", "user", "keyrook_*"))
        os.makedirs(os.path.join(copy, "data"))
        os.makedirs(os.path.join(copy, "user"))
        code = " ".join(c for _, c in pairs)
        with open(os.path.join(copy, "data", "check.std"), "w", encoding="cp932", newline="") as f:
            f.write("\r\n".join([header, "確認", code, ""]))
        with open(os.path.join(copy, "user", "user.log"), "w", newline="") as f:
            f.write("amy\r\namy\r\n")
        with open(os.path.join(copy, "user", "amy.ini"), "w", newline="") as f:
            f.write("[chkKana]\r\nChecked=1\r\n")
        keys = presses(tool, code)
        missing = sorted({k for k in keys if k not in PRESS})
        program = subprocess.Popen(["./keyrook"], cwd=copy, env=dict(os.environ, QT_QPA_PLATFORM="xcb"),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            xdo("mousemove", "--window", wait_window("Keyrook"), "364", "126", "click", "1")  # Practice
            xdo("windowfocus", "--sync", wait_window("ﾌﾟﾚｲﾔｰ"))
            xdo("key", "F1")
            time.sleep(3.5)  # "Ready !!" before the first question
            for k in keys:
                if k not in PRESS:
                    continue
                code_, shift = PRESS[k]
                if shift:
                    xtest.fake_input(d, X.KeyPress, SHIFT + 8)
                xtest.fake_input(d, X.KeyPress, code_ + 8)
                xtest.fake_input(d, X.KeyRelease, code_ + 8)
                if shift:
                    xtest.fake_input(d, X.KeyRelease, SHIFT + 8)
                d.sync()
                time.sleep(0.04)
            time.sleep(1.5)  # the pause after a question, then the result
            if os.environ.get("KANA_SHOT"):
                subprocess.run(["import", "-window", "root", os.environ["KANA_SHOT"]])
            xdo("mousemove", "629", "680", "click", "1")  # OK (the dialog is centred on the screen)
            if os.environ.get("KANA_SHOT"):
                time.sleep(1)
                subprocess.run(["import", "-window", "root", os.environ["KANA_SHOT"] + ".after.png"])
            record = wait_record(os.path.join(copy, "user", "amy.rec"))
        finally:
            program.terminate()
            program.wait()
        # The record line: title marked as kana, no miss, every press in one combo.
        fields = record.split(",")
        ok = (not missing and len(fields) == 14 and fields[2].endswith("（かな）") and fields[5] == "0"
              and fields[7] == str(len(keys)))
        print(f"{name}: {len(pairs)} questions, {len(keys)} presses, {'ok' if ok else 'FAILED'}: {record}")
        failures += not ok
    return 1 if failures else 0


def xdo(*args):
    subprocess.run(["xdotool", *args], check=True)


def wait_window(title, limit=30):
    end = time.time() + limit
    while time.time() < end:
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title], capture_output=True, text=True)
        if r.stdout.strip():
            return r.stdout.split()[0]
        time.sleep(0.25)
    raise SystemExit(f"no window {title}")


def wait_record(path, limit=10):
    end = time.time() + limit
    while time.time() < end:
        text = open(path, encoding="cp932").read().strip() if os.path.exists(path) else ""
        if text:  # a new user's file holds an empty line until the first record
            return text
        time.sleep(0.25)
    return "(no record)"


if __name__ == "__main__":
    sys.exit(main())
