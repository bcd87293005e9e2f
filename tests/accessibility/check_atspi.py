#!/usr/bin/python3
"""The real program read and driven through AT-SPI, as a screen reader reads and drives it.

Runs inside with_xvfb.sh and with_atspi.sh: an X server, a private session bus and the
accessibility bus. Starts the program given as the first argument from a folder of its own
(its Farben.mdb lands beside it) and checks what an AT-SPI client receives: every window with a
window role, its title and an announcement when it opens; every text read once; the sample's
description; and that the client's actions (a slider's value, a menu entry, a button, the
status panel) do what the mouse does, without a modal dialog holding the client's call.
Prints each failure and exits 1 when there was one.
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib

import pyatspi
from gi.repository import GLib

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what, flush=True)
    return condition


announced = []
pyatspi.Registry.registerEventListener(
    lambda e: announced.append((e.source.getRoleName(), e.source.name)), "window:activate")


def pump(seconds):
    end = time.time() + seconds
    context = GLib.MainContext.default()
    while time.time() < end:
        while context.iteration(False):
            pass
        time.sleep(0.02)


def wait_for(found, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        result = found()
        if result:
            return result
        pump(0.05)
    return found()


def states(acc):
    return {pyatspi.stateToString(s) for s in acc.getState().getStates()}


def walk(acc):
    """What a screen reader meets below `acc`: everything showing."""
    for child in acc:
        if child is not None and "showing" in states(child):
            yield child
            yield from walk(child)


def find(root, role, name):
    for acc in walk(root):
        if acc.getRoleName() == role and acc.name == name:
            return acc
    return None


def press(acc, action="Press"):
    """Runs an action and returns how long the call took."""
    actions = acc.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    started = time.time()
    actions.doAction(names.index(action))
    return time.time() - started


def menu(app, name):
    """Presses a menu entry (the menu need not be open) and checks the call returned at once."""
    main = next(w for w in app if w is not None and w.name == "RGB-Tintrix")
    for acc in main_items(main):
        if acc.name == name:
            took = press(acc)
            check(took < 1, f"„{name}“ hielt den Aufruf {took:.1f} s auf")
            return
    check(False, f"kein Menüeintrag „{name}“")


def main_items(main):
    def items(acc):
        for child in acc:
            if child is None:
                continue
            if child.getRoleName() == "menu item":
                yield child
            yield from items(child)
    return list(items(main))


def window(app, title, role=None, other_than=None):
    """The window of that title (another one than `other_than`), checked to be announced."""
    def found():
        for w in app:
            if (w is not None and w.name.startswith(title) and "showing" in states(w)
                    and w != other_than):
                return w
        return None
    w = wait_for(found)
    if check(w is not None, f"kein Fenster „{title}“"):
        if role:
            check(w.getRoleName() == role, f"„{title}“ ist ein {w.getRoleName()}, kein {role}")
        wait_for(lambda: any(name.startswith(title) for _, name in announced), 5)
        check(any(name.startswith(title) and r in ("frame", "dialog") for r, name in announced),
              f"„{title}“ wurde beim Öffnen nicht angesagt")
    return w


def gone(app, title):
    return wait_for(lambda: not any(w is not None and w.name.startswith(title)
                                    and "showing" in states(w) for w in app), 5)


def read_once(win, what):
    """Every text the window shows is read once; no name has an empty value or two colons."""
    names = [a.name for a in walk(win) if a.name and a.getRoleName() not in ("table cell",)]
    twice = sorted({n for n in names if names.count(n) > 1})
    check(not twice, f"{what}: doppelt gelesen: {twice}")
    odd = [n for n in names if n.endswith(": ") or "::" in n]
    check(not odd, f"{what}: Namen mit leerem Wert oder doppeltem Doppelpunkt: {odd}")
    nameless = [a.getRoleName() for a in walk(win)
                if not a.name and a.getRoleName() in ("push button", "label", "frame")]
    check(not nameless, f"{what}: ohne Namen: {nameless}")


def png(path, width, height, rgb):
    row = b"\0" + bytes(rgb) * width
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2,
                                                                     0, 0, 0))
                + chunk(b"IDAT", zlib.compress(row * height)) + chunk(b"IEND", b""))


def choose_file(app, path):
    """Types `path` into the open file dialog and opens it; returns the dialog."""
    dialog = wait_for(lambda: next((w for w in app if w is not None and w.getRoleName() == "dialog"
                                    and "showing" in states(w)), None))
    if not check(dialog is not None, "kein Dateidialog"):
        return
    find(dialog, "text", "Dateiname:").queryEditableText().setTextContents(path)
    press(find(dialog, "push button", "Öffnen"))
    return dialog


def key(keysym):
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)
    pump(0.3)


ESCAPE = 0xFF1B


def run(program):
    folder = tempfile.mkdtemp()
    copy = os.path.join(folder, "pigmora")
    shutil.copy(program, copy)
    process = subprocess.Popen([copy])
    try:
        app = wait_for(lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                                     if a is not None and a.name == "Pigmora"), None), 20)
        if not check(app is not None, "das Programm erscheint nicht über AT-SPI"):
            return
        main = wait_for(lambda: next((w for w in app if w is not None
                                      and w.name == "RGB-Tintrix"), None))
        check(main.getRoleName() == "frame", f"das Hauptfenster ist ein {main.getRoleName()}")
        # Without a window manager nothing gives the new window the focus; the test does,
        # as the desktop would, and the window is announced.
        subprocess.run(["xdotool", "search", "--name", "^RGB-Tintrix$", "windowfocus", "--sync"],
                       check=False, timeout=10)
        window(app, "RGB-Tintrix", "frame")
        read_once(main, "Hauptfenster")
        sample = find(main, "label", "Vorschau")
        check(sample.description == "Text #000000 auf #000000, Kontrast 1,00:1",
              f"Beschreibung der Vorschau: {sample.description!r}")

        # A slider set through AT-SPI runs the chain a user's move runs.
        sliders = [find(main, "slider", n) for n in ("Rot", "Grün", "Blau")]
        for slider in sliders:
            check(slider.queryValue().maximumValue == 255, f"{slider.name}: Bereich")
            slider.queryValue().currentValue = 255
        pump(0.3)
        check(find(main, "text", "Rot Hex").queryText().getText(0, -1) == "FF",
              "Rot Hex folgt dem Schieber nicht")

        # The status panel switches the edit target as a click does.
        panel = find(main, "push button", "Hintergrund")
        check("checked" in states(panel), "das Feld „Hintergrund“ ist nicht gedrückt")
        press(panel)
        wait_for(lambda: "checked" not in states(panel), 3)
        check("checked" not in states(panel), "„Hintergrund“ schaltet nicht um")
        vorder = next(a for a in main_items(main) if a.name == "Vordergrundfarbe")
        check("checked" in states(vorder), "„Vordergrundfarbe“ hat kein Häkchen")
        for slider in sliders:
            slider.queryValue().currentValue = 0x77
        wait_for(lambda: "#777777" in sample.description, 3)
        check(sample.description == "Text #777777 auf #FFFFFF, Kontrast 4,47:1",
              f"Beschreibung der Vorschau: {sample.description!r}")

        # The contrast window.
        menu(app, "Kontrast...")
        kontrast = window(app, "Kontrast", "frame")
        if kontrast:
            read_once(kontrast, "Kontrast")
            names = [a.name for a in walk(kontrast)]
            for expected in ("Kontrastverhältnis: 4,47:1", "1.4.3 AA (4,5:1): nicht bestanden",
                             "WCAG 2.x", "AA, heller: keine Farbe"):
                check(expected in names, f"Kontrast: „{expected}“ fehlt")
            offer = find(kontrast, "push button", "AA, dunkler übernehmen: #767676, 4,54:1")
            if check(offer is not None, "Kontrast: kein Angebot #767676"):
                press(offer)
                wait_for(lambda: "#767676" in sample.description, 3)
                check(find(main, "text", "Rot Dez").queryText().getText(0, -1) == "118",
                      "„Übernehmen“ setzt den Kanal nicht")
            press(find(kontrast, "push button", "Schließen"))
            check(gone(app, "Kontrast"), "Kontrast schließt nicht")

        # Modal dialogs, started from a menu entry or a button: the call returns at once.
        about_dialog(app)
        for entry, title, close in (("Farbe wählen", "", "Abbrechen"),
                                    ("Schrift", "", "Abbrechen")):
            menu(app, entry)
            modal_dialog(app, entry, close)
        took = press(find(main, "push button", "Neu"))
        check(took < 1, f"„Neu“ hielt den Aufruf {took:.1f} s auf")
        modal_dialog(app, "Neu", "Abbrechen")

        import_preview(app, folder)
        image_picker(app, folder)
        contrast_grid(app, folder)

        menu(app, "Farbe vom Bildschirm...")
        picker = window(app, "Farbe vom Bildschirm", "frame")
        if picker:
            read_once(picker, "Bildschirm-Pipette")
            key(ESCAPE)
            check(gone(app, "Farbe vom Bildschirm"), "Escape schließt die Pipette nicht")

        # "Ende" ends the process at once, possibly before the reply to the call has left.
        try:
            menu(app, "Ende")
        except GLib.Error:
            pass
        check(process.wait(10) == 0, "„Ende“ beendet das Programm nicht")
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
        shutil.rmtree(folder, ignore_errors=True)


def about_dialog(app):
    menu(app, "Info")
    about = window(app, "Info zu Pigmora", "dialog")
    if about:
        read_once(about, "Info")
        separators = [a for a in walk(about) if a.getRoleName() == "separator"]
        check(len(separators) == 1, f"Info: {len(separators)} Trennlinien statt einer")
        press(find(about, "push button", "OK"))
        check(gone(app, "Info zu Pigmora"), "Info schließt nicht")


def modal_dialog(app, what, close):
    dialog = wait_for(lambda: next((w for w in app if w is not None and w.getRoleName() == "dialog"
                                    and "showing" in states(w)), None))
    if check(dialog is not None, f"{what}: kein Dialog"):
        check(bool(dialog.name), f"{what}: der Dialog hat keinen Titel")
        title = dialog.name
        wait_for(lambda: any(n == title for _, n in announced), 5)
        check(("dialog", title) in announced, f"{what}: „{title}“ wurde nicht angesagt")
        button = find(dialog, "push button", close)
        if check(button is not None, f"{what}: kein „{close}“"):
            press(button)
            check(gone(app, title), f"{what}: der Dialog schließt nicht")


def import_preview(app, folder):
    path = os.path.join(folder, "neu.json")
    with open(path, "w", encoding="utf-8") as f:
        f.write('[{"name": "Abend", "text": "#ffffff", "background": "#102030"},'
                ' {"name": "Zu lang für einen Namen von höchstens dreißig", "text": "#000",'
                ' "background": "#fff"}]')
    menu(app, "Farbschemata importieren...")
    chooser = choose_file(app, path)
    preview = window(app, "Farbschemata importieren", "dialog", other_than=chooser)
    if preview:
        names = [a.name for a in walk(preview)]
        check("Abend" in names, "Vorschau: „Abend“ fehlt")
        cancel = find(preview, "push button", "Abbrechen")
        press(cancel)
        check(gone(app, "Farbschemata importieren"), "die Importvorschau schließt nicht")

    # Design tokens: the pairing step, each control read once and named.
    path = os.path.join(folder, "rollen.tokens.json")
    with open(path, "w", encoding="utf-8") as f:
        f.write('{"fgColor": {"$type": "color", "muted": {"$value": "#59636e"}},'
                ' "bgColor": {"$type": "color", "muted": {"$value": "#f6f8fa"}}}')
    menu(app, "Farbschemata importieren...")
    chooser = choose_file(app, path)
    preview = window(app, "Farbschemata importieren", "dialog", other_than=chooser)
    if preview:
        read_once(preview, "Paaren")
        names = [a.name for a in walk(preview)]
        for expected in ("Tokens der Palette", "Paare", "Text:", "Muster der Textfarben",
                         "Hintergrund:", "Muster der Hintergründe", "gleiche Rolle",
                         "Paaren", "Im Raster zeigen", "Importieren"):
            check(expected in names, f"Paaren: „{expected}“ fehlt")
        check("muted" in names, "Paaren: das Paar „muted“ fehlt")
        press(find(preview, "push button", "Abbrechen"))
        check(gone(app, "Farbschemata importieren"), "die Importvorschau schließt nicht")


def contrast_grid(app, folder):
    """The grid: its controls read once, a palette opened, each cell read as one sentence."""
    path = os.path.join(folder, "system.css")
    with open(path, "w", encoding="utf-8") as f:
        f.write(":root { --fg: #59636e; --bg: #ffffff; --abstand: 4px; }")
    menu(app, "Kontrastraster...")
    raster = window(app, "Kontrastraster", "frame")
    if not raster:
        return
    read_once(raster, "Kontrastraster")
    # A combo box is named by its label (AT-SPI's "labelled by"), a text box by its own name.
    for expected in ("Zeilen (Textfarben):", "Spalten (Hintergründe):", "Zeilenmuster",
                     "Mindeststufe:", "Farbsehen:", "Kontrastraster", "nur bestandene"):
        check(any(a.name == expected for a in walk(raster)), f"Kontrastraster: „{expected}“ fehlt")
    combos = [a for a in walk(raster) if a.getRoleName() == "combo box"]
    labelled = [c for c in combos if any(r.getRelationType() == pyatspi.RELATION_LABELLED_BY
                                         for r in c.getRelationSet())]
    check(len(combos) == 5 and len(labelled) == 5,
          f"Kontrastraster: {len(labelled)} von {len(combos)} Auswahlfeldern benannt")
    took = press(find(raster, "push button", "Palette öffnen..."))
    check(took < 1, f"„Palette öffnen...“ hielt den Aufruf {took:.1f} s auf")
    chooser = choose_file(app, path)
    if chooser:
        gone(app, chooser.name)
    cell = "Text fg #59636e auf bg #ffffff: 6,11:1, AA bestanden"
    found = wait_for(lambda: find(raster, "table cell", cell), 5)
    check(found is not None, f"Kontrastraster: keine Zelle „{cell}“")
    names = [a.name for a in walk(raster)]
    check("Palette: 2 Farben aus system.css; 1 ohne Farbe übersprungen." in names,
          "Kontrastraster: die Palette wird nicht genannt")
    press(find(raster, "push button", "Schließen"))
    check(gone(app, "Kontrastraster"), "Kontrastraster schließt nicht")


def image_picker(app, folder):
    path = os.path.join(folder, "bild.png")
    png(path, 40, 30, (0x12, 0x34, 0x56))
    menu(app, "Farbe aus Bild...")
    chooser = choose_file(app, path)
    picker = window(app, "Farbe aus Bild", "frame", other_than=chooser)
    if picker:
        read_once(picker, "Bild-Pipette")
        key(ESCAPE)
        check(gone(app, "Farbe aus Bild"), "Escape schließt die Bild-Pipette nicht")


if __name__ == "__main__":
    run(sys.argv[1])
    pyatspi.Registry.deregisterEventListener(lambda e: None, "window:activate")
    print(f"{len(failures)} Fehler" if failures else "AT-SPI: alles wie erwartet", flush=True)
    sys.exit(1 if failures else 0)
