"""What the scenarios ask of kelpo-widget and of the screen: the reference
renders, the view tree's links, the host's windows and their pixels."""

import json
import os
import re
import signal
import struct
import subprocess
import time
from dataclasses import dataclass
from pathlib import Path

from desktop_session import ROOT_COLOUR, ScenarioFailure, poll

WIDGET = os.environ.get("KELPO_WIDGET_BINARY", "kelpo-widget")

# One fixed request, so that the host and the reference renders draw the
# same instant in the same language and zone.
ENTRY_OPTIONS = ["--now", "2026-12-06T10:00:00Z", "--locale", "fr_FR", "--time-zone", "Europe/Paris"]

SIZES = {"small": (170, 170), "medium": (364, 170)}


# -- images ---------------------------------------------------------------


@dataclass
class Image:
    width: int
    height: int
    rgba: bytes

    def pixel(self, x, y):
        offset = 4 * (y * self.width + x)
        return tuple(self.rgba[offset:offset + 4])

    def crop(self, x, y, width, height):
        rows = [self.rgba[4 * ((y + row) * self.width + x):4 * ((y + row) * self.width + x + width)]
                for row in range(height)]
        return Image(width, height, b"".join(rows))

    def save(self, path):
        subprocess.run(["convert", "-size", f"{self.width}x{self.height}", "-depth", "8", "rgba:-", str(path)],
                       input=self.rgba, check=True, timeout=20)


def read_image(data, image_format="png"):
    """Decodes image bytes of any format ImageMagick knows into RGBA."""
    size = subprocess.run(["convert", f"{image_format}:-", "-format", "%w %h", "info:"],
                          input=data, capture_output=True, check=True, timeout=20).stdout.split()
    rgba = subprocess.run(["convert", f"{image_format}:-", "-depth", "8", "rgba:-"],
                          input=data, capture_output=True, check=True, timeout=20).stdout
    return Image(int(size[0]), int(size[1]), rgba)


@dataclass
class Difference:
    compared: int
    differing: int
    worst: int

    def __str__(self):
        return f"{self.differing} of {self.compared} opaque pixels differ (worst channel difference {self.worst})"


def opaque_spans(image):
    """Per row, the byte range from the first to the last opaque pixel: the
    inside of a rounded rectangle is one span a row."""
    spans = []
    for row in range(image.height):
        start = 4 * row * image.width
        alphas = image.rgba[start + 3:start + 4 * image.width:4]
        first, last = alphas.find(255), alphas.rfind(255)
        if first >= 0:
            spans.append((start + 4 * first, start + 4 * (last + 1)))
    return spans


def difference(actual, reference, fuzz=24):
    """Compares actual with reference where the reference is opaque: the
    window's edge is a one-bit shape (or blended by a compositor), so only the
    inside is expected to be the same. A pixel differs when one channel is off
    by more than fuzz (font hinting and gradient dithering move a few levels)."""
    if (actual.width, actual.height) != (reference.width, reference.height):
        raise ScenarioFailure(f"size {actual.width}x{actual.height}, expected {reference.width}x{reference.height}")
    if not hasattr(reference, "spans"):
        reference.spans = opaque_spans(reference)
    compared = differing = worst = 0
    a, r = actual.rgba, reference.rgba
    for begin, end in reference.spans:
        compared += (end - begin) // 4
        if a[begin:end] == r[begin:end]:
            continue
        for offset in range(begin, end, 4):
            delta = max(abs(a[offset] - r[offset]), abs(a[offset + 1] - r[offset + 1]),
                        abs(a[offset + 2] - r[offset + 2]))
            worst = max(worst, delta)
            differing += delta > fuzz
    return Difference(compared, differing, worst)


def matches(actual, reference, tolerance=0.0005):
    """At most tolerance of the opaque pixels may differ: the host draws with
    the same renderer as `render`, so the pixels are normally the same; the
    tolerance is far below what a sheen band across one badge changes."""
    found = difference(actual, reference)
    return found.compared > 0 and found.differing <= tolerance * found.compared, found


def mean_luminance(image):
    total = count = 0
    for offset in range(0, len(image.rgba), 16):
        r, g, b = image.rgba[offset:offset + 3]
        total += 0.2126 * r + 0.7152 * g + 0.0722 * b
        count += 1
    return total / count


