"""Keys pressed as a keyboard presses them, and the active XKB group, on the
display in $DISPLAY. The walk on a server with several layouts needs both:
xdotool locks the group of every keysym it sends for the length of the key,
so a key it sends is never read under the layout the program chose.

  xkb_keys.py group              prints the active group
  xkb_keys.py wait GROUP         waits (up to 5 s) until GROUP is active
  xkb_keys.py lock GROUP         locks GROUP, as a layout switcher does
  xkb_keys.py keys COMBO...      presses each combination, e.g. ctrl+shift+51

A key is a keysym name of the first layout (Tab, e) or a keycode (51); the
server reads it under whatever group is active, as it reads a real key.
"""
import ctypes
import sys
import time

x11 = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XkbGetState.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_void_p]
x11.XStringToKeysym.restype = ctypes.c_ulong
x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
x11.XKeysymToKeycode.restype = ctypes.c_ubyte
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XkbLockGroup.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_uint]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

XkbUseCoreKbd = 0x100
MODIFIERS = {"ctrl": "Control_L", "shift": "Shift_L", "alt": "Alt_L"}

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("xkb_keys.py: cannot open the display")


def group():
    # XkbStateRec starts with the effective group, one byte.
    state = ctypes.create_string_buffer(32)
    if x11.XkbGetState(display, XkbUseCoreKbd, state) != 0:
        sys.exit("xkb_keys.py: the server has no XKB state")
    return state.raw[0]


def keycode(name):
    if name.isdigit():
        return int(name)
    code = x11.XKeysymToKeycode(display, x11.XStringToKeysym(name.encode()))
    if not code:
        sys.exit("xkb_keys.py: no key gives " + name)
    return code


command, args = sys.argv[1], sys.argv[2:]
if command == "group":
    print(group())
elif command == "wait":
    # The server applies a group lock when it gets to it.
    wanted = int(args[0])
    deadline = time.monotonic() + 5
    while group() != wanted and time.monotonic() < deadline:
        time.sleep(0.05)
    seen = group()
    print(seen)
    sys.exit(0 if seen == wanted else 1)
elif command == "lock":
    x11.XkbLockGroup(display, XkbUseCoreKbd, int(args[0]))
    x11.XSync(display, False)
elif command == "keys":
    for combination in args:
        codes = [keycode(MODIFIERS.get(part, part)) for part in combination.split("+")]
        for code in codes:
            xtst.XTestFakeKeyEvent(display, code, True, 0)
        for code in reversed(codes):
            xtst.XTestFakeKeyEvent(display, code, False, 0)
        x11.XSync(display, False)
        time.sleep(0.06)
else:
    sys.exit("xkb_keys.py: group, wait GROUP, lock GROUP or keys COMBO...")
