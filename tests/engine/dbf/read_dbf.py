#!/usr/bin/python3
"""Prints a dBASE table as one line of UTF-8 JSON, read by an independent
reader (dbfread) that takes the code page from the table's language driver:
{"version": ..., "encoding": ..., "records": <count in the header>,
 "fields": [[name, width], ...], "rows": [[value, ...], ...]}
"""
import json
import sys

from dbfread import DBF

table = DBF(sys.argv[1], char_decode_errors="strict")
result = {
    "version": table.header.dbversion,
    "encoding": table.encoding,
    "records": table.header.numrecords,
    "fields": [[field.name, field.length] for field in table.fields],
    "rows": [list(record.values()) for record in table],
}
sys.stdout.write(json.dumps(result, ensure_ascii=False) + "\n")
