#!/usr/bin/env python3
"""Makes the source media of Tapewright from a folder of product files.

The media hold the files of the setup program's file table, in table order,
under their names on the disk: the rows marked compressed as LZ-compressed
(SZDD) files made by Debian's mscompress, the others as plain copies. Every
file on the media carries the last-write time of its product file, because
setup gives each installed file the time of its file on the disk. The first
disk also holds the checksum list (checksum.lst): each file's expanded size
and the CRC-32 of its expanded bytes, which setup checks as it writes them
(--no-checksums leaves it out).

Three forms:
  --share DIR   one folder holding every file, as on a network share
  --disks DIR   numbered disks DIR/disk1, DIR/disk2, ... filled in table order,
                each up to a capacity or cut before files named with --disk-starts;
                with --loader-files also the loader disk DIR/loader
  --loader DIR  the loader disk alone, from --loader-files

--images DIR writes every disk made as a 1.44 MB floppy image.

Run with --help for the details.
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

from product_table import FLAG_COMPRESSED, INSTALL_TYPES, LANGUAGES, ProductTable, TableError

FLOPPY_CAPACITY = 1457664     # free bytes of a formatted 1.44 MB disk
FLOPPY_CLUSTER = 512          # its allocation unit
LABEL_FILE = ".windows-label"
MARKER_FILE = ".diskset"
MARKER_SIGNATURE = "Source media made by tools/diskset/make_diskset.py.\n"
MARKER_TEXT = MARKER_SIGNATURE + \
    "The next run with this folder as its output replaces the whole folder.\n"

LOADER_LABEL = "LOADER"
LOADER_FOLDER = "loader"
LOADER_TABLE = "VSDTABLE.CFG"          # the changer table, as setup expands it
LOADER_TABLE_ON_DISK = "vsdtable.cf_"  # and as the loader disk holds it
DRIVER_SUFFIX = ".VSD"
FLOPPY_KIB = 1440                      # a 1.44 MB floppy image, in KiB

# The checksum list's first line, as setup's files/checksum_list.h reads it.
CHECKSUM_HEADER = "Tapewright checksum list, version 1"

SZDD_MAGIC = b"SZDD\x88\xf0\x27\x33"
SZDD_HEADER = 14
# mscompress writes a wrong stream for inputs shorter than this: an empty file
# comes out as one zero byte, others as garbage of the right length.
MSCOMPRESS_SHORTEST = 16


class DisksetError(Exception):
    """A fault in the input or the output folder; the message says which."""


# ---------------------------------------------------------------------------
# SZDD
# ---------------------------------------------------------------------------

def szdd_header(size):
    return SZDD_MAGIC + b"A\x00" + struct.pack("<I", size)


def expand_szdd(data):
    """The expanded bytes of an SZDD file, decoded to the end of its data the
    way the platform's LZ reader does (the length in the header is not used to
    stop early; the caller compares it)."""
    if len(data) < SZDD_HEADER or data[:8] != SZDD_MAGIC or data[8:9] != b"A":
        raise ValueError("not an SZDD file")
    # The 4096-byte window starts filled with spaces, with the write position
    # 16 bytes before its end. Keeping the whole output after 4096 spaces
    # makes window position p the latest output index congruent to p + 16.
    out = bytearray(b" " * 4096)
    i, n = SZDD_HEADER, len(data)
    while i < n:
        flags = data[i]
        i += 1
        if flags == 0xFF and i + 8 <= n:
            out += data[i:i + 8]
            i += 8
            continue
        for bit in range(8):
            if i >= n:
                break
            if flags >> bit & 1:
                out.append(data[i])
                i += 1
                continue
            if i + 1 >= n:
                raise ValueError("SZDD data ends inside a match")
            low, high = data[i], data[i + 1]
            i += 2
            position = low | (high & 0xF0) << 4
            length = (high & 0x0F) + 3
            end = len(out)
            start = end - 1 - (end - 1 - (position + 16)) % 4096
            if start + length <= end:
                out += out[start:start + length]
            else:
                for k in range(length):
                    out.append(out[start + k])
    return bytes(out[4096:])


def szdd_length(data):
    return struct.unpack_from("<I", data, 10)[0]


def literal_szdd(content):
    """An SZDD file that stores every byte as a literal."""
    parts = [szdd_header(len(content))]
    for k in range(0, len(content), 8):
        chunk = content[k:k + 8]
        parts.append(bytes([(1 << len(chunk)) - 1]) + chunk)
    return b"".join(parts)


def compress_all(jobs, work):
    """Compresses each (product file, media file) pair of `jobs` with one
    mscompress run in the folder `work`, checks every result by expanding it,
    and writes the media files."""
    if not jobs:
        return
    if shutil.which("mscompress") is None:
        raise DisksetError("mscompress not found (Debian package mscompress)")
    names = []
    for k, (source, _) in enumerate(jobs):
        name = "f%02d" % k
        shutil.copyfile(source, os.path.join(work, name))
        names.append(name)
    result = subprocess.run(["mscompress"] + names, cwd=work, stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if result.returncode != 0:
        raise DisksetError("mscompress failed: %s" % result.stdout.decode(errors="replace").strip())
    for name, (source, target) in zip(names, jobs):
        with open(os.path.join(work, name), "rb") as f:
            content = f.read()
        try:
            with open(os.path.join(work, name + "_"), "rb") as f:
                packed = f.read()
        except OSError:
            raise DisksetError("mscompress wrote no compressed file for %s" % source) from None
        if not szdd_round_trips(packed, content):
            if len(content) >= MSCOMPRESS_SHORTEST:
                raise DisksetError("mscompress made a file that does not expand to %s" % source)
            packed = literal_szdd(content)
        with open(target, "wb") as f:
            f.write(packed)


def szdd_round_trips(packed, content):
    try:
        return szdd_length(packed) == len(content) and expand_szdd(packed) == content
    except ValueError:
        return False


# ---------------------------------------------------------------------------
# Inputs
# ---------------------------------------------------------------------------

def find_product_files(table, rows, product_dir, language):
    """{row number: path} of each row's product file: its installed name in
    `language`, else its English installed name, matched without regard to
    case as Windows would."""
    if not os.path.isdir(product_dir):
        raise DisksetError("product folder %s does not exist" % product_dir)
    by_lower = {}
    for entry in os.listdir(product_dir):
        if os.path.isfile(os.path.join(product_dir, entry)):
            by_lower.setdefault(entry.lower(), []).append(entry)
    found, missing = {}, []
    for row in rows:
        candidates = []
        for lang in (language, "en"):
            name = table.installed_name(row, lang)
            if name not in candidates:
                candidates.append(name)
        for name in candidates:
            matches = by_lower.get(name.lower(), [])
            if len(matches) > 1:
                raise DisksetError("product folder holds %s more than once: %s"
                                   % (name, ", ".join(sorted(matches))))
            if matches:
                found[row.number] = os.path.join(product_dir, matches[0])
                break
        else:
            missing.append("%s (row %d)" % (" or ".join(candidates), row.number))
    if missing:
        raise DisksetError("missing in %s: %s" % (product_dir, "; ".join(missing)))
    return found


def check_disk_names(table, rows, language):
    seen = {}
    for row in rows:
        name = table.disk_name(row, language)
        if name.lower() in seen:
            raise DisksetError("rows %d and %d have the same disk name %s"
                               % (seen[name.lower()], row.number, name))
        if name.lower() in (LABEL_FILE, MARKER_FILE):
            raise DisksetError("row %d: disk name %s is reserved" % (row.number, name))
        seen[name.lower()] = row.number


# ---------------------------------------------------------------------------
# Disks
# ---------------------------------------------------------------------------

def allocated(size, cluster):
    return -(-size // cluster) * cluster


def plan_disks(files, capacity, cluster, reserved=0):
    """Splits `files` (name, size) in their order over disks: a file goes on
    the current disk when its allocated size fits in what is left, else it
    starts the next disk; `reserved` bytes of the first disk are taken
    already (by the checksum list). Returns a list of lists of indexes into
    `files`."""
    if reserved > capacity:
        raise DisksetError("the checksum list (%d bytes allocated) is larger than a disk (%d bytes)"
                           % (reserved, capacity))
    disks, left = [[]], capacity - reserved
    for index, (name, size) in enumerate(files):
        need = allocated(size, cluster)
        if need > capacity:
            raise DisksetError("%s (%d bytes, %d allocated) is larger than a disk (%d bytes)"
                               % (name, size, need, capacity))
        if need > left:
            disks.append([])
            left = capacity
        disks[-1].append(index)
        left -= need
    return disks


def plan_disks_at(files, starts):
    """Splits `files` (name, size) in their order over disks, starting a new
    disk at each name of `starts` (matched without regard to case), whatever
    the sizes. Returns a list of lists of indexes into `files`."""
    position = {name.lower(): index for index, (name, _) in enumerate(files)}
    cuts = []
    for name in starts:
        index = position.get(name.lower())
        if index is None:
            raise DisksetError("%s is not on the media, so no disk can start with it" % name)
        if index == 0:
            raise DisksetError("%s is the first file of disk 1; name the files that start "
                               "disk 2, disk 3, ..." % name)
        if cuts and index <= cuts[-1]:
            raise DisksetError("%s does not come after %s on the media: name each disk's first "
                               "file once, in the order of the media" % (name, files[cuts[-1]][0]))
        cuts.append(index)
    bounds = [0] + cuts + [len(files)]
    return [list(range(bounds[k], bounds[k + 1])) for k in range(len(bounds) - 1)]


def disk_label(number):
    return "DISK%d" % number


# ---------------------------------------------------------------------------
# The checksum list
# ---------------------------------------------------------------------------

def checksum_list(entries):
    """The checksum list's bytes for `entries` (disk name, expanded bytes) in
    media order: the header, then "NAME SIZE CRC" a line, CR LF ended."""
    lines = [CHECKSUM_HEADER]
    for name, content in entries:
        if not name.isascii() or not name.isprintable() or " " in name:
            raise DisksetError("%s cannot be named in the checksum list (printable ASCII without spaces)"
                               % name)
        lines.append("%s %d %08x" % (name, len(content), zlib.crc32(content)))
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


# ---------------------------------------------------------------------------
# The loader disk
# ---------------------------------------------------------------------------

def find_loader_files(folder):
    """(table path, [driver paths]) of the loader disk's files in `folder`:
    the changer table and the changer drivers, matched without regard to
    case. Both must be there."""
    if not os.path.isdir(folder):
        raise DisksetError("loader files folder %s does not exist" % folder)
    table, drivers = None, []
    for entry in sorted(os.listdir(folder)):
        path = os.path.join(folder, entry)
        if not os.path.isfile(path):
            continue
        if entry.upper() == LOADER_TABLE:
            table = path
        elif entry.upper().endswith(DRIVER_SUFFIX):
            drivers.append(path)
    if table is None:
        raise DisksetError("%s holds no changer table %s" % (folder, LOADER_TABLE))
    if not drivers:
        raise DisksetError("%s holds no changer driver (*%s)" % (folder, DRIVER_SUFFIX))
    return table, drivers


def write_loader_disk(loader_files, folder, work):
    """Fills `folder` as the loader disk: the compressed changer table, the
    drivers as they are, each with its file's time, and the label. Returns
    its files as (name, size)."""
    table, drivers = find_loader_files(loader_files)
    os.mkdir(folder)
    target = os.path.join(folder, LOADER_TABLE_ON_DISK)
    compress_all([(table, target)], work)
    sources = [(table, target)]
    for driver in drivers:
        copy = os.path.join(folder, os.path.basename(driver))
        shutil.copyfile(driver, copy)
        sources.append((driver, copy))
    for source, copy in sources:
        stat = os.stat(source)
        os.utime(copy, ns=(stat.st_atime_ns, stat.st_mtime_ns))
    with open(os.path.join(folder, LABEL_FILE), "w", encoding="ascii") as f:
        f.write(LOADER_LABEL)
    return [(os.path.basename(copy), os.path.getsize(copy)) for _, copy in sources]


# ---------------------------------------------------------------------------
# Floppy images
# ---------------------------------------------------------------------------

def write_floppy_image(folder, image):
    """Writes the disk `folder` (its files and the label of its label file)
    as a FAT12 1.44 MB floppy image, with Debian's mkfs.fat and mcopy."""
    for tool in ("mkfs.fat", "mcopy"):
        if shutil.which(tool) is None and not os.path.exists("/usr/sbin/" + tool):
            raise DisksetError("%s not found (Debian packages dosfstools and mtools)" % tool)
    with open(os.path.join(folder, LABEL_FILE), encoding="ascii") as f:
        label = f.read().strip()
    if os.path.lexists(image):
        os.remove(image)
    mkfs = shutil.which("mkfs.fat") or "/usr/sbin/mkfs.fat"
    run_tool([mkfs, "-C", "-F", "12", "-n", label, image, str(FLOPPY_KIB)])
    files = [os.path.join(folder, name) for name in sorted(os.listdir(folder))
             if not name.startswith(".")]
    if files:
        run_tool(["mcopy", "-i", image, "-m"] + files + ["::/"])


