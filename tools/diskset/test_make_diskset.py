#!/usr/bin/env python3
"""Checks the disk-set builder: names per language, what lands on the media
and how, the split over disks, and the care it takes with output folders.

Run:  python3 -m unittest discover -s tools/diskset
"""

import contextlib
import hashlib
import io
import os
import re
import shutil
import subprocess
import tempfile
import unittest
import zlib

import make_diskset as ds
import product_table as pt

TABLE = pt.ProductTable()
CHECKSUMS = TABLE.checksum_list_name("en")
HAS_MSCOMPRESS = shutil.which("mscompress") is not None
NEEDS_MSCOMPRESS = unittest.skipUnless(HAS_MSCOMPRESS, "mscompress is not installed")
BASE_TIME = 820454400  # 1996-01-01 00:00 UTC


def noise(name, size):
    seed = name.encode()
    return b"".join(hashlib.sha256(seed + k.to_bytes(4, "little")).digest()
                    for k in range((size + 31) // 32))[:size]


def text(size):
    line = b"backup the tape drive and verify the catalog of each session\r\n"
    return (line * (size // len(line) + 1))[:size]


# Product file contents by English installed name, chosen for the edge
# cases: empty, shorter than mscompress can handle, exact 8192-byte blocks,
# compressible text, plain noise.
SPECIAL = {
    "twnetat.dll": b"",
    "twi_tape.dll": b"tiny",
    "LDRDLL.DLL": noise("LDRDLL.DLL", 15),
    "twnetspx.dll": noise("twnetspx.dll", 16),
    "twnettcp.dll": text(8192 * 3),
    "twnetapi.dll": noise("twnetapi.dll", 8192),
    "TWWINNT.HLP": text(50000),
}


def write_product(folder, sizes=None):
    """Writes one file per row under its English installed name; returns
    {name: bytes}. `sizes` gives noise of that size for chosen names."""
    os.makedirs(folder, exist_ok=True)
    contents = {}
    for row in TABLE.rows:
        name = TABLE.installed_name(row, "en")
        if sizes and name in sizes:
            data = noise(name, sizes[name])
        else:
            data = SPECIAL.get(name, noise(name, 3000 + 97 * row.number))
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
        when = BASE_TIME + 7200 * row.number
        os.utime(os.path.join(folder, name), (when, when))
        contents[name] = data
    return contents


def media_files(folder):
    return sorted(n for n in os.listdir(folder) if not n.startswith("."))


def read(path):
    with open(path, "rb") as f:
        return f.read()


def checksum_lines(path):
    """{name: (size, crc)} of a checksum list, after its header."""
    lines = read(path).decode("ascii").split("\r\n")
    assert lines[0] == ds.CHECKSUM_HEADER and lines[-1] == "", lines
    fields = [line.split(" ") for line in lines[1:-1]]
    return {name: (int(size), int(crc, 16)) for name, size, crc in fields}


class TempDirTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp(prefix="diskset-test-")
        self.addCleanup(shutil.rmtree, self.tmp)
        self.product = os.path.join(self.tmp, "product")

    def path(self, *parts):
        return os.path.join(self.tmp, *parts)


class ProductTableTest(unittest.TestCase):
    def test_banks_are_the_files_the_resource_script_includes(self):
        # strings.rc includes one names file per bank; the builder must read
        # the same file for the same language.
        rc = read(os.path.join(pt.SOURCE_ROOT, "src", "res", "strings.rc")).decode()
        included = []
        for block in re.split(r"#define BANK ", rc)[1:]:
            files = re.findall(r'#include "strings/(names_\w+\.rci)"', block)
            self.assertIn(pt.COMMON_NAMES, files)
            included.append([f for f in files if f != pt.COMMON_NAMES])
        self.assertEqual(included, [[pt.NAME_FILES[lang]] for lang in pt.LANGUAGES])

    def test_names_per_language(self):
        row1, row2, row19 = TABLE.rows[0], TABLE.rows[1], TABLE.rows[18]
        self.assertEqual(TABLE.installed_name(row1, "es"), "instalar.exe")
        self.assertEqual(TABLE.installed_name(row1, "nl"), "SETUP.EXE")
        self.assertEqual(TABLE.disk_name(row1, "es"), "setup.exe")
        self.assertEqual(TABLE.disk_name(row2, "fr"), "readfra.txt")
        self.assertEqual(TABLE.installed_name(row2, "fr"), "lisezmoi.txt")
        self.assertEqual([TABLE.disk_name(row19, lang) for lang in pt.LANGUAGES],
                         ["twwntenu.hl_", "twwntesm.hl_", "twwntfra.hl_", "twwntdeu.hl_",
                          "twwinnt.hl_", "twwinnt.hl_"])
        self.assertEqual(TABLE.name("en", 250), "\\TAPWRITE\\NT")

    def test_escapes(self):
        self.assertEqual(pt.unescape(r"a\\b\"c\n\x41\101\0"), 'a\\b"c\nAA\0')
        for bad in ("\\", r"\q", r"\x"):
            with self.assertRaises(ValueError):
                pt.unescape(bad)

    def test_malformed_table_and_bank_lines_are_errors(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "t.inc")
            cases = [
                "FILE_ROW(166, 206, 1, 65, 2, 4, 300)\n",          # seven fields
                "FILE_ROW(166, 206, 1, 65, 2, x, 300, 7)\n",       # not a number
                "FILE_ROW(IDS_DISKNAME_NOWHERE, 206, 1, 65, 2, 4, 300, 7)\n",  # unknown name
                "FILE_ROW(166, 206, 1, 65, 2, 4 + 1, 300, 7)\n",   # not a name or number
                "FILE_RW(166, 206, 1, 65, 2, 4, 300, 7)\n",        # not a row
                "// only a comment\n",                              # no rows
            ]
            for body in cases:
                with self.subTest(body=body):
                    with open(path, "w") as f:
                        f.write(body)
                    with self.assertRaises(pt.TableError):
                        pt.read_file_table(path)
            with open(path, "w") as f:
                f.write("// c\nFILE_ROW(1, 2, 3, 4, -1, 1, 0, 5) // x\n\nFILE_ROW(6,7,1,0,0,4,0,7)\n"
                        "FILE_ROW(IDS_DISKNAME_SETUP, 2, kDestinationSystem, 0,\n"
                        "         kNoItem, kFileCompressed | kFileHasItem, 0, kEveryInstallType)\n")
            rows = pt.read_file_table(path)
            self.assertEqual([(r.number, r.disk_name_id, r.destination, r.item_order, r.flags, r.install_types)
                              for r in rows],
                             [(1, 1, 3, -1, 1, 5), (2, 6, 1, 0, 4, 7), (3, 166, 3, -1, 5, 7)])
            for body in ('BEGIN\n    BANK+1, "a"\n    BANK+1, "b"\nEND\n',
                         'BEGIN\n    BANK+1, a\nEND\n'):
                with self.subTest(body=body):
                    with open(path, "w") as f:
                        f.write(body)
                    with self.assertRaises(pt.TableError):
                        pt.read_names(path)


class SzddTest(TempDirTest):
    @NEEDS_MSCOMPRESS
    def test_expands_what_mscompress_writes(self):
        # Long matches, matches that overlap their own output, matches
        # reaching into the initial window of spaces, and plain noise.
        samples = {
            "runs": b"A" * 5000 + b"AB" * 3000,
            "spaces": b"   x" + b" " * 40 + text(20000),
            "text": text(70000),
            "noise": noise("n", 30000),
        }
        for name, data in samples.items():
            with open(self.path(name), "wb") as f:
                f.write(data)
        subprocess.run(["mscompress"] + list(samples), cwd=self.tmp, check=True,
                       stdout=subprocess.DEVNULL)
        for name, data in samples.items():
            with self.subTest(name=name):
                packed = read(self.path(name + "_"))
                self.assertEqual(ds.szdd_length(packed), len(data))
                self.assertEqual(ds.expand_szdd(packed), data)

    def test_literal_files(self):
        for data in (b"", b"x", b"12345678", b"123456789", noise("l", 15)):
            packed = ds.literal_szdd(data)
            self.assertEqual(packed[:8], ds.SZDD_MAGIC)
            self.assertEqual(ds.expand_szdd(packed), data)
        self.assertEqual(len(ds.literal_szdd(b"")), ds.SZDD_HEADER)

    def test_rejects_what_is_not_szdd(self):
        for data in (b"", b"MZ" + b"\0" * 20, ds.SZDD_MAGIC + b"A\0\0"):
            with self.assertRaises(ValueError):
                ds.expand_szdd(data)


@NEEDS_MSCOMPRESS
class MediaContentTest(TempDirTest):
    def test_share_files_names_bytes_and_times(self):
        contents = write_product(self.product)
        share = self.path("share-en")
        media = ds.make_media(self.product, share, "en")
        self.assertEqual(media.kind, "share")
        expected = sorted([CHECKSUMS] + [TABLE.disk_name(row, "en") for row in TABLE.rows])
        self.assertEqual(media_files(share), expected)
        # Every file's expanded size and CRC-32, compressed or not.
        self.assertEqual(checksum_lines(os.path.join(share, CHECKSUMS)),
                         {TABLE.disk_name(row, "en"): (len(contents[TABLE.installed_name(row, "en")]),
                                                       zlib.crc32(contents[TABLE.installed_name(row, "en")]))
                          for row in TABLE.rows})
        for row in TABLE.rows:
            installed = TABLE.installed_name(row, "en")
            disk_file = os.path.join(share, TABLE.disk_name(row, "en"))
            data = read(disk_file)
            with self.subTest(row=row.number, name=installed):
                if row.flags & pt.FLAG_COMPRESSED:
                    self.assertEqual(data[:4], b"SZDD")
                    self.assertEqual(ds.szdd_length(data), len(contents[installed]))
                    self.assertEqual(ds.expand_szdd(data), contents[installed])
                else:
                    self.assertEqual(data, contents[installed])
                self.assertEqual(os.stat(disk_file).st_mtime_ns,
                                 os.stat(os.path.join(self.product, installed)).st_mtime_ns)
        # The compressor really ran: text shrinks to a fraction.
        help_file = read(os.path.join(share, "twwntenu.hl_"))
        self.assertLess(len(help_file), len(SPECIAL["TWWINNT.HLP"]) // 4)

    def test_names_per_language(self):
        write_product(self.product)
        for language in pt.LANGUAGES:
            with self.subTest(language=language):
                share = self.path("share-" + language)
                ds.make_media(self.product, share, language)
                self.assertEqual(media_files(share),
                                 sorted([CHECKSUMS] + [TABLE.disk_name(row, language) for row in TABLE.rows]))
        self.assertIn("twresesm.dl_", media_files(self.path("share-es")))
        self.assertIn("twwinnt.hl_", media_files(self.path("share-it")))

    def test_language_installed_name_comes_before_english(self):
        contents = write_product(self.product)
        with open(os.path.join(self.product, "instalar.exe"), "wb") as f:
            f.write(b"the Spanish setup program")
        share = self.path("share")
        ds.make_media(self.product, share, "es")
        self.assertEqual(read(os.path.join(share, "setup.exe")), b"the Spanish setup program")
        # No leame.txt: the English readme.txt is taken.
        self.assertEqual(read(os.path.join(share, "readesm.txt")), contents["readme.txt"])

    def test_install_type_selects_rows(self):
        write_product(self.product)
        share = self.path("jobscope")
        ds.make_media(self.product, share, "en", install_type=2)
        files = ["setup.exe", "readenu.txt", "dlg3d32.dl_", "nmsapi.dl_", "jscopenu.ex_", "jscopenu.hl_",
                 "twdiag.ex_"]
        self.assertEqual(media_files(share), sorted(files + [CHECKSUMS]))
        self.assertEqual(sorted(checksum_lines(os.path.join(share, CHECKSUMS))), sorted(files))

    def test_checksum_list_is_left_out_on_request_and_reads_as_setup_reads_it(self):
        write_product(self.product)
        ds.main(["--quiet", "--product", self.product, "--share", self.path("share"), "--no-checksums"])
        self.assertNotIn(CHECKSUMS, media_files(self.path("share")))
        header = read(os.path.join(pt.SOURCE_ROOT, "src", "files", "checksum_list.h")).decode()
        self.assertIn('kChecksumListHeader[] = "%s";' % ds.CHECKSUM_HEADER, header)
        with self.assertRaisesRegex(ds.DisksetError, "a b.ex_ cannot be named"):
            ds.checksum_list([("a b.ex_", b"")])

    def test_missing_product_file_is_named(self):
        write_product(self.product)
        os.remove(os.path.join(self.product, "twserver.exe"))
        share = self.path("share")
        with self.assertRaisesRegex(ds.DisksetError, r"twserver\.exe \(row 16\)"):
            ds.make_media(self.product, share, "en")
        self.assertFalse(os.path.exists(share))
        self.assertEqual(os.listdir(self.tmp), ["product"])

    def test_file_names_match_without_regard_to_case(self):
        write_product(self.product)
        os.rename(os.path.join(self.product, "TWWINNT.EXE"), os.path.join(self.product, "twwinnt.exe"))
        ds.make_media(self.product, self.path("share"), "en")
        self.assertIn("twwinnt.ex_", media_files(self.path("share")))


@NEEDS_MSCOMPRESS
class DiskSplitTest(TempDirTest):
    def test_plan_fills_in_order_up_to_the_capacity(self):
        files = [("a", 600), ("b", 400), ("c", 1), ("d", 1000), ("e", 0), ("f", 999)]
        # Exact sizes: a and b fill disk 1 exactly; c starts disk 2.
        self.assertEqual(ds.plan_disks(files, 1000, 1), [[0, 1], [2], [3, 4], [5]])
        # One byte more room: c joins disk 1.
        self.assertEqual(ds.plan_disks(files, 1001, 1), [[0, 1, 2], [3, 4], [5]])
        # Whole 512-byte clusters: a takes 1024, so b (512) no longer fits
        # beside it in 1500 bytes, though their sizes add up to 1000.
        self.assertEqual(ds.plan_disks(files, 1500, 512), [[0], [1, 2], [3, 4], [5]])
        self.assertEqual(ds.plan_disks(files, 1536, 512), [[0, 1], [2, 3, 4], [5]])
        # The checksum list takes its room on the first disk first.
        self.assertEqual(ds.plan_disks(files, 1000, 1, reserved=1), [[0], [1, 2], [3, 4], [5]])
        self.assertEqual(ds.plan_disks([("x", 10)], 10, 1, reserved=10), [[], [0]])
        # An empty file takes no cluster and goes where the last file went.
        self.assertEqual(ds.plan_disks([("x", 1024), ("y", 0)], 1024, 512), [[0, 1]])
        # No later file goes back to an earlier disk, even when it would fit.
        self.assertEqual(ds.plan_disks([("x", 8), ("y", 5), ("z", 2)], 10, 1), [[0], [1, 2]])

    def test_file_larger_than_a_disk_is_an_error(self):
        with self.assertRaisesRegex(ds.DisksetError, r"big \(1001 bytes"):
            ds.plan_disks([("small", 10), ("big", 1001)], 1000, 1)
        with self.assertRaisesRegex(ds.DisksetError, r"big \(1000 bytes, 1024 allocated"):
            ds.plan_disks([("big", 1000)], 1000, 512)
        write_product(self.product, sizes={"jobscope.exe": 40000})
        out = self.path("disks")
        with self.assertRaisesRegex(ds.DisksetError, "jscopenu.ex_"):
            ds.make_media(self.product, out, "en", disks=True, capacity=30000)
        self.assertFalse(os.path.exists(out))

    def test_disks_hold_the_table_in_order_with_labels(self):
        sizes = {"setup.exe": 20000, "twevents.dll": 15000, "twnser.exe": 25000,
                 "jobscope.exe": 12000, "TWWINNT.EXE": 26000}
        write_product(self.product, sizes=sizes)
        out = self.path("disks-en")
        capacity = 30000
        media = ds.make_media(self.product, out, "en", disks=True, capacity=capacity)
        count = len(media.disks)
        self.assertGreaterEqual(count, 4)
        self.assertEqual(sorted(os.listdir(out)),
                         sorted([ds.MARKER_FILE] + ["disk%d" % n for n in range(1, count + 1)]))
        order = []
        left_over = []
        for number in range(1, count + 1):
            folder = os.path.join(out, "disk%d" % number)
            self.assertEqual(read(os.path.join(folder, ds.LABEL_FILE)), b"DISK%d" % number)
            names = [name for name, _ in media.disks[number - 1]]
            self.assertEqual(media_files(folder), sorted(names))
            self.assertTrue(names, "disk%d is empty" % number)
            used = sum(ds.allocated(os.path.getsize(os.path.join(folder, n)), 512) for n in names)
            self.assertLessEqual(used, capacity)
            left_over.append(capacity - used)
            order += names
        self.assertEqual(order, [CHECKSUMS] + [TABLE.disk_name(row, "en") for row in TABLE.rows])
        # Each disk after the first begins with a file that did not fit on the one before.
        for number in range(2, count + 1):
            first = media.disks[number - 1][0]
            self.assertGreater(ds.allocated(first[1], 512), left_over[number - 2])

    def test_disk_starts_cut_the_media_whatever_the_sizes(self):
        files = [("a", 5), ("B", 900), ("c", 1), ("d", 7)]
        self.assertEqual(ds.plan_disks_at(files, ["b"]), [[0], [1, 2, 3]])
        self.assertEqual(ds.plan_disks_at(files, ["c", "D"]), [[0, 1], [2], [3]])
        for starts, error in ((["x"], "x is not on the media"), (["A"], "A is the first file of disk 1"),
                              (["d", "c"], "c does not come after d"), (["c", "c"], "c does not come after c")):
            with self.subTest(starts=starts), self.assertRaisesRegex(ds.DisksetError, error):
                ds.plan_disks_at(files, starts)

        # A setup.exe of a few KB and one larger than a disk lie alike.
        starts = "twevtenu.dl_,twwinnt.ex_"
        out = self.path("disks")
        for size in (2000, ds.FLOPPY_CAPACITY + 1):
            write_product(self.product, sizes={"setup.exe": size})
            printed = io.StringIO()
            with contextlib.redirect_stdout(printed):
                code = ds.main(["--product", self.product, "--disks", out, "--disk-starts", starts])
            self.assertEqual(code, 0)
            self.assertEqual(sorted(os.listdir(out)), [ds.MARKER_FILE, "disk1", "disk2", "disk3"])
            self.assertEqual(media_files(os.path.join(out, "disk1")), [CHECKSUMS, "readenu.txt", "setup.exe"])
            self.assertEqual(media_files(os.path.join(out, "disk3")), ["twdiag.ex_", "twwinnt.ex_"])
            self.assertEqual(read(os.path.join(out, "disk3", ds.LABEL_FILE)), b"DISK3")
            self.assertIn("twevtenu.dl_", media_files(os.path.join(out, "disk2")))
            self.assertEqual(len(media_files(os.path.join(out, "disk2"))), 21 - 4)
            disk1 = sum(os.path.getsize(os.path.join(out, "disk1", name))
                        for name in (CHECKSUMS, "setup.exe", "readenu.txt"))
            self.assertRegex(printed.getvalue().splitlines()[1],
                             r"^  disk1 +DISK1 +3 files +%d bytes: checksum\.lst setup\.exe readenu\.txt$" % disk1)

    def test_summary_lists_each_disk(self):
        write_product(self.product, sizes={"setup.exe": 20000, "twevents.dll": 15000})
        out = io.StringIO()
        with contextlib.redirect_stdout(out):
            code = ds.main(["--product", self.product, "--disks", self.path("d"),
                            "--capacity", "40000"])
        self.assertEqual(code, 0)
        lines = out.getvalue().splitlines()
        self.assertRegex(lines[0], r": \d+ disks, language en, all install types: 22 files, \d+ bytes$")
        self.assertRegex(lines[1], r"^  disk1 +DISK1 +\d+ files +\d+ bytes .*: checksum\.lst setup\.exe readenu\.txt")


@NEEDS_MSCOMPRESS
class OutputFolderTest(TempDirTest):
    def setUp(self):
        super().setUp()
        write_product(self.product)

    def test_previous_output_is_replaced(self):
        out = self.path("media")
        ds.make_media(self.product, out, "en", disks=True)
        stale = os.path.join(out, "disk7")
        os.mkdir(stale)
        ds.make_media(self.product, out, "fr")
        self.assertFalse(os.path.exists(stale))
        self.assertIn("readfra.txt", media_files(out))
        # No staging folders are left beside it.
        self.assertEqual(sorted(os.listdir(self.tmp)), ["media", "product"])

    def test_empty_folder_is_used(self):
        out = self.path("empty")
        os.mkdir(out)
        ds.make_media(self.product, out, "en")
        self.assertIn("setup.exe", media_files(out))

    def test_foreign_folders_are_left_alone(self):
        foreign = self.path("foreign")
        os.mkdir(foreign)
        with open(os.path.join(foreign, "keep.txt"), "w") as f:
            f.write("mine")
        forged = self.path("forged")
        os.mkdir(forged)
        with open(os.path.join(forged, ds.MARKER_FILE), "w") as f:
            f.write("something else\n")
        a_file = self.path("file")
        with open(a_file, "w") as f:
            f.write("a file")
        for out in (foreign, forged, a_file, self.product, self.tmp):
            with self.subTest(out=out):
                before = sorted(os.walk(self.tmp))
                with self.assertRaises(ds.DisksetError):
                    ds.make_media(self.product, out, "en")
                self.assertEqual(sorted(os.walk(self.tmp)), before)
        self.assertEqual(read(os.path.join(foreign, "keep.txt")), b"mine")

    def test_command_line_errors(self):
        err = io.StringIO()
        with contextlib.redirect_stderr(err):
            code = ds.main(["--product", self.path("nowhere"), "--share", self.path("s")])
        self.assertEqual(code, 1)
        self.assertIn("make_diskset.py: error: product folder", err.getvalue())
        for argv in (["--product", self.product, "--share", "s", "--capacity", "100"],
                     ["--product", self.product, "--share", "s", "--disk-starts", "twnser.ex_"],
                     ["--product", self.product, "--disks", "d", "--disk-starts", "twnser.ex_",
                      "--capacity", "100000"],
                     ["--product", self.product, "--disks", "d", "--disk-starts", "twnser.ex_,"],
                     ["--product", self.product, "--disks", "d", "--capacity", "0"],
                     ["--product", self.product, "--share", "s", "--disks", "d"],
                     ["--product", self.product, "--share", "s", "--install-types", "3"],
                     ["--product", self.product, "--share", "s", "--language", "pt"]):
            with self.subTest(argv=argv), contextlib.redirect_stderr(io.StringIO()):
                with self.assertRaises(SystemExit) as exit_:
                    ds.main(argv)
                self.assertEqual(exit_.exception.code, 2)
        self.assertEqual(sorted(os.listdir(self.tmp)), ["product"])


HAS_MTOOLS = all(shutil.which(t) or os.path.exists("/usr/sbin/" + t) for t in ("mkfs.fat", "mcopy", "mlabel"))


@NEEDS_MSCOMPRESS
class LoaderDiskTest(TempDirTest):
    def setUp(self):
        super().setUp()
        self.loader_files = self.path("loader-files")
        os.makedirs(self.loader_files)
        self.table = b"# changers\nCHANGER 0x0001 Velmar Autoloader\n" * 3
        for name, data in (("vsdtable.cfg", self.table), ("CHANGER.VSD", b"driver one"),
                           ("Stack.vsd", b"driver two"), ("notes.txt", b"not on the disk")):
            with open(os.path.join(self.loader_files, name), "wb") as f:
                f.write(data)

    def check_loader_disk(self, folder):
        self.assertEqual(media_files(folder), ["CHANGER.VSD", "Stack.vsd", "vsdtable.cf_"])
        self.assertEqual(read(os.path.join(folder, ".windows-label")), b"LOADER")
        self.assertEqual(ds.expand_szdd(read(os.path.join(folder, "vsdtable.cf_"))), self.table)
        self.assertEqual(read(os.path.join(folder, "Stack.vsd")), b"driver two")

    def test_alone_and_beside_the_numbered_disks(self):
        write_product(self.product)
        self.assertEqual(ds.main(["--quiet", "--loader-files", self.loader_files,
                                  "--loader", self.path("alone")]), 0)
        self.check_loader_disk(self.path("alone"))
        self.assertEqual(ds.main(["--quiet", "--product", self.product, "--disks", self.path("d"),
                                  "--loader-files", self.loader_files]), 0)
        self.check_loader_disk(self.path("d", "loader"))
        self.assertTrue(os.path.isdir(self.path("d", "disk1")))
        os.remove(os.path.join(self.loader_files, "CHANGER.VSD"))
        os.remove(os.path.join(self.loader_files, "Stack.vsd"))
        with self.assertRaisesRegex(ds.DisksetError, "no changer driver"):
            ds.make_loader(self.loader_files, self.path("none"))

    @unittest.skipUnless(HAS_MTOOLS, "mtools or dosfstools is not installed")
    def test_floppy_images_read_back_with_their_labels_and_files(self):
        write_product(self.product)
        self.assertEqual(ds.main(["--quiet", "--product", self.product, "--disks", self.path("d"),
                                  "--disk-starts", "twevtenu.dl_", "--loader-files", self.loader_files,
                                  "--images", self.path("img")]), 0)
        self.assertEqual(sorted(os.listdir(self.path("img"))), ["disk1.img", "disk2.img", "loader.img"])
        env = dict(os.environ, MTOOLS_SKIP_CHECK="1")
        for name in ("disk1", "disk2", "loader"):
            image = self.path("img", name + ".img")
            self.assertEqual(os.path.getsize(image), 1474560)
            label = subprocess.run(["mlabel", "-i", image, "-s", "::"], env=env, capture_output=True,
                                   check=True).stdout.decode()
            self.assertIn("Volume label is " + read(self.path("d", name, ".windows-label")).decode(), label)
            for file in media_files(self.path("d", name)):
                copy = subprocess.run(["mcopy", "-i", image, "::/" + file, "-"], env=env,
                                      capture_output=True, check=True).stdout
                self.assertEqual(copy, read(self.path("d", name, file)), file)


if __name__ == "__main__":
    unittest.main()
