#!/usr/bin/python3
"""Times what a screen reader asks of quarvel's loading dialog over AT-SPI, while a load runs and
once it has ended. Presses Go in the running quarvel, then repeats the same reads: find the
"Loading..." window, find its list, read its lines, read the bar's value. Prints one line per
read and state: the median and the longest answer, and how many reads saw a list that
was not a beginning of the list the load ended with."""

import statistics
import sys
import time

import pyatspi

READS_IDLE = 30
SPACING_S = 0.05


def wait_for(find, seconds=30):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = find()
        if found is not None:
            return found
        time.sleep(0.1)
    sys.exit("accessibility_reads: gave up waiting for quarvel")


def first(root, wanted):
    for child in root:
        if child is None:
            continue
        if wanted(child):
            return child
        found = first(child, wanted)
        if found is not None:
            return found
    return None


def application():
    return first(pyatspi.Registry.getDesktop(0),
                 lambda a: a.getRole() == pyatspi.ROLE_APPLICATION and a.name == "quarvel")


def press(app, name):
    button = first(app, lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON and a.name == name)
    button.queryAction().doAction(0)


def timed(times, name, call):
    start = time.perf_counter()
    result = call()
    times.setdefault(name, []).append(time.perf_counter() - start)
    return result


def read_once(app, times):
    """The four reads; the lines and the bar's value, or None when the window is not there."""
    dialog = timed(times, "find dialog",
                   lambda: next((w for w in app if w is not None and w.name == "Loading..."),
                                None))
    if dialog is None:
        return None
    messages = timed(times, "find list",
                     lambda: first(dialog, lambda a: a.getRole() == pyatspi.ROLE_LIST))
    lines = timed(times, "read lines", lambda: [line.name for line in messages])
    bar = first(dialog, lambda a: a.getRole() == pyatspi.ROLE_PROGRESS_BAR)
    value = timed(times, "bar value", lambda: bar.queryValue().currentValue)
    return lines, value


def report(state, times, stale):
    for name, values in times.items():
        print(f"{state:8} {name:12} reads {len(values):4}"
              f"  median {1000 * statistics.median(values):6.1f} ms"
              f"  longest {1000 * max(values):6.1f} ms")
    print(f"{state:8} stale lists  {stale}")


def main():
    app = wait_for(application)
    press(app, "Go")
    wait_for(lambda: read_once(app, {}))
    loading, seen = {}, []
    while True:
        lines, value = read_once(app, loading)
        seen.append(lines)
        if lines and lines[-1] in ("Loading complete. No errors", "Error!"):
            break
        time.sleep(SPACING_S)
    idle = {}
    for _ in range(READS_IDLE):
        final, value = read_once(app, idle)
        time.sleep(SPACING_S)
    stale = sum(1 for lines in seen if lines != final[:len(lines)])
    report("loading", loading, stale)
    report("idle", idle, 0)
    print(f"final    {len(final)} lines, bar {value}")


main()
