"""Compares the application's ISO-2022-JP encoder with Python's codecs: every
double-byte code of Shift-JIS one by one, and random mixed texts. Codes that
JIS X 0208 cannot hold (Python's shift_jis codec refuses them) must come out
as the geta mark; half-width katakana as their full-width forms."""
import random
import subprocess
import sys
import unicodedata

tool = sys.argv[1]


def ours(data, mode="jis"):
    return subprocess.run([tool, mode], input=data, capture_output=True, check=True).stdout


def jis_char(code):
    """The character of JIS X 0208 a code stands for, or None."""
    try:
        return code.decode("shift_jis")
    except UnicodeDecodeError:
        return None


def char_of(code):
    return jis_char(code) or "\u3013"  # the geta mark for what JIS X 0208 cannot hold


codes = [bytes([lead, trail]) for lead in list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
         for trail in list(range(0x40, 0x7F)) + list(range(0x80, 0xFD))]
text = b"".join(code + b"x" for code in codes)
expected = "".join(char_of(code) + "x" for code in codes).encode("iso2022_jp")
got = ours(text)
failures = 0
if got != expected:
    # Find the first codes that differ, one by one.
    for code in codes:
        want = (char_of(code) + "x").encode("iso2022_jp")
        have = ours(code + b"x")
        if want != have:
            print("code %s: expected %r, got %r" % (code.hex(), want, have))
            failures += 1
            if failures > 20:
                break
held = sum(1 for code in codes if jis_char(code) is not None)
print("%d codes, %d JIS X 0208 characters" % (len(codes), held))
if held != 6879:
    print("expected 6879 characters of JIS X 0208")
    failures += 1

# Mixed texts: ASCII, JIS X 0208 characters, half-width katakana, line ends.
rng = random.Random(1)
valid = [code for code in codes if jis_char(code) is not None]
for round_ in range(200):
    parts = []
    for _ in range(rng.randrange(1, 40)):
        kind = rng.randrange(4)
        if kind == 0:
            parts.append(bytes([rng.randrange(0x20, 0x7F)]))
        elif kind == 1:
            parts.append(rng.choice(valid))
        elif kind == 2:
            parts.append(bytes([rng.randrange(0xA1, 0xDE)]))  # no marks: each kana alone
        else:
            parts.append(b"\r\n")
    data = b"".join(parts)
    unicode_text = data.decode("cp932")
    # Half-width katakana become full-width, as NFKC does for them.
    widened = "".join(unicodedata.normalize("NFKC", ch) if "\uff61" <= ch <= "\uff9f" else ch
                      for ch in unicode_text)
    want = widened.encode("iso2022_jp")
    have = ours(data)
    if want != have:
        print("mixed text %r: expected %r, got %r" % (data, want, have))
        failures += 1
        if failures > 20:
            break
sys.exit(1 if failures else 0)
