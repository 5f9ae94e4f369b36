#!/usr/bin/env python3
"""Checks the problem-set sources in this folder before they are converted.

Each source is assets/library/<title>.txt:
    line 1  description
    line 2  author
    line 3  "roman" or "english"
    then pairs of question line and answer line (a hiragana reading for a
    roman set, the text to type for an english set).

The checker carries its own copy of the kana-to-code rules and of the reverse
decoding, so a reading that would lose a character in conversion, or would not
read back the same in the maker, is caught here without the tool.

Usage: check_sources.py [SOURCE.txt ...]   (default: every *.txt beside this file)
Exit status 0 when every source is clean, 1 otherwise.
"""

import pathlib
import sys

MIN_QUESTIONS = 15
MAX_QUESTIONS = 40
MAX_TITLE_WIDTH = 16         # half-width columns that fit the menu list
MAX_QUESTION_WIDTH = 56      # half-width columns of the question line in the typing window
MAX_ROMAJI = 48              # characters of the typing line, longest spellings chosen

# --- kana to code -------------------------------------------------------

SINGLE = {}
for row, codes in [
    ("あいうえお", "A I U E O"),
    ("かきくけこ", "KA KI KU KE KO"),
    ("さしすせそ", "SA 01 SU SE SO"),
    ("たちつてと", "TA 02 03 TE TO"),
    ("なにぬねの", "NA NI NU NE NO"),
    ("はひふへほ", "HA HI 04 HE HO"),
    ("まみむめも", "MA MI MU ME MO"),
    ("やゆよ", "YA YU YO"),
    ("らりるれろ", "RA RI RU RE RO"),
    ("わゐゑをん", "WA WI WE WO NN"),
    ("がぎぐげご", "GA GI GU GE GO"),
    ("ざじずぜぞ", "ZA 09 ZU ZE ZO"),
    ("だぢづでど", "DA DI DU DE DO"),
    ("ばびぶべぼ", "BA BI BU BE BO"),
    ("ぱぴぷぺぽ", "PA PI PU PE PO"),
]:
    SINGLE.update(zip(row, codes.split()))
SYLLABLES = dict(SINGLE)      # the rows a failed combination may fall back to

SMALL = {"ぁ": "@A", "ぃ": "@I", "ぅ": "@U", "ぇ": "@E", "ぉ": "@O",
         "ゃ": "@YA", "ゅ": "@YU", "ょ": "@YO"}
SIGNS = {"ー": "-", "\u3000": "_", "、": ",", "。": ".", "！": "!", "？": "?"}
DIGITS = {chr(ord("０") + d): "9%d" % d for d in range(10)}
SINGLE["っ"] = "18"
SINGLE.update(SMALL)
SINGLE.update(SIGNS)
SINGLE.update(DIGITS)

COMBINING = set("ゃゅょぇぃぉぁ゛")

PAIRS = {
    "しゃ": "05", "しゅ": "06", "しょ": "07", "しぇ": "08", "しぃ": "22",
    "じゃ": "10", "じゅ": "11", "じょ": "12", "じぇ": "13", "じぃ": "19",
    "ちゃ": "14", "ちゅ": "15", "ちょ": "16", "ちぇ": "17", "ちぃ": "20",
    "ぢゃ": "DYA", "ぢゅ": "DYU", "ぢょ": "DYO", "ぢぇ": "DYE", "ぢぃ": "DYI",
    "てゃ": "THA", "てゅ": "THU", "てょ": "THO", "てぃ": "23", "てぇ": "THE",
    "でゃ": "DHA", "でゅ": "DHU", "でょ": "DHO", "でぇ": "DHE", "でぃ": "DHI",
    "ふぁ": "FA", "ふぃ": "FI", "ふぇ": "FE", "ふぉ": "FO",
    "ふゃ": "FYA", "ふゅ": "FYU", "ふょ": "FYO",
    "うぃ": "WI", "うぇ": "WE", "う゛": "VU",
    "つぁ": "TSA", "つぃ": "TSI", "つぇ": "TSE", "つぉ": "TSO",
}
for kana, consonant in zip("きぎみにひびぴり", "KGMNHBPR"):
    for small, vowel in zip("ゃゅょぃぇ", ["YA", "YU", "YO", "YI", "YE"]):
        PAIRS[kana + small] = consonant + vowel
TRIPLES = {"う゛ぁ": "VA", "う゛ぃ": "VI", "う゛ぇ": "VE", "う゛ぉ": "VO"}


