#!/usr/bin/env python3
"""Reads the inventory report's three forms that the report test left with
Python's own parsers: the HTML must hold no element made from data, the
texts must come back literally, and every CSV and text row must have the
header's field count."""
import csv
import html.parser
import pathlib
import sys

folder = pathlib.Path(sys.argv[1])
problems = []


class Report(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.starts, self.ends, self.text = {}, {}, []
        self.links, self.anchors = [], []

    def handle_starttag(self, tag, attrs):
        self.starts[tag] = self.starts.get(tag, 0) + 1
        attrs = dict(attrs)
        if tag == "a" and "name" in attrs:
            self.anchors.append(attrs["name"])
        if tag == "a" and attrs.get("href", "").startswith("TavrinLog.html#"):
            self.links.append(attrs["href"])

    def handle_endtag(self, tag):
        self.ends[tag] = self.ends.get(tag, 0) + 1

    def handle_data(self, data):
        self.text.append(data)


report = Report()
report.feed((folder / "TavrinLog.html").read_text(encoding="cp1252"))
text = "".join(report.text)
for tag in ("script", "u"):
    if report.starts.get(tag):
        problems.append(f"HTML has a {tag} element")
for tag in ("b", "i"):
    if report.starts.get(tag, 0) != report.ends.get(tag, 0):
        problems.append(f"HTML opens {report.starts.get(tag, 0)} {tag} elements, closes {report.ends.get(tag, 0)}")
for literal in ("<script>alert(1)</script>", "Signer:   (Not signed)", 'Says "hi", & <u>waits</u>', "Version: <i>2.0</i>"):
    if literal not in text:
        problems.append(f"HTML text lacks {literal!r}")
if report.links != [f"TavrinLog.html#A{i}" for i in range(7)]:
    problems.append(f"contents links {report.links}")
if report.anchors != [f"A{i}" for i in range(8)]:
    problems.append(f"anchors {report.anchors}")

with open(folder / "TavrinLog.csv", newline="", encoding="cp1252") as f:
    rows = list(csv.reader(f))
header = next((r for r in rows if r and r[0] == "Type"), None)
if not header:
    problems.append("CSV has no column header")
else:
    problems += [f"CSV row {n} has {len(r)} fields: {r}" for n, r in enumerate(rows) if len(r) != len(header)]
    if header[-1] != "Signer":
        problems.append(f"CSV's last column is {header[-1]!r}, not Signer")
    if not any(r[2] == "'=HYPERLINK(\"x\"), \"tab\there\"" and r[4] == "Acme  Inc. <b>" and r[-1] == "(Not signed)"
               for r in rows):
        problems.append("CSV lacks the Run entry with its name, company and signer")

lines = (folder / "TavrinLog.txt").read_bytes().decode("cp1252").split("\r\n")
columns = lines[0].count("\t") + 1
problems += [f"text line {n} has {l.count(chr(9)) + 1} columns" for n, l in enumerate(lines) if l and l.count("\t") + 1 != columns]
if not any(l.startswith("<script>alert(1)</script>\t") and l.endswith("\t(Not signed)") for l in lines):
    problems.append("text form lacks the Run entry")

for p in problems:
    print(p)
print(f"{len(problems)} problem(s)")
sys.exit(1 if problems else 0)