def run_tool(command):
    environment = dict(os.environ, MTOOLS_SKIP_CHECK="1")
    result = subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, env=environment)
    if result.returncode != 0:
        raise DisksetError("%s failed: %s" % (os.path.basename(command[0]),
                                              result.stdout.decode(errors="replace").strip()))


def write_images(media, images):
    """Writes each disk of `media` as images/<disk folder>.img; returns the
    image paths."""
    os.makedirs(images, exist_ok=True)
    if media.kind == "loader":
        folders = [(LOADER_FOLDER, media.path)]
    else:
        folders = [("disk%d" % number, os.path.join(media.path, "disk%d" % number))
                   for number in range(1, len(media.disks) + 1)]
        if media.loader:
            folders.append((LOADER_FOLDER, os.path.join(media.path, LOADER_FOLDER)))
    made = []
    for name, folder in folders:
        image = os.path.join(images, name + ".img")
        write_floppy_image(folder, image)
        made.append(image)
    return made


# ---------------------------------------------------------------------------
# Output folder
# ---------------------------------------------------------------------------

def is_previous_output(path):
    try:
        with open(os.path.join(path, MARKER_FILE), encoding="utf-8") as f:
            return f.readline() == MARKER_SIGNATURE
    except (OSError, UnicodeDecodeError):
        return False


