#!/usr/bin/env python3
"""Generates src/text/GB2Big5Tables.cpp, the GB2312 <-> Big5 conversion tables.

Run from the repository root:  python3 tools/gen_gb2big5.py > src/text/GB2Big5Tables.cpp
Needs glibc's `iconv` (code pages), ICU's `uconv` (Debian package icu-devtools) for the
simplified <-> traditional character mapping, and Unihan's variants (Debian package unicode-data). The output depends on nothing else, so running
it twice gives the same file.

Layout: GB to Big5 has 126 rows (GB lead 0x81..0xFE), Big5 to GB 89 rows (Big5 lead
0xA1..0xF9); each row holds 192 two-byte cells, one per trail byte 0x40..0xFF.
Each character maps to its converted form; else to itself when the other code page has it; else
to its first Unihan variant the other code page has (启's traditional form 啓 is no Big5
character, its variant 啟 is); else to the other code page's first character that converts back
to it.
A character with none of these becomes the full-width question mark of that code page (Big5
A1 48, GB2312 A3 BF), so a gap stays visible.
"""
import subprocess
import sys

BIG5_FALLBACK = b"\xa1\x48"
GB_FALLBACK = b"\xa3\xbf"


def run(command, data):
    return subprocess.run(command, input=data, stdout=subprocess.PIPE, check=True).stdout


def decode_lines(codes, charset):
    """Each two-byte code to its Unicode text through iconv; '' where the code page has none."""
    data = b"".join(code + b"\n" for code in codes)
    out = run(["iconv", "-c", "-f", charset, "-t", "UTF-8"], data)
    lines = out.decode("utf-8").split("\n")[: len(codes)]
    assert len(lines) == len(codes), "iconv lost the line structure"
    return lines


def encode_lines(texts, charset):
    """Each text to the code page's bytes through iconv; b'' where it cannot be written."""
    data = "\n".join(texts).encode("utf-8") + b"\n"
    out = run(["iconv", "-c", "-f", "UTF-8", "-t", charset], data)
    lines = out.split(b"\n")[: len(texts)]
    assert len(lines) == len(texts), "iconv lost the line structure"
    return lines


def transliterate(texts, transform):
    data = "\n".join(texts).encode("utf-8") + b"\n"
    out = run(["uconv", "-f", "UTF-8", "-t", "UTF-8", "-x", transform], data)
    lines = out.decode("utf-8").split("\n")[: len(texts)]
    assert len(lines) == len(texts), "uconv lost the line structure"
    return lines


def code_page_chars(first_lead, rows, charset):
    """The two-byte codes of a code page's rows and their single characters ('' for none)."""
    codes = [bytes([lead, trail]) for lead in range(first_lead, first_lead + rows) for trail in range(0x40, 0x100)]
    texts = decode_lines(codes, charset)
    # Only single characters are converted; anything else is no character of the code page.
    return codes, [t if len(t) == 1 else "" for t in texts]


def variants_from_target(target_page, back_transform):
    """For each character, the first target code (in code order) whose character converts back
    to it: the target's own standard variant of a form the transliterator does not give
    (启 becomes 啓, which Big5 lacks, while Big5's 啟 converts back to 启)."""
    codes, chars = target_page
    back = transliterate(chars, back_transform)
    found = {}
    for code, char, source in zip(codes, chars, back):
        if char and len(source) == 1 and source not in found:
            found[source] = code
    return found


UNIHAN_VARIANTS = "/usr/share/unicode/Unihan_Variants.txt.bz2"  # Debian package unicode-data


def unihan_variants():
    """Each character's variants from Unihan: field name -> list of characters."""
    import bz2

    variants = {}
    with bz2.open(UNIHAN_VARIANTS, "rt", encoding="utf-8") as lines:
        for line in lines:
            if line.startswith("#") or not line.strip():
                continue
            code, field, values = line.rstrip("\n").split("\t")
            chars = [chr(int(v.split("<")[0][2:], 16)) for v in values.split()]
            variants.setdefault(chr(int(code[2:], 16)), {}).setdefault(field, []).extend(chars)
    return variants


