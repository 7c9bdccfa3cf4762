#!/usr/bin/env python3
"""Zips the files of one folder so that the archive's bytes depend only on
their names and contents: entries sorted by name, every date the commit's
(SOURCE_DATE_EPOCH, as UTC), the same permissions for all, no extra fields.

    zip.py OUTPUT.zip FOLDER
"""
import os
import sys
import time
import zipfile

ZIP_EPOCH = 315532800  # 1980-01-01: the zip format cannot date anything earlier
FILE_MODE = 0o100644


def stamp():
    epoch = int(os.environ["SOURCE_DATE_EPOCH"])
    return time.gmtime(max(epoch, ZIP_EPOCH))[:6]


def entry(name, date_time):
    info = zipfile.ZipInfo(name, date_time=date_time)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.create_system = 3  # Unix, so that the mode below is read as one
    info.external_attr = FILE_MODE << 16
    return info


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    output, folder = sys.argv[1], sys.argv[2]
    date_time = stamp()
    names = sorted(os.listdir(folder))
    for name in names:
        if not os.path.isfile(os.path.join(folder, name)):
            sys.exit(f"zip.py: not a file: {name}")
    partial = output + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        for name in names:
            with open(os.path.join(folder, name), "rb") as source:
                archive.writestr(entry(name, date_time), source.read(), compresslevel=9)
    os.replace(partial, output)


if __name__ == "__main__":
    main()