def check_output(path, product_dir):
    """Refuses an output folder that this tool may not replace."""
    real_out = os.path.realpath(path)
    real_product = os.path.realpath(product_dir)
    if os.path.commonpath([real_out, real_product]) == real_out:
        raise DisksetError("output %s would hold the product folder %s" % (path, product_dir))
    if os.path.islink(path):
        raise DisksetError("output %s is a symbolic link; name a folder" % path)
    if not os.path.lexists(path):
        return
    if not os.path.isdir(path):
        raise DisksetError("output %s exists and is not a folder" % path)
    if os.listdir(path) and not is_previous_output(path):
        raise DisksetError("output %s holds files that make_diskset.py did not make (no %s);"
                           " remove it yourself or choose another folder" % (path, MARKER_FILE))


# ---------------------------------------------------------------------------
# The media
# ---------------------------------------------------------------------------

class Media:
    """What a run made: the output folder and its disks (one for a share),
    each a list of (name, size)."""

    def __init__(self, path, kind, disks, loader=None):
        self.path, self.kind, self.disks, self.loader = path, kind, disks, loader

    def summary(self, language, install_type, capacity=None, cluster=None):
        files = sum(len(d) for d in self.disks)
        total = sum(size for d in self.disks for _, size in d)
        what = INSTALL_TYPES[install_type] if install_type else "all install types"
        lines = []
        if self.kind == "loader":
            return "%s: loader disk %s: %s" % (self.path, LOADER_LABEL,
                                               " ".join(name for name, _ in self.loader))
        if self.kind == "share":
            lines.append("%s: share, language %s, %s: %d files, %d bytes"
                         % (self.path, language, what, files, total))
        else:
            lines.append("%s: %d disks, language %s, %s: %d files, %d bytes"
                         % (self.path, len(self.disks), language, what, files, total))
            for number, disk in enumerate(self.disks, 1):
                room = ""
                if capacity is not None:
                    used = sum(allocated(size, cluster) for _, size in disk)
                    room = " (%d of %d allocated)" % (used, capacity)
                lines.append("  disk%-3d %-7s %3d files %9d bytes%s: %s"
                             % (number, disk_label(number), len(disk),
                                sum(size for _, size in disk), room,
                                " ".join(name for name, _ in disk)))
        if self.loader:
            lines.append("  %-7s %-7s %3d files: %s" % (LOADER_FOLDER, LOADER_LABEL, len(self.loader),
                                                      " ".join(name for name, _ in self.loader)))
        return "\n".join(lines)


