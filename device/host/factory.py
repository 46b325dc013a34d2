"""What differs on a device from its factory state. The comparison is pure: it takes the
registry and the files as they are now and as the device came, and gives one line per change."""

import json

import registry


def describe_value(value):
    if value is None:
        return "missing"
    kind, data = value
    return "%d" % data if kind == registry.REG_DWORD else json.dumps(data) if isinstance(data, str) else data.hex()


def outermost(roots):
    """The roots in name order without those that lie below another one."""
    roots = sorted(set(roots), key=str.lower)
    return [r for r in roots if not any(r.lower().startswith(o.lower() + "\\") for o in roots)]


def registry_changes(now, factory, roots):
    """The keys and values below roots that were added, deleted or changed: now and factory
    are registry.Hive objects."""
    changes = []
    for root in outermost(roots):
        current = dict(now.below(root))
        before = dict(factory.below(root))
        for key in sorted(set(current) | set(before), key=str.lower):
            a, b = before.get(key, {}), current.get(key, {})
            if key not in before:
                changes.append("key %s: added" % key)
            elif key not in current:
                changes.append("key %s: deleted" % key)
            for name in sorted(set(a) | set(b), key=str.lower):
                if a.get(name) != b.get(name):
                    changes.append("%s %s: %s (factory %s)" % (key, json.dumps(name), describe_value(b.get(name)),
                                                               describe_value(a.get(name))))
    return changes


def file_changes(drive, rom, image):
    """The files of the drive that differ from what the device came with, and the ROM files
    whose RAM copy was deleted. Each argument maps a device path ("\\Windows\\x.dll") to the
    file's (size, digest): drive the files on the device now (in the order to report them),
    rom the device's ROM files, image the files its image put on the drive. Paths match
    without regard to case."""
    rom_by_name = {path.lower(): content for path, content in rom.items()}
    image_by_name = {path.lower(): content for path, content in image.items()}
    on_drive = {path.lower() for path in drive}
    changes = []
    for path, content in drive.items():
        source = rom_by_name.get(path.lower())
        in_rom = source is not None
        if source is None:
            source = image_by_name.get(path.lower())
            if source is None:
                changes.append("file %s: added (%d bytes)" % (path, content[0]))
                continue
        if content != source:
            kind = "RAM copy shadows the ROM file" if in_rom else "changed"
            changes.append("file %s: %s (%d bytes, factory %d)" % (path, kind, content[0], source[0]))
    for path in sorted(rom):
        if path.lower() not in on_drive:
            changes.append("file %s: RAM copy deleted (the ROM file returns at the next boot)" % path)
    return changes
