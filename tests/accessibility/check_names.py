#!/usr/bin/python3
"""Walks talvmon's windows over the AT-SPI bus and fails when a control a
screen reader would announce has no name. Opens the windows through the
menus, as a user would, on the talvmon given as the first argument, whose default
device is an FT1 card of a running talvcard."""

import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

NAMED_ROLES = {
    Atspi.Role.PUSH_BUTTON, Atspi.Role.CHECK_BOX, Atspi.Role.RADIO_BUTTON,
    Atspi.Role.COMBO_BOX, Atspi.Role.TEXT, Atspi.Role.ENTRY, Atspi.Role.LIST,
    Atspi.Role.LIST_BOX, Atspi.Role.SPIN_BUTTON, Atspi.Role.MENU_ITEM,
    Atspi.Role.CHECK_MENU_ITEM, Atspi.Role.FRAME, Atspi.Role.DIALOG,
    Atspi.Role.INTERNAL_FRAME, Atspi.Role.PROGRESS_BAR, Atspi.Role.IMAGE,
}


def wait_for(what, find, seconds=10.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found is not None:
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


def walk(node, path=()):
    try:
        count = node.get_child_count()
    except gi.repository.GLib.Error:
        return
    yield node, path
    for i in range(count):
        child = node.get_child_at_index(i)
        if child is not None:
            yield from walk(child, path + (f"{child.get_role_name()} '{child.get_name()}'",))


def find(app, role, name):
    for node, _ in walk(app):
        if node.get_role() == role and node.get_name() == name:
            return node
    return None


def act(app, role, name):
    node = wait_for(f"{role.value_nick} '{name}'", lambda: find(app, role, name))
    try:
        node.do_action(0)
    except gi.repository.GLib.Error:
        pass  # an action that opens a modal dialog answers only once it closes
    time.sleep(0.3)


def spoken_name(node):
    """The name a screen reader announces: a combo box is named by the label
    it is tied to, other controls by their own name."""
    if node.get_role() == Atspi.Role.COMBO_BOX:
        for relation in node.get_relation_set():
            if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY:
                return relation.get_target(0).get_name()
        return ""
    return node.get_name() or ""


def unnamed(app):
    missing = []
    for node, path in walk(app):
        showing = node.get_state_set().contains(Atspi.StateType.VISIBLE)
        if showing and node.get_role() in NAMED_ROLES and not spoken_name(node).strip():
            missing.append(" > ".join(path) or node.get_role_name())
    return missing


def main():
    with open(os.environ["TALVMON_INI"], "w") as ini:
        ini.write("[Polling]\nuse_system_timer=1\ntick_interval_ms=200\n")
    log = open(os.path.join(os.environ["XDG_RUNTIME_DIR"], "talvmon.log"), "w")
    talvmon = subprocess.Popen([sys.argv[1]], stdout=log, stderr=subprocess.STDOUT)
    try:
        return check()
    finally:
        talvmon.kill()
        talvmon.wait()


def check():
    Atspi.set_timeout(3000, 20000)
    app = wait_for("talvmon on the accessibility bus", lambda: application("talvmon"), 60)
    problems = []
    act(app, Atspi.Role.MENU_ITEM, "Open Device")
    # The first open of an unconfigured card asks for its configuration.
    wait_for("the configuration dialog", lambda: find(app, Atspi.Role.PUSH_BUTTON, "Cancel"))
    problems += unnamed(app)
    act(app, Atspi.Role.PUSH_BUTTON, "OK")
    for item in ["Open All", "Enable Communications", "Send Frames...", "FT1 Status Monitor",
                 "Operational\\Error Statistics", "Advanced T1 Configuration"]:
        act(app, Atspi.Role.MENU_ITEM, item)
    time.sleep(1)
    problems += unnamed(app)
    act(app, Atspi.Role.MENU_ITEM, "Configure...")
    wait_for("the polling dialog", lambda: find(app, Atspi.Role.PUSH_BUTTON, "Cancel"))
    problems += unnamed(app)
    act(app, Atspi.Role.PUSH_BUTTON, "Cancel")
    controls = sum(1 for node, _ in walk(app) if node.get_role() in NAMED_ROLES)
    for line in sorted(set(problems)):
        print("no accessible name:", line)
    print(f"{controls} controls checked, {len(set(problems))} without a name")
    return 1 if problems or controls < 50 else 0


if __name__ == "__main__":
    sys.exit(main())