def encode(reading):
    out = []
    i = 0
    while i < len(reading):
        if reading[i:i + 3] in TRIPLES:
            out.append(TRIPLES[reading[i:i + 3]])
            i += 3
        elif i + 1 < len(reading) and reading[i + 1] in COMBINING:
            pair = reading[i:i + 2]
            if pair in PAIRS:
                out.append(PAIRS[pair])
            else:
                out.append(SYLLABLES.get(reading[i], ""))
                out.append(SMALL.get(reading[i + 1], ""))
            i += 2
        else:
            out.append(SINGLE.get(reading[i], ""))
            i += 1
    return "".join(out)


# --- code back to kana --------------------------------------------------

ONE = {"A": "あ", "I": "い", "U": "う", "E": "え", "O": "お", "-": "ー",
       "_": "\u3000", ",": "、", ".": "。", "!": "！", "?": "？"}
NUMBERS = {"01": "し", "02": "ち", "03": "つ", "04": "ふ", "05": "しゃ",
           "06": "しゅ", "07": "しょ", "08": "しぇ", "09": "じ", "10": "じゃ",
           "11": "じゅ", "12": "じょ", "13": "じぇ", "14": "ちゃ", "15": "ちゅ",
           "16": "ちょ", "17": "ちぇ", "18": "っ", "19": "じぃ", "20": "ちぃ",
           "22": "しぃ", "23": "てぃ"}
NUMBERS.update({"9%d" % d: chr(ord("０") + d) for d in range(10)})
TWO = {}
for consonant, kana in [("K", "かきくけこ"), ("S", "さしすせそ"), ("T", "たちつてと"),
                        ("N", "なにぬねの"), ("H", "はひふへほ"), ("M", "まみむめも"),
                        ("R", "らりるれろ"), ("G", "がぎぐげご"), ("Z", "ざじずぜぞ"),
                        ("D", "だぢづでど"), ("B", "ばびぶべぼ"), ("P", "ぱぴぷぺぽ")]:
    TWO.update({consonant + v: k for v, k in zip("AIUEO", kana)})
TWO.update({"YA": "や", "YU": "ゆ", "YO": "よ", "WA": "わ", "WO": "を", "NN": "ん",
            "FA": "ふぁ", "FI": "ふぃ", "FE": "ふぇ", "FO": "ふぉ",
            "JA": "じゃ", "JI": "じ", "JU": "じゅ", "JE": "じぇ", "JO": "じょ",
            "VA": "う゛ぁ", "VI": "う゛ぃ", "VU": "う゛", "VE": "う゛ぇ", "VO": "う゛ぉ",
            "WI": "うぃ", "WE": "うぇ",
            "@A": "ぁ", "@I": "ぃ", "@U": "ぅ", "@E": "ぇ", "@O": "ぉ"})
THREE = {}
for consonant, kana in zip(["K", "G", "M", "N", "H", "B", "P", "R", "D"], "きぎみにひびぴりぢ"):
    for vowel, small in zip("AIUEO", "ゃぃゅぇょ"):
        THREE[consonant + "Y" + vowel] = kana + small
for lead, kana in [("TH", "て"), ("DH", "で")]:
    for vowel, small in zip("AIUEO", "ゃぃゅぇょ"):
        THREE[lead + vowel] = kana + small
for vowel, small in zip("AIUEO", "ゃぃゅぇょ"):
    THREE["FY" + vowel] = "ふ" + small
THREE.update({"SYI": "しぃ", "TSA": "つぁ", "TSI": "つぃ", "TSU": "つ", "TSE": "つぇ",
              "TSO": "つぉ", "@YA": "ゃ", "@YU": "ゅ", "@YO": "ょ"})


def decode(code):
    out = []
    i = 0
    while i < len(code):
        one, two, three = code[i], code[i:i + 2], code[i:i + 3]
        if len(two) < 2:
            two = ""
        if len(three) < 3:
            three = ""
        step = 1
        if one in ONE:
            out.append(ONE[one])
        if two in NUMBERS:
            out.append(NUMBERS[two])
        number = int(two) if two.isdigit() else 0
        if 1 <= number <= 23 or 90 <= number <= 99:
            step += 1
        if two in TWO:
            out.append(TWO[two])
            step += 1
        if three in THREE:
            out.append(THREE[three])
            step += 2
        i += step
    return "".join(out)


# --- code to romaji, with the longest spelling of every group -----------

LONGEST = {1: "SHI", 2: "CHI", 3: "TSU", 4: "FU", 5: "SHA", 6: "SHU", 7: "SHO",
           8: "SHE", 9: "JI", 10: "ZYA", 11: "ZYU", 12: "ZYO", 13: "ZYE",
           14: "CHA", 15: "CHU", 16: "CHO", 17: "CHE", 19: "ZYI", 20: "TYI",
           21: "X", 22: "SHILI", 23: "TELI"}