def staging_folder(output):
    """A new hidden folder beside `output`, to build it in before `publish`."""
    parent = os.path.dirname(os.path.abspath(output))
    os.makedirs(parent, exist_ok=True)
    return tempfile.mkdtemp(prefix="." + os.path.basename(os.path.abspath(output)) + ".new-", dir=parent)


def publish(staging, output, source):
    """Marks the finished staging folder as made by this tool and puts it in
    place of `output` (only ever replacing a folder this tool made)."""
    with open(os.path.join(staging, MARKER_FILE), "w", encoding="utf-8") as f:
        f.write(MARKER_TEXT)
    os.chmod(staging, 0o755)
    if os.path.lexists(output):
        check_output(output, source)
        shutil.rmtree(output)
    os.rename(staging, output)


def make_loader(loader_files, output):
    """Makes the loader disk alone at `output` and returns a Media."""
    check_output(output, loader_files)
    staging = staging_folder(output)
    try:
        work = os.path.join(staging, ".work")
        os.mkdir(work)
        disk = os.path.join(staging, ".disk")
        files = write_loader_disk(loader_files, disk, work)
        shutil.rmtree(work)
        for name in os.listdir(disk):
            os.replace(os.path.join(disk, name), os.path.join(staging, name))
        os.rmdir(disk)
        publish(staging, output, loader_files)
    except BaseException:
        shutil.rmtree(staging, ignore_errors=True)
        raise
    return Media(output, "loader", [], files)