# -- kelpo-widget ---------------------------------------------------------


def widget_command(session, arguments, snapshot=None):
    """Runs a kelpo-widget verb as the host would, but on a shared directory
    holding snapshot (text) and a preferences directory of its own, so that
    it never touches what the running host reads or writes."""
    env = dict(session.env)
    env["XDG_CONFIG_HOME"] = str(session.root / "reference-config")
    if snapshot is not None:
        group = session.root / "reference-group"
        group.mkdir(exist_ok=True)
        (group / "widget.json").write_bytes(snapshot.encode() if isinstance(snapshot, str) else snapshot)
        env["KELPO_APP_GROUP_DIR"] = str(group)
    result = subprocess.run([WIDGET, *arguments], env=env, capture_output=True, timeout=30)
    if result.returncode != 0:
        raise ScenarioFailure(f"kelpo-widget {' '.join(arguments)}: {result.stderr.decode(errors='replace')}")
    return result.stdout


def render_reference(session, snapshot, family, appearance, scale, label):
    """What `render` draws for this snapshot (a timeline request, the widget
    at rest), saved as reference-<label>.png beside the screenshots."""
    path = session.artifacts / f"reference-{label}.png"
    widget_command(session, ["render", *ENTRY_OPTIONS, "--family", family, "--appearance", appearance,
                             "--scale", str(scale), "--format", "png", "--output", str(path)], snapshot)
    return read_image(path.read_bytes())


LINK_LINE = re.compile(r'Link \(([-\d.]+), ([-\d.]+), ([\d.]+) × ([\d.]+)\) link "([^"]+)"')
WIDGET_LINE = re.compile(r'^widget .* url "([^"]+)"', re.MULTILINE)


@dataclass
class Link:
    x: float
    y: float
    width: float
    height: float
    url: str

    def centre(self):
        return self.x + self.width / 2, self.y + self.height / 2


def tree_links(session, snapshot, family):
    """The row links of the laid-out tree (in points) and the widget's own URL."""
    tree = widget_command(session, ["tree", *ENTRY_OPTIONS, "--family", family], snapshot).decode()
    widget_url = WIDGET_LINE.search(tree)
    if not widget_url:
        raise ScenarioFailure("tree printed no widget URL:\n" + tree)
    links = [Link(float(x), float(y), float(w), float(h), url) for x, y, w, h, url in LINK_LINE.findall(tree)]
    return links, widget_url.group(1)


def hit(session, snapshot, family, x, y):
    arguments = ["tree", *ENTRY_OPTIONS, "--family", family, "--hit", f"{x},{y}"]
    return widget_command(session, arguments, snapshot).decode().strip()


# -- the host on X11 ------------------------------------------------------


def start_host(session, families, extra=(), env=None, label="host"):
    """The host; with no families, it shows the instances desktop.ini keeps."""
    arguments = [WIDGET, "desktop", *ENTRY_OPTIONS]
    for family in families:
        arguments += ["--family", family]
    arguments += list(extra)
    return session.start(label, arguments, env=env)


@dataclass
class Window:
    id: str
    x: int
    y: int
    width: int
    height: int


def window_geometry(session, window_id):
    info = session.run(["xwininfo", "-id", window_id]).decode()
    value = {key: int(number) for key, number in re.findall(r"(Absolute upper-left [XY]|Width|Height):\s+(-?\d+)", info)}
    return Window(window_id, value["Absolute upper-left X"], value["Absolute upper-left Y"], value["Width"], value["Height"])


def require_running(session, host):
    if host.poll() is not None:
        raise ScenarioFailure(f"the host exited with {host.returncode}:\n" + session.log_text("host"))


def host_windows(session, host, count, timeout=10):
    """Waits until the host shows count mapped top-level windows."""

    def found():
        require_running(session, host)
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(host.pid)],
                                env=session.env, capture_output=True, timeout=10)
        ids = result.stdout.decode().split()
        return ids if len(ids) >= count else None

    ids = poll(found, timeout, interval=0.05, what=f"{count} window(s) of the host")
    return sorted((window_geometry(session, window_id) for window_id in ids), key=lambda w: (w.y, w.x))


