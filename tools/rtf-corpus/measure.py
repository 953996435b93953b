#!/usr/bin/env python3
"""How much of a folder of real-world RTF our reader reads as other readers do.

For every *.rtf in FOLDER the text our reader finds (the rtf_text tool built
beside the program) is compared with the text two independent readers find:
unrtf (--text) and LibreOffice (converted to UTF-8 text, headless). A file
counts as read right when its words, in order, are those of at least one of
the two; the words are the text split at blanks, after Unicode NFC, with
non-breaking and typographic spaces taken as blanks and soft hyphens,
zero-width characters and symbol-font private-use codes mapped as a reader
shows them; the document properties unrtf prints before the text are not
taken as text. The references are made once and kept in a cache folder.

    tools/rtf-corpus/measure.py FOLDER [--build build] [--cache DIR] [--bullets] [--list]

--bullets takes every bullet glyph that starts a line as the same bullet.
--list prints every file that is not read right, with the first words where
the texts part.
"""
import argparse
import difflib
import os
import re
import subprocess
import sys
import unicodedata

SPACES = dict.fromkeys(map(ord, "\u00a0\u2000\u2001\u2002\u2003\u2004\u2005\u2006\u2007\u2008\u2009\u200a\u202f\u3000"), " ")
DROPPED = dict.fromkeys(map(ord, "\u00ad\u200b\u200c\u200d\ufeff\u2060"), None)
# Symbol-font codes (our reader keeps them as U+F000 + byte) as the glyphs
# a reader shows for the common ones.
SYMBOLS = {0xF0B7: "\u2022", 0xF0A7: "\u25aa", 0xF06C: "\u25cf", 0xF0D8: "\u27a2", 0xF0FC: "\u2714"}
# Text in a symbol font below 0x80 is its ASCII bytes, as both references
# print it (the reader keeps it as U+F000 + byte).
SYMBOLS.update({0xF000 + c: chr(c) for c in range(0x21, 0x7F)})
# Document properties unrtf prints before the text ({\info}); not text.
INFO = re.compile(r"^(TITLE|SUBJECT|AUTHOR|MANAGER|COMPANY|OPERATOR|CATEGORY|KEYWORDS|COMMENT|DOCUMENT COMMENT|"
                  r"HLINKBASE|CREATION DATE|REVISION DATE|PRINTED DATE|BACKUP DATE|VERSION|EDITING TIME|"
                  r"NUMBER OF PAGES|NUMBER OF WORDS|NUMBER OF CHARACTERS|INTERNAL ID):")


# Glyphs readers draw for a list's bullet. Which one a reader picks for a
# level (LibreOffice draws its own for some, unrtf prints the byte of a
# symbol font) is drawing, not reading: with --bullets a line's first word
# that is one of these counts as "a bullet".
BULLETS = set("\u2022\u25e6\u25aa\u25ab\u2023\u2043\u00b7\u25cf\u25cb\u25a0\u25a1\u2013\u2014-*o\u00a7\u2219\x13\ufffd\"")
BULLETS |= {chr(c) for c in (0xF0B7, 0xF0A7, 0xF06C, 0xF06E, 0xF06F, 0xF0D8, 0xF076, 0xF0FC, 0xF0A8, 0xF0E8)}


def words(text, bullets=False):
    text = unicodedata.normalize("NFC", text).translate(SPACES).translate(DROPPED)
    if bullets:
        lines = []
        for line in text.splitlines():
            first = line.split()[:1]
            if first and all(c in BULLETS for c in first[0]):
                line = line.replace(first[0], "\u2022", 1)
            lines.append(line)
        text = "\n".join(lines)
    text = "".join(SYMBOLS.get(ord(c), c) for c in text)
    return text.split()


