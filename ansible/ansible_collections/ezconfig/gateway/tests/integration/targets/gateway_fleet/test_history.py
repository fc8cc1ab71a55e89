"""The history example (examples/history.yml and restore.yml) against three simulated gateways:
each gateway's file is what `ezconfig-cli read --redact` prints; a second run with no change
commits nothing; a change on one gateway gives exactly one commit touching its file alone; and
restoring that gateway from the commit before puts the old configuration back while the
gateway keeps its passwords.

The steps build on one another, so they run in order.

Environment: EZCONFIG_CLI and GATEWAY_SIM, the programs from the build.
"""

import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sim_fleet import SimFleet  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
COLLECTIONS = os.path.abspath(os.path.join(HERE, *['..'] * 7))
EXAMPLES = os.path.join(COLLECTIONS, 'examples')
HOSTS = 3
PASSWORD = 'admin'
# The simulator's own PSTN password, which no history file may show.
DEVICE_SECRET_LINE = re.compile(r'^ppp pap sent-username \S+ password (\S+)$', re.M)
RECAP = re.compile(r'^(\S+)\s+:\s+ok=\d+\s+changed=(\d+)\s+unreachable=0\s+failed=0', re.M)


class HistoryTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.playbook = shutil.which('ansible-playbook')
        if not cls.playbook:
            raise AssertionError('no ansible-playbook: install ansible-core (scripts/setup does)')
        cls.cli = os.environ['EZCONFIG_CLI']
        cls.tmp = tempfile.mkdtemp(prefix='ansible-history-')
        cls.fleet = SimFleet(os.environ['GATEWAY_SIM'], HOSTS, cls.tmp)
        cls.history = os.path.join(cls.tmp, 'history')
        cls.inventory = os.path.join(cls.tmp, 'inventory.yml')
        with open(cls.inventory, 'w') as handle:
            json.dump({'gateways': {'hosts': {s.name: {'gateway_tcp': s.address}
                                              for s in cls.fleet.sims}}}, handle)
        shutil.copytree(os.path.join(EXAMPLES, 'group_vars'), os.path.join(cls.tmp, 'group_vars'))
        home = os.path.join(cls.tmp, 'home')
        os.makedirs(home)
        cls.env = dict(os.environ, HOME=home, GATEWAY_PASSWORD=PASSWORD,
                       EZCONFIG_PASSWORD=PASSWORD, ANSIBLE_COLLECTIONS_PATH=COLLECTIONS,
                       ANSIBLE_FORKS=str(HOSTS), ANSIBLE_CONFIG=os.path.join(cls.tmp, 'none.cfg'),
                       ANSIBLE_NOCOLOR='1', ANSIBLE_RETRY_FILES_ENABLED='0',
                       ANSIBLE_LOCAL_TEMP=os.path.join(cls.tmp, 'ansible-tmp'),
                       ANSIBLE_PIPELINING='1', GIT_CONFIG_NOSYSTEM='1')

    @classmethod
    def tearDownClass(cls):
        cls.fleet.stop()
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def run_playbook(self, name, *args):
        command = [self.playbook, '-i', self.inventory, os.path.join(EXAMPLES, name),
                   '-e', 'ezconfig_cli=%s history_dir=%s' % (self.cli, self.history)] + list(args)
        process = subprocess.run(command, env=self.env, stdin=subprocess.DEVNULL,
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
        output = process.stdout.decode('utf-8', 'replace')
        self.assertEqual(process.returncode, 0, output)
        return output

    def git(self, *args):
        return subprocess.run(['git', '-C', self.history] + list(args), env=self.env,
                              stdout=subprocess.PIPE, check=True).stdout.decode()

    def commits(self):
        return self.git('rev-list', 'HEAD').split()

    def cli_run(self, sim, *args):
        process = subprocess.run([self.cli] + list(args) + ['--tcp', sim.address],
                                 env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE, timeout=60)
        self.assertEqual(process.returncode, 0, process.stderr.decode())
        return process.stdout.decode()

    def test_1_first_run_keeps_each_gateway_as_read_prints_it(self):
        self.run_playbook('history.yml')
        self.assertEqual(len(self.commits()), 1)
        self.assertEqual(sorted(self.git('ls-files').split()),
                         sorted(s.name + '.json' for s in self.fleet.sims))
        for sim in self.fleet.sims:
            with self.subTest(host=sim.name):
                with open(os.path.join(self.history, sim.name + '.json')) as handle:
                    kept = handle.read()
                self.assertEqual(kept, self.cli_run(sim, 'read', '--redact'))
                secret = DEVICE_SECRET_LINE.search(sim.state_bytes().decode()).group(1)
                self.assertNotIn(secret, kept)

    def test_2_second_run_without_change_commits_nothing(self):
        before = self.commits()
        output = self.run_playbook('history.yml')
        self.assertEqual(self.commits(), before)
        self.assertEqual({host: int(changed) for host, changed in RECAP.findall(output)},
                         {s.name: 0 for s in self.fleet.sims}, output)

    def test_3_one_changed_gateway_is_one_commit_of_its_file(self):
        changed = self.fleet.sims[1]
        config = os.path.join(self.tmp, 'dialing.json')
        with open(config, 'w') as handle:
            json.dump({'format': 1, 'pstn': {'dialing': '0800777000'}}, handle)
        self.cli_run(changed, 'write', config, '--yes')
        before = self.commits()
        self.run_playbook('history.yml')
        self.assertEqual(len(self.commits()), len(before) + 1)
        touched = self.git('show', '--name-only', '--format=%s', 'HEAD').split('\n')
        self.assertEqual(touched[0], 'Configuration of ' + changed.name)
        self.assertEqual([f for f in touched[1:] if f], [changed.name + '.json'])
        self.assertIn('+    "dialing": "0800777000",', self.git('show', 'HEAD'))

    def test_4_restore_puts_the_earlier_file_back_and_keeps_the_passwords(self):
        sim = self.fleet.sims[1]
        secret = DEVICE_SECRET_LINE.search(sim.state_bytes().decode()).group(1)
        # Without the restart, which is site.yml's handler and tested there.
        output = self.run_playbook('restore.yml', '--limit', sim.name, '-e',
                                   'revision=HEAD~1 gateway_restart_after_write=false')
        self.assertRegex(output, r'%s\s+: ok=2\s+changed=1 ' % sim.name)
        self.assertEqual(self.cli_run(sim, 'read', '--redact'),
                         self.git('show', 'HEAD~1:%s.json' % sim.name))
        self.assertEqual(DEVICE_SECRET_LINE.search(sim.state_bytes().decode()).group(1), secret)


if __name__ == '__main__':
    unittest.main(verbosity=2)
