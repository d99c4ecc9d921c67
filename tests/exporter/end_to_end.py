#!/usr/bin/env python3
"""The exporter between talvcard's demo cards and a real Prometheus.

end_to_end.py TALVCARD EXPORTER LINE_PEER ALERTS_YML

Starts talvcard, a line peer taking generated frames on TALVSTRM0, the
exporter on a free port and Prometheus scraping it every second with the
alert rules, then checks what Prometheus sees through its HTTP API. Stops
everything it started, whatever happens.
"""

import json
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.parse
import urllib.request

GENERATOR_RATE = 200  # frames a second


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for(what, check, timeout=40.0):
    until = time.monotonic() + timeout
    last = None
    while time.monotonic() < until:
        last = check()
        if last:
            return last
        time.sleep(0.5)
    raise AssertionError(f"timed out waiting for {what}; last answer: {last!r}")


def read_line(process, prefix, timeout=10.0):
    until = time.monotonic() + timeout
    while time.monotonic() < until:
        line = process.stdout.readline()
        if line.startswith(prefix):
            return line.strip()
        if not line and process.poll() is not None:
            break
    raise AssertionError(f"no line starting with {prefix!r}")


class Run:
    def __init__(self, talvcard, exporter, line_peer, alerts):
        self.talvcard, self.exporter, self.line_peer, self.alerts = talvcard, exporter, line_peer, alerts
        self.tmp = tempfile.mkdtemp(prefix="talvlink-e2e-")
        self.devices = os.path.join(self.tmp, "dev")
        os.mkdir(self.devices, 0o700)
        self.env = dict(os.environ, TALVSTRM_DIR=self.devices)
        self.processes = {}

    def start(self, name, args, ready_prefix=None):
        # Chatty programs write to a log file, so a full pipe never stops them.
        out = subprocess.PIPE if ready_prefix else open(os.path.join(self.tmp, name + ".log"), "w")
        p = subprocess.Popen(args, env=self.env, stdout=out, stderr=subprocess.STDOUT, text=True)
        self.processes[name] = p
        return read_line(p, ready_prefix) if ready_prefix else None

    def ready(self):
        try:
            with urllib.request.urlopen(f"http://127.0.0.1:{self.prometheus_port}/-/ready", timeout=2) as reply:
                return reply.status == 200
        except OSError:
            return False

    def stop(self, name):
        p = self.processes.pop(name, None)
        if p is None or p.poll() is not None:
            return None if p is None else p.returncode
        p.send_signal(signal.SIGTERM)
        try:
            return p.wait(timeout=10)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()
            return None

    def close(self):
        for name in list(self.processes)[::-1]:
            self.stop(name)
        shutil.rmtree(self.tmp, ignore_errors=True)

    def ctl(self, *args):
        subprocess.run([self.talvcard, "ctl", "--dir", self.devices, *map(str, args)], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, timeout=10)

    def query(self, expr):
        url = f"http://127.0.0.1:{self.prometheus_port}/api/v1/query?" + urllib.parse.urlencode({"query": expr})
        with urllib.request.urlopen(url, timeout=5) as reply:
            body = json.load(reply)
        assert body["status"] == "success", body
        return {json.dumps(r["metric"], sort_keys=True): float(r["value"][1]) for r in body["data"]["result"]}

    def values_by_device(self, expr):
        return {json.loads(k).get("device"): v for k, v in self.query(expr).items()}

    def run(self):
        demo = ["TALVSTRM0", "TALVSTRM1", "TALVSTRM2", "TALVSTRM3"]
        self.start("talvcard", [self.talvcard, "--dir", self.devices], "talvcard: serving")
        self.start("line_peer", [self.line_peer, "TALVSTRM0"], "line_peer: line up")
        self.ctl("gen", 0, GENERATOR_RATE, 64)
        listening = self.start("exporter", [self.exporter, "--web.listen-address=127.0.0.1:0"],
                               "talvlink_exporter: listening on")
        exporter_port = int(listening.rsplit(":", 1)[1])

        self.prometheus_port = free_port()
        config = os.path.join(self.tmp, "prometheus.yml")
        shutil.copy(self.alerts, os.path.join(self.tmp, "alerts.yml"))
        with open(config, "w") as f:
            f.write("global:\n  scrape_interval: 1s\n  scrape_timeout: 1s\n  evaluation_interval: 1s\n"
                    "rule_files:\n  - alerts.yml\n"
                    "scrape_configs:\n  - job_name: talvlink\n    static_configs:\n"
                    f"      - targets: ['127.0.0.1:{exporter_port}']\n")
        self.start("prometheus", ["prometheus", f"--config.file={config}",
                                  f"--storage.tsdb.path={os.path.join(self.tmp, 'data')}",
                                  f"--web.listen-address=127.0.0.1:{self.prometheus_port}"])
        wait_for("Prometheus ready", self.ready)

        # Every demo card up.
        wait_for("every demo card up", lambda: sorted(
            d for d, v in self.values_by_device("talvlink_up").items() if v == 1) == demo or None)
        print("up: every demo card answers")

        # A real scrape in the classic format passes the linter.
        with urllib.request.urlopen(f"http://127.0.0.1:{exporter_port}/metrics", timeout=5) as reply:
            scraped = reply.read()
        lint = subprocess.run(["promtool", "check", "metrics"], input=scraped, capture_output=True, timeout=30)
        assert lint.returncode == 0 and not lint.stdout and not lint.stderr, lint
        print("promtool check metrics: clean")

        # The generator's rate, as Prometheus computes it.
        def near_rate():
            r = self.values_by_device('rate(talvlink_frames_received_total{device="TALVSTRM0"}[5s])').get("TALVSTRM0")
            return r if r is not None and abs(r - GENERATOR_RATE) < 0.2 * GENERATOR_RATE else None
        print(f"rate: {wait_for('the generator rate', near_rate):.1f} frames/s")

        # An alarm raised on the T1 card shows and fires its rule.
        self.ctl("alarm", 1, "red", "on")
        wait_for("the red alarm", lambda: self.values_by_device(
            'talvlink_te1_alarm{device="TALVSTRM1",alarm="red"} == 1'))
        wait_for("the alarm rule firing", lambda: self.query(
            'ALERTS{alertname="TalvlinkLineAlarm",alertstate="firing",device="TALVSTRM1",alarm="red"}'))
        print("alarm: red on TALVSTRM1 fires TalvlinkLineAlarm")

        # The cards go away: devices down, scrapes still succeed.
        self.stop("line_peer")
        self.stop("talvcard")
        wait_for("every device down", lambda: sorted(
            d for d, v in self.values_by_device("talvlink_up").items() if v == 0) == demo or None)
        time.sleep(2)
        assert self.values_by_device('up{job="talvlink"}') == {None: 1.0}, "a scrape failed"
        with urllib.request.urlopen(f"http://127.0.0.1:{self.prometheus_port}/api/v1/targets", timeout=5) as reply:
            targets = json.load(reply)["data"]["activeTargets"]
        assert [t["health"] for t in targets] == ["up"] and not targets[0]["lastError"], targets
        print("down: every device down, the scrape still healthy")

        status = self.stop("exporter")
        assert status == 0, f"the exporter ended with {status} on SIGTERM"


def main():
    if len(sys.argv) != 5:
        print(__doc__, file=sys.stderr)
        return 2
    run = Run(*sys.argv[1:])
    try:
        run.run()
    finally:
        run.close()
    print("1 passed, 0 failed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
