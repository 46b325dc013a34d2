"""The device's registry as files: the image's REGEDIT4 file, Wine's own registry files of
the device prefix, and the host's file of volatile keys (see device/devctl/VolatileKeys.h).

Keys are given as "HKLM\\path" or "HKCU\\path"; lookups ignore letter case as the registry
does. A value is (type, data) with type a REG_ number and data an int (REG_DWORD), a str
(REG_SZ, REG_EXPAND_SZ) or bytes.
"""

import re

REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD = 1, 2, 3, 4
ROOTS = {"HKEY_LOCAL_MACHINE": "HKLM", "HKEY_CURRENT_USER": "HKCU", "HKLM": "HKLM", "HKCU": "HKCU"}


class Hive:
    """Keys by lower-cased full name; each key keeps its spelling and its values."""

    def __init__(self):
        self.keys = {}

    def key(self, name, create=False):
        entry = self.keys.get(name.lower())
        if entry is None and create:
            entry = self.keys[name.lower()] = {"name": name, "values": {}}
        return entry

    def set(self, key, name, value):
        self.key(key, create=True)["values"][name.lower()] = (name, value)

    def get(self, key, name):
        entry = self.key(key)
        if entry is None:
            return None
        found = entry["values"].get(name.lower())
        return found[1] if found else None

    def below(self, prefix):
        """Keys at or below prefix, as (name, {value name: value})."""
        p = prefix.lower()
        for lowered, entry in sorted(self.keys.items()):
            if lowered == p or lowered.startswith(p + "\\"):
                yield entry["name"], {n: v for n, v in entry["values"].values()}


def _unescape(text):
    out = []
    i = 0
    simple = {"n": "\n", "r": "\r", "t": "\t", "a": "\a", "b": "\b", "e": "\x1b", "f": "\f", "v": "\v", "0": "\0"}
    while i < len(text):
        c = text[i]
        if c != "\\" or i + 1 == len(text):
            out.append(c)
            i += 1
            continue
        n = text[i + 1]
        if n == "x":
            m = re.match(r"[0-9a-fA-F]{1,4}", text[i + 2:])
            out.append(chr(int(m.group(0), 16)) if m else "x")
            i += 2 + (len(m.group(0)) if m else 0)
        else:
            out.append(simple.get(n, n))
            i += 2
    return "".join(out)


def _quoted(text):
    """The text of a leading quoted string and what follows it."""
    assert text.startswith('"')
    i = 1
    while i < len(text):
        if text[i] == "\\":
            i += 2
            continue
        if text[i] == '"':
            return text[1:i], text[i + 1:]
        i += 1
    raise ValueError("unterminated string: %r" % text)


def _value(data, wine):
    """A value's data text (after "=") -> (type, data)."""
    if data.startswith('"'):
        body, _ = _quoted(data)
        return REG_SZ, _unescape(body) if wine else body.replace('\\"', '"').replace("\\\\", "\\")
    if data.startswith("str(2):"):
        body, _ = _quoted(data[7:])
        return REG_EXPAND_SZ, _unescape(body)
    if data.startswith("dword:"):
        return REG_DWORD, int(data[6:14], 16)
    m = re.match(r"hex(?:\(([0-9a-fA-F]+)\))?:(.*)", data)
    if m:
        kind = int(m.group(1), 16) if m.group(1) else REG_BINARY
        raw = bytes(int(b, 16) for b in m.group(2).replace(" ", "").split(",") if b)
        if kind in (REG_SZ, REG_EXPAND_SZ):
            return kind, raw.decode("utf-16-le").rstrip("\0")
        if kind == REG_DWORD and len(raw) == 4:
            return kind, int.from_bytes(raw, "little")
        return kind, raw
    raise ValueError("unknown value form: %r" % data[:40])


def _lines(text):
    """Logical lines: a line ending in a backslash continues on the next."""
    pending = ""
    for line in text.splitlines():
        line = line.rstrip()
        if line.endswith("\\"):
            pending += line[:-1].strip() if pending else line[:-1]
            continue
        yield (pending + line.strip()) if pending else line
        pending = ""


