"""What the device's display driver reads at boot, read with the host's own code.

The driver takes the resolution from "VGAMode" (HKCU ControlPanel\\DisplayMode: VGA exactly when
it is 1), the orientation from "Rotation" in the panel section of \\Windows\\atihwtbl0.txt
("LCD1" for VGA, "LCD0" for QVGA) and checks it against the graphics system's "Angle"
(HKLM System\\GDI\\Rotation). Values it cannot use boot the safe mode, QVGA portrait.
"""

from dataclasses import dataclass, field

SAFE_MODE = (False, 0)
ROTATIONS = ("dword:0", "dword:1", "dword:2", "dword:3")


def mode_name(vga, orientation):
    return "%s.%d" % ("VGA" if vga else "QVGA", orientation)


def screen_size(vga, orientation):
    """(width, height) of a video mode: portrait for even orientations."""
    short, long_ = (480, 640) if vga else (240, 320)
    return (long_, short) if orientation % 2 else (short, long_)


def angle_of(orientation):
    return ((4 - orientation) * 90) % 360


def table_text(data):
    """The table file's text as the device reads it: up to the first zero byte, ANSI."""
    zero = data.find(b"\0")
    if zero >= 0:
        data = data[:zero]
    return data.decode("cp1252", errors="replace")


def value_span(text, section, key):
    """Where the raw value of key in section stands in the text, (start, end), or None; found
    the way the device's INI reader finds it: the search runs from the section's header to the
    end of the text, a quoted key anywhere after it wins over a bare one, and the value ends
    before the first line feed, carriage return or "//" (a value with none of them after it is
    not found). The value keeps the blanks around it."""
    content = "\n" + text
    header = content.find("\n[%s]" % section)
    if header < 0:
        return None
    quoted = '\n"%s"=' % key
    match = content.find(quoted, header)
    if match >= 0:
        start = match + len(quoted)
    else:
        bare = "\n%s=" % key
        match = content.find(bare, header)
        if match < 0:
            return None
        start = match + len(bare)
    ends = [p for p in (content.find("\n", start), content.find("\r", start), content.find("//", start)) if p >= 0]
    if not ends:
        return None
    return start - 1, min(ends) - 1


def find_value(text, section, key):
    """The raw value of key in section, trimmed, or None (see value_span)."""
    span = value_span(text, section, key)
    return None if span is None else text[span[0]:span[1]].strip(" \t")


def with_value(data, section, key, value):
    """The table file's bytes with the value of key in section replaced, the blanks before a
    comment kept; ValueError when the device would not find the value."""
    text = data.decode("cp1252")
    span = value_span(text, section, key)
    if span is None:
        raise ValueError('no "%s" in section [%s] of the driver table file' % (key, section))
    old = text[span[0]:span[1]]
    kept = old[len(old.rstrip(" \t")):]
    return (text[:span[0]] + value + kept + text[span[1]:]).encode("cp1252")


@dataclass
class DriverSettings:
    """The values the driver reads; None where one is missing."""
    vga_mode: object = None         # the "VGAMode" value (int for REG_DWORD, else what is stored)
    angle: object = None            # the "Angle" value
    table_error: str = ""           # why the table file could not be read, empty when it could
    table: str = ""                 # the table file's text
    rotations: dict = field(default_factory=dict)  # panel section -> raw "Rotation" text or None


@dataclass
class BootMode:
    vga: bool
    orientation: int
    safe_reason: str = ""  # why the driver fell back to the safe mode; empty when it did not

    @property
    def name(self):
        return mode_name(self.vga, self.orientation)

    @property
    def size(self):
        return screen_size(self.vga, self.orientation)

    @property
    def safe(self):
        return bool(self.safe_reason)


def read_settings(vga_mode, angle, table_bytes, table_error=""):
    settings = DriverSettings(vga_mode=vga_mode, angle=angle, table_error=table_error)
    if table_bytes is not None:
        settings.table = table_text(table_bytes)
        for section in ("LCD0", "LCD1"):
            settings.rotations[section] = find_value(settings.table, section, "Rotation")
    return settings


def boot_mode(settings):
    """The mode the driver boots in, or the safe mode with the reason."""
    vga = settings.vga_mode == 1
    section = "LCD1" if vga else "LCD0"
    if settings.table_error:
        return BootMode(*SAFE_MODE, safe_reason="driver table file unusable: %s" % settings.table_error)
    rotation = settings.rotations.get(section)
    if rotation is None:
        return BootMode(*SAFE_MODE, safe_reason='no "Rotation" in section [%s] of the driver table file' % section)
    if rotation.lower() not in ROTATIONS:
        return BootMode(*SAFE_MODE, safe_reason='"Rotation" %r in section [%s] is no rotation the driver knows'
                        % (rotation, section))
    orientation = ROTATIONS.index(rotation.lower())
    angle = settings.angle if settings.angle is not None else 0
    if angle != angle_of(orientation):
        return BootMode(*SAFE_MODE, safe_reason='"Angle" %r does not match the panel rotation %s (needs %d)'
                        % (settings.angle, rotation, angle_of(orientation)))
    return BootMode(vga, orientation)


def program_reading(settings):
    """The mode a program reading the settings as the device documents it would report:
    unknown rotation texts (missing ones included) read as orientation 0."""
    vga = settings.vga_mode == 1
    rotation = (settings.rotations.get("LCD1" if vga else "LCD0") or "").lower()
    return mode_name(vga, ROTATIONS.index(rotation) if rotation in ROTATIONS else 0)
