"""The spraying page as a screen reader drives it (see run-spraying-page.sh)."""
import sys
import time

import pyatspi
from gi.repository import GLib

SIM_LOG = sys.argv[1]
failures = []


def check(what, ok):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


def application(name="r7assistant", timeout=30):
    end = time.time() + timeout
    while time.time() < end:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.5)
    sys.exit("the program did not appear on the accessibility bus")


def nodes(node):
    yield node
    for child in node:
        if child is not None:
            yield from nodes(child)


def lookup(app, name, role):
    for node in nodes(app):
        if node.name == name and node.getRoleName() == role:
            return node
    return None


def find(app, name, role):
    node = lookup(app, name, role)
    if node is None:
        sys.exit("no %s named %s" % (role, name))
    return node


def act(node, action):
    actions = node.queryAction()
    for i in range(actions.nActions):
        if actions.getName(i).lower() == action:
            try:
                actions.doAction(i)
            except GLib.Error:
                # The page buttons' click runs the paced reads (up to 2 s) before the program
                # answers; the bus may give up waiting although the action is done.
                print("note %s: %s answered late" % (node.name, action))
            return
    sys.exit("%s offers no %s" % (node.name, action))


def checked(node):
    return node.getState().contains(pyatspi.STATE_CHECKED)


def wire(kind):
    """Payloads of the frames of a type and length the simulator received, in order."""
    with open(SIM_LOG, encoding="utf-8") as log:
        return [line.split(" payload ")[1].strip() for line in log if kind in line and " payload " in line]


def wait_for(predicate, timeout=5.0):
    end = time.time() + timeout
    while time.time() < end:
        if predicate():
            return True
        time.sleep(0.1)
    return predicate()


app = application()
if not wait_for(lambda: lookup(app, "已连接", "push button") is not None, 20):
    sys.exit("the program did not connect to the simulator")
time.sleep(6)  # the read-back after the handshake

act(find(app, "植保", "page tab"), "press")
time.sleep(2.5)
act(find(app, "喷幅", "page tab"), "press")
time.sleep(0.5)
width = find(app, "喷幅", "spin button")
width.queryValue().currentValue = 3.3
act(find(app, "设置喷幅", "push button"), "press")
check("a spray width of 3.3 m travels as 330", wait_for(lambda: "4a 01" in wire("0x17 length 2")))

act(find(app, "药泵校准", "page tab"), "press")
time.sleep(1)
normal = find(app, "工作喷速药泵开关", "check box")
minimum = find(app, "最小喷速药泵开关", "check box")
before = len(wire("0x19 length 2"))
find(app, "工作喷速", "slider").queryValue().currentValue = 70
time.sleep(0.5)
check("a bar moved while its switch is off sends nothing", len(wire("0x19 length 2")) == before)
act(normal, "toggle")
time.sleep(0.3)
find(app, "工作喷速", "slider").queryValue().currentValue = 44
check("the normal row runs at 44 %", wait_for(lambda: wire("0x19 length 2")[-1:] == ["01 2c"]))
act(minimum, "toggle")
check("switching the minimum row on stops the normal row (0x11)", wait_for(lambda: wire("0x19 length 2")[-1:] == ["11 2c"]))
check("and switches it off on the page", not checked(normal) and checked(minimum))
find(app, "最小喷速", "spin button").queryValue().currentValue = 18
check("the minimum row runs at 18 %", wait_for(lambda: wire("0x19 length 2")[-1:] == ["02 12"]))
act(find(app, "传感开关", "page tab"), "press")
check("leaving the pump tab stops the run (0x12)", wait_for(lambda: wire("0x19 length 2")[-1:] == ["12 12"]))

radar = find(app, "辅助定高雷达开关", "check box")
height = lambda: [n.name for n in nodes(app) if n.name and n.name.startswith("当前探测高度：")][0]
check("the radar height shows metres with two decimals while the radar is on",
      wait_for(lambda: checked(radar) and height().endswith(" 米") and "." in height()))
act(radar, "toggle")
check("radar off is sent", wait_for(lambda: wire("0x1b length 3")[-1:] == ["00 02 ff"]))
time.sleep(1)
check("and the height is N/A", height() == "当前探测高度：无数据")
act(radar, "toggle")
time.sleep(0.5)

act(find(app, "药泵校准", "page tab"), "press")
time.sleep(1)
act(normal, "toggle")
time.sleep(0.3)
find(app, "工作喷速", "slider").queryValue().currentValue = 57
check("the normal row runs at 57 %", wait_for(lambda: wire("0x19 length 2")[-1:] == ["01 39"]))
act(find(app, "设置", "page tab"), "press")
check("another page stops the run", wait_for(lambda: wire("0x19 length 2")[-1:] == ["11 39"]))

act(find(app, "植保", "page tab"), "press")
time.sleep(2.5)
act(find(app, "药泵校准", "page tab"), "press")
time.sleep(1)
act(find(app, "最小喷速药泵开关", "check box"), "toggle")
time.sleep(0.3)
find(app, "最小喷速", "slider").queryValue().currentValue = 23
check("the minimum row runs at 23 %", wait_for(lambda: wire("0x19 length 2")[-1:] == ["02 17"]))
act(find(app, "关闭", "push button"), "press")
check("closing the window stops the run", wait_for(lambda: wire("0x19 length 2")[-1:] == ["12 17"]))

print("%d failed" % len(failures) if failures else "all passed")
sys.exit(1 if failures else 0)