def make_media(product_dir, output, language="en", install_type=None, disks=False,
               capacity=FLOPPY_CAPACITY, cluster=FLOPPY_CLUSTER, disk_starts=None, table=None,
               loader_files=None, checksums=True):
    """Makes a share (or numbered disks) at `output` and returns a Media.
    Disks are filled up to `capacity`, or, when `disk_starts` names the disk
    names of the files that start disk 2, disk 3, ..., cut before those.
    With `loader_files`, the loader disk is made beside the numbered disks.
    With `checksums`, the checksum list goes first on the first disk."""
    if table is None:
        table = ProductTable()
    if language not in LANGUAGES:
        raise DisksetError("unknown language %s (one of %s)" % (language, " ".join(LANGUAGES)))
    if install_type is not None and install_type not in INSTALL_TYPES:
        raise DisksetError("unknown install type %s (1, 2 or 4)" % install_type)
    if capacity <= 0 or cluster <= 0:
        raise DisksetError("capacity and cluster size must be positive")

    rows = table.rows_for(install_type)
    sources = find_product_files(table, rows, product_dir, language)
    check_disk_names(table, rows, language)
    check_output(output, product_dir)

    staging = staging_folder(output)
    try:
        work = os.path.join(staging, ".work")
        made = os.path.join(work, "media")
        packing = os.path.join(work, "packing")
        os.makedirs(made)
        os.makedirs(packing)

        jobs = []
        for row in rows:
            target = os.path.join(made, table.disk_name(row, language))
            if row.flags & FLAG_COMPRESSED:
                jobs.append((sources[row.number], target))
            else:
                shutil.copyfile(sources[row.number], target)
        compress_all(jobs, packing)
        loader = None

        files = []
        for row in rows:
            name = table.disk_name(row, language)
            path = os.path.join(made, name)
            stat = os.stat(sources[row.number])
            os.utime(path, ns=(stat.st_atime_ns, stat.st_mtime_ns))
            files.append((name, os.path.getsize(path)))

        listed = []
        if checksums:
            entries = []
            for row in rows:
                with open(sources[row.number], "rb") as f:
                    entries.append((table.disk_name(row, language), f.read()))
            list_name = table.checksum_list_name(language)
            data = checksum_list(entries)
            with open(os.path.join(made, list_name), "wb") as f:
                f.write(data)
            listed = [(list_name, len(data))]

        if disks:
            if disk_starts is None:
                reserved = sum(allocated(size, cluster) for _, size in listed)
                plan = plan_disks(files, capacity, cluster, reserved)
            else:
                plan = plan_disks_at(files, disk_starts)
            layout = [[files[i] for i in indexes] for indexes in plan]
            layout[0][:0] = listed
            for number, disk in enumerate(layout, 1):
                folder = os.path.join(staging, "disk%d" % number)
                os.mkdir(folder)
                for name, _ in disk:
                    os.replace(os.path.join(made, name), os.path.join(folder, name))
                with open(os.path.join(folder, LABEL_FILE), "w", encoding="ascii") as f:
                    f.write(disk_label(number))
            if loader_files is not None:
                loader_packing = os.path.join(work, "loader-packing")
                os.makedirs(loader_packing)
                loader = write_loader_disk(loader_files, os.path.join(staging, LOADER_FOLDER),
                                           loader_packing)
        else:
            layout = [listed + files]
            for name, _ in layout[0]:
                os.replace(os.path.join(made, name), os.path.join(staging, name))

        shutil.rmtree(work)
        publish(staging, output, product_dir)
    except BaseException:
        shutil.rmtree(staging, ignore_errors=True)
        raise
    return Media(output, "disks" if disks else "share", layout, loader)