def read_xwd(data):
    """Decodes the 24-bit TrueColor dump xwd takes of an Xvfb screen (read
    here rather than through ImageMagick, which takes over a second for it,
    too slow to see a change within one)."""
    header = struct.unpack(">25I", data[:100])
    header_size, width, height, byte_order, bits_per_pixel, bytes_per_line, colours = (
        header[0], header[4], header[5], header[7], header[11], header[12], header[19])
    if bits_per_pixel != 32 or byte_order != 0:
        return read_image(data, "xwd")
    start = header_size + 12 * colours
    pixels = bytearray()
    for row in range(height):
        pixels += data[start + row * bytes_per_line:start + row * bytes_per_line + 4 * width]
    rgba = bytearray(len(pixels))
    rgba[0::4], rgba[1::4], rgba[2::4] = pixels[2::4], pixels[1::4], pixels[0::4]
    rgba[3::4] = b"\xff" * (width * height)
    return Image(width, height, bytes(rgba))


def screenshot(session):
    return read_xwd(session.run(["xwd", "-root", "-silent"]))


def window_pixels(session, window):
    """What the window draws in its rectangle, including where its shape
    leaves the screen to the root window (a fast dump of the window alone)."""
    return read_xwd(session.run(["xwd", "-id", window.id, "-silent"]))


def screen_pixels(session, window):
    """What the screen shows in the window's rectangle: outside the window's
    shape, the root window."""
    return screenshot(session).crop(window.x, window.y, window.width, window.height)


def wait_for_pixels(session, window, reference, timeout, label, grab=None, host=None):
    """Polls the window (or what grab() returns) until it matches reference,
    failing early if the host exits; saves what it saw last."""
    last = {}

    def check():
        if host is not None:
            require_running(session, host)
        actual = grab() if grab else window_pixels(session, window)
        ok, found = matches(actual, reference)
        last["image"], last["difference"] = actual, found
        return ok

    try:
        poll(check, timeout, interval=0.03, what=f"the window to look like reference-{label}.png")
    except ScenarioFailure as failure:
        if "image" in last:
            last["image"].save(session.artifacts / f"window-{label}.png")
        found = last.get("difference")
        raise ScenarioFailure(f"{failure}: {found}" if found else str(failure)) from None
    last["image"].save(session.artifacts / f"window-{label}.png")
    return last["difference"]


# The mean channel difference from `render` at the monitor's scale below
# which a widget shows sharp: one elsewhere, or of another size, differs by
# far more.
SHARP_BOUND = 8


def enlarged(image, like):
    """image resized to like's size (ImageMagick's default filter)."""
    data = subprocess.run(["convert", "-size", f"{image.width}x{image.height}", "-depth", "8", "rgba:-",
                           "-resize", f"{like.width}x{like.height}!", "-depth", "8", "rgba:-"],
                          input=image.rgba, capture_output=True, check=True, timeout=20).stdout
    return Image(like.width, like.height, data)


def mean_difference(actual, reference):
    """The mean channel difference where the reference is opaque."""
    total = count = 0
    for offset in range(0, len(reference.rgba), 4):
        if reference.rgba[offset + 3] != 255:
            continue
        count += 1
        total += sum(abs(actual.rgba[offset + c] - reference.rgba[offset + c]) for c in range(3))
    return total / (3 * count)


def wait_for_sharp(session, host, snapshot, scale, grab, enlarged_from_one=False):
    """Polls grab() (the widget's logical rectangle, in the output's pixels)
    until the medium light widget shows there sharp at a fractional scale:
    closer to `render` at that scale than to `render` at 1 enlarged, which is
    what a drawing at 1 scaled up by the compositor looks like. (GTK 3 draws
    at 2 and the compositor shrinks it with its own filter, so the pixels are
    near the sharp render, not the same.) With enlarged_from_one, where the
    compositor can only enlarge, the other way round. Returns what showed and
    how near."""
    sharp = render_reference(session, snapshot, "medium", "light", scale, f"medium-light-{scale}")
    blurry = enlarged(render_reference(session, snapshot, "medium", "light", 1, "medium-light-1"), sharp)
    last = {}

    def looks_sharp():
        require_running(session, host)
        shown = last["shown"] = grab()
        if (shown.width, shown.height) != (sharp.width, sharp.height):
            raise ScenarioFailure(f"grabbed {shown.width}x{shown.height}, expected {sharp.width}x{sharp.height}")
        to_sharp, to_blurry = mean_difference(shown, sharp), mean_difference(shown, blurry)
        last["found"] = f"mean difference {to_sharp:.1f} from the sharp render, {to_blurry:.1f} from the enlarged one"
        if enlarged_from_one:
            to_sharp, to_blurry = to_blurry, to_sharp
        return to_sharp < SHARP_BOUND and to_sharp < 0.8 * to_blurry

    try:
        drawn = "drawn at 1 and enlarged" if enlarged_from_one else "drawn sharp"
        poll(looks_sharp, 10, interval=0.1, what=f"the widget {drawn} at scale {scale}")
    except ScenarioFailure as failure:
        raise ScenarioFailure(f"{failure}: {last.get('found')}") from None
    finally:
        if "shown" in last:
            last["shown"].save(session.artifacts / f"window-scale{scale}.png")
    return last["shown"], last["found"]


