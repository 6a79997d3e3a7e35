#!/usr/bin/env python3
"""Checks that LibreOffice Writer reads every document with the same text as our reader.

Converts each documents/DOC_n.rtf to plain text with `soffice --headless` and compares its
words, in order, with what `rtfdump` prints. Layout (line breaks, tabs, table cells) is not
compared: only the sequence of words. Non-breaking spaces count as spaces and optional
hyphens as nothing, since the two programs export them differently.

Usage: tools/crosscheck/compare_with_libreoffice.py BUILD_DIR [N ...]
Needs soffice (Debian: libreoffice-writer-nogui). Exit status 1 when any document differs.
"""
import difflib
import pathlib
import re
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parents[2]


def words(text):
    text = text.replace("\u00a0", " ").replace("\u00ad", "").replace("\ufeff", "")
    return re.findall(r"\S+", text)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    rtfdump = pathlib.Path(sys.argv[1]) / "tools" / "rtfdump" / "rtfdump"
    numbers = [int(n) for n in sys.argv[2:]] or range(1, 71)
    documents = [ROOT / "documents" / f"DOC_{n}.rtf" for n in numbers]
    differing = 0
    with tempfile.TemporaryDirectory() as out:
        # One LibreOffice start for every file: starting it is most of the cost.
        subprocess.run(["soffice", "--headless", f"-env:UserInstallation=file://{out}/profile",
                        "--convert-to", "txt:Text (encoded):UTF8", "--outdir", out,
                        *map(str, documents)], check=True, stdout=subprocess.DEVNULL)
        for document in documents:
            ours = words(subprocess.run([str(rtfdump), str(document)], check=True,
                                        capture_output=True, text=True).stdout)
            theirs = words((pathlib.Path(out) / (document.stem + ".txt")).read_text("utf-8"))
            if ours == theirs:
                print(f"{document.stem}: same {len(ours)} words")
                continue
            differing += 1
            print(f"{document.stem}: differs ({len(ours)} words ours, {len(theirs)} LibreOffice)")
            for line in list(difflib.unified_diff(theirs, ours, "libreoffice", "ours", n=2,
                                                  lineterm=""))[:20]:
                print("   ", line)
    print(f"{len(documents) - differing} of {len(documents)} documents read alike")
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