def unrtf_text(path):
    try:
        out = subprocess.run(["unrtf", "--text", path], capture_output=True, timeout=60).stdout
    except subprocess.TimeoutExpired:
        return ""
    lines = out.decode("utf-8", "replace").splitlines()
    # Its comments ("###") and the document properties lead the output (a
    # property may run into a comment line).
    start = 0
    while start < len(lines) and (not lines[start].strip() or INFO.match(lines[start]) or "###" in lines[start]
                                  or lines[start] == "-----------------"):
        start += 1
    return "\n".join(l for l in lines[start:] if not l.startswith("###") and l != "-----------------")


def libreoffice_texts(paths, cache):
    def missing():
        return [p for p in paths
                if not os.path.exists(os.path.join(cache, os.path.splitext(os.path.basename(p))[0] + ".txt"))]
    # A batch stops at a file LibreOffice cannot convert; what it left is
    # converted one file at a time, and a file that fails alone has no text.
    for attempt in range(2):
        todo = missing()
        step = 50 if attempt == 0 else 1
        for i in range(0, len(todo), step):
            try:
                subprocess.run(["soffice", "--headless", "--norestore", "--convert-to", "txt:Text (encoded):UTF8",
                                "--outdir", cache] + todo[i:i + step], capture_output=True, timeout=600)
            except subprocess.TimeoutExpired:
                pass
    for p in missing():
        open(os.path.join(cache, os.path.splitext(os.path.basename(p))[0] + ".txt"), "w").close()


def cached(cache, kind, path, make):
    name = os.path.join(cache, kind, os.path.splitext(os.path.basename(path))[0] + ".txt")
    if not os.path.exists(name):
        os.makedirs(os.path.dirname(name), exist_ok=True)
        with open(name, "w", encoding="utf-8") as f:
            f.write(make(path))
    with open(name, encoding="utf-8", errors="replace") as f:
        return f.read()


def ours(tool, paths):
    out = subprocess.run([tool] + paths, capture_output=True).stdout.decode("utf-8", "replace")
    texts = {}
    for chunk in out.split("\f")[1:]:
        name, _, text = chunk.partition("\n")
        texts[name] = text
    return texts


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("folder")
    ap.add_argument("--build", default="build")
    ap.add_argument("--cache", default=os.path.join(os.environ.get("TMPDIR", "/tmp"), "rtf-corpus-references"))
    ap.add_argument("--list", action="store_true")
    ap.add_argument("--bullets", action="store_true", help="take every bullet glyph that starts a line as the same")
    args = ap.parse_args()

    paths = sorted(os.path.join(args.folder, f) for f in os.listdir(args.folder) if f.lower().endswith(".rtf"))
    os.makedirs(os.path.join(args.cache, "libreoffice"), exist_ok=True)
    libreoffice_texts(paths, os.path.join(args.cache, "libreoffice"))
    our = ours(os.path.join(args.build, "tools", "rtf-corpus", "rtf_text"), paths)

    right = 0
    for p in paths:
        mine = words(our.get(p, ""), args.bullets)
        refs = {"unrtf": words(cached(args.cache, "unrtf", p, unrtf_text), args.bullets),
                "LibreOffice": words(cached(args.cache, "libreoffice", p, lambda _: ""), args.bullets)}
        if any(mine == r for r in refs.values()):
            right += 1
            continue
        if args.list:
            best = max(refs, key=lambda k: difflib.SequenceMatcher(None, mine, refs[k], autojunk=False).ratio())
            ref = refs[best]
            at = next((i for i, (a, b) in enumerate(zip(mine, ref)) if a != b), min(len(mine), len(ref)))
            print(f"{os.path.basename(p)}: closest {best}; ours {' '.join(mine[at:at + 6])!r} | "
                  f"{best} {' '.join(ref[at:at + 6])!r} (word {at} of {len(mine)}/{len(ref)})")
    print(f"{right} of {len(paths)} files read as unrtf or LibreOffice reads them: {100.0 * right / len(paths):.1f} %")


if __name__ == "__main__":
    sys.exit(main())
