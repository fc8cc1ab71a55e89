"""The fleet at scale, and the command line's soak, for docs/performance.md ("Fleet").

    fleet_scale.py --cli CLI --sim SIM fleet 100 [--rounds 3] [--forks 100] [--baud 9600]
    fleet_scale.py --cli CLI --sim soak 1000

fleet N: N gateway-sim on loopback (paced at --baud), and bench/fleet_bench.yml (one
gateway_config task: read, write, read back) over one gateway and over all N, side by side in the
same rounds, alternating. Per run: the wall time of the whole ansible-playbook process, its CPU
time with everything it started (the CLI processes too; the simulators are not its children),
the CPU time per gateway, the largest process's peak RSS, and the peak of the summed PSS of its
process tree (sampled every second). The load average before each run goes to stderr.

soak N: N writes with read-back by `ezconfig-cli write` against one simulator over loopback, each
a new dialling number, and the simulator's memory every N/10 writes.

Prints Markdown table rows; details go to stderr.
"""

import argparse
import json
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
sys.dont_write_bytecode = True
COLLECTION = os.path.join(REPO, 'ansible', 'ansible_collections', 'ezconfig', 'gateway')
sys.path.insert(0, os.path.join(COLLECTION, 'tests', 'integration', 'targets', 'gateway_fleet'))
from sim_fleet import SimFleet  # noqa: E402

PLAYBOOK = os.path.join(HERE, 'fleet_bench.yml')


def memory_kb(pid, field):
    """Rss or Pss of one process in kB (0 when it is gone)."""
    try:
        with open('/proc/%d/smaps_rollup' % pid) as handle:
            for line in handle:
                if line.startswith(field + ':'):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def descendants(root):
    """root and every process below it."""
    children = {}
    for name in os.listdir('/proc'):
        if not name.isdigit():
            continue
        try:
            with open('/proc/%s/stat' % name) as handle:
                ppid = int(handle.read().rsplit(')', 1)[1].split()[1])
        except (OSError, IndexError, ValueError):
            continue
        children.setdefault(ppid, []).append(int(name))
    found, todo = [], [root]
    while todo:
        pid = todo.pop()
        found.append(pid)
        todo.extend(children.get(pid, []))
    return found


class TreeMemory(threading.Thread):
    """The peak of the summed PSS of a process tree, sampled every second."""

    def __init__(self, pid):
        super(TreeMemory, self).__init__(daemon=True)
        self.pid = pid
        self.peak_kb = 0
        self.done = threading.Event()

    def run(self):
        while not self.done.wait(1.0):
            total = sum(memory_kb(pid, 'Pss') for pid in descendants(self.pid))
            self.peak_kb = max(self.peak_kb, total)


def load():
    with open('/proc/loadavg') as handle:
        return ' '.join(handle.read().split()[:3])


