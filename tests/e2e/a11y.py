"""The accessibility bus, as a screen reader meets the program: a private D-Bus session bus and the AT-SPI bus
on it, started by the journey, and pyatspi as the client. Find a control by its role and name, read its name,
description and value, set a value, do its action, and wait for the events the program sends.

One bus in a process: the AT-SPI client library keeps its connection and its desktop for the life of the
process, and does not come back to a new bus after atspi_exit(). tulvane_e2e.py runs each journey in a process
of its own."""

import os
import re
import shutil
import signal
import sys
import time

from harness import WAIT, Deadline, Failure, Skip, run

LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
REGISTRY = "/usr/libexec/at-spi2-registryd"
REGISTRY_NAME = "org.a11y.atspi.Registry"
DBUS_CALL_MS = 5000
_started_in_this_process = False


def _client():
    """pyatspi and the GLib bindings under it; a Skip where this interpreter lacks them."""
    try:
        import gi

        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi, Gio, GLib
        import pyatspi
    except (ImportError, ValueError) as e:
        raise Skip(f"pyatspi is not available to {sys.executable} ({e}): the Debian package python3-pyatspi")
    return pyatspi, Atspi, Gio, GLib


class AccessibilityBus:
    """A session bus of the session's own with the accessibility bus on it. Once started, programs the session
    starts join it: their environment names both buses and turns Qt's accessibility on."""

    def __init__(self, session):
        self.session = session
        self.daemon_pid = None
        self.address = None
        self.saved_environ = {}
        self.listeners = []
        self.pyatspi, self.Atspi, self.Gio, self.GLib = _client()
        for program in ("dbus-launch", LAUNCHER, REGISTRY):
            if shutil.which(program) is None:
                raise Skip(f"{program} is not installed (the Debian packages dbus-x11 and at-spi2-core)")

    def start(self):
        global _started_in_this_process
        if _started_in_this_process:
            raise Failure("a second accessibility bus in one process: run each journey in a process of its own")
        _started_in_this_process = True
        s = self.session
        out = run(["dbus-launch", "--sh-syntax"], "dbus-launch", env=s.env).stdout.decode()
        address = re.search(r"DBUS_SESSION_BUS_ADDRESS='([^']*)'", out)
        pid = re.search(r"DBUS_SESSION_BUS_PID=(\d+)", out)
        if not address or not pid:
            raise Failure(f"dbus-launch gave no bus: {out!r}")
        # The daemon leaves dbus-launch behind: it is ended by its pid when the session ends.
        self.daemon_pid = int(pid.group(1))
        s.cleanups.append(self.stop)
        s.env["DBUS_SESSION_BUS_ADDRESS"] = address.group(1)
        s.start([LAUNCHER, "--launch-immediately"], "at-spi.log")
        session_bus = self._connect(address.group(1))
        self.address = s.wait_for(lambda: self._bus_address(session_bus), "the accessibility bus to start")
        # The registry and the program find the accessibility bus as a desktop's programs do, through the
        # session bus: Qt 6.4 does not join it when given its address in AT_SPI_BUS_ADDRESS.
        s.start([REGISTRY], "at-spi.log")
        a11y_bus = self._connect(self.address)
        s.wait_for(lambda: self._has_owner(a11y_bus, REGISTRY_NAME), "the accessibility registry to start")
        session_bus.close_sync(None)
        a11y_bus.close_sync(None)
        s.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        # The client library finds the bus through the environment of this process; named outright, so that
        # no display or bus of the caller's desktop comes into it.
        for key, value in (("AT_SPI_BUS_ADDRESS", self.address), ("DBUS_SESSION_BUS_ADDRESS", address.group(1))):
            self.saved_environ[key] = os.environ.get(key)
            os.environ[key] = value
        return self

    def stop(self):
        try:
            for listener, kinds in self.listeners:
                try:
                    self.pyatspi.Registry.deregisterEventListener(listener, *kinds)
                except self.GLib.Error:
                    pass  # the registry has gone with the session's processes
            self.listeners.clear()
        finally:
            for key, value in self.saved_environ.items():
                if value is None:
                    os.environ.pop(key, None)
                else:
                    os.environ[key] = value
            self.saved_environ.clear()
            if self.daemon_pid:
                try:
                    os.kill(self.daemon_pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
                self.daemon_pid = None

    def _connect(self, address):
        flags = self.Gio.DBusConnectionFlags
        return self.Gio.DBusConnection.new_for_address_sync(
            address, flags.AUTHENTICATION_CLIENT | flags.MESSAGE_BUS_CONNECTION, None, None
        )

    def _call(self, bus, name, path, interface, method, args, reply):
        try:
            return bus.call_sync(
                name, path, interface, method, args, self.GLib.VariantType(reply), self.Gio.DBusCallFlags.NONE,
                DBUS_CALL_MS, None,
            ).unpack()[0]
        except self.GLib.Error:
            return None

    def _bus_address(self, bus):
        return self._call(bus, "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None, "(s)")

    def _has_owner(self, bus, name):
        return self._call(
            bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
            self.GLib.Variant("(s)", (name,)), "(b)",
        )

    # -- the program's tree

    def application(self, pid, timeout=WAIT):
        """The application with this process id, once it has joined the bus."""

        def joined():
            # The desktop's list of applications follows the registry's events.
            self.pump()
            desktop = self.pyatspi.Registry.getDesktop(0)
            for app in desktop:
                try:
                    if app is not None and app.get_process_id() == pid:
                        return app
                except self.GLib.Error:
                    pass
            return None

        return self.session.wait_for(joined, f"the program (pid {pid}) on the accessibility bus", timeout=timeout)

    def find_all(self, root, role=None, name=None, showing=None):
        """The nodes under root (root too) of this role name ("label", "slider", "push button") whose name is
        name, or passes it when it is a function; with showing, only those that show on the screen or not."""
        found, todo = [], [root]
        while todo:
            node = todo.pop(0)
            try:
                if matches(node, role, name) and (showing is None or self.showing(node) == showing):
                    found.append(node)
                todo.extend(child for child in node if child is not None)
            except self.GLib.Error:
                # A node may go while the tree is walked: a menu closes, a dialog is deleted.
                continue
        return found

    def find(self, root, role=None, name=None, showing=None, timeout=WAIT):
        """The one node that find_all finds, once it is there; a Failure when none comes or several match."""
        found = self.session.wait_for(
            lambda: self.find_all(root, role, name, showing), f"a {role or 'node'} named {name!r}", timeout=timeout
        )
        if len(found) > 1:
            raise Failure(f"{len(found)} nodes of role {role} match {name!r}: {[n.name for n in found]}")
        return found[0]

    def showing(self, node):
        return node.getState().contains(self.pyatspi.STATE_SHOWING)

    def visible(self, node):
        """Not hidden, though perhaps scrolled out of view."""
        return node.getState().contains(self.pyatspi.STATE_VISIBLE)

    def focused(self, node):
        return node.getState().contains(self.pyatspi.STATE_FOCUSED)

    def enabled(self, node):
        return node.getState().contains(self.pyatspi.STATE_ENABLED)

    def focus(self, root):
        """The node under root that has the keyboard's focus, or None."""
        return next((node for node in self.find_all(root) if self.focused(node)), None)

    @staticmethod
    def value(node):
        return node.queryValue().currentValue

    def set_value(self, node, value):
        """Sets a value through the Value interface, as a screen reader's user does with the slider's keys."""
        node.queryValue().currentValue = value

    def press(self, node):
        """The node's first action: a button's press, a menu item's trigger."""
        action = node.queryAction()
        if action.nActions < 1:
            raise Failure(f"{node.getRoleName()} {node.name!r} has no action")
        if not action.doAction(0):
            raise Failure(f"{node.getRoleName()} {node.name!r} refused its action {action.getName(0)!r}")

    # -- events

    def listen(self, *kinds):
        """Starts keeping the events of these kinds ("object:property-change:accessible-name"); the list
        returned fills as events come in, as (kind, source, text): for a change of a name or a description,
        the text is the new one, as the source has it when the event is handed over (the event's own data
        reaches Python garbled: PyGObject misreads the GValue in Atspi.Event)."""
        events = []

        def keep(event):
            text = None
            try:
                if event.type.endswith(":accessible-name"):
                    text = event.source.name
                elif event.type.endswith(":accessible-description"):
                    text = event.source.description
            except self.GLib.Error:
                pass  # the source has gone
            events.append((event.type, event.source, text))

        self.pyatspi.Registry.registerEventListener(keep, *kinds)
        self.listeners.append((keep, kinds))
        return events

    def pump(self):
        """Hands the events that have come in to the listeners."""
        context = self.GLib.MainContext.default()
        while context.iteration(False):
            pass

    def wait_events(self, events, test, what, timeout=WAIT):
        """Hands the events over until test, given the list from listen, accepts it."""
        deadline = Deadline(timeout)
        while True:
            self.pump()
            if test(events):
                return events
            if deadline.expired():
                seen = [(kind, text) for kind, _, text in events]
                raise Failure(f"timed out after {timeout:.0f} s (stretched by the load) waiting for {what}; "
                              f"events seen: {seen}")
            time.sleep(0.05)


def matches(node, role, name):
    if role is not None and node.getRoleName() != role:
        return False
    if name is None:
        return True
    return name(node.name) if callable(name) else node.name == name


def same_node(a, b):
    """Whether two references are to one node: the same object path in the same application."""
    return a.path == b.path and a.get_application() == b.get_application()
