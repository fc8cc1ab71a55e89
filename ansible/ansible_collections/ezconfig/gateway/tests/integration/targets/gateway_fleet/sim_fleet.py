"""A fleet of gateway-sim processes on loopback, for the Ansible tests and the fleet benchmark.

Each simulator listens on a free port (it picks one itself: --listen 127.0.0.1:0) and keeps its
configuration in its own state file, so that a test can tell exactly what each one stored.

    with SimFleet(sim_path, 8, workdir, ['--reboot-seconds', '1']) as fleet:
        fleet.sims[0].port, fleet.sims[0].state_bytes()
"""

import hashlib
import os
import selectors
import signal
import subprocess
import time


class SimProcess(object):
    def __init__(self, sim_path, name, workdir, extra_args):
        self.name = name
        self.state_path = os.path.join(workdir, name + '.cfg')
        self.stderr_path = os.path.join(workdir, name + '.stderr')
        self.log_path = os.path.join(workdir, name + '.log')
        self.port = None
        args = [sim_path, '--listen', '127.0.0.1:0', '--state', self.state_path,
                '--log', self.log_path] + list(extra_args)
        self._stderr = open(self.stderr_path, 'wb')
        self.process = subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                        stderr=self._stderr)

    def wait_ready(self, deadline):
        """Reads the simulator's stdout until "ready"; the port from "listening HOST:PORT"."""
        selector = selectors.DefaultSelector()
        selector.register(self.process.stdout, selectors.EVENT_READ)
        buffered = b''
        try:
            while True:
                remaining = deadline - time.monotonic()
                if remaining <= 0 or not selector.select(remaining):
                    raise RuntimeError('%s: not ready in time' % self.name)
                chunk = os.read(self.process.stdout.fileno(), 4096)
                if not chunk:
                    raise RuntimeError('%s ended at start: %s' % (self.name, self.stderr_text()))
                buffered += chunk
                for line in buffered.decode('utf-8', 'replace').splitlines():
                    if line.startswith('listening '):
                        self.port = int(line.rsplit(':', 1)[1])
                    if line.strip() == 'ready':
                        return
        finally:
            selector.close()

    @property
    def address(self):
        return '127.0.0.1:%d' % self.port

    def state_bytes(self):
        with open(self.state_path, 'rb') as handle:
            return handle.read()

    def state_digest(self):
        return hashlib.sha256(self.state_bytes()).hexdigest()

    def log_text(self):
        """Everything the simulator received, sent and did (its --log)."""
        with open(self.log_path, 'rb') as handle:
            return handle.read().decode('utf-8', 'replace')

    def stderr_text(self):
        with open(self.stderr_path, 'rb') as handle:
            return handle.read().decode('utf-8', 'replace')

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.process.stdout.close()
        self._stderr.close()


class SimFleet(object):
    def __init__(self, sim_path, count, workdir, extra_args=(), prefix='gw', ready_seconds=20):
        self.sims = []
        try:
            for i in range(count):
                self.sims.append(
                    SimProcess(sim_path, '%s%d' % (prefix, i + 1), workdir, extra_args))
            deadline = time.monotonic() + ready_seconds
            for sim in self.sims:
                sim.wait_ready(deadline)
        except BaseException:
            self.stop()
            raise

    def stop(self):
        for sim in self.sims:
            sim.stop()

    def digests(self):
        return {sim.name: sim.state_digest() for sim in self.sims}

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
