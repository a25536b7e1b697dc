# What a screen reader finds of the running program on the accessibility bus, and what it can do
# there. Arguments: the program's working folder and its main window's X id (for xdotool).
import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

folder, window = sys.argv[1], sys.argv[2]
failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what)
    if not condition:
        failures.append(what)


def states(o):
    return {pyatspi.stateToString(s) for s in o.getState().getStates()}


def application():
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "metronome":
                return app
        time.sleep(0.1)
    sys.exit("FAIL  the program is not on the accessibility bus")


def window_named(app, name, tries=50):
    for _ in range(tries):
        for w in app:
            if w is not None and w.name == name:
                return w
        time.sleep(0.1)
    return None


def wait_for(test, seconds=3.0):
    until = time.time() + seconds
    while time.time() < until:
        if test():
            return True
        time.sleep(0.05)
    return test()


app = application()
main = window_named(app, "Vorla Metronome 2007.11.11")
check(main is not None and main.getRoleName() == "dialog", "the main window is a dialog")
controls = list(main)

# The template, control by control: role and name.
expected = [("combo box", "Tempo"), ("push button", "On/Off"),
            ("panel", "Click sound & Volume level"), ("radio button", "Metronome"),
            ("radio button", "Digital"), ("radio button", "Closed Hi-Hat"),
            ("radio button", "Rim"), ("panel", "Signature")]
expected += [("radio button", s) for s in
             ["1/4", "2/4", "3/4", "4/4", "5/4", "6/4", "1/8", "2/8", "3/8", "4/8", "5/8", "6/8"]]
expected += [("slider", "Volume level"), ("push button", "Tap"), ("check box", "No fixed scale"),
             ("entry", "Tempo"), ("entry", "Tempo name")]
expected += [("push button", n) for n in "23456178"]
expected += [("text", "Comments"), ("push button", "Save"), ("label", "Save")]
found = [(c.getRoleName(), c.name) for c in controls]
check(found == expected, "every control has its role and name: %s" % found)
by_name = {}
for c in controls:
    by_name.setdefault(c.name, c)

check("is default" in states(by_name["On/Off"]), "On/Off is the default button")
check("checked" in states(by_name["1/4"]) and "checked" not in states(by_name["2/4"]),
      "\"1/4\" is checked, \"2/4\" is not")
tempo_edit = controls[23]
check("showing" not in states(tempo_edit) and "editable" in states(tempo_edit)
      and "single line" in states(tempo_edit), "the tempo number: hidden, editable, one line")
check("multi line" in states(by_name["Comments"]), "the comments are multi-line")
check(by_name["Comments"].queryText().getText(0, -1) ==
      "Place here comments for 1...8 user presets", "the comments' text")
tempo_list = controls[0]
check(tempo_list.childCount == 40 and tempo_list[39].name == "A4 TONE (440 Hz)",
      "the tempo list has its 40 rows")
check(tempo_list.querySelection().getSelectedChild(0).name == "100 Andante",
      "\"100 Andante\" is the chosen row")
