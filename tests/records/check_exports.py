#!/usr/bin/env python3
"""Reads a report folder with the standard csv and json modules and checks
that contacts.csv, messages.csv and report.json agree with the data of
Contacts.html and Messages.html record for record. Prints the counts it
compared; exits 1 with the first disagreement."""
import csv
import json
import re
import sys
from pathlib import Path

folder = Path(sys.argv[1])


def html_rows(name):
    text = (folder / name).read_text(encoding="utf-8")
    match = re.search(r"var data = (\[.*?\]);\n", text, re.S)
    return json.loads(match.group(1))


def csv_rows(name):
    with open(folder / name, encoding="utf-8", newline="") as f:
        return list(csv.reader(f, strict=True))


def check(what, expected, actual):
    if expected != actual:
        sys.exit(f"{what}: expected {expected!r:.200}, got {actual!r:.200}")


report = json.loads((folder / "report.json").read_text(encoding="utf-8"))

contacts_html = html_rows("Contacts.html")
contacts_csv = csv_rows("contacts.csv")
check("contacts.csv header", contacts_html[0], contacts_csv[0][:12])
check("contact count", len(contacts_html), len(contacts_csv))
check("report.json contacts", len(contacts_html) - 1, len(report["contacts"]))
fields = ["name", "phone", "email", "note", "organization", "address", "im", "nickname", "website", "others"]
for html, row, record in zip(contacts_html[1:], contacts_csv[1:], report["contacts"]):
    check("contacts.csv row", html, row[:12])
    check("report.json contact id", html[0], str(record["id"]))
    check("report.json contact deleted", html[1], "Yes" if record["deleted"] else "No")
    check("report.json contact fields", html[2:], [record[f] for f in fields])
    check("contacts.csv source", [record["source"][k] for k in ("file", "kind")], row[12:14])

messages_html = html_rows("Messages.html")
messages_csv = csv_rows("messages.csv")[1:]
compared = 0
conversations = iter(report["conversations"])
conversation = None
for html in messages_html[1:]:
    if html[0] != "":
        conversation = next(conversations)
        check("conversation", html[:4],
              [str(conversation["id"]), "Yes" if conversation["deleted"] else "No", conversation["name"],
               conversation["phone_number"]])
        position = 0
        continue
    message = conversation["messages"][position]
    row = messages_csv[compared]
    position += 1
    compared += 1
    when = row[6] + (" " + row[7] if row[7] else "")
    check("messages.csv row", [html[1], html[5], html[6], html[7]], [row[5], when, row[8], row[11]])
    check("messages.csv conversation", str(conversation["id"]), row[0])
    check("report.json message", [html[1], html[6], html[7]],
          ["Yes" if message["deleted"] else "No", message["type_name"], message["body"]])
check("messages.csv rows", len(messages_csv), compared)
print(f"agree: {len(contacts_html) - 1} contacts, {compared} messages")
