"""The seven measurements. Each takes the Bench (the shared environment) and returns a dict for the results."""

import os
import re
import statistics
import subprocess
import time
from pathlib import Path

from harness import BackgroundThread, ControlWatch, CpuMonitor, interval_stats, linux_memory, now_us, percentile, run_wine
from vornick_driver import (HarnessError, Probe, ProbeError, WineProgram, exe_path, find_x_windows, helper_path,
                            mouse_move, wait_until, xdotool)

RUN_ENDED = "当前状态：循环结束！"
OVERLAY_CLASS = "VornickForm"
ROWS = range(1, 11)
PRECISION_CLICKS = 200
PRECISION_REPEATS = 10  # clicks per row and passes: 2 rows x 10 x 10 = 200
RATE_LOOP_COUNT = 500


def fill_table(app, points, delays, loop_count, end_delay="0"):
    """Writes the table in one probe run: points[i] and delays[i] into row i + 1, the other rows emptied."""
    words = []
    for row in ROWS:
        x, y = points[row - 1] if row <= len(points) else ("", "")
        delay = delays[row - 1] if row <= len(delays) else "0"
        words += ["set-text", f"X坐标{row}", x, "set-text", f"Y坐标{row}", y, "set-text", f"X坐标延时{row}", delay]
    words += ["set-text", "循环次数编辑框", loop_count, "set-text", "编辑框1", end_delay]

    def answered():
        replies = app.probe.replies(*words)
        if len(replies) != len(words) // 3:
            raise ValueError("the probe did not answer every query")
        return replies
    for reply in retried(answered):
        if not reply["ok"]:
            raise ProbeError(reply)


