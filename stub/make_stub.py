#!/usr/bin/env python3
"""Writes the stub program: a Windows CE GUI executable for ARM of exactly 3072 bytes whose
entry point returns at once with its first argument (r0) as the result.

Installation writes this image over device utilities that must do nothing when started, and
uninstallation recognises it by its size alone, so the size is fixed: the header block and
the one code section are padded to it.

Usage: make_stub.py OUTPUT
"""
import struct
import sys

STUB_SIZE = 3072

MACHINE_ARM = 0x01C0
SUBSYSTEM_WINDOWS_CE_GUI = 9
# Relocations stripped, executable, no line numbers or local symbols, 32-bit machine.
FILE_CHARACTERISTICS = 0x0001 | 0x0002 | 0x0004 | 0x0008 | 0x0100
# Code, executable, readable.
TEXT_CHARACTERISTICS = 0x00000020 | 0x20000000 | 0x40000000

IMAGE_BASE = 0x00010000
SECTION_ALIGNMENT = 0x1000
FILE_ALIGNMENT = 0x200
HEADERS_SIZE = 0x400
TEXT_RVA = 0x1000
TEXT_RAW_SIZE = STUB_SIZE - HEADERS_SIZE
PE_OFFSET = 0x40
DATA_DIRECTORIES = 16

# "mov pc, lr": return to the caller with r0, the first argument, as the result. Unlike
# "bx lr" it runs on every ARM architecture version the platform supports.
ENTRY_CODE = struct.pack("<I", 0xE1A0F00E)

# Windows CE 4.20, the platform's version.
OS_VERSION = (4, 20)


def dos_header():
    header = bytearray(PE_OFFSET)
    struct.pack_into("<2sHH", header, 0, b"MZ", PE_OFFSET, 1)  # bytes on last page, pages
    struct.pack_into("<H", header, 8, PE_OFFSET // 16)          # header size in paragraphs
    struct.pack_into("<I", header, 0x3C, PE_OFFSET)             # offset of the PE header
    return bytes(header)


def file_header(optional_size):
    return struct.pack("<HHIIIHH", MACHINE_ARM, 1, 0, 0, 0, optional_size, FILE_CHARACTERISTICS)


def optional_header():
    image_size = TEXT_RVA + SECTION_ALIGNMENT
    fields = struct.pack(
        "<HBBIIIIIIIIIHHHHHHIIIIHHIIIIII",
        0x010B,                # PE32
        6, 0,                  # linker version
        TEXT_RAW_SIZE,         # size of code
        0,                     # size of initialised data
        0,                     # size of uninitialised data
        TEXT_RVA,              # entry point
        TEXT_RVA,              # base of code
        image_size,            # base of data: there is none
        IMAGE_BASE,
        SECTION_ALIGNMENT,
        FILE_ALIGNMENT,
        OS_VERSION[0], OS_VERSION[1],
        0, 0,                  # image version
        OS_VERSION[0], OS_VERSION[1],
        0,                     # Win32 version value
        image_size,
        HEADERS_SIZE,
        0,                     # checksum, filled in last
        SUBSYSTEM_WINDOWS_CE_GUI,
        0,                     # DLL characteristics
        0x10000, 0x1000,       # stack reserve and commit
        0x100000, 0x1000,      # heap reserve and commit
        0,                     # loader flags
        DATA_DIRECTORIES,
    )
    return fields + bytes(8 * DATA_DIRECTORIES)


def section_header():
    return struct.pack("<8sIIIIIIHHI", b".text", len(ENTRY_CODE), TEXT_RVA, TEXT_RAW_SIZE, HEADERS_SIZE,
                       0, 0, 0, 0, TEXT_CHARACTERISTICS)


def checksum(image):
    """The PE image checksum over an image whose checksum field is still zero: the 16-bit
    sum of its words with the carries folded back in, plus the file length."""
    total = 0
    for (word,) in struct.iter_unpack("<H", image):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    return total + len(image)


def build():
    optional = optional_header()
    headers = dos_header() + b"PE\0\0" + file_header(len(optional)) + optional + section_header()
    assert len(headers) <= HEADERS_SIZE
    image = bytearray(headers.ljust(HEADERS_SIZE, b"\0") + ENTRY_CODE.ljust(TEXT_RAW_SIZE, b"\0"))
    checksum_offset = PE_OFFSET + 4 + 20 + 64
    struct.pack_into("<I", image, checksum_offset, checksum(bytes(image)))
    if len(image) != STUB_SIZE:
        raise SystemExit("stub image is %d bytes, not %d" % (len(image), STUB_SIZE))
    return bytes(image)


def main(argv):
    if len(argv) != 2:
        raise SystemExit(__doc__)
    with open(argv[1], "wb") as f:
        f.write(build())


if __name__ == "__main__":
    main(sys.argv)
