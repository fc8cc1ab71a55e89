"""The rollout example (examples/rollout.yml) against simulated gateways: waves with a canary
(serial), a failed wave ending the run (max_fail_percentage), a gateway that stops answering
ended by the task's time limit (timeout), and the JUnit report of ansible-core's junit callback;
no password in the output or the report.

Environment: EZCONFIG_CLI and GATEWAY_SIM, the programs from the build.
"""

import glob
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ElementTree

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sim_fleet import SimFleet, SimProcess  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
COLLECTIONS = os.path.abspath(os.path.join(HERE, *['..'] * 7))
ROLLOUT = os.path.join(COLLECTIONS, 'examples', 'rollout.yml')
# A login no output may show.
PASSWORD = 'Fleet-Pw-6113'
SIM_ARGS = ['--password', PASSWORD, '--reboot-seconds', '1']
RECAP = re.compile(r'^(\S+)\s+:\s+ok=(\d+)\s+changed=(\d+)\s+unreachable=(\d+)\s+failed=(\d+)',
                   re.M)


class RolloutTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.playbook = shutil.which('ansible-playbook')
        if not cls.playbook:
            raise AssertionError('no ansible-playbook: install ansible-core (scripts/setup does)')
        cls.tmp = tempfile.mkdtemp(prefix='ansible-rollout-')
        cls.fleet = SimFleet(os.environ['GATEWAY_SIM'], 4, cls.tmp, SIM_ARGS)
        cls.faulty = []
        try:
            for name, fault in (('refusing', ['--refuse-login']),
                                ('stalling', ['--stall-on', 'get-voip'])):
                sim = SimProcess(os.environ['GATEWAY_SIM'], name, cls.tmp, SIM_ARGS + fault)
                cls.faulty.append(sim)
                sim.wait_ready(time.monotonic() + 20)
        except BaseException:
            cls.tearDownClass()
            raise
        cls.sims = {sim.name: sim for sim in cls.fleet.sims + cls.faulty}
        shutil.copytree(os.path.join(COLLECTIONS, 'examples', 'group_vars'),
                        os.path.join(cls.tmp, 'group_vars'))
        home = os.path.join(cls.tmp, 'home')
        os.makedirs(home)
        cls.env = dict(os.environ, HOME=home, GATEWAY_PASSWORD=PASSWORD,
                       ANSIBLE_COLLECTIONS_PATH=COLLECTIONS, ANSIBLE_FORKS='4',
                       ANSIBLE_CONFIG=os.path.join(cls.tmp, 'none.cfg'), ANSIBLE_NOCOLOR='1',
                       ANSIBLE_RETRY_FILES_ENABLED='0', ANSIBLE_PIPELINING='1',
                       ANSIBLE_LOCAL_TEMP=os.path.join(cls.tmp, 'ansible-tmp'),
                       ANSIBLE_CALLBACKS_ENABLED='ansible.builtin.junit',
                       JUNIT_HIDE_TASK_ARGUMENTS='true')

    @classmethod
    def tearDownClass(cls):
        cls.fleet.stop()
        for sim in cls.faulty:
            sim.stop()
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def rollout(self, name, hosts, **extra):
        """Runs rollout.yml over `hosts` in that order; the run's output, recap and JUnit
        report."""
        inventory = os.path.join(self.tmp, name + '.json')
        with open(inventory, 'w') as handle:
            json.dump({'gateways': {'hosts': {
                host: {'gateway_tcp': self.sims[host].address,
                       'phone_numbers': {'0/0': '7%d01' % i}}
                for i, host in enumerate(hosts)}}}, handle)
        reports = os.path.join(self.tmp, 'junit-' + name)
        extra.update(ezconfig_cli=os.environ['EZCONFIG_CLI'], gateway_restart_after_write=False)
        process = subprocess.run(
            [self.playbook, '-i', inventory, ROLLOUT, '-e', json.dumps(extra)],
            env=dict(self.env, JUNIT_OUTPUT_DIR=reports), stdin=subprocess.DEVNULL,
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
        output = process.stdout.decode('utf-8', 'replace')
        summary = {m.group(1): tuple(int(m.group(i)) for i in range(2, 6))
                   for m in RECAP.finditer(output)}
        files = glob.glob(os.path.join(reports, '*.xml'))
        self.assertEqual(len(files), 1, output)
        with open(files[0]) as handle:
            report = handle.read()
        for text in (output, report):
            self.assertNotIn(PASSWORD, text)
        return process.returncode, output, summary, ElementTree.fromstring(report)

    def test_a_failed_canary_stops_the_rollout(self):
        before = self.fleet.digests()
        rc, output, summary, report = self.rollout(
            'canary', ['refusing', 'gw1', 'gw2', 'gw3'], rollout_waves=[1, '100%'])
        self.assertEqual(rc, 2, output)
        self.assertIn('NO MORE HOSTS LEFT', output)
        self.assertEqual(summary, {'refusing': (0, 0, 0, 1)}, output)
        self.assertEqual(self.fleet.digests(), before)
        failures = [case.get('name') for case in report.iter('testcase')
                    if case.find('failure') is not None]
        self.assertEqual(len(failures), 1, failures)
        self.assertIn('[refusing]', failures[0])

    def test_a_wave_over_its_failure_share_stops_and_a_stalled_gateway_times_out(self):
        before = self.fleet.digests()
        rc, output, summary, report = self.rollout(
            'waves', ['gw1', 'gw2', 'stalling', 'gw3', 'gw4'], rollout_waves=[1, 2, '100%'],
            rollout_max_fail_percentage=25, gateway_task_timeout=3)
        self.assertEqual(rc, 2, output)
        self.assertEqual(summary, {'gw1': (1, 1, 0, 0), 'gw2': (1, 1, 0, 0),
                                   'stalling': (0, 0, 0, 1)}, output)
        self.assertRegex(output, r'fatal: \[stalling\]: FAILED! .*'
                                 r'failed to execute in the expected time frame \(3\)')
        after = self.fleet.digests()
        self.assertEqual([name for name in sorted(after) if after[name] != before[name]],
                         ['gw1', 'gw2'])
        # One test case per gateway that got the write task (and gw1's skipped restart).
        cases = {case.get('name'): case for case in report.iter('testcase')
                 if case.get('name').endswith("this gateway's phone numbers")}
        self.assertEqual(len(cases), 3, sorted(cases))
        failed = [name for name, case in cases.items() if case.find('failure') is not None]
        self.assertEqual(len(failed), 1)
        self.assertIn('[stalling]', failed[0])


if __name__ == '__main__':
    unittest.main(verbosity=2)