def target_points(bench, count):
    """count distinct points inside the target window, on a grid clear of its edges."""
    return [tuple(map(str, bench.target.point(40 + 60 * (i % 5), 60 + 100 * (i // 5)))) for i in range(count)]


def flat(points):
    return [c for point in points for c in point]


def retried(action, attempts=3):
    """A probe run under Wine on a busy machine now and then comes back without an answer: try again."""
    for attempt in range(attempts):
        try:
            return action()
        except (ValueError, HarnessError):
            if attempt == attempts - 1:
                raise
            time.sleep(0.5)


def click_start(app):
    retried(lambda: app.click_control("启动"))


# ------------------------------------------------------------------------------------ 1, 2: precision, CPU

def summarise_run(presses, delay, cpu, start_us, end_us, sender_us=None):
    queue_ms = [p[0] for p in presses]
    receive_ms = [p[1] / 1000 for p in presses]
    result = {
        "clicks": len(presses),
        "receive": interval_stats(receive_ms, delay),
        "queue": interval_stats(queue_ms, delay),
        "sender": interval_stats([t / 1000 for t in sender_us], delay) if sender_us else None,
    }
    if cpu is not None:
        result["cpu_program"] = cpu.share("program", start_us, end_us)
        result["cpu_wineserver"] = cpu.share("wineserver", start_us, end_us)
        if result["cpu_program"] is not None and result["cpu_wineserver"] is not None:
            result["cpu_total"] = result["cpu_program"] + result["cpu_wineserver"]
    return result


def precision_vornick(bench, app, delay):
    points = target_points(bench, 2)
    fill_table(app, points, [str(delay)] * 2, str(PRECISION_REPEATS))  # 2 rows x 10 repeats x 10 passes
    bench.settle()
    start = bench.target.mark()
    with CpuMonitor({"program": app.process.pid, "wineserver": bench.wineserver}) as cpu:
        click_start(app)
        presses = bench.target.wait_presses(start, PRECISION_CLICKS, timeout=60 + PRECISION_CLICKS * delay / 1000 * 3)
        # The last click's delay is part of the run too: the CPU window ends one delay after it.
        time.sleep(delay / 1000)
    app.wait_text("状态标签", RUN_ENDED)
    if len(presses) < 2:
        raise RuntimeError(f"only {len(presses)} clicks arrived")
    return summarise_run(presses, delay, cpu, presses[0][1], presses[-1][1])


def precision_wait_clicker(bench, wait, delay):
    times_path = bench.work_dir / f"sent-{wait}-{delay}.txt"
    bench.settle()
    start = bench.target.mark()
    # The points and the order of Vornick's precision run: two rows, ten repeats each.
    clicker = WineProgram(helper_path("wait_clicker"), [wait, PRECISION_CLICKS, delay, bench.windows_path(times_path),
                                                         PRECISION_REPEATS, *flat(target_points(bench, 2))],
                          log_path=bench.artifacts / f"wait_clicker-{wait}-{delay}.log")
    with CpuMonitor({"program": clicker.process.pid, "wineserver": bench.wineserver}) as cpu:
        presses = bench.target.wait_presses(start, PRECISION_CLICKS, timeout=60 + PRECISION_CLICKS * delay / 1000 * 3)
        clicker.wait_exit(60)
    clicker.kill()
    sent = [int(line) for line in times_path.read_text().split()]
    if len(presses) < 2:
        raise RuntimeError(f"only {len(presses)} clicks arrived")
    return summarise_run(presses, delay, cpu, presses[0][1], presses[-1][1], sender_us=sent)


def precision_xdotool(bench, delay):
    x, y = bench.target.point(150, 150)
    mouse_move(x, y)
    bench.settle()
    start = bench.target.mark()
    process = subprocess.Popen(["xdotool", "click", "--repeat", str(PRECISION_CLICKS), "--delay", str(delay), "1"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with CpuMonitor({"wineserver": bench.wineserver}) as cpu:
        started = now_us()
        _, status, usage = os.wait4(process.pid, 0)
        ended = now_us()
        process.returncode = os.waitstatus_to_exitcode(status)
        presses = bench.target.wait_presses(start, PRECISION_CLICKS, timeout=30)
    if len(presses) < 2:
        raise RuntimeError(f"only {len(presses)} clicks arrived")
    result = summarise_run(presses, delay, None, 0, 0)
    result["cpu_program"] = (usage.ru_utime + usage.ru_stime) / ((ended - started) / 1e6)
    result["cpu_wineserver"] = cpu.share("wineserver", presses[0][1], presses[-1][1])
    result["cpu_total"] = result["cpu_program"] + (result["cpu_wineserver"] or 0)
    return result


def idle_cpu(bench, app, seconds=5):
    """The program waiting for the user: its own timers (the save poll ticks every 10 to 16 ms) still run."""
    bench.settle()
    with CpuMonitor({"program": app.process.pid, "wineserver": bench.wineserver}) as cpu:
        start = time.monotonic()
        time.sleep(seconds)
        end_us = now_us()
    start_us = end_us - int((time.monotonic() - start) * 1e6)
    program, server = cpu.share("program", start_us, end_us), cpu.share("wineserver", start_us, end_us)
    return {"cpu_program": program, "cpu_wineserver": server, "cpu_total": program + server}


def measure_precision(bench):
    """Delay precision and CPU while waiting, 200 clicks at 100 ms and at 10 ms, for each sender."""
    results = {}
    app = bench.start_vornick("precision")
    try:
        results["idle"] = bench.attempt(lambda: idle_cpu(bench, app))
        for delay in (100, 10):
            runs = results[str(delay)] = {}
            for name, run in (("vornick", lambda: precision_vornick(bench, app, delay)),
                              ("busy_wait", lambda: precision_wait_clicker(bench, "busy", delay)),
                              ("paced_delay_alone", lambda: precision_wait_clicker(bench, "paced", delay)),
                              ("xdotool", lambda: precision_xdotool(bench, delay))):
                bench.log(f"precision: {name} at {delay} ms")
                runs[name] = bench.attempt(run)
    finally:
        bench.stop_vornick(app)
    return results


# ------------------------------------------------------------------------------------ 3: click rate, Alt+A

def click_alone_rate(bench, clicks=3000):
    """The program's click with nothing around it (wait_clicker, no wait): what this machine and the target
    can take at most."""
    bench.settle()
    start = bench.target.mark()
    clicker = WineProgram(helper_path("wait_clicker"), ["busy", clicks, 0,
                                                         bench.windows_path(bench.work_dir / "sent-alone.txt"),
                                                         RATE_LOOP_COUNT, *flat(target_points(bench, 10))],
                          log_path=bench.artifacts / "wait_clicker-alone.log")
    presses = bench.target.wait_presses(start, clicks, timeout=120)
    clicker.wait_exit(60)
    clicker.kill()
    return (len(presses) - 1) / ((presses[-1][1] - presses[0][1]) / 1e6)


def measure_click_rate(bench):
    """All delays 0, 10 rows, loop count 500: clicks per second, then Alt+A: time to the last click and the
    clicks after the stop was handled (the run restores its auto-minimised window as the stop's first step)."""
    app = bench.start_vornick("rate")
    watch = ControlWatch(bench.work_dir / "rate-watch.txt", ["minimised", "text:状态标签"],
                         log_path=bench.artifacts / "control_watch-rate.log")
    try:
        if app.checked("自动最小化") != 1:
            app.click_control("自动最小化")
        fill_table(app, target_points(bench, 10), ["0"] * 10, str(RATE_LOOP_COUNT))
        watch.wait_started("minimised")
        bench.settle()
        start = bench.target.mark()
        click_start(app)
        first = bench.target.wait_presses(start, 1, timeout=60)
        if not first:
            raise RuntimeError("no click arrived")
        time.sleep(5)  # the measured stretch

        # Alt+A goes to the focused window: make it a Wine window (the target), as a person's would be.
        xdotool("windowactivate", "--sync", bench.target_window)
        key_us = now_us()
        xdotool("key", "alt+a")
        stop = watch.wait_value("minimised", lambda v: v == "0", key_us, timeout=30)
        ended = watch.wait_value("text:状态标签", lambda v: v == RUN_ENDED, key_us, timeout=90)
        bench.target.quiet_for(1.0)
        presses = bench.target.presses[start:]
        before_key = [p for p in presses if p[1] < key_us]
        rate = (len(before_key) - 1) / ((before_key[-1][1] - before_key[0][1]) / 1e6)
        result = {"clicks_per_second": rate, "clicks_measured": len(before_key),
                  "click_alone_per_second": bench.attempt(lambda: click_alone_rate(bench)),
                  "clicks_total": len(presses), "stop_seen": stop is not None, "run_ended": ended is not None}
        if stop is None:
            return result
        stop_us = stop[0]
        last_us = presses[-1][1]
        result.update({
            "key_to_stop_ms": (stop_us - key_us) / 1000,
            "key_to_last_click_ms": (last_us - key_us) / 1000,
            # Queued at or after the moment the stop was seen (tick count: whole milliseconds).
            "clicks_queued_after_stop": sum(1 for q, _, _, _ in presses if q > stop_us // 1000),
            "clicks_received_after_stop": sum(1 for _, r, _, _ in presses if r > stop_us),
        })
        return result
    finally:
        watch.kill()
        bench.stop_vornick(app)


# ------------------------------------------------------------------------------------ 4: capture

def read_out(x, y):
    return f" X轴 水平坐标：{x}\r\n Y轴 垂直坐标：{y}\r\n\r\n请再次单击自动写入坐标！"


def measure_capture(bench, captures=20):
    """A real press on the crosshair picture opens the overlay; an xdotool click (held about 1 ms) there is
    timed until its point shows in row 1, read by control_watch every millisecond."""
    app = bench.start_vornick("capture")
    watch = ControlWatch(bench.work_dir / "capture-watch.txt", ["text:X坐标1"],
                         log_path=bench.artifacts / "control_watch-capture.log")
    latencies, after_xdotool, missed, xdotool_ms = [], [], 0, []
    try:
        watch.wait_started("text:X坐标1")
        for i in range(captures):
            app.probe.value("set-text", "X坐标1", "")
            app.probe.value("set-text", "Y坐标1", "")
            app.click_control("准星")
            overlay = wait_until(lambda: [w for w in app.other_windows() if w["class"] == OVERLAY_CLASS], 60,
                                 "the capture overlay")[0]
            wait_until(lambda: app.window()["minimised"], 30, "the main window to minimise")
            x, y = 60 + 13 * i, 300 + 11 * i
            mouse_move(x, y)
            overlay_probe = Probe(hwnd=overlay["hwnd"], form="capture")
            wait_until(lambda: overlay_probe.value("text", "编辑框1") == read_out(x, y), 30, "the read-out")
            before = now_us()
            # The same short click as xdotool's default (held well under a millisecond), without the 100 ms
            # xdotool would sleep after it: the press lies between these two readings.
            xdotool("click", "--delay", "0", "1")
            after = now_us()
            xdotool_ms.append((after - before) / 1000)
            seen = watch.wait_value("text:X坐标1", lambda v: v != "", before, timeout=5)
            if seen is None:
                missed += 1
                overlay_x = xdotool("getmouselocation", "--shell").split("WINDOW=")[1].split()[0]
                xdotool("windowactivate", "--sync", overlay_x)
                xdotool("key", "Escape")
            else:
                latencies.append((seen[0] - before) / 1000)
                after_xdotool.append((seen[0] - after) / 1000)
            wait_until(lambda: not any(w["class"] == OVERLAY_CLASS for w in app.other_windows()), 30,
                       "the overlay to close")
            wait_until(lambda: not app.window()["minimised"], 30, "the main window to come back")
    finally:
        watch.kill()
        bench.stop_vornick(app)
    return {
        "captures": captures, "captured": captures - missed,
        "p50_ms": percentile(latencies, 50), "p99_ms": percentile(latencies, 99),
        "max_ms": max(latencies) if latencies else None,
        # The press happened while xdotool ran: from its end, the latency is bounded from below.
        "p50_from_xdotool_end_ms": percentile(after_xdotool, 50),
        "p99_from_xdotool_end_ms": percentile(after_xdotool, 99),
        "xdotool_click_ms": statistics.median(xdotool_ms) if xdotool_ms else None,
    }


# ------------------------------------------------------------------------------------ 5: start-up

def time_to_window(exe, title_regex, log_path, close):
    started = now_us()
    program = WineProgram(exe, log_path=log_path)
    try:
        wait_until(lambda: find_x_windows(program.process.pid, title_regex), 60, f"{exe.name}'s window",
                   interval=0.01)
        shown = now_us()
        close()
        program.wait_exit(30)
    finally:
        program.kill()
    return (shown - started) / 1000


def measure_startup(bench, runs=10):
    """Launch to window shown (mapped on the X display), warm: the target and wineserver are running."""
    vornick_ms, bare_ms = [], []
    documents = bench.work_dir / "startup-documents"
    documents.mkdir(exist_ok=True)
    bench.point_documents_at(documents)
    for i in range(runs):
        vornick_ms.append(time_to_window(exe_path(), "^Vornick：", bench.artifacts / "startup-vornick.log",
                                         lambda: Probe().value("close")))
        bare_ms.append(time_to_window(helper_path("bare_window"), "^Bare window$",
                                      bench.artifacts / "startup-bare.log",
                                      lambda: Probe(title="Bare window").value("close")))
    return {"runs": runs, "vornick_median_ms": statistics.median(vornick_ms),
            "bare_median_ms": statistics.median(bare_ms),
            "ratio": statistics.median(vornick_ms) / statistics.median(bare_ms),
            "vornick_ms": vornick_ms, "bare_ms": bare_ms}


# ------------------------------------------------------------------------------------ 6: size

SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll",
    "oleaut32.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "msimg32.dll", "uxtheme.dll", "dinput8.dll",
    "dinput.dll", "winmm.dll", "imm32.dll", "version.dll", "ntdll.dll", "ucrtbase.dll", "shcore.dll",
    "dwmapi.dll", "bcrypt.dll", "ws2_32.dll", "rpcrt4.dll", "setupapi.dll", "hid.dll", "winspool.drv",
}


def is_system_dll(name):
    name = name.lower()
    return name in SYSTEM_DLLS or name.startswith("api-ms-win-")


def measure_size(bench):
    exe = exe_path()
    dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", str(exe)], capture_output=True, timeout=60,
                          check=True).stdout.decode(errors="replace")
    dlls = sorted(set(re.findall(r"DLL Name:\s*(\S+)", dump)), key=str.lower)
    return {"bytes": exe.stat().st_size, "dlls": dlls, "non_system_dlls": [d for d in dlls if not is_system_dll(d)]}


# ------------------------------------------------------------------------------------ 7: endurance

def parse_settings(data):
    """{key: value} of the [配置1] section of a GBK settings file; None when it cannot be read as one."""
    try:
        text = data.decode("gbk")
    except UnicodeDecodeError:
        return None
    section, values = None, {}
    for line in text.split("\r\n"):
        if line.startswith("[") and line.endswith("]"):
            section = line[1:-1]
        elif "=" in line and section == "配置1":
            key, value = line.split("=", 1)
            values[key] = value
    return values


class SettingsWatcher(BackgroundThread):
    """Reads the settings file every time it changes (a save replaces it: new inode or mtime) and checks it
    against the table as it was set."""

    def __init__(self, path, expected):
        super().__init__()
        self.path, self.expected = Path(path), expected
        self.saves = []  # (t_us, intact, problem)

    def _check(self, data):
        values = parse_settings(data)
        if values is None:
            return False, "not GBK text"
        if len(values) != len(self.expected):
            return False, f"{len(values)} keys instead of {len(self.expected)}"
        wrong = [k for k, v in self.expected.items() if values.get(k) != v]
        return (not wrong), (f"wrong values: {wrong[:5]}" if wrong else "")

    def _run(self):
        last = None
        while not self._stop.wait(0.02):
            try:
                st = self.path.stat()
                signature = (st.st_ino, st.st_mtime_ns, st.st_size)
                if signature == last:
                    continue
                data = self.path.read_bytes()
            except OSError:
                continue
            last = signature
            intact, problem = self._check(data)
            self.saves.append((now_us(), intact, problem))


def sample_resources(app):
    sample = {}
    try:
        import json
        sample.update(json.loads(run_wine("resource_sampler", "vornick.exe").strip().splitlines()[-1]))
    except (ValueError, IndexError):
        sample["error"] = "resource_sampler gave no answer"
    sample.update(linux_memory(app.process.pid))
    return sample


def measure_endurance(bench, loop_count=100):
    """100,000 clicks (10 rows, delays 0 and 1, loop count 100: 10 x 100 x 100) with auto-save checked:
    resources at the start, after 50,000 and after 100,000 clicks, and every auto-save read back."""
    total = 10 * loop_count * loop_count
    app = bench.start_vornick("endurance")
    try:
        fill_table(app, target_points(bench, 10), ["0", "1"] * 5, str(loop_count))
        if app.checked("选择框1") != 1:
            app.click_control("选择框1")
        wait_until(lambda: app.checked("选择框1") == 1, 30, "auto-save to be checked")
        keys = [f"{axis}坐标{row}" for row in ROWS for axis in "XY"] + [f"X坐标延时{row}" for row in ROWS]
        expected = app.texts(*keys, "编辑框1")
        expected["X坐标延时"] = expected.pop("编辑框1")
        bench.settle()
        samples = {"start": sample_resources(app)}
        start = bench.target.mark()
        started = time.monotonic()
        with SettingsWatcher(app.settings_path, expected) as saves:
            run_start_us = now_us()
            click_start(app)
            bench.target.wait_presses(start, total // 2, timeout=600)
            samples["50k"] = sample_resources(app)
            samples["50k"]["clicks"] = bench.target.mark() - start
            bench.target.wait_presses(start, total, timeout=600)
            app.wait_text("状态标签", RUN_ENDED, timeout=120)
            run_end_us = now_us()
            samples["100k"] = sample_resources(app)
            samples["100k"]["clicks"] = bench.target.mark() - start
            time.sleep(0.5)
        during = [s for s in saves.saves if run_start_us <= s[0] <= run_end_us]
        return {
            "clicks": bench.target.mark() - start, "seconds": time.monotonic() - started,
            "samples": samples,
            "saves_during_run": len(during),
            "saves_intact": sum(1 for s in during if s[1]),
            "save_problems": sorted({s[2] for s in during if not s[1]}),
        }
    finally:
        bench.stop_vornick(app)
