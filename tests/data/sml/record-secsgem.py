"""Records how secsgem writes .BIG messages as SML (its SecsStreamFunction repr).

Usage: python3 record-secsgem.py SECSGEM_SOURCE FILE.BIG... > OUT.sml
SECSGEM_SOURCE is a checkout of github.com/bparzella/secsgem (the folder
holding the secsgem package). The pyserial module is only imported by
secsgem's serial transport, so an empty stand-in is enough here.
"""
import sys
import types

sys.path.insert(0, sys.argv[1])
sys.modules.setdefault("serial", types.ModuleType("serial"))

from secsgem.secs import variables as V  # noqa: E402
from secsgem.secs.functions.base import SecsStreamFunction  # noqa: E402

CLASSES = {0o10: V.Binary, 0o11: V.Boolean, 0o20: V.String, 0o21: V.JIS8, 0o30: V.I8,
           0o31: V.I1, 0o32: V.I2, 0o34: V.I4, 0o40: V.F8, 0o44: V.F4, 0o50: V.U8,
           0o51: V.U1, 0o52: V.U2, 0o54: V.U4}
serial_number = [0]


def unique_name():
    serial_number[0] += 1
    return f"N{serial_number[0]}"


def data_format(body, pos):
    """secsgem needs a data format to decode: build it from the item stream."""
    number, nlen = body[pos] >> 2, body[pos] & 3
    length = int.from_bytes(body[pos + 1:pos + 1 + nlen], "big")
    pos += 1 + nlen
    if number == 0:
        items = [unique_name()]  # a name keeps one-item lists from becoming arrays
        for _ in range(length):
            item, pos = data_format(body, pos)
            items.append(item)
        return items, pos
    name = unique_name()
    return type(name, (CLASSES[number],), {"name": name}), pos + length


for path in sys.argv[2:]:
    raw = open(path, "rb").read()
    body = raw[10:]
    fmt, end = data_format(body, 0) if len(body) > 1 else (None, 0)

    class Message(SecsStreamFunction):
        _stream = raw[2] & 0x7F
        _function = raw[3]
        _data_format = fmt
        _is_reply_required = bool(raw[2] & 0x80)

    message = Message()
    if fmt is not None:
        message.decode(body[:end])
    sys.stdout.write(repr(message) + "\n")
