#!/usr/bin/env python3
"""Makes the release zip: both programs and the Japanese user guide in one folder.

The guide is kept in the repository as UTF-8 with LF line ends; Japanese Windows
users expect a plain text file in code page 932 with CRLF line ends, which is what
goes into the zip. File names are stored in code page 932 without the zip's UTF-8
flag, as Japanese Windows (Explorer included, on every version) reads them.

    make-zip.py OUTPUT.zip VERSION GUIDE.txt PROGRAM.exe...
"""
import os
import sys
import time
import zipfile

GUIDE_NAME = "お読みください.txt"


class Cp932ZipInfo(zipfile.ZipInfo):
    # zipfile writes non-ASCII names as UTF-8 and sets the flag; this writes CP932.
    def _encodeFilenameFlags(self):
        return self.filename.encode("cp932"), self.flag_bits


def add(archive, name, data, source):
    # Each file keeps the time of its source, as Explorer shows it after unpacking.
    info = Cp932ZipInfo(name, date_time=time.localtime(os.path.getmtime(source))[:6])
    info.compress_type = zipfile.ZIP_DEFLATED
    info.external_attr = 0o644 << 16
    archive.writestr(info, data)


def main(output, version, guide, *programs):
    text = open(guide, encoding="utf-8").read().replace("@VERSION@", version)
    folder = f"Quillet-{version}/"
    partial = output + ".part"
    with zipfile.ZipFile(partial, "w") as archive:
        for program in programs:
            with open(program, "rb") as f:
                add(archive, folder + os.path.basename(program), f.read(), program)
        add(archive, folder + GUIDE_NAME, text.replace("\n", "\r\n").encode("cp932"), guide)
    os.replace(partial, output)


if __name__ == "__main__":
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
