"""Writes a zip whose bytes depend only on its files' names, order and
contents and on the given date: no owner, no access or change times, no
local time zone. Names are stored as UTF-8 and marked so, which Windows'
own unzipping reads on any code page.

Usage: pack_zip.py ZIP 'YYYY-MM-DD HH:MM:SS' FILE...
"""
import sys
import zipfile


def main(zip_path, date, files):
    day, time = date.split(" ")[:2]
    stamp = tuple(int(p) for p in day.split("-")) + tuple(int(p) for p in time.split(":"))
    with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED) as package:
        for name in files:
            entry = zipfile.ZipInfo(name, date_time=stamp)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 0  # MS-DOS: no Unix mode to differ between builds
            entry.external_attr = 0
            with open(name, "rb") as source:
                package.writestr(entry, source.read(), compresslevel=9)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3:])