# ---------------------------------------------------------------------------
# Command line
# ---------------------------------------------------------------------------

EPILOG = """\
The file table (src/files/file_table.inc) and the name banks
(src/res/strings/names_*.rci) of this source tree say which files go on the
media, in which order, and under which names.

product files:
  --product holds the product's files under their installed names. For each
  row the installed name of the chosen language is looked for first, then the
  English one (a Spanish set takes setup.exe for instalar.exe); case does not
  matter. A missing file is an error.

what goes on the media:
  Rows marked compressed are compressed with mscompress (Debian package
  mscompress) and stored under the row's disk name for the language (for
  example twnser.ex_); every result is checked by expanding it again. Files
  shorter than 16 bytes, which mscompress cannot compress correctly, are
  stored as an SZDD file of literals. The other rows are copied under their
  disk names. Every file gets the last-write time of its product file.

checksum list:
  The first disk (or the share) also holds checksum.lst: the line
  "Tapewright checksum list, version 1", then one line per file of the
  media, "NAME SIZE CRC": its disk name, its expanded size in bytes and the
  CRC-32 of its expanded bytes in eight hexadecimal digits, lines ended by
  CR LF. Setup computes each file's CRC-32 as it writes it and treats a file
  that differs as a read error; a damaged list is a read error of the list.
  --no-checksums leaves the list out: setup then installs the media
  unchecked, as it installs media made without a list by any other tool.

disks:
  --disks DIR makes DIR/disk1, DIR/disk2, ... in table order: a file goes on
  the current disk when it fits in what is left of the capacity (sizes rounded
  up to whole clusters, as a FAT disk allocates them), else it starts the next
  disk; a file larger than a disk is an error. With --disk-starts the disks
  are cut before the files named instead, whatever the files' sizes, so the
  layout stays the same when a file grows or shrinks (test media use this).
  Each disk folder holds a file
  .windows-label with its volume label DISK1, DISK2, ...: Wine reports the
  contents of that file as the volume label of a drive mapped to the folder
  (it reads the file when its server starts). To make a real disk, copy the
  folder's other files onto it and give it that label.

loader disk:
  --loader-files names a folder holding the changer table VSDTABLE.CFG and
  the changer drivers *.VSD (case does not matter). The loader disk (label
  LOADER) holds the table compressed as vsdtable.cf_ and the drivers as they
  are. --loader DIR makes it alone; with --disks it is DIR/loader.

floppy images:
  --images DIR writes every disk made (disk1, disk2, ..., loader) as a 1.44 MB
  FAT12 image DIR/disk1.img, ... with the disk's volume label, made with
  mkfs.fat (Debian package dosfstools) and mcopy (mtools). A disk whose files
  do not fit is an error. Give an image to a virtual machine as its floppy
  drive, or write it to a disk (dd if=disk1.img of=/dev/fd0).

output folder:
  The output folder is made anew on every run. It holds a marker file
  .diskset; a folder that exists, is not empty and has no marker is never
  deleted: the run stops instead.

examples:
  make_diskset.py --product build/product --share media/share-en
  make_diskset.py --product build/product --language es --disks media/disks-es
  make_diskset.py --product build/product --disks media/three --disk-starts twevtenu.dl_,twwinnt.ex_
  make_diskset.py --product build/product --install-types 2 --share media/jobscope
  make_diskset.py --loader-files build/loader --loader media/loader
  make_diskset.py --product build/product --disks media/disks --loader-files build/loader --images media/img
"""


