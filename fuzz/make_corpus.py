#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

Every seed is a well-formed message sequence or file of the kind its target reads, with
a few typical faults beside it. Run it again after changing a format; the files are
committed so that a fuzz run needs no Python.
"""
import math
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "corpus")

MFR = [0x00, 0x3F, 0x6B]
DEV, LDR, VER = 0x03, 0x02, 0x0B


def checksum(data):
    s = sum(data) % 16384
    return [(s >> 7) & 0x7F, s & 0x7F]


def msg(command, payload, model=DEV, version=True):
    head = [0xF0] + MFR + [model, command] + ([VER] if version else [])
    return bytes(head + list(payload) + [0xF7])


def record(name="Clean Tone", params=None):
    r = [1, 0] + list(name.ljust(32).encode()[:32])
    p = params if params is not None else [(i * 5) % 100 for i in range(65)]
    r += p + [0] * 93 + list(b" " * 32) + list(b" " * 32)
    assert len(r) == 256
    return r


def record_message(command, selector, data256, version=VER):
    return bytes([0xF0] + MFR + [DEV, command, version, selector] + data256 +
                 checksum(data256) + [0xF7])


def pack7(data):
    bits = "".join(f"{b:08b}" for b in data)
    groups = len(data) * 8 // 7 + 1
    bits = bits.ljust(groups * 7, "0")
    return [int(bits[i * 7:(i + 1) * 7], 2) for i in range(groups)]


def ir_image(name="Seed Cab", gain=0x4000):
    samples = [int(20000 * math.exp(-i / 60.0) * math.cos(i / 3.0)) for i in range(1200)]
    out = struct.pack("<hh", 1, gain) + name.ljust(32).encode()[:32]
    out += b"".join(struct.pack("<h", s) for s in samples)
    assert len(out) == 2436
    return out


def ir_transfer(number, image, restore=False):
    groups = pack7(image)
    g = len(groups)
    cmds = (0x77, 0x78, 0x79) if restore else (0x60, 0x65, 0x66)
    chunks = []
    first = (groups[:256] + [0] * 256)[:256]
    chunks.append(msg(cmds[0], [(number >> 7) & 0x7F, number & 0x7F,
                                (g >> 14) & 0x7F, (g >> 7) & 0x7F, g & 0x7F] + first))
    pos = 256
    while g - pos > 256:
        chunks.append(msg(cmds[1], groups[pos:pos + 256]))
        pos += 256
    last = groups[pos:]
    chunks.append(msg(cmds[2], last + checksum(groups)))
    return chunks


# The last 14 bytes of every standard sub-format GUID of the extensible format (0xFFFE).
GUID_TAIL = bytes([0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                   0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71])


def wav(channels=1, rate=44100, bits=16, frames=300, fmt=1, junk=False, extra_chunk=False,
        sub_format=None):
    """sub_format: the format code of an extensible fmt chunk (1 PCM, 3 float)."""
    width = bits // 8
    sample_fmt = fmt
    if sub_format is not None:
        fmt, sample_fmt = 0xFFFE, sub_format
    data = bytearray()
    for i in range(frames):
        v = math.sin(i / 7.0) * math.exp(-i / 100.0)
        for _ in range(channels):
            if sample_fmt == 3:
                data += struct.pack("<f", v)
            elif bits == 8:
                data += bytes([int(128 + 100 * v) & 0xFF])
            elif bits == 16:
                data += struct.pack("<h", int(30000 * v))
            elif bits == 24:
                data += struct.pack("<i", int(8000000 * v))[:3]
            else:
                data += struct.pack("<i", int(2000000000 * v))
    extension = b""
    if sub_format is not None:
        extension = struct.pack("<HHIH", 22, bits, (1 << channels) - 1, sub_format) + GUID_TAIL
    fmt_chunk = b"fmt " + struct.pack("<IHHIIHH", 16 + len(extension), fmt, channels, rate,
                                      rate * channels * width, channels * width, bits)
    fmt_chunk += extension
    body = b"WAVE"
    if junk:
        body += b"JUNK" + struct.pack("<I", 8) + b"\0" * 8
    body += fmt_chunk
    if extra_chunk:
        body += b"LIST" + struct.pack("<I", 4) + b"INFO"
    body += b"data" + struct.pack("<I", len(data)) + bytes(data)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def preset_file(blocks=0, name="Seed Preset"):
    out = bytearray(b"QRBP" + bytes([1, 0]) + name.ljust(32).encode()[:32])
    params = [(i * 3) % 100 for i in range(65)]
    if blocks:
        params[40], params[53], params[54] = 1, 0, 5
    if blocks > 1:
        params[41], params[55], params[56] = 1, 1, 5
    out += bytes(params) + bytes(95)
    out += b"User Cab A".ljust(32) + b"User Cab B".ljust(32)
    for k in range(blocks):
        out += ir_image(f"Cab {k}")
    return bytes(out)


def bank(irs=1):
    out = b"".join(record_message(0x41, slot, record(f"Bank {slot}")) for slot in range(128))
    for n in range(irs):
        out += b"".join(ir_transfer(n, ir_image(f"Bank IR {n}")))
    return out


def write(target, name, data):
    folder = os.path.join(ROOT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    image = ir_image()
    transfer = ir_transfer(3, image)
    write("FuzzSevenBit", "ir-transfer", bytes([40]) + b"".join(transfer))
    write("FuzzSevenBit", "too-large", bytes([255]) + b"".join(ir_transfer(1, image * 2)))
    write("FuzzSevenBit", "end-first", bytes([10]) + transfer[-1] + transfer[0])

    write("FuzzWavReader", "pcm16-mono", wav())
    write("FuzzWavReader", "pcm24-stereo-48k", wav(channels=2, rate=48000, bits=24))
    write("FuzzWavReader", "float32-junk", wav(fmt=3, bits=32, junk=True))
    write("FuzzWavReader", "pcm8-list", wav(bits=8, extra_chunk=True, frames=50))
    write("FuzzWavReader", "truncated", wav()[:60])
    write("FuzzWavReader", "extensible-pcm32", wav(bits=32, sub_format=1))
    write("FuzzWavReader", "extensible-float32-stereo", wav(channels=2, bits=32, sub_format=3))
    write("FuzzWavReader", "extensible-pcm24-junk", wav(bits=24, junk=True, sub_format=1))

    write("FuzzPresetFile", "no-ir", preset_file(0))
    write("FuzzPresetFile", "one-ir", preset_file(1))
    write("FuzzPresetFile", "two-ir", preset_file(2))
    write("FuzzPresetFile", "bad-magic", b"QRBX" + preset_file(0)[4:])
    write("FuzzPresetFile", "newer-version", preset_file(0)[:4] + bytes([2, 0]) + preset_file(0)[6:])

    write("FuzzBankFile", "presets-only", bank(0))
    write("FuzzBankFile", "with-one-ir", bank(1))
    write("FuzzBankFile", "cut-short", bank(1)[:-5])

    write("FuzzFirmwareImage", "small", bytes(range(200)))
    write("FuzzFirmwareImage", "one-chunk", bytes((i * 37) & 0xFF for i in range(210)))
    write("FuzzFirmwareImage", "several-chunks", bytes((i * 13) & 0xFF for i in range(1500)))

    def cache_files(parts, folder_flag=0):
        out = bytearray([folder_flag])
        for p in parts:
            out += struct.pack("<H", len(p)) + p
        return bytes(out)
    rec = bytes(record("Cached"))
    write("FuzzCacheScan", "two-presets-and-irs",
          cache_files([rec, rec, rec, rec, rec, image, image, image[:100]]))
    write("FuzzCacheScan", "folder-named-dat", cache_files([rec, rec], 1))
    write("FuzzCacheScan", "short-files", cache_files([rec[:10], b"", rec + b"x"]))

    settings = (b"[audio]\ndriver=0\nindev=Built-in Input\noutdev=Built-in Output\nin1=1\n"
                b"in2=2\nout1=1\nout2=2\nbuffer=512\nsr=44100\n[midi]\nindev=no input\n"
                b"outdev=no output\ninchan=0\noutchan=0\n[GUI]\nscale=0.500000\n")
    write("FuzzIniFile", "settings", settings)
    write("FuzzIniFile", "bom-crlf", b"\xef\xbb\xbf" + settings.replace(b"\n", b"\r\n"))
    write("FuzzIniFile", "out-of-range", b"[audio]\nout1=-1\nbuffer=99999\n; note\n[GUI]\nscale=9\n")

    header = b"QD3SIMST" + struct.pack("<II", 1, 16)
    write("FuzzStateFile", "header-short-payload", bytes([0]) + header + bytes(16) + struct.pack("<I", 0))
    write("FuzzStateFile", "bad-magic", bytes([0]) + b"QD3SIMSX" + header[8:])
    # Byte 0 bit 0: patches over the default image (offset 3 bytes LE, length, bytes);
    # bit 1: the CRC made right after patching.
    def patch(offset, data):
        return struct.pack("<I", offset)[:3] + bytes([len(data)]) + bytes(data)
    write("FuzzStateFile", "patched-current-preset", bytes([3]) + patch(17, [5]))
    write("FuzzStateFile", "patched-preset-200", bytes([3]) + patch(17, [200]))
    write("FuzzStateFile", "patched-bad-crc", bytes([1]) + patch(40, [1, 2, 3]))
    write("FuzzStateFile", "patched-serial", bytes([3]) + patch(18, [40]) + patch(19, list(b"SERIAL")))
    # Found by fuzzing: format number 0 was taken for format 1.
    write("FuzzStateFile", "patched-format-0", bytes([1]) + patch(8, [0]))

    editor_msgs = [
        msg(0x55, [15]), msg(0x55, [3]), msg(0x55, [0]), msg(0x40, [5]), msg(0x23, [7]),
        msg(0x50, [11, 64]), msg(0x5A, []), msg(0x5B, []), msg(0x6A, [0]), msg(0x69, [0, 3]),
        record_message(0x20, 4, record("Stored")), record_message(0x52, 0, [0] * 256),
    ]
    write("FuzzPedalModel", "requests", b"".join(editor_msgs))
    write("FuzzPedalModel", "ir-upload", b"".join(ir_transfer(2, image)) + msg(0x69, [0, 2]))
    write("FuzzPedalModel", "restore", b"".join(ir_transfer(4, image, restore=True)) +
          record_message(0x7F, 1, record("Restored")))
    write("FuzzPedalModel", "loader", bytes([0xF0] + MFR + [LDR, 0x10, 0xF7]))

    serial = list(b"SEED-0001".ljust(32))
    info = [0] * 224 + serial
    replies = {
        "dumps": [record_message(0x41, s, record(f"Dump {s}")) for s in range(3)],
        "blocks": [record_message(0x52, 15, info, version=11), record_message(0x52, 0, [3] + [1] * 16 + [0] * 239),
                   record_message(0x52, 1, list(range(8)) + [0] * 248),
                   record_message(0x52, 2, list(range(128)) + [0] * 128),
                   record_message(0x52, 3, [0, 1] * 128)],
        "ir": ir_transfer(0, image),
        "names": [record_message(0x6B, 0, list(b"Name".ljust(32)) * 8)],
        "status": [bytes([0xF0] + MFR + [DEV, c, 0xF7]) for c in (0x57, 0x5F, 0x61, 0x62, 0x63, 0x71, 0x72, 0x73, 0x7D)] +
                  [msg(0x51, [1, 64])],
        "loader": [bytes([0xF0] + MFR + [LDR, c, 0xF7]) for c in (0x12, 0x14, 0x15)],
    }
    for state in range(7):
        for name, messages in replies.items():
            write("FuzzEditorReceive", f"state{state}-{name}", bytes([state]) + b"".join(messages))


if __name__ == "__main__":
    sys.exit(main())
