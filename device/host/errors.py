"""The device host's one error: what it tells the user, who can do something about it."""


class DeviceError(Exception):
    pass
