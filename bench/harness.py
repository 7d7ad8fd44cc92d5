"""What the benchmarks run on: the bench helpers, the Linux side of Wine processes, clocks and statistics.

Time: Wine's QueryPerformanceCounter is Linux's CLOCK_MONOTONIC_RAW (100 ns units) and its tick count the
same clock in milliseconds, so now_us() here, the QPC_US of the helpers and GetMessageTime() in the target
are one time line.
"""

import bisect
import os
import subprocess
import threading
import time
from pathlib import Path

from vornick_driver import WineProgram, find_x_windows, helper_path, wait_until, windows_path

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def now_us():
    return time.clock_gettime_ns(time.CLOCK_MONOTONIC_RAW) // 1000


# ------------------------------------------------------------------------------------ statistics

def percentile(values, p):
    """Nearest-rank percentile of values (p in 0..100); None for no values."""
    if not values:
        return None
    ordered = sorted(values)
    rank = max(1, -(-len(ordered) * p // 100))  # ceil
    return ordered[int(rank) - 1]


def interval_stats(times_ms, delay_ms):
    """Intervals between consecutive times, judged against the delay: lateness = interval - delay."""
    intervals = [b - a for a, b in zip(times_ms, times_ms[1:])]
    if not intervals:
        return None
    late = [i - delay_ms for i in intervals]
    return {
        "intervals": len(intervals),
        "mean_interval_ms": sum(intervals) / len(intervals),
        "mean_late_ms": sum(late) / len(late),
        "p50_late_ms": percentile(late, 50),
        "p99_late_ms": percentile(late, 99),
        "max_late_ms": max(late),
        "shorter": sum(1 for i in intervals if i < delay_ms),
        # Where the worst ones fell (interval n is between press n and n + 1): a pattern points at a cause.
        "worst": sorted(((round(x, 2), n) for n, x in enumerate(late)), reverse=True)[:5],
    }


# ------------------------------------------------------------------------------------ Linux side

def cpu_seconds(pid):
    """User + system CPU time of a Linux process so far, or None when it is gone."""
    try:
        fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    except OSError:
        return None
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS  # utime, stime (fields 14, 15 of stat)


def wineserver_pid():
    """The wineserver of this environment's prefix (the one wine_env_boot keeps running)."""
    prefix = os.environ["WINEPREFIX"].encode()
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            if not (entry / "comm").read_text().startswith("wineserver"):
                continue
            environ = (entry / "environ").read_bytes().split(b"\0")
        except OSError:
            continue
        if b"WINEPREFIX=" + prefix in environ:
            return int(entry.name)
    return None


def linux_memory(pid):
    """Private (resident, not shared) bytes and the resident set of a Linux process, from smaps_rollup."""
    try:
        lines = Path(f"/proc/{pid}/smaps_rollup").read_text().splitlines()
    except OSError:
        return {}
    kb = {}
    for line in lines:
        parts = line.split()
        if len(parts) >= 2 and parts[0].endswith(":") and parts[1].isdigit():
            kb[parts[0][:-1]] = int(parts[1])
    return {"linux_private_bytes": (kb.get("Private_Clean", 0) + kb.get("Private_Dirty", 0)) * 1024,
            "linux_rss_bytes": kb.get("Rss", 0) * 1024}


class BackgroundThread:
    """A with-block that runs self._run in a thread; _run polls self._stop, which is set when the block ends."""

    def __init__(self):
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._run, daemon=True)

    def __enter__(self):
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self._stop.set()
        self._thread.join()

    def _run(self):
        raise NotImplementedError


class CpuMonitor(BackgroundThread):
    """Samples the CPU time of some Linux processes every 50 ms in a thread, so that the CPU spent between
    any two moments of a run (on the now_us() time line) can be read afterwards."""

    def __init__(self, pids):
        super().__init__()
        self.pids = dict(pids)  # name -> pid
        self.samples = []  # (t_us, {name: seconds})

    def _take(self):
        self.samples.append((now_us(), {name: cpu_seconds(pid) for name, pid in self.pids.items()}))

    def _run(self):
        self._take()
        while not self._stop.wait(0.05):
            self._take()
        self._take()

    def _at(self, name, t_us):
        times = [t for t, _ in self.samples]
        i = bisect.bisect_left(times, t_us)
        i = min(max(i, 1), len(times) - 1)
        (t0, a), (t1, b) = self.samples[i - 1], self.samples[i]
        if a[name] is None or b[name] is None:
            return a[name] if b[name] is None else b[name]
        return a[name] + (b[name] - a[name]) * (t_us - t0) / max(1, t1 - t0)

    def share(self, name, start_us, end_us):
        """CPU seconds per wall second of one process between two moments (1.0 = one full core)."""
        if end_us <= start_us or len(self.samples) < 2:
            return None
        return (self._at(name, end_us) - self._at(name, start_us)) / ((end_us - start_us) / 1e6)


# ------------------------------------------------------------------------------------ helpers

class BenchTarget(WineProgram):
    """bench/helpers/bench_target.exe: a borderless window at box = (left, top, width, height) that records
    every button message (see the helper for the format). Read incrementally: a 100,000-click run is 200,000
    lines."""

    TITLE = "Vornick bench target"

    def __init__(self, events_path, box, log_path):
        self.events_path = Path(events_path)
        self.box = box
        self._offset = 0
        self._rest = b""
        self.presses = []  # (queue_ms, receive_us, x, y) of every press, down or dblclk
        super().__init__(helper_path("bench_target"), [windows_path(self.events_path), *box], log_path=log_path)

    def wait_window(self, timeout=60):
        def shown():
            if not self.running():
                raise AssertionError(f"bench_target.exe exited with {self.process.returncode}")
            return self.events_path.exists() and find_x_windows(self.process.pid, f"^{self.TITLE}$")
        return wait_until(shown, timeout, "the bench target's window")[0]

    def point(self, x, y):
        return self.box[0] + x, self.box[1] + y

    def update(self):
        """Reads what the target has written since the last call; returns the number of presses so far."""
        with open(self.events_path, "rb") as f:
            f.seek(self._offset)
            data = f.read()
        self._offset += len(data)
        data = self._rest + data
        lines = data.split(b"\n")
        self._rest = lines.pop()
        for line in lines:
            parts = line.split()
            if len(parts) == 6 and parts[0] in (b"down", b"dblclk"):
                self.presses.append((int(parts[4]), int(parts[5]), int(parts[2]), int(parts[3])))
        return len(self.presses)

    def mark(self):
        """The number of presses so far: the start of a new measurement's slice of self.presses."""
        self.update()
        return len(self.presses)

    def wait_presses(self, start, count, timeout):
        """Waits until count presses have arrived after mark start; returns them (fewer on time-out)."""
        deadline = time.monotonic() + timeout
        while self.update() - start < count and time.monotonic() < deadline:
            time.sleep(0.05)
        return self.presses[start:start + count]

    def quiet_for(self, seconds, timeout=60):
        """Waits until no press has arrived for `seconds` (the sender has finished); returns the count."""
        deadline = time.monotonic() + timeout
        last, last_change = self.update(), time.monotonic()
        while time.monotonic() < deadline:
            time.sleep(0.1)
            n = self.update()
            if n != last:
                last, last_change = n, time.monotonic()
            elif time.monotonic() - last_change >= seconds:
                break
        return last


class ControlWatch(WineProgram):
    """bench/helpers/control_watch.exe: the moments at which watched things of the running Vornick change."""

    def __init__(self, out_path, items, log_path, interval_ms=1):
        self.out_path = Path(out_path)
        super().__init__(helper_path("control_watch"), [windows_path(self.out_path), interval_ms, *items],
                         log_path=log_path)

    def changes(self, item=None):
        """[(t_us, item, value)] so far, of one item or all."""
        if not self.out_path.exists():
            return []
        found = []
        for line in self.out_path.read_bytes().decode("utf-8", "replace").splitlines():
            parts = line.split(" ", 2)
            if len(parts) >= 2 and (item is None or parts[1] == item):
                found.append((int(parts[0]), parts[1], parts[2] if len(parts) > 2 else ""))
        return found

    def wait_value(self, item, predicate, after_us, timeout):
        """The first change of item after a moment whose value satisfies predicate: (t_us, value), or None."""
        deadline = time.monotonic() + timeout
        while True:
            for t, _, value in self.changes(item):
                if t >= after_us and predicate(value):
                    return t, value
            if time.monotonic() >= deadline:
                return None
            time.sleep(0.01)

    def wait_started(self, item, timeout=60):
        return wait_until(lambda: self.changes(item), timeout, f"control_watch to read {item}")


def run_wine(name, *args, timeout=120):
    """Runs a bench helper to its end; returns its stdout."""
    result = subprocess.run(["wine", str(helper_path(name)), *map(str, args)], capture_output=True, timeout=timeout)
    return result.stdout.decode("utf-8", "replace")
