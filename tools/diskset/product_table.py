"""The product's file table and file names, read from the program's own sources.

The setup program compiles src/files/file_table.inc into its table and the
name banks in src/res/strings/ into its string resources. The tools that make
source media and test payloads read the same files here, so the media always
match what setup looks for: the same rows, in the same order, under the same
names. The rows name their IDs and constants; their values come from the
headers that the program compiles them with.
"""

import collections
import os
import re

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))

# Language codes in bank order (bank 1 English ... bank 6 Italian) and the
# file of per-language names each bank includes besides names_common.rci.
LANGUAGES = ("en", "es", "fr", "de", "nl", "it")
NAME_FILES = {
    "en": "names_en.rci",
    "es": "names_es.rci",
    "fr": "names_fr.rci",
    "de": "names_de.rci",
    "nl": "names_neutral.rci",
    "it": "names_neutral.rci",
}
COMMON_NAMES = "names_common.rci"

FLAG_COMPRESSED = 1
INSTALL_TYPES = {1: "Backup Server", 2: "JobScope Only", 4: "Remote Admin"}

Row = collections.namedtuple("Row", [
    "number",            # 1-based position in the table
    "disk_name_id",
    "installed_name_id",
    "destination",
    "item_title_id",
    "item_order",
    "flags",
    "item_args_id",
    "install_types",
])


class TableError(Exception):
    """The table or a name bank cannot be read as the program reads it."""


def table_path(root=SOURCE_ROOT):
    return os.path.join(root, "src", "files", "file_table.inc")


# The headers whose names the rows use.
CONSTANT_HEADERS = (
    os.path.join("src", "res", "resource_ids.h"),
    os.path.join("src", "files", "file_table.h"),
    os.path.join("src", "shell", "setup_state.h"),
)


def strings_dir(root=SOURCE_ROOT):
    return os.path.join(root, "src", "res", "strings")


def _strip_comment(line):
    # Both files use // comments only. Name lines, whose strings could hold
    # "//", are matched whole before this is applied to the others.
    return line.split("//", 1)[0]


_DEFINE = re.compile(r"^\s*#\s*define\s+(\w+)\s+([^/]+?)\s*(//.*)?$")
_ENUMERATOR = re.compile(r"^\s*(?:constexpr\s+\w+\s+)?(k\w+)\s*=\s*([^,;/]+?)\s*[,;]")
_NAME_OR_NUMBER = re.compile(r"^(-?\d+|[A-Za-z_]\w*)$")


def read_constants(root=SOURCE_ROOT):
    """{name: expression} of the #defines, enumerators and constants of the
    headers the rows are compiled with."""
    constants = {}
    for relative in CONSTANT_HEADERS:
        with open(os.path.join(root, relative), encoding="utf-8") as f:
            for line in f:
                m = _DEFINE.match(line) or _ENUMERATOR.match(line)
                if m:
                    constants[m.group(1)] = m.group(2)
    return constants


def evaluate(expression, constants, seen=()):
    """The value of a row field: numbers and names, joined by "|"."""
    value = 0
    for term in expression.split("|"):
        term = term.strip()
        if not _NAME_OR_NUMBER.match(term):
            raise TableError("not a name or a number: %r" % term)
        if term.lstrip("-").isdigit():
            number = int(term)
        elif term in constants and term not in seen:
            number = evaluate(constants[term], constants, seen + (term,))
        else:
            raise TableError("unknown name %s" % term)
        value |= number
    return value


_ROW = re.compile(r"FILE_ROW\s*\(([^()]*)\)")


def read_file_table(path, constants=None):
    """The rows of file_table.inc, in table order, with their names resolved."""
    if constants is None:
        constants = read_constants()
    with open(path, encoding="utf-8") as f:
        lines = f.readlines()
    code = "".join(_strip_comment(line) for line in lines)
    rows = []
    for m in _ROW.finditer(code):
        lineno = code.count("\n", 0, m.start()) + 1
        fields = m.group(1).split(",")
        if len(fields) != len(Row._fields) - 1:
            raise TableError("%s:%d: FILE_ROW has %d fields, expected %d"
                             % (path, lineno, len(fields), len(Row._fields) - 1))
        try:
            values = [evaluate(field, constants) for field in fields]
        except TableError as e:
            raise TableError("%s:%d: %s" % (path, lineno, e)) from None
        rows.append(Row(len(rows) + 1, *values))
    left = _ROW.sub("", code).strip()
    if left:
        raise TableError("%s: not a FILE_ROW: %s" % (path, left.splitlines()[0]))
    if not rows:
        raise TableError("%s: no FILE_ROW lines" % path)
    return rows