def longest_romaji(code):
    out = []
    i = 0
    while i < len(code):
        ch = code[i]
        if ch == "@":
            out.append(LONGEST[21])
            i += 1
        elif ch.isdigit():
            token = code[i:i + 2]
            if token == "18":
                after = code[i + 2:i + 4]
                out.append(LONGEST[int(after)][0] if after[:1].isdigit() else after[:1])
            elif token[0] == "9":
                out.append(token[1])
            else:
                out.append(LONGEST[int(token)])
            i += 2
        else:
            out.append(ch)
            i += 1
    return "".join(out)


def width(text):
    return sum(1 if ord(c) < 0x80 else 2 for c in text)


# --- checks -------------------------------------------------------------

def reading_problems(reading):
    problems = []
    for pos, ch in enumerate(reading):
        if ch not in SINGLE and ch != "゛":
            problems.append("character %r has no code" % ch)
        if ch in SMALL and reading[pos - 1:pos + 1] not in PAIRS and pos > 0 and reading[pos - 2:pos + 1] not in TRIPLES:
            problems.append("small %r does not join the kana before it" % ch)
        if ch in SMALL and pos == 0:
            problems.append("reading starts with small %r" % ch)
        if ch == "っ":
            nxt = reading[pos + 1] if pos + 1 < len(reading) else ""
            if nxt not in SYLLABLES or nxt in "あいうえおん":
                problems.append("small tsu before %r doubles nothing" % (nxt or "end of line"))
    if not problems:
        back = decode(encode(reading))
        if back != reading:
            problems.append("reads back as %s" % back)
    return problems


def check(path):
    errors = []
    title = path.stem
    if width(title) > MAX_TITLE_WIDTH:
        errors.append("title wider than %d half-width columns" % MAX_TITLE_WIDTH)
    lines = path.read_text(encoding="utf-8").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    if len(lines) < 3:
        return ["fewer than three header lines"], 0
    description, author, kind = lines[:3]
    body = lines[3:]
    if not description or "/" in description:
        errors.append("description must be non-empty and hold no '/'")
    if not author or "/" in author or author.endswith("#"):
        errors.append("author must be non-empty, hold no '/' and not end in '#'")
    if kind not in ("roman", "english"):
        errors.append("line 3 must be 'roman' or 'english', not %r" % kind)
    if len(body) % 2:
        errors.append("odd number of question/answer lines")
    count = len(body) // 2
    if not MIN_QUESTIONS <= count <= MAX_QUESTIONS:
        errors.append("%d questions, want %d to %d" % (count, MIN_QUESTIONS, MAX_QUESTIONS))
    for n, text in enumerate(lines, 1):
        try:
            text.encode("cp932")
        except UnicodeEncodeError as e:
            errors.append("line %d: not representable in CP932: %s" % (n, e))
        if text != text.strip():
            errors.append("line %d: leading or trailing blank" % n)
        if "\r" in text or "\t" in text:
            errors.append("line %d: control character" % n)
    questions = set()
    for k in range(count):
        question, answer = body[2 * k], body[2 * k + 1]
        n = 4 + 2 * k
        if not question:
            errors.append("line %d: empty question" % n)
        if question in questions:
            errors.append("line %d: duplicate question %s" % (n, question))
        questions.add(question)
        if not answer:
            errors.append("line %d: empty answer" % (n + 1))
        if width(question) > MAX_QUESTION_WIDTH:
            errors.append("line %d: question wider than the typing window" % n)
        typed = longest_romaji(encode(answer)) if kind == "roman" else answer
        if len(typed) > MAX_ROMAJI:
            errors.append("line %d: %d characters to type, at most %d fit"
                          % (n + 1, len(typed), MAX_ROMAJI))
        if kind == "roman":
            for p in reading_problems(answer):
                errors.append("line %d: %s: %s" % (n + 1, answer, p))
        elif kind == "english":
            if not all(" " <= c <= "~" for c in answer):
                errors.append("line %d: non-ASCII in English answer" % (n + 1))
    return errors, count


def main(argv):
    here = pathlib.Path(__file__).resolve().parent
    paths = [pathlib.Path(a) for a in argv] or sorted(here.glob("*.txt"))
    failed = False
    total = 0
    for path in paths:
        errors, count = check(path)
        total += count
        status = "ok" if not errors else "FAIL"
        print("%-4s %3d  %s" % (status, count, path.stem))
        for e in errors:
            print("       " + e)
        failed |= bool(errors)
    print("%d sets, %d questions" % (len(paths), total))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
