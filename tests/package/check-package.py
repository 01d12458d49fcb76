#!/usr/bin/env python3
"""Checks the release zip: exactly the two programs and the guide in one folder;
both programs 32-bit GUI programs that import only DLLs every Windows has, with
the package's version in their version resources; the guide in code page 932 with
CRLF line ends, naming the version.

    check-package.py RELEASE.zip VERSION OBJDUMP
"""
import os
import re
import struct
import subprocess
import sys
import tempfile
import zipfile

SYSTEM_DLLS = {"advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll",
               "ole32.dll", "shell32.dll", "user32.dll", "version.dll", "msimg32.dll"}
FIXED_FILE_INFO_SIGNATURE = 0xFEEF04BD


def stored_name(info):
    # Names without the UTF-8 flag come back decoded as code page 437.
    return info.filename if info.flag_bits & 0x800 else info.filename.encode("cp437").decode("cp932")


def program_faults(name, data, version, objdump):
    faults = []
    with tempfile.NamedTemporaryFile(suffix=".exe") as copy:
        copy.write(data)
        copy.flush()
        # objdump translates its headings; the test command runs under a Japanese locale.
        headers = subprocess.run([objdump, "-p", copy.name], capture_output=True, text=True,
                                 env={**os.environ, "LC_ALL": "C"}).stdout
    if "file format pei-i386" not in headers:
        faults.append(f"{name} is not a 32-bit (i386) program")
    if not re.search(r"^Subsystem\s+00000002", headers, re.M):
        faults.append(f"{name} is not a GUI-subsystem program")
    for dll in re.findall(r"DLL Name: (\S+)", headers):
        if dll.lower() not in SYSTEM_DLLS:
            faults.append(f"{name} imports {dll}, which is not a system DLL")
    numbers = [int(n) for n in version.split(".")] + [0]
    expected = (numbers[0] << 16 | numbers[1], numbers[2] << 16 | numbers[3])
    at = data.find(struct.pack("<I", FIXED_FILE_INFO_SIGNATURE))
    fixed = struct.unpack_from("<6I", data, at) if at >= 0 else None
    if not fixed or fixed[2:4] != expected or fixed[4:6] != expected:
        faults.append(f"{name}: the file and product versions of its version resource are not {version}")
    for key in ("FileVersion", "ProductVersion"):
        if not re.search(re.escape((key + "\0").encode("utf-16le")) + b"(\0\0)?" + re.escape((version + "\0").encode("utf-16le")), data):
            faults.append(f"{name}: its version text {key} is not {version}")
    return faults


def guide_faults(data, version):
    try:
        text = data.decode("cp932")
    except UnicodeDecodeError:
        return ["the guide is not code page 932 text"]
    faults = []
    if re.search("(?<!\r)\n|\r(?!\n)", text):
        faults.append("the guide has line ends other than CRLF")
    if version not in text or "@VERSION@" in text:
        faults.append(f"the guide does not name version {version}")
    return faults


def main(release_zip, version, objdump):
    folder = f"Quillet-{version}/"
    expected = {folder + "Quillet.exe", folder + "Setup.exe", folder + "お読みください.txt"}
    with zipfile.ZipFile(release_zip) as archive:
        entries = {stored_name(info): archive.read(info) for info in archive.infolist()}
    faults = [f"the zip holds {sorted(entries)}, not {sorted(expected)}"] if set(entries) != expected else []
    for program in ("Quillet.exe", "Setup.exe"):
        if folder + program in entries:
            faults += program_faults(program, entries[folder + program], version, objdump)
    if folder + "お読みください.txt" in entries:
        faults += guide_faults(entries[folder + "お読みください.txt"], version)
    for fault in faults:
        print("FAULT:", fault)
    print(f"{os.path.basename(release_zip)}: {len(faults)} fault(s)")
    return 1 if faults else 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