def wait_for_report(session, host, label="host"):
    """The host's report of its first frame, which it writes once the
    compositor has told the monitor's scale."""
    def said():
        require_running(session, host)
        lines = [line for line in session.log_text(label).splitlines() if " shown " in f" {line}"]
        return lines[0] if lines else None

    return poll(said, 15, interval=0.1, what="the host's report of its first frame")


def check_monitor_scale(session, host, scale, label="host", drawn=2):
    """The report names the monitor's fractional scale and GTK's drawing
    scale."""
    report = wait_for_report(session, host, label)
    if f"monitor scale {scale}, drawn at {drawn}" not in report:
        raise ScenarioFailure(f"the host did not report the monitor's scale {scale}: {report!r}")
    return report


def corners_show_root(image, scale, background=ROOT_COLOUR):
    """The very corner pixels lie outside the rounded shape: they must be the
    desktop's background colour, not black or white squares. Returns the
    corners that are not."""
    inset = scale  # one point in from each edge, still outside a 20-point radius
    points = [(inset, inset), (image.width - 1 - inset, inset), (inset, image.height - 1 - inset),
              (image.width - 1 - inset, image.height - 1 - inset)]
    return [point for point in points if image.pixel(*point)[:3] != tuple(background)]


def dark_fringe(screen, reference, background=ROOT_COLOUR, fuzz=40):
    """Pixels of the rounded edge (where the render is partly transparent)
    that the screen shows in a colour outside the range from the widget's
    edge colour to the background: a fringe of edge pixels blended with
    black instead of the desktop. Returns how many there are, of how many."""
    fringe = edge = 0
    for offset in range(0, len(reference.rgba), 4):
        alpha = reference.rgba[offset + 3]
        if alpha in (0, 255):
            continue
        shown = screen.rgba[offset:offset + 3]
        if tuple(shown) == tuple(background):
            continue
        edge += 1
        for channel in range(3):
            low, high = sorted((reference.rgba[offset + channel], background[channel]))
            if not low - fuzz <= shown[channel] <= high + fuzz:
                fringe += 1
                break
    return fringe, edge


def expected_position(screen, size, corner, margin, scale):
    width, height = size[0] * scale, size[1] * scale
    x = margin * scale if "left" in corner else screen[0] - margin * scale - width
    y = margin * scale if corner.startswith("top") else screen[1] - margin * scale - height
    return x, y, width, height


def kept_frame(place, area, size):
    """The frame (x, y, width, height) an instance group of desktop.ini puts
    a widget of `size` at, in the work area `area` (x, y, width, height)."""
    corner, dx, dy = place["corner"], float(place["offset-x"]), float(place["offset-y"])
    x = area[0] + dx if "left" in corner else area[0] + area[2] - dx - size[0]
    y = area[1] + dy if corner.startswith("top") else area[1] + area[3] - dy - size[1]
    return round(x), round(y), size[0], size[1]


def click(session, x, y):
    session.run(["xdotool", "mousemove", str(x), str(y), "click", "1"])


def click_opens(session, host, click, expected, label="second row"):
    """One click (click()) opens `expected` and nothing else. It is given
    once the host has reported its first frame: by then the host has bound
    the seat's pointer (the test's pointer device is made before the host
    starts, so the seat has it from the host's start) and its surface takes
    input."""
    wait_for_report(session, host)
    click()
    opened = poll(session.opened_urls, 5, what=f"the handler to get the {label}'s link")
    if set(opened) != {expected}:
        raise ScenarioFailure(f"a click on the {label} opened {opened}, expected {expected}")
    print(f"click on the {label} opened {opened[0]}")
    return opened