def unihan_candidates(char, variants, towards):
    """The forms to try, best first: the char's own simplified or traditional variants, then its
    standard, semantic and shape variants, then those of its converted forms."""
    own = variants.get(char, {})
    first = own.get(towards, [])
    candidates = list(first)
    for form in [char] + first:
        fields = variants.get(form, {})
        for field in ("kZVariant", "kSemanticVariant", "kSpecializedSemanticVariant"):
            candidates.extend(fields.get(field, []))
    seen = set()
    return [c for c in candidates if c != char and not (c in seen or seen.add(c))]


def variants_from_unihan(page, target, towards):
    """For each character of the page, the first Unihan variant the target code page has."""
    _, chars = page
    variants = unihan_variants()
    wanted = [(char, unihan_candidates(char, variants, towards)) for char in chars if char]
    # One iconv run for every candidate of every character.
    flat = [c for _, candidates in wanted for c in candidates]
    encoded = iter(encode_lines(flat, target)) if flat else iter([])
    found = {}
    for char, candidates in wanted:
        for code in [next(encoded) for _ in candidates]:
            if len(code) == 2 and char not in found:
                found[char] = code
    return found


def table(page, target, transform, fallback, variants):
    _, chars = page
    rows = len(chars) // 192
    converted = transliterate(chars, transform)
    as_target = encode_lines([c if len(c) == 1 else "" for c in converted], target)
    as_original = encode_lines(chars, target)
    cells = []
    for char, mapped, original in zip(chars, as_target, as_original):
        if not char:
            cells.append(fallback)
        elif len(mapped) == 2:
            cells.append(mapped)
        elif len(original) == 2:
            cells.append(original)  # the character exists unchanged in the other code page
        elif any(char in v for v in variants):
            cells.append(next(v[char] for v in variants if char in v))
        else:
            cells.append(fallback)
    return [b"".join(cells[r * 192 : (r + 1) * 192]) for r in range(rows)]


def emit(name, rows):
    print("const unsigned char %s[%d][384] = {" % (name, len(rows)))
    for row in rows:
        # Sixteen two-byte cells a line.
        lines = [",".join("0x%02X" % b for b in row[i : i + 32]) for i in range(0, len(row), 32)]
        print("    {" + ",\n     ".join(lines) + "},")
    print("};")


def main():
    gb_page = code_page_chars(0x81, 126, "GB2312")
    big5_page = code_page_chars(0xA1, 89, "BIG5")
    gb = table(gb_page, "BIG5", "Hans-Hant", BIG5_FALLBACK,
               [variants_from_unihan(gb_page, "BIG5", "kTraditionalVariant"),
                variants_from_target(big5_page, "Hant-Hans")])
    big5 = table(big5_page, "GB2312", "Hant-Hans", GB_FALLBACK,
                 [variants_from_unihan(big5_page, "GB2312", "kSimplifiedVariant"),
                  variants_from_target(gb_page, "Hans-Hant")])
    print("// Generated by tools/gen_gb2big5.py from glibc iconv's GB2312 and BIG5 code pages and ICU's")
    print("// Hans-Hant / Hant-Hans transliterators. Do not edit; regenerate with:")
    print("//   python3 tools/gen_gb2big5.py > src/text/GB2Big5Tables.cpp")
    print("// Cells without a counterpart hold the full-width question mark of the target code page.")
    print('#include "text/GB2Big5.h"')
    print()
    print("// clang-format off")
    print("namespace karvena {")
    print()
    emit("kGbToBig5", gb)
    print()
    emit("kBig5ToGb", big5)
    print()
    print("// clang-format on")
    print("} // namespace karvena")


if __name__ == "__main__":
    sys.exit(main())