save_button = controls[34]
labelled = [r for r in save_button.getRelationSet()
            if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
check(labelled and labelled[0].getTarget(0).getRoleName() == "label",
      "the tiny button is labelled by the static \"Save\"")
members = [r for r in by_name["Rim"].getRelationSet()
           if r.getRelationType() == pyatspi.RELATION_MEMBER_OF]
check(members and members[0].getNTargets() == 4, "\"Rim\" is a member of a group of four")

# The slider's value, set as a reader sets it.
volume = by_name["Volume level"].queryValue()
check(volume.minimumValue == 0 and volume.maximumValue == 65535, "the volume runs 0 to 65535")
volume.currentValue = 12345
check(wait_for(lambda: int(volume.currentValue) == 12345), "the volume was set to 12345")


# The program's stream's own volume in the sound server (its right channel), as the mixer shows it.
def stream_volume():
    listing = subprocess.run(["pactl", "list", "sink-inputs"], capture_output=True, text=True)
    found = re.search(r"front-right: (\d+)", listing.stdout)
    return int(found.group(1)) if found else None


check(wait_for(lambda: (stream_volume() or 65536) < 65536),
      "the stream's volume in the server followed: %s of 65536" % stream_volume())

# On/Off's action starts the click, and again stops it (the shell script hears it).
on_off = by_name["On/Off"].queryAction()
check(on_off.getName(0) == "press", "On/Off's action is \"press\"")
on_off.doAction(0)
time.sleep(1.5)
on_off.doAction(0)
time.sleep(0.3)

# A radio's action checks it, and the next save stores it.
by_name["Rim"].queryAction().doAction(0)
check(wait_for(lambda: "checked" in states(by_name["Rim"])), "\"Rim\" checked by its action")
save_button.queryAction().doAction(0)
save = window_named(app, "Save User Preset")
check(save is not None, "the Save User Preset dialog opened")
if save is not None:
    save_list = [c for c in save if c.getRoleName() == "combo box"][0]
    save_list.querySelection().selectChild(2)  # preset "3"
    check(wait_for(lambda: save_list.querySelection().getSelectedChild(0).name == "3"),
          "preset 3 chosen through the selection")
    [c for c in save if c.name == "OK"][0].queryAction().doAction(0)
    bank = os.path.join(folder, "bank3.dat")
    check(wait_for(lambda: os.path.exists(bank)), "bank3.dat written")
    time.sleep(0.2)
    with open(bank, "rb") as f:
        data = f.read()
    # The click sound is the last number, before the comments (a short string: 4 bytes, then
    # UTF-16).
    comments = "Place here comments for 1...8 user presets"
    sound = data[-(4 + 2 * len(comments)) - 4:-(4 + 2 * len(comments))]
    check(sound == b"\x03\x00\x00\x00", "the stored click sound is \"Rim\" (3): %r" % sound)

# An empty preset opens an alert whose text is read.
by_name["4"].queryAction().doAction(0)
alert = None
for _ in range(50):
    alert = next((w for w in app if w is not None and w.getRoleName() == "alert"), None)
    if alert is not None:
        break
    time.sleep(0.1)
check(alert is not None, "an alert opened")
if alert is not None:
    text = [c for c in alert if c.getRoleName() == "label"][0].queryText().getText(0, -1)
    check(text == "This preset is empty", "the alert says \"%s\"" % text)
    ok = [c for c in alert if c.getRoleName() == "push button"]
    check(len(ok) == 1 and ok[0].name == "OK", "the alert's one button is OK")
    if ok:
        ok[0].queryAction().doAction(0)
    check(wait_for(lambda: all(w is None or w.getRoleName() != "alert" for w in app)),
          "the alert closed by its OK button's action")

# Tab: a focus event for each stop, in the template's order.
focused = []


def on_focus(event):
    try:
        if event.detail1 == 1:
            focused.append(event.source.name)
    except GLib.GError:
        pass  # an object of a window closed since


def tab_through():
    focused.clear()  # the reports of what came before, delivered as the loop started
    subprocess.run(["xdotool", "key", "--delay", "80"] + ["Tab"] * 17, check=True)
    GLib.timeout_add(1500, type_tempo)
    return False


# Typing a tempo: the tempo name's text changes, and is read whole.
names = []


def on_text(event):
    try:
        if event.source.name == "Tempo name" and event.type.endswith("insert"):
            names.append(event.any_data)
    except GLib.GError:
        pass


def type_tempo():
    by_name["No fixed scale"].queryAction().doAction(0)
    time.sleep(0.3)
    tempo_edit.queryComponent().grabFocus()
    time.sleep(0.3)
    subprocess.run(["xdotool", "key", "--delay", "80", "ctrl+a", "1", "2", "0"], check=True)
    GLib.timeout_add(1500, lambda: pyatspi.Registry.stop())
    return False


subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
tempo_list.queryComponent().grabFocus()
check(wait_for(lambda: "focused" in states(tempo_list)), "the tempo list grabbed the focus")
pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
pyatspi.Registry.registerEventListener(on_text, "object:text-changed")
GLib.timeout_add(1000, tab_through)
pyatspi.Registry.start()
# A radio group is one stop, at its checked button.
order = ["On/Off", "Rim", "1/4", "Volume level", "Tap", "No fixed scale",
         "2", "3", "4", "5", "6", "1", "7", "8", "Comments", "Save", "Tempo"]
check(focused[:len(order)] == order, "Tab gives focus events in tab order: %s" % focused)
check(names == ["Largo", "Moderato/Allegro"], "typing 120 names the tempo: %s" % names)

sys.exit(1 if failures else 0)