def stop_host(session, host, how=signal.SIGTERM, label="host"):
    status = session.stop(host, how=how)
    if status != 0:
        raise ScenarioFailure(f"the host exited with status {status} on {signal.Signals(how).name}:\n"
                              + session.log_text(label))


def first_frame_seconds(session, host, started, bound, label="host"):
    """Seconds from started (time.monotonic() before the host was started)
    until it draws its first frame (it says "shown" then), failing after
    bound seconds."""

    def shown():
        require_running(session, host)
        return "kelpo-widget desktop: shown" in session.log_text(label)

    poll(shown, bound - (time.monotonic() - started), interval=0.02, what="the host's first frame")
    return time.monotonic() - started


def cpu_seconds(pid):
    """Processor time a process used so far, user and system."""
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def thread_switches(pid):
    """Per thread of a process, its context switches so far: each time it
    woke up (or was woken) to run."""
    counts = {}
    for status in Path(f"/proc/{pid}/task").glob("*/status"):
        try:
            lines = status.read_text().splitlines()
        except OSError:
            continue  # the thread ended meanwhile
        counts[status.parent.name] = sum(int(line.split()[1]) for line in lines
                                         if line.startswith(("voluntary_ctxt_switches",
                                                             "nonvoluntary_ctxt_switches")))
    return counts


def wake_ups(pid, seconds):
    """How many times the process's threads woke up in the next seconds:
    a thread that ends meanwhile counts for nothing, one that starts for
    all its wake-ups."""
    before = thread_switches(pid)
    time.sleep(seconds)
    after = thread_switches(pid)
    return sum(count - before.get(thread, 0) for thread, count in after.items())


def sample_snapshot(session, gold=True):
    """The built-in sample record as the application would write it: three
    items to sort; with gold, the first scores 10, whose gold badge sheens."""
    record = json.loads(widget_command(session, ["sample"]))
    if gold:
        record["toSort"][0]["score"] = 10
    return json.dumps(record, ensure_ascii=False, indent=2)


def sample_shown_medium(session):
    """Registers the kelpo:// handler, writes the sample (gold first item)
    as the application would, and returns it with `render`'s medium light
    drawing of it: what a scenario then expects the desktop to show."""
    session.register_link_handler()
    snapshot = sample_snapshot(session)
    session.write_snapshot(snapshot)
    return snapshot, render_reference(session, snapshot, "medium", "light", 1, "medium-light")


def default_snapshot():
    """A file that is no snapshot at all: references drawn from it show the
    default record."""
    return "{ this is not a snapshot"


def read_ppm(data):
    """Decodes the binary PPM grim writes with -t ppm."""
    fields, offset = [], 0
    while len(fields) < 4:
        while data[offset:offset + 1].isspace():
            offset += 1
        end = offset
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[offset:end])
        offset = end
    offset += 1  # the one whitespace byte before the pixels
    if fields[0] != b"P6" or fields[3] != b"255":
        raise ScenarioFailure(f"unexpected screenshot header {fields}")
    width, height = int(fields[1]), int(fields[2])
    rgb = data[offset:offset + 3 * width * height]
    rgba = bytearray(4 * width * height)
    rgba[0::4], rgba[1::4], rgba[2::4] = rgb[0::3], rgb[1::3], rgb[2::3]
    rgba[3::4] = b"\xff" * (width * height)
    return Image(width, height, bytes(rgba))


def wayland_region(session, x, y, width, height):
    """What the compositor shows in a rectangle of its only output."""
    return read_ppm(session.run(["grim", "-t", "ppm", "-g", f"{x},{y} {width}x{height}", "-"]))


def wait_for_geometry(session, window_id, host, expected, what):
    """Polls the window until its rectangle is `expected` (x, y, width, height)."""
    last = {}

    def check():
        require_running(session, host)
        geometry = window_geometry(session, window_id)
        last["seen"] = (geometry.x, geometry.y, geometry.width, geometry.height)
        return last["seen"] == tuple(expected)

    try:
        poll(check, 10, interval=0.05, what=what)
    except ScenarioFailure as failure:
        raise ScenarioFailure(f"{failure}: the window is at {last.get('seen')}, expected {tuple(expected)}") from None
