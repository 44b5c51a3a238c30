#!/usr/bin/env python3
"""Makes a benchmark product: the test product files with every file that
setup expands into the product directory grown to an equal share of the
given size, in text-like data (compressible about as much as program
files). The number of files stays the same at every size, so the cost per
file stays in the fixed part of a fitted cost.

Run:  make_payload.py --from build/fixtures/product --out build/bench/45/product --megabytes 45
"""

import argparse
import hashlib
import os
import shutil

# Files that stay as the test product has them: copied, not expanded
# (setup.exe, readme.txt), installed by the version check (dlg3d32.dll), or
# real programs that setup runs as the product's services.
KEPT = {"setup.exe", "readme.txt", "dlg3d32.dll", "twnser.exe", "twserver.exe", "twnetns.exe"}

WORDS = ("tape backup server catalog volume session restore verify job queue "
         "device drive media label block buffer index record archive schedule "
         "report network agent browser naming service operator").split()


def text_like(seed, size):
    """Deterministic words picked by a hash stream."""
    out = bytearray()
    counter = 0
    while len(out) < size:
        digest = hashlib.sha256(b"%s-%d" % (seed.encode(), counter)).digest()
        counter += 1
        for byte in digest:
            out += WORDS[byte % len(WORDS)].encode() + (b"\r\n" if byte % 11 == 0 else b" ")
    return bytes(out[:size])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--from", dest="source", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--megabytes", type=float, default=45,
                        help="the size of the grown files together, in millions of bytes (default 45)")
    args = parser.parse_args()
    if args.megabytes <= 0:
        parser.error("--megabytes must be positive")
    if os.path.isdir(args.out):
        shutil.rmtree(args.out)
    shutil.copytree(args.source, args.out)
    grown = [name for name in os.listdir(args.out) if name not in KEPT]
    size = int(args.megabytes * 1e6) // max(len(grown), 1)
    total = 0
    for name in sorted(os.listdir(args.out)):
        path = os.path.join(args.out, name)
        if name in grown:
            stat = os.stat(path)
            with open(path, "wb") as f:
                f.write(text_like(name, size))
            os.utime(path, (stat.st_atime, stat.st_mtime))
        total += os.path.getsize(path)
    print("benchmark product: %d files, %.1f MB" % (len(os.listdir(args.out)), total / 1e6))


if __name__ == "__main__":
    main()