_SIMPLE_ESCAPES = {
    "\\": "\\", '"': '"', "'": "'", "?": "?",
    "n": "\n", "t": "\t", "r": "\r", "a": "\a", "b": "\b", "f": "\f", "v": "\v",
}


def unescape(text):
    """The value of the body of a C string literal."""
    out = []
    i = 0
    while i < len(text):
        c = text[i]
        if c != "\\":
            out.append(c)
            i += 1
            continue
        if i + 1 >= len(text):
            raise ValueError("backslash at the end of %r" % text)
        e = text[i + 1]
        if e in _SIMPLE_ESCAPES:
            out.append(_SIMPLE_ESCAPES[e])
            i += 2
        elif e in "01234567":
            j = i + 1
            while j < len(text) and j < i + 4 and text[j] in "01234567":
                j += 1
            out.append(chr(int(text[i + 1:j], 8)))
            i = j
        elif e == "x":
            j = i + 2
            while j < len(text) and text[j] in "0123456789abcdefABCDEF":
                j += 1
            if j == i + 2:
                raise ValueError("\\x without digits in %r" % text)
            out.append(chr(int(text[i + 2:j], 16)))
            i = j
        else:
            raise ValueError("unknown escape \\%s in %r" % (e, text))
    return "".join(out)


_NAME = re.compile(r'^\s*BANK\s*\+\s*(\d+)\s*,\s*"((?:[^"\\]|\\.)*)"\s*(//.*)?$')
_BANK_FRAME = re.compile(r"^\s*(STRINGTABLE|BEGIN|END)\s*$")


def read_names(path):
    """{relative ID: text} of one name bank file."""
    names = {}
    with open(path, encoding="utf-8") as f:
        for lineno, line in enumerate(f, 1):
            m = _NAME.match(line)
            if m:
                number = int(m.group(1))
                if number in names:
                    raise TableError("%s:%d: ID %d given twice" % (path, lineno, number))
                try:
                    names[number] = unescape(m.group(2))
                except ValueError as e:
                    raise TableError("%s:%d: %s" % (path, lineno, e)) from None
                continue
            code = _strip_comment(line)
            if not code.strip() or _BANK_FRAME.match(code):
                continue
            raise TableError("%s:%d: not a name line: %s" % (path, lineno, line.strip()))
    return names


class ProductTable:
    """The file table with the names of every language bank."""

    def __init__(self, root=SOURCE_ROOT):
        self.constants = read_constants(root)
        self.rows = read_file_table(table_path(root), self.constants)
        common = read_names(os.path.join(strings_dir(root), COMMON_NAMES))
        self.names = {}
        for language in LANGUAGES:
            path = os.path.join(strings_dir(root), NAME_FILES[language])
            own = read_names(path)
            both = set(own) & set(common)
            if both:
                raise TableError("%s: IDs also in %s: %s"
                                 % (path, COMMON_NAMES, ", ".join(map(str, sorted(both)))))
            merged = dict(common)
            merged.update(own)
            self.names[language] = merged
        for row in self.rows:
            for language in LANGUAGES:
                for number in (row.disk_name_id, row.installed_name_id):
                    if number not in self.names[language]:
                        raise TableError("row %d: no name %d in the %s bank"
                                         % (row.number, number, language))

    def name(self, language, number):
        return self.names[language][number]

    def checksum_list_name(self, language):
        """The name of the checksum list on the first disk."""
        return self.names[language][evaluate("IDS_DISKNAME_CHECKSUMS", self.constants)]

    def disk_name(self, row, language):
        return self.names[language][row.disk_name_id]

    def installed_name(self, row, language):
        return self.names[language][row.installed_name_id]

    def rows_for(self, install_type=None):
        """Rows in table order; only those of one install type when given."""
        if install_type is None:
            return list(self.rows)
        return [row for row in self.rows if row.install_types & install_type]
