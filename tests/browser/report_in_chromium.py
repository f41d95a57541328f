#!/usr/bin/env python3
"""The HTML race report in a real headless Chromium, offline: its tables, the read-out under the
pointer, the highlight, hostile names, and that nothing is fetched.

    report_in_chromium.py BUILD_DIR SAMPLE_FILE OUTPUT_DIR
"""
import base64
import os
import subprocess
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cdp import Browser  # noqa: E402

failures = []


def check(name, ok, detail=""):
    print(("ok   " if ok else "FAIL ") + name + ("" if ok else f": {detail}"))
    if not ok:
        failures.append(name)


def open_page(browser, path):
    browser.events.clear()
    browser.page("Page.navigate", url="file://" + os.path.abspath(path))
    browser.wait_for("Page.loadEventFired")


def problems(browser, page_url):
    """Console errors, exceptions, dialogs and requests for anything but the page itself."""
    found = []
    for event in browser.events:
        method, params = event["method"], event.get("params", {})
        if method == "Runtime.exceptionThrown":
            found.append("exception: " + str(params["exceptionDetails"].get("text")))
        elif method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "warning"):
            found.append("console: " + str(params.get("args")))
        elif method == "Log.entryAdded" and params["entry"].get("level") in ("error", "warning"):
            found.append("log: " + params["entry"].get("text", ""))
        elif method == "Page.javascriptDialogOpening":
            found.append("dialog: " + params.get("message", ""))
        elif method == "Network.requestWillBeSent" and params["request"]["url"] != page_url:
            found.append("request: " + params["request"]["url"])
    return found


def screen_point_of_lap(browser, chart, driver, nth):
    """Where the nth point of a driver's curve in a chart lies on the screen, from the highlight
    layer's path (the same points the picture's curve has)."""
    return browser.evaluate(f"""(() => {{
        const svg = document.querySelectorAll('svg.chart')[{chart}];
        svg.scrollIntoView({{block: 'center'}});
        const path = svg.querySelector('.hl path[data-d="{driver}"]');
        const numbers = path.getAttribute('d').match(/-?\\d+/g).map(Number);
        const point = svg.createSVGPoint();
        point.x = numbers[2 * {nth}]; point.y = numbers[2 * {nth} + 1];
        const screen = point.matrixTransform(svg.getScreenCTM());
        return [screen.x, screen.y];
    }})()""")