def parse_regedit4(text):
    """An image's REGEDIT4 file -> Hive, and the text of each [section] block in order."""
    hive = Hive()
    current = None
    for line in _lines(text):
        if not line or line.startswith(";") or line.startswith("REGEDIT"):
            continue
        if line.startswith("["):
            root, _, path = line[1:line.rindex("]")].partition("\\")
            current = ROOTS[root.upper()] + "\\" + path
            hive.key(current, create=True)
            continue
        if current is None:
            raise ValueError("value outside a key: %r" % line)
        if line.startswith("@="):
            name, data = "", line[2:]
        else:
            name, data = _quoted(line)
            name, data = name.replace('\\"', '"').replace("\\\\", "\\"), data[1:]
        hive.set(current, name, _value(data, wine=False))
    return hive


def parse_wine(text, root):
    """Wine's system.reg (root "HKLM") or user.reg (root "HKCU") -> Hive."""
    hive = Hive()
    current = None
    for line in _lines(text):
        if line.startswith("["):
            current = root + "\\" + _unescape(line[1:line.rindex("]")])
            hive.key(current, create=True)
            continue
        if current is None or not line or line[0] in ";#":
            continue
        if line.startswith("@="):
            name, data = "", line[2:]
        elif line.startswith('"'):
            name, rest = _quoted(line)
            name, data = _unescape(name), rest[1:]
        else:
            continue
        try:
            hive.set(current, name, _value(data, wine=True))
        except ValueError:
            continue
    return hive


def encode(value):
    """(type, data) -> the bytes the registry stores."""
    kind, data = value
    if isinstance(data, int):
        return data.to_bytes(4, "little")
    if isinstance(data, str):
        return (data + "\0").encode("utf-16-le")
    return bytes(data)


def decode(kind, raw):
    if kind == REG_DWORD and len(raw) == 4:
        return kind, int.from_bytes(raw, "little")
    if kind in (REG_SZ, REG_EXPAND_SZ) and len(raw) % 2 == 0:
        return kind, raw.decode("utf-16-le").split("\0")[0]
    return kind, raw


def write_volatile(hive, keys):
    """The volatile-keys file text for the given keys of the hive."""
    out = []
    for key in keys:
        entry = hive.key(key)
        out.append("key\t%s\n" % (entry["name"] if entry else key))
        for name, value in (entry["values"].values() if entry else ()):
            out.append("value\t%s\t%d\t%s\n" % (name, value[0], encode(value).hex()))
    return "".join(out)


def parse_volatile(text):
    hive = Hive()
    current = None
    for line in text.splitlines():
        fields = line.split("\t")
        if fields[0] == "key" and len(fields) == 2:
            current = fields[1]
            hive.key(current, create=True)
        elif fields[0] == "value" and len(fields) in (3, 4) and current:
            hive.set(current, fields[1], decode(int(fields[2]), bytes.fromhex(fields[3] if len(fields) == 4 else "")))
    return hive


def to_regedit4(hive, skip_prefix=None):
    """REGEDIT4 text of a hive, for the device's regedit; keys below skip_prefix left out."""
    out = ["REGEDIT4", ""]
    for lowered, entry in hive.keys.items():
        if skip_prefix and (lowered == skip_prefix.lower() or lowered.startswith(skip_prefix.lower() + "\\")):
            continue
        root, _, path = entry["name"].partition("\\")
        out.append("[%s\\%s]" % ({"HKLM": "HKEY_LOCAL_MACHINE", "HKCU": "HKEY_CURRENT_USER"}[root], path))
        for name, (kind, data) in entry["values"].values():
            label = '"%s"' % name.replace("\\", "\\\\").replace('"', '\\"') if name else "@"
            if kind == REG_DWORD:
                out.append("%s=dword:%08x" % (label, data))
            elif kind == REG_SZ:
                out.append('%s="%s"' % (label, data.replace("\\", "\\\\").replace('"', '\\"')))
            else:
                out.append("%s=hex(%x):%s" % (label, kind, ",".join("%02x" % b for b in encode((kind, data)))))
        out.append("")
    return "\r\n".join(out) + "\r\n"
