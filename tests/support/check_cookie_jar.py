#!/usr/bin/env python3
"""Loads every cookies.txt copy a Windows test left (NAME.txt) with Python's
http.cookiejar and compares the cookies it holds with NAME.expect (one
"domain<TAB>name" per line). Fails when there is nothing to check."""
import http.cookiejar
import pathlib
import sys

folder = pathlib.Path(sys.argv[1])
checked = 0
failed = False
for expect in sorted(folder.glob("*.expect")):
    jar_file = expect.with_suffix(".txt")
    jar = http.cookiejar.MozillaCookieJar(str(jar_file))
    try:
        jar.load(ignore_discard=True, ignore_expires=True)
    except (http.cookiejar.LoadError, OSError) as error:
        print(f"{jar_file.name}: does not load: {error}")
        failed = True
        continue
    found = sorted(f"{c.domain}\t{c.name}" for c in jar)
    wanted = sorted(line for line in expect.read_text().splitlines() if line)
    if found != wanted:
        print(f"{jar_file.name}: holds {found}, expected {wanted}")
        failed = True
    checked += 1
if checked == 0 and not failed:
    print(f"no cookie files to check in {folder}")
    failed = True
print(f"{checked} cookie file(s) checked")
sys.exit(1 if failed else 0)
