#!/usr/bin/env python3
"""Zips the files of one folder and its subfolders so that the archive's
bytes depend only on their names and contents: entries sorted by path, every
date the commit's (SOURCE_DATE_EPOCH, as UTC), fixed permissions (scripts
executable, everything else not), no extra fields.

    zip.py OUTPUT.zip FOLDER
"""
import os
import sys
import time
import zipfile

ZIP_EPOCH = 315532800  # 1980-01-01: the zip format cannot date anything earlier
FILE_MODE = 0o100644
SCRIPT_MODE = 0o100755


def stamp():
    epoch = int(os.environ["SOURCE_DATE_EPOCH"])
    return time.gmtime(max(epoch, ZIP_EPOCH))[:6]


def entry(name, date_time):
    info = zipfile.ZipInfo(name, date_time=date_time)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.create_system = 3  # Unix, so that the mode below is read as one
    info.external_attr = (SCRIPT_MODE if name.endswith(".sh") else FILE_MODE) << 16
    return info


def relative_paths(folder):
    for root, _, files in os.walk(folder):
        for file in files:
            path = os.path.join(root, file)
            if not os.path.isfile(path):
                sys.exit(f"zip.py: not a file: {path}")
            yield os.path.relpath(path, folder).replace(os.sep, "/")


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    output, folder = sys.argv[1], sys.argv[2]
    date_time = stamp()
    names = sorted(relative_paths(folder))
    partial = output + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        for name in names:
            with open(os.path.join(folder, name), "rb") as source:
                archive.writestr(entry(name, date_time), source.read(), compresslevel=9)
    os.replace(partial, output)


if __name__ == "__main__":
    main()