class Fleet(object):
    def __init__(self, args, fleet, workdir):
        self.args = args
        self.count = len(fleet.sims)
        self.first = fleet.sims[0].name
        self.round = 0
        hosts = {sim.name: {'gateway_tcp': sim.address, 'phone_numbers': {'0/0': '7001'}}
                 for sim in fleet.sims}
        self.inventory = os.path.join(workdir, 'inventory.json')
        with open(self.inventory, 'w') as handle:
            json.dump({'gateways': {'hosts': hosts, 'vars': {
                'ansible_connection': 'local',
                'ansible_python_interpreter': '{{ ansible_playbook_python }}'}}}, handle)
        self.env = dict(os.environ, HOME=workdir, ANSIBLE_COLLECTIONS_PATH=os.path.dirname(
                            os.path.dirname(os.path.dirname(COLLECTION))),
                        ANSIBLE_CONFIG=os.path.join(workdir, 'none.cfg'),
                        ANSIBLE_FORKS=str(args.forks), ANSIBLE_STRATEGY=args.strategy,
                        ANSIBLE_NOCOLOR='1', ANSIBLE_LOCAL_TEMP=os.path.join(workdir, 'tmp'))

    def run(self, everyone):
        """One ansible-playbook run writing one gateway or all of them: its figures."""
        self.round += 1
        command = [self.args.ansible_playbook, '-i', self.inventory, PLAYBOOK, '-e',
                   'ezconfig_cli=%s bench_round=%d' % (self.args.cli, self.round)]
        if not everyone:
            command += ['--limit', self.first]
        hosts = self.count if everyone else 1
        sys.stderr.write('load %s before %d gateway(s)\n' % (load(), hosts))
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        started = time.monotonic()
        process = subprocess.Popen(command, env=self.env, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        sampler = TreeMemory(process.pid)
        sampler.start()
        output = process.communicate()[0].decode('utf-8', 'replace')
        wall = time.monotonic() - started
        sampler.done.set()
        sampler.join()
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpu = (after.ru_utime + after.ru_stime) - (before.ru_utime + before.ru_stime)
        if process.returncode != 0 or output.count(' changed=1 ') != hosts:
            sys.stderr.write(output[-5000:])
            raise RuntimeError('the run did not write all %d gateways' % hosts)
        figures = dict(wall=wall, cpu=cpu, per_gateway=cpu / hosts,
                       max_rss_mb=after.ru_maxrss / 1024.0, tree_pss_mb=sampler.peak_kb / 1024.0)
        sys.stderr.write('%d gateway(s): %s\n' % (hosts, ', '.join(
            '%s %.3f' % item for item in sorted(figures.items()))))
        return figures


def fleet_rows(args):
    workdir = tempfile.mkdtemp(prefix='fleet-scale-')
    sim_args = ['--baud', str(args.baud)] if args.baud else []
    runs = {'one': [], 'all': []}
    try:
        started = time.monotonic()
        # A thousand simulators take a while to start on two cores.
        with SimFleet(args.sim, args.count, workdir, sim_args,
                      ready_seconds=20 + args.count // 5) as sims:
            sims_pss = sum(memory_kb(sim.process.pid, 'Pss') for sim in sims.sims) / 1024.0
            sys.stderr.write('%d simulators up in %.1f s, %.0f MB PSS together\n' % (
                args.count, time.monotonic() - started, sims_pss))
            fleet = Fleet(args, sims, workdir)
            fleet.run(False)  # warm-up: caches
            for i in range(args.rounds):
                order = (('one', False), ('all', True))
                for name, everyone in (order if i % 2 == 0 else order[::-1]):
                    runs[name].append(fleet.run(everyone))
    finally:
        shutil.rmtree(workdir, ignore_errors=True)

    def cell(name, key, unit, digits):
        values = [run[key] for run in runs[name]]
        if len(values) == 1:
            return '%.*f %s' % (digits, values[0], unit)
        return '%.*f / %.*f %s' % (digits, min(values), digits, statistics.median(values), unit)

    link = 'TCP at %d baud' % args.baud if args.baud else 'loopback TCP'
    for name, hosts in (('one', 1), ('all', args.count)):
        print('| %d | %s | forks %d, %s | %s | %s | %s | %s | %s |' % (
            hosts, link, args.forks, args.strategy, cell(name, 'wall', 's', 2),
            cell(name, 'cpu', 's', 1), cell(name, 'per_gateway', 's', 3),
            cell(name, 'max_rss_mb', 'MB', 0), cell(name, 'tree_pss_mb', 'MB', 0)))


def soak(args):
    workdir = tempfile.mkdtemp(prefix='fleet-soak-')
    env = dict(os.environ, HOME=workdir, EZCONFIG_PASSWORD='admin')
    config = os.path.join(workdir, 'config.json')
    memory = []
    try:
        with SimFleet(args.sim, 1, workdir) as sims:
            sim = sims.sims[0]
            memory.append(memory_kb(sim.process.pid, 'Rss'))
            started = time.monotonic()
            for i in range(1, args.count + 1):
                with open(config, 'w') as handle:
                    json.dump({'format': 1, 'pstn': {'dialing': '0800%06d' % i}}, handle)
                process = subprocess.run([args.cli, 'write', config, '--yes', '--tcp',
                                          sim.address], env=env, stdin=subprocess.DEVNULL,
                                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
                if process.returncode != 0:
                    raise RuntimeError('write %d: %s' % (i, process.stderr.decode()))
                if i % max(1, args.count // 10) == 0:
                    memory.append(memory_kb(sim.process.pid, 'Rss'))
            seconds = time.monotonic() - started
    finally:
        shutil.rmtree(workdir, ignore_errors=True)
    print('| %d writes with read-back, one simulator, loopback | %.1f s | %.1f ms a write | '
          'simulator RSS %s MB |' % (args.count, seconds, 1000 * seconds / args.count,
                                     ' -> '.join('%.1f' % (kb / 1024.0) for kb in memory)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--cli', required=True)
    parser.add_argument('--sim', required=True)
    parser.add_argument('--ansible-playbook', default=shutil.which('ansible-playbook'))
    parser.add_argument('--rounds', type=int, default=3)
    parser.add_argument('--forks', type=int, default=100)
    parser.add_argument('--strategy', default='linear')
    parser.add_argument('--baud', type=int, default=9600, help='0: unpaced')
    parser.add_argument('what', choices=('fleet', 'soak'))
    parser.add_argument('count', type=int)
    args = parser.parse_args()
    if args.what == 'soak':
        soak(args)
        return
    if not args.ansible_playbook:
        sys.exit('fleet_scale: no ansible-playbook (install ansible-core)')
    print('| Gateways | Link | Ansible | Wall time | CPU time | CPU a gateway | Largest process '
          '(RSS) | Ansible and its processes (PSS) |')
    print('|---|---|---|---|---|---|---|---|')
    fleet_rows(args)


if __name__ == '__main__':
    main()
