#!/usr/bin/python3
"""Reads talvmon and configurator as a screen reader does, over the AT-SPI
bus: every child window is found as a frame by its title, every value by
the caption that labels it, every light says its state, and check boxes
toggled through AT-SPI change the program and the card.

Arguments: talvmon, configurator. TALVCARD names the running simulator,
whose demo card TALVSTRM0 has an FT1 unit."""

import os
import re
import subprocess
import sys
import time

import warnings
import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

warnings.simplefilter("ignore", DeprecationWarning)
failures = []


def fail(text):
    print("FAIL:", text)
    failures.append(text)


def wait_for(what, find, seconds=10.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            found = find()
        except GLib.Error:
            found = None
        if found:
            return found
        time.sleep(0.1)
    sys.exit(f"timed out waiting for {what}")


def application(name):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_name() == name:
            return app
    return None


def walk(node):
    try:
        count = node.get_child_count()
    except GLib.Error:
        return
    yield node
    for i in range(count):
        child = node.get_child_at_index(i)
        if child is not None:
            yield from walk(child)


def find(root, role, name):
    for node in walk(root):
        if node.get_role() == role and node.get_name() == name:
            return node
    return None


def find_frame(app, title):
    """A child window is a frame, or an internal frame, named by its title."""
    return find(app, Atspi.Role.FRAME, title) or find(app, Atspi.Role.INTERNAL_FRAME, title)


def act(node, action_name=None):
    count = node.get_n_actions()
    index = 0
    if action_name is not None:
        names = [Atspi.Action.get_action_name(node, i) for i in range(count)]
        if action_name not in names:
            fail(f"'{node.get_name()}' offers {names}, not {action_name}")
            return
        index = names.index(action_name)
    try:
        node.do_action(index)
    except GLib.Error:
        pass  # an action that opens a modal dialog answers only once it closes
    time.sleep(0.3)


def menu(app, name):
    act(wait_for(f"menu item '{name}'", lambda: find(app, Atspi.Role.MENU_ITEM, name)))


def value_of(node):
    if node.get_role() in (Atspi.Role.TEXT, Atspi.Role.ENTRY):
        return Atspi.Text.get_text(node, 0, -1)
    return node.get_name()


def captions(root):
    """Each caption with the control it labels, as a screen reader pairs them."""
    pairs = {}
    for node in walk(root):
        if node.get_role() != Atspi.Role.LABEL:
            continue
        for relation in node.get_relation_set():
            if relation.get_relation_type() == Atspi.RelationType.LABEL_FOR:
                pairs[node.get_name()] = relation.get_target(0)
    return pairs


def expect_values(window, expected):
    """expected: caption -> pattern the value must match."""
    for caption, pattern in expected.items():
        def read():
            target = captions(window).get(caption)
            if target is None:
                return None
            value = value_of(target)
            return value if re.fullmatch(pattern, value or "") else None
        deadline = time.monotonic() + 5
        value = None
        while value is None and time.monotonic() < deadline:
            try:
                value = read()
            except GLib.Error:
                pass
            if value is None:
                time.sleep(0.2)
        if value is None:
            target = captions(window).get(caption)
            fail(f"'{caption}' in '{window.get_name()}' reads "
                 f"{value_of(target) if target else 'nothing'!r}, not /{pattern}/")
        else:
            print(f"{window.get_name()}: {caption} {value}")


def checked(node):
    return node.get_state_set().contains(Atspi.StateType.CHECKED)


def toggle(node):
    before = checked(node)
    act(node, "Toggle")
    if checked(node) == before:
        fail(f"toggling '{node.get_name()}' did not change it")


def card_state(device):
    out = subprocess.run([os.environ["TALVCARD"], "ctl", "state", device],
                         capture_output=True, text=True, check=False).stdout
    return dict(word.split("=", 1) for word in out.split() if "=" in word)


LIGHT = r"(INS|ERR|TXD|RXD|ST|DL|LL|RT): (off|green|red)"


class LightAnnouncements:
    """Collects the name changes of FT1 lights that the bus announces."""

    EVENT = "object:property-change:accessible-name"

    def __init__(self):
        self.heard = []
        self.listener = Atspi.EventListener.new(self.on_change)
        self.listener.register(self.EVENT)

    def on_change(self, event):
        try:
            name = event.source.get_name()
        except GLib.Error:
            return
        # A light coming on, not the naming of a new window's dark lights.
        if re.fullmatch(LIGHT, name or "") and not name.endswith(": off"):
            self.heard.append(name)

    def wait(self, seconds):
        context = GLib.MainContext.default()
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline and not self.heard:
            context.iteration(False)
            time.sleep(0.01)
        self.listener.deregister(self.EVENT)
        return self.heard


def open_device(app, media):
    """Opens the default device, configured for the media chosen through the bus."""
    menu(app, "Open Device")
    setup = wait_for("the configuration dialog",
                     lambda: find(app, Atspi.Role.DIALOG, "Set Streaming Configuration on Device"))
    # Every option toggled through the bus goes into the configuration the card gets.
    for box in [n for n in walk(setup) if n.get_role() == Atspi.Role.CHECK_BOX]:
        toggle(box)
    media_box = captions(setup)["Media Type:"]
    act(find(media_box, Atspi.Role.LIST_ITEM, media), "Toggle")
    if media_box.get_name() != media:
        fail(f"media type chosen through the bus reads {media_box.get_name()!r}")
    act(find(setup, Atspi.Role.PUSH_BUTTON, "OK"))
    return setup


def modal(app, item, title):
    """The dialog the menu item opens, its title matching the pattern."""
    menu(app, item)
    return wait_for(f"dialog '{title}'", lambda: next(
        (n for n in walk(app) if n.get_role() == Atspi.Role.DIALOG and re.fullmatch(title, n.get_name())), None))


def check_talvmon(app):
    open_device(app, "Serial/FT1")
    # Defaults: ignore modem changes; count frames and bytes both ways.
    state = wait_for("the configuration on the card", lambda: (lambda s: s if "modem_options" in s else None)(
        card_state("TALVSTRM0")))
    if (state["modem_options"], state["statistics_options"]) != ("1", "12"):
        fail(f"check boxes toggled through the bus did not reach the card: {state}")

    monitor_windows = {
        "Polling and Device Info": {"Device Name:": "TALVSTRM0", "Status:": "Opened",
                                    "Last Active Command Result:": "Success|0x[0-9A-F]{2}"},
        "Link Status": {"Channel status:": "ACTIVE|INACTIVE", "Frames queued for reception:": r"\d+",
                        "Receiver status:": "ENABLED|DISABLED"},
        "Operational Statistics": {"Number of frames transmitted:": r"\d+",
                                   "Number of bytes received:": r"\d+"},
        "Communications Error Statistics": {"Number of receiver CRC errors:": r"\d+",
                                            "Application IRQ timeout count:": r"\d+"},
        "Modem Status": {"DCD:": "High|Low", "CTS:": "High|Low"},
    }
    menu(app, "Open All")
    for title, values in monitor_windows.items():
        window = wait_for(f"frame '{title}'", lambda: find_frame(app, title))
        expect_values(window, values)

    # DTR and RTS toggled through the bus reach the card.
    before = card_state("TALVSTRM0")
    menu(app, "Set Modem Status")
    dialog = wait_for("dialog 'Set Modem Status'", lambda: find(app, Atspi.Role.DIALOG, "Set Modem Status"))
    for name in ["DTR (checked is high)", "RTS (checked is high)"]:
        toggle(find(dialog, Atspi.Role.CHECK_BOX, name))
    act(find(dialog, Atspi.Role.PUSH_BUTTON, "OK"))
    after = wait_for("the modem signals on the card",
                     lambda: (lambda s: s if s.get("dtr") != before.get("dtr") else None)(card_state("TALVSTRM0")))
    if after.get("rts") == before.get("rts"):
        fail(f"RTS toggled through AT-SPI did not reach the card: {before} -> {after}")
    print("card before", before, "after", after)

    menu(app, "Enable Communications")
    detail = wait_for("frame 'Receive Detail'", lambda: find_frame(app, "Receive Detail"))
    if wait_for("communications on the card", lambda: card_state("TALVSTRM0").get("comms") == "1") is None:
        fail("communications not enabled")
    for name in ["Display received frames", "Count:"]:
        box = find(detail, Atspi.Role.CHECK_BOX, name)
        toggle(box)
        toggle(box)

    menu(app, "Send Frames...")
    send = wait_for("frame 'Send Frames'", lambda: find_frame(app, "Send Frames"))
    toggle(find(send, Atspi.Role.CHECK_BOX, "Data is Text"))
    expect_values(send, {"Data:": ""})

    announcements = LightAnnouncements()
    menu(app, "FT1 Status Monitor")
    status = wait_for("frame for the FT1 status", lambda: find_frame(app, "Talvora VR20/VR40 FT-1 Status Window"))
    lights = [n.get_name() for n in walk(status) if re.fullmatch(LIGHT, n.get_name() or "")]
    if len(lights) != 8:
        fail(f"FT1 status lights read {lights}")
    print("FT1 lights:", ", ".join(lights))
    # The lights leave their first "off" and the unit's tests flash them: each change is announced.
    act(find(status, Atspi.Role.PUSH_BUTTON, "SELECT"))
    heard = announcements.wait(10)
    if not heard:
        fail("no change of an FT1 light was announced")
    print("announced:", ", ".join(heard[:4]))

    menu(app, "Operational\\Error Statistics")
    wait_for("frame 'FT1 Operational Statistics'", lambda: find_frame(app, "FT1 Operational Statistics"))
    menu(app, "Advanced T1 Configuration")
    wait_for("frame 'Advanced T1 Configuration'", lambda: find_frame(app, "Advanced T1 Configuration"))

    menu(app, "Memory Dump")
    dump = wait_for("dialog of the memory dump",
                    lambda: find(app, Atspi.Role.DIALOG, "Adapter Memory Dump - for expert use only!"))
    expect_values(dump, {"Address (hex):": "e000", "Length (hex)": "100"})
    act(find(dump, Atspi.Role.PUSH_BUTTON, "Close"))

    streaming = modal(app, "Streaming", r"CHDLC v\S+ Configuration")
    expect_values(streaming, {"Maximum frame size:": r"\d+", "Actual bit rate (bps):": r"\d+"})
    act(find(streaming, Atspi.Role.PUSH_BUTTON, "OK"))
    polling = modal(app, "Configure...", "Quarnel Configuration")
    expect_values(polling, {"Polling interval (ms):": "200"})
    act(find(polling, Atspi.Role.PUSH_BUTTON, "Cancel"))
    about = modal(app, "About...", "About Talvlink Monitor")
    act(find(about, Atspi.Role.PUSH_BUTTON, "OK"))
    menu(app, "Close Device")
    select = modal(app, "Select Device...", "New Device")
    expect_values(select, {"Current device:": "TALVSTRM0"})
    act(find(select, Atspi.Role.PUSH_BUTTON, "Cancel"))


def check_talvmon_t1(app):
    open_device(app, "T1")
    menu(app, "TE1 Alarms")
    alarms = wait_for("frame for the TE1 alarms", lambda: find_frame(app, "Talvora TE-1 Alarms Window"))
    expect_values(alarms, {"Framing Bit Error Count: ": r"\d+", "LCV Error Count: ": r"-?\d+"})
    lights = [n.get_name() for n in walk(alarms) if re.fullmatch(r"(OOF|RED|AIS|YEL): (off|green|red)",
                                                                 n.get_name() or "")]
    if len(lights) != 4:
        fail(f"TE1 alarm lights read {lights}")
    menu(app, "TE1 Tests")
    tests = wait_for("frame 'T1/E1 Tests'", lambda: find_frame(app, "T1/E1 Tests"))
    act(find(tests, Atspi.Role.PUSH_BUTTON, "Activate Line Loop Back Mode"))
    wait_for("the line loop-back switched on",
             lambda: find(tests, Atspi.Role.PUSH_BUTTON, "Deactivate Line Loop Back Mode"))
    register = modal(app, "Read Redister", r"Read Register")
    Atspi.EditableText.set_text_contents(captions(register)["Register (hex):"], "1")
    act(find(register, Atspi.Role.PUSH_BUTTON, "Read"))
    expect_values(register, {"Value:": r"0x[0-9A-F]+|\?"})
    act(find(register, Atspi.Role.PUSH_BUTTON, "Close"))


def check_talvmon_56k(app):
    open_device(app, "56K")
    menu(app, "56K Status Monitor")
    status = wait_for("frame for the 56K status", lambda: find_frame(app, "Talvora 56K DSU\\CSU Alarms Window"))
    expect_values(status, {"Insertion Loss ( dB ): ": r"[\d.]+", "Line Length ( km ): ": r"[\d.]+"})
    lights = [n.get_name() for n in walk(status)
              if re.fullmatch(r"(INS|DMI|ZSC|CMI|OOS|OOF|DLP|UMC|RLOS): (off|green|red)", n.get_name() or "")]
    if len(lights) != 9:
        fail(f"56K lights read {lights}")


def check_configurator(app):
    dialog = wait_for("the configurator's dialog",
                      lambda: find(app, Atspi.Role.DIALOG, "Talvora Talvlink Configurator")
                      or find(app, Atspi.Role.FRAME, "Talvora Talvlink Configurator"))
    devices = wait_for("the device list", lambda: next(
        (n for n in walk(dialog) if n.get_role() in (Atspi.Role.LIST, Atspi.Role.LIST_BOX)
         and n.get_name() == "Devices Available for API:"), None))
    lines = [n.get_name() for n in walk(devices) if n.get_role() == Atspi.Role.LIST_ITEM]
    if len(lines) < 4:
        fail(f"configurator lists {lines}")
    print("configurator:", lines)


def run(program, name, check):
    log = open(os.path.join(os.environ["XDG_RUNTIME_DIR"], name + ".log"), "w")
    process = subprocess.Popen([program], stdout=log, stderr=subprocess.STDOUT)
    try:
        check(wait_for(f"{name} on the accessibility bus", lambda: application(name), 60))
    finally:
        process.kill()
        process.wait()


def on_device(device):
    with open(os.environ["TALVMON_INI"], "w") as ini:
        ini.write(f"[Polling]\nuse_system_timer=1\ntick_interval_ms=200\n[Hardware]\ndefault_device={device}\n")


def main():
    Atspi.set_timeout(3000, 20000)
    on_device("TALVSTRM0")
    run(sys.argv[1], "talvmon", check_talvmon)
    on_device("TALVSTRM1")
    run(sys.argv[1], "talvmon", check_talvmon_t1)
    on_device("TALVSTRM3")
    run(sys.argv[1], "talvmon", check_talvmon_56k)
    run(sys.argv[2], "configurator", check_configurator)
    print(f"{len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
