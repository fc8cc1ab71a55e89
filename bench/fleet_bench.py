"""Times ansible-playbook configuring eight gateways in one run against configuring one, side by
side in the same run, over loopback and with the simulators paced at 9600 baud; beside them
`ezconfig-cli write` alone for one gateway, and Ansible's own cost: the same runs with
ansible.builtin.ping instead of the gateway task.

    python3 bench/fleet_bench.py --cli BUILD/cli/ezconfig-cli --sim BUILD/sim/gateway-sim

Prints a Markdown table (docs/performance.md, "Fleet"); details go to stderr.
"""

import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
# No __pycache__ folder in the source tree.
sys.dont_write_bytecode = True
COLLECTION = os.path.join(REPO, 'ansible', 'ansible_collections', 'ezconfig', 'gateway')
sys.path.insert(0, os.path.join(COLLECTION, 'tests', 'integration', 'targets', 'gateway_fleet'))
from sim_fleet import SimFleet  # noqa: E402

PLAYBOOK = os.path.join(HERE, 'fleet_bench.yml')
HOSTS = 8
PING = """- name: Ansible alone
  hosts: gateways
  gather_facts: false
  tasks:
    - ansible.builtin.ping:
"""


class Bench(object):
    def __init__(self, args, fleet, workdir):
        self.args = args
        self.fleet = fleet
        self.round = 0
        hosts = {}
        for i, sim in enumerate(fleet.sims, start=1):
            hosts[sim.name] = {'gateway_tcp': sim.address,
                               'phone_numbers': {'0/0': '7%d01' % i, '0/1': '7%d02' % i},
                               'ansible_connection': 'local',
                               'ansible_python_interpreter': '{{ ansible_playbook_python }}'}
        self.inventory = os.path.join(workdir, 'inventory.yml')
        with open(self.inventory, 'w') as handle:
            json.dump({'gateways': {'hosts': hosts}}, handle)
        self.config = os.path.join(workdir, 'config.json')
        self.ping = os.path.join(workdir, 'ping.yml')
        with open(self.ping, 'w') as handle:
            handle.write(PING)
        self.env = dict(os.environ, HOME=workdir, EZCONFIG_PASSWORD='admin',
                        ANSIBLE_COLLECTIONS_PATH=os.path.join(REPO, 'ansible'),
                        ANSIBLE_CONFIG=os.path.join(workdir, 'none.cfg'),
                        ANSIBLE_FORKS=str(HOSTS), ANSIBLE_PIPELINING='1', ANSIBLE_NOCOLOR='1',
                        ANSIBLE_LOCAL_TEMP=os.path.join(workdir, 'ansible-tmp'))

    def playbook(self, limit, ping=False):
        """Seconds for one ansible-playbook run that writes every host of `limit` (all when
        None), or only pings them."""
        self.round += 1
        command = [self.args.ansible_playbook, '-i', self.inventory,
                   self.ping if ping else PLAYBOOK,
                   '-e', 'ezconfig_cli=%s bench_round=%d' % (self.args.cli, self.round)]
        if limit:
            command += ['--limit', limit]
        started = time.monotonic()
        process = subprocess.run(command, env=self.env, stdin=subprocess.DEVNULL,
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        seconds = time.monotonic() - started
        output = process.stdout.decode('utf-8', 'replace')
        expected = 0 if ping else (1 if limit else HOSTS)
        if process.returncode != 0 or output.count('changed=1 ') != expected:
            sys.stderr.write(output)
            raise RuntimeError('the run did not write all %d gateways' % expected)
        return seconds

    def cli_write(self):
        """Seconds for `ezconfig-cli write` of one gateway, a new dialling number each time."""
        self.round += 1
        with open(self.config, 'w') as handle:
            json.dump({'format': 1, 'pstn': {'dialing': '0800%06d' % self.round}}, handle)
        command = [self.args.cli, 'write', self.config, '--yes', '--tcp',
                   self.fleet.sims[0].address]
        started = time.monotonic()
        process = subprocess.run(command, env=self.env, stdin=subprocess.DEVNULL,
                                 stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        seconds = time.monotonic() - started
        if process.returncode != 0:
            raise RuntimeError('ezconfig-cli write: %s' % process.stderr.decode())
        return seconds


def measure(args, label, sim_args, rounds, ping):
    """Medians in seconds: one and eight gateways, the CLI alone, and with `ping` Ansible alone
    for one and for eight hosts."""
    workdir = tempfile.mkdtemp(prefix='fleet-bench-')
    times = {}
    try:
        with SimFleet(args.sim, HOSTS, workdir, sim_args) as fleet:
            bench = Bench(args, fleet, workdir)
            first = fleet.sims[0].name
            bench.playbook(None)  # warm-up: caches, and every gateway written once
            runs = [('one', lambda: bench.playbook(first)), ('eight', lambda: bench.playbook(None))]
            if ping:
                runs += [('ping one', lambda: bench.playbook(first, ping=True)),
                         ('ping eight', lambda: bench.playbook(None, ping=True))]
            runs.append(('cli', bench.cli_write))
            for i in range(rounds):
                # Alternating order, so that neither side always runs on a warmer machine.
                for name, run in (runs if i % 2 == 0 else runs[::-1]):
                    times.setdefault(name, []).append(run())
                sys.stderr.write('%s round %d: %s\n' % (label, i + 1, ', '.join(
                    '%s %.2f s' % (name, values[-1]) for name, values in times.items())))
    finally:
        shutil.rmtree(workdir, ignore_errors=True)
    return {name: statistics.median(values) for name, values in times.items()}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--cli', required=True)
    parser.add_argument('--sim', required=True)
    parser.add_argument('--ansible-playbook', default=shutil.which('ansible-playbook'))
    parser.add_argument('--rounds', type=int, default=5)
    parser.add_argument('--paced-rounds', type=int, default=3)
    args = parser.parse_args()
    if not args.ansible_playbook:
        sys.exit('fleet_bench: no ansible-playbook (install ansible-core)')

    print('| Link | One gateway | Eight gateways | Eight / one | `ezconfig-cli write` alone, '
          'one gateway | Eight one after the other (8 x CLI) |')
    print('|---|---|---|---|---|---|')
    ping = None
    for label, sim_args, rounds in (('loopback TCP', [], args.rounds),
                                    ('TCP at 9600 baud', ['--baud', '9600'], args.paced_rounds)):
        t = measure(args, label, sim_args, rounds, ping is None)
        ping = ping or t
        print('| %s | %.2f s | %.2f s | %.2f | %.2f s | %.2f s |' % (
            label, t['one'], t['eight'], t['eight'] / t['one'], t['cli'], HOSTS * t['cli']))
        sys.stdout.flush()
    print('| Ansible alone (`ansible.builtin.ping`) | %.2f s | %.2f s | %.2f | - | - |' % (
        ping['ping one'], ping['ping eight'], ping['ping eight'] / ping['ping one']))
    print('\nMedians; loopback of %d rounds, 9600 baud of %d; each figure one whole '
          'ansible-playbook run (or CLI process), forks=%d.' % (args.rounds, args.paced_rounds,
                                                                HOSTS))


if __name__ == '__main__':
    main()