def parse_args(argv):
    parser = argparse.ArgumentParser(
        prog="make_diskset.py",
        description="Make Tapewright source media (numbered disks or a network share) "
                    "from a folder of product files.",
        epilog=EPILOG, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--product", metavar="DIR",
                        help="folder of product files under their installed names "
                             "(for --share and --disks)")
    parser.add_argument("--language", default="en", choices=LANGUAGES,
                        help="language of the disk names (default en)")
    out = parser.add_mutually_exclusive_group(required=True)
    out.add_argument("--share", metavar="DIR", help="make one folder holding every file")
    out.add_argument("--disks", metavar="DIR", help="make numbered disks DIR/disk1, DIR/disk2, ...")
    out.add_argument("--loader", metavar="DIR", help="make the loader disk alone (needs --loader-files)")
    parser.add_argument("--loader-files", metavar="DIR",
                        help="folder of the changer table VSDTABLE.CFG and the drivers *.VSD")
    parser.add_argument("--images", metavar="DIR",
                        help="also write each disk as a 1.44 MB floppy image DIR/<disk>.img")
    parser.add_argument("--capacity", type=int, metavar="BYTES",
                        help="bytes per disk (default %d, a 1.44 MB disk)" % FLOPPY_CAPACITY)
    parser.add_argument("--cluster", type=int, metavar="BYTES",
                        help="allocation unit of a disk (default %d; 1 counts exact sizes)"
                             % FLOPPY_CLUSTER)
    parser.add_argument("--disk-starts", metavar="NAME,NAME...",
                        help="cut the disks before these files (their disk names, in media order): "
                             "they start disk 2, disk 3, ...; instead of --capacity and --cluster")
    parser.add_argument("--install-types", type=int, choices=sorted(INSTALL_TYPES), metavar="MASK",
                        help="only the rows of one install type: 1 Backup Server, "
                             "2 JobScope Only, 4 Remote Admin (default: every row)")
    parser.add_argument("--no-checksums", action="store_true",
                        help="leave out the checksum list (setup then installs the files unchecked)")
    parser.add_argument("--quiet", action="store_true", help="print nothing but errors")
    args = parser.parse_args(argv)
    if args.loader is None and args.product is None:
        parser.error("--share and --disks need --product")
    if args.loader is not None and args.loader_files is None:
        parser.error("--loader needs --loader-files")
    if args.share and args.loader_files is not None:
        parser.error("--loader-files goes with --disks or --loader")
    if args.share and args.images is not None:
        parser.error("--images writes disks: use it with --disks or --loader")
    if args.share and (args.capacity is not None or args.cluster is not None
                       or args.disk_starts is not None):
        parser.error("--capacity, --cluster and --disk-starts apply to --disks only")
    if args.disk_starts is not None:
        if args.capacity is not None or args.cluster is not None:
            parser.error("--disk-starts lays the disks out by name: no --capacity or --cluster")
        args.disk_starts = args.disk_starts.split(",")
        if not all(args.disk_starts):
            parser.error("--disk-starts names files separated by commas")
    for option in ("capacity", "cluster"):
        value = getattr(args, option)
        if value is not None and value <= 0:
            parser.error("--%s must be positive" % option)
    return args


def main(argv=None):
    args = parse_args(sys.argv[1:] if argv is None else argv)
    capacity = args.capacity if args.capacity is not None else FLOPPY_CAPACITY
    cluster = args.cluster if args.cluster is not None else FLOPPY_CLUSTER
    try:
        if args.loader:
            media = make_loader(args.loader_files, args.loader)
        else:
            media = make_media(args.product, args.disks or args.share, args.language,
                               args.install_types, disks=bool(args.disks),
                               capacity=capacity, cluster=cluster, disk_starts=args.disk_starts,
                               loader_files=args.loader_files, checksums=not args.no_checksums)
        images = write_images(media, args.images) if args.images else []
    except (DisksetError, TableError) as e:
        print("make_diskset.py: error: %s" % e, file=sys.stderr)
        return 1
    except OSError as e:
        print("make_diskset.py: error: %s" % e, file=sys.stderr)
        return 1
    if not args.quiet:
        if media.kind == "disks" and args.disk_starts is None:
            print(media.summary(args.language, args.install_types, capacity, cluster))
        else:
            print(media.summary(args.language, args.install_types))
        for image in images:
            print("image %s" % image)
    return 0


if __name__ == "__main__":
    sys.exit(main())