def move_and_click(browser, x, y, click):
    browser.page("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y)
    if click:
        for kind in ("mousePressed", "mouseReleased"):
            browser.page("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1)


def driver_list(cli, sample):
    """The driver list as the table command prints it: name -> (race time, laps, fastest lap)."""
    text = subprocess.run([cli, "table", sample], check=True, capture_output=True, text=True).stdout
    rows = {}
    for line in text.splitlines()[1:]:
        cells = [cell.strip() for cell in line.split("  ") if cell.strip()]
        if len(cells) >= 5:
            rows[cells[0]] = (cells[1], cells[2], cells[3])
    return rows


def rmse_of_reduced(first, second):
    """Root-mean-square difference of two pictures shrunk to a quarter, 0..1: the browser smooths
    the SVG's edges, which the program's own drawing does not, and shrinking evens that out."""
    reduced = []
    for picture in (first, second):
        reduced.append(picture + ".quarter.png")
        subprocess.run(["convert", picture, "-filter", "Box", "-resize", "25%", reduced[-1]], check=True)
    result = subprocess.run(["compare", "-metric", "RMSE", *reduced, "null:"], capture_output=True, text=True)
    return float(result.stderr.split("(")[1].split(")")[0])


def svg_matches_png(browser, cli, sample, out):
    """Each chart kind's SVG, as Chromium draws it, against the PNG of the same chart. A chart of
    another kind or with absolute gaps differs by 0.07 or more; the same chart by under 0.03."""
    browser.page("Emulation.setDeviceMetricsOverride", width=1024, height=640, deviceScaleFactor=1, mobile=False)
    for kind in ("gap", "positions", "laptimes"):
        svg, png, shot = (os.path.join(out, f"{kind}.{ext}") for ext in ("svg", "png", "svg.png"))
        for picture in (svg, png):
            subprocess.run([cli, "render", "--chart", kind, "-o", picture, sample], check=True)
        open_page(browser, svg)
        with open(shot, "wb") as file:
            file.write(base64.b64decode(browser.page("Page.captureScreenshot", format="png")["data"]))
        difference = rmse_of_reduced(png, shot)
        check(f"the {kind} chart's SVG draws as its PNG", difference < 0.045, f"RMSE {difference:.3f}")
    browser.page("Emulation.clearDeviceMetricsOverride")


def main():
    build, sample, out = sys.argv[1:4]
    os.makedirs(out, exist_ok=True)
    cli = os.path.join(build, "cli", "tarmioview-cli")
    report = os.path.join(out, "sample-race.html")
    subprocess.run([cli, "report", "-o", report, sample], check=True)
    hostile_race = os.path.join(out, "hostile-names.zq3")
    hostile = os.path.join(out, "hostile-names.html")
    subprocess.run([os.path.join(build, "tools", "tarmio-make-samples"), "--hostile", hostile_race],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run([cli, "report", "-o", hostile, hostile_race], check=True)

    browser = Browser()
    try:
        for domain in ("Page", "Runtime", "Network", "Log"):
            browser.page(domain + ".enable")
        url = "file://" + os.path.abspath(report)
        open_page(browser, url[len("file://"):])

        rows = browser.evaluate("""[...document.querySelectorAll('#results tbody tr')].map(r =>
            [...r.cells].map(c => c.textContent))""")
        expected = driver_list(cli, sample)
        check("one results row per driver", len(rows) == len(expected) == 20, f"{len(rows)} rows, {len(expected)} drivers")
        check("the winner heads the results", rows[0][:2] == ["1", "Aurelio Vantini"], rows[0])
        mismatched = [r[1] for r in rows if expected.get(r[1]) != (r[2], r[4], r[5])]
        check("time, laps and fastest lap as the driver list shows them", not mismatched, mismatched)
        check("lapped cars show laps down", any(r[3].endswith("lap") or r[3].endswith("laps") for r in rows))
        check("three charts", browser.evaluate("document.querySelectorAll('svg.chart').length") == 3)
        check("a lap-by-lap row per driver",
              browser.evaluate("document.querySelectorAll('#lap-by-lap tbody tr').length") == 20)

        # The winner's first point on the position chart: he leads lap 1 of the sample race by
        # 0.171 s, after a lap of 1:27.784.
        winner = browser.evaluate("Number(document.querySelector('#results tbody tr').dataset.d)")
        x, y = screen_point_of_lap(browser, 1, winner, 0)
        move_and_click(browser, x, y, click=False)
        readout = browser.evaluate("[document.getElementById('readout').hidden, document.getElementById('readout').textContent]")
        check("read-out over a curve point", not readout[0] and readout[1] ==
              "Aurelio Vantini    1\nLap 1  P1/20\nRace time 0h01m27.784s\nLap time 1:27.784\nLeading", readout)
        move_and_click(browser, 5, 5, click=False)
        check("read-out hides off the chart", browser.evaluate("document.getElementById('readout').hidden"))

        # A click on a name in the results marks the driver in every table and chart.
        second = browser.evaluate("Number(document.querySelectorAll('#results tbody tr')[1].dataset.d)")
        cx, cy = browser.evaluate("""(() => { const cell = document.querySelectorAll('#results tbody tr')[1].cells[1];
            cell.scrollIntoView({block: 'center'}); const r = cell.getBoundingClientRect();
            return [r.x + r.width / 2, r.y + r.height / 2]; })()""")
        move_and_click(browser, cx, cy, click=True)
        marked = browser.evaluate("[...new Set([...document.querySelectorAll('.on')].map(e => Number(e.dataset.d)))]")
        widths = browser.evaluate(f"""[...document.querySelectorAll('.hl path[data-d="{second}"]')].map(p => getComputedStyle(p).strokeWidth)""")
        check("a click in the results marks that driver", marked == [second], marked)
        check("... in all three charts", widths == ["3px"] * 3, widths)
        check("... and in the lap-by-lap table",
              browser.evaluate(f"document.querySelector('#lap-by-lap tr[data-d=\"{second}\"]').classList.contains('on')"))
        # A click on the winner's curve on the position chart moves the mark to him.
        x, y = screen_point_of_lap(browser, 1, winner, 10)
        move_and_click(browser, x, y, click=True)
        marked = browser.evaluate("[...new Set([...document.querySelectorAll('.on')].map(e => Number(e.dataset.d)))]")
        check("a click on a curve marks its driver", marked == [winner], marked)
        browser.page("Runtime.evaluate", expression="window.scrollTo(0, 0)")
        shot = browser.page("Page.captureScreenshot", format="png", captureBeyondViewport=False)
        with open(os.path.join(out, "sample-race.png"), "wb") as file:
            file.write(base64.b64decode(shot["data"]))
        found = problems(browser, url)
        check("no console errors, dialogs or requests (sample)", not found, found)

        svg_matches_png(browser, cli, sample, out)

        hostile_url = "file://" + os.path.abspath(hostile)
        open_page(browser, hostile)
        names = browser.evaluate("[...document.querySelectorAll('#results .nm')].map(n => n.textContent)")
        check("hostile names show as text", "'><svg/onload=alert(1)>" in names and
              any(n.startswith("<script>alert(1)") for n in names) and "&lt;b&gt;&amp;" in names, names)
        check("hostile names add no elements",
              browser.evaluate("document.querySelectorAll('img').length + document.querySelectorAll('svg').length") == 3)
        check("one script runs, the page's own", browser.evaluate("document.scripts.length") == 2)
        check("hostile track name is text", browser.evaluate("document.querySelector('h1').textContent").startswith("<b>Track</b>"))
        x, y = screen_point_of_lap(browser, 1, 2, 2)
        move_and_click(browser, x, y, click=False)
        check("hostile read-out is text", browser.evaluate("document.getElementById('readout').textContent").startswith("'><svg/onload=alert(1)>"))
        found = problems(browser, hostile_url)
        check("no console errors, dialogs or requests (hostile)", not found, found)
        shot = browser.page("Page.captureScreenshot", format="png")
        with open(os.path.join(out, "hostile-names.png"), "wb") as file:
            file.write(base64.b64decode(shot["data"]))
    finally:
        browser.close()
    print(f"browser: {len(failures)} failed" if failures else "browser: all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
