#!/usr/bin/env python3
"""The baseline of bench/transfer: the least a host can do for a firmware transfer. One thread,
blocking reads on the device, the next chunk written as soon as the answer to the last one is
complete; no link thread, no event loop, no window. Measured by the simulator exactly like the
program, in the same run, it shows what the machine and the pseudo-terminal cost by themselves.
Its own turnaround (answer read -> next chunk written, microseconds) goes to TURNAROUND-FILE.
    minimal_host.py DEVICE BYTES [TURNAROUND-FILE]"""
import os
import sys
import termios
import time
import tty


def crc16(data):
    crc = 0xFFFF
    for b in data:
        crc ^= b
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def frame(kind, payload=b""):
    head = bytes([0xEB, 0x90, 0xFF, 0xFF, 0xFF, 0xFF, kind, len(payload)]) + payload
    crc = crc16(head)
    return head + bytes([crc & 0xFF, crc >> 8, 0x51, 0x5A])


def main():
    device, size = sys.argv[1], int(sys.argv[2])
    image = bytes((i * 131 + (i >> 9) * 7) & 0xFF for i in range(size))
    fd = os.open(device, os.O_RDWR | os.O_NOCTTY)
    tty.setraw(fd)
    termios.tcflush(fd, termios.TCIOFLUSH)
    # Prepared before the exchange, as the program keeps its image in memory.
    chunks = [frame(0xD5, (k + 1).to_bytes(2, "little") + image[k * 242:(k + 1) * 242])
              for k in range((size + 241) // 242)]
    steps = [frame(0xD2), frame(0xD3, bytes([0, 3, 12])), frame(0xD4, size.to_bytes(4, "little"))]
    steps += chunks + [frame(0xD6)]
    pending = b""
    turnarounds = []
    read_at = None
    for out in steps:
        os.write(fd, out)
        if read_at is not None and out[6] in (0xD5, 0xD6):
            turnarounds.append((time.perf_counter_ns() - read_at) / 1000)
        while True:  # one complete answer of the step's type
            pending += os.read(fd, 4096)
            read_at = time.perf_counter_ns()
            start = pending.find(b"\xEB\x90")
            if start < 0 or len(pending) < start + 8:
                continue
            end = start + 10 + pending[start + 7]
            if len(pending) < end:
                continue
            kind = pending[start + 6]
            pending = pending[end:]
            if kind == out[6]:
                break
    os.close(fd)
    if len(sys.argv) > 3:
        with open(sys.argv[3], "w") as f:
            f.writelines(f"{t:.1f}\n" for t in turnarounds)


if __name__ == "__main__":
    main()
