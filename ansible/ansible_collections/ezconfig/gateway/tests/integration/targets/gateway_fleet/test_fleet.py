"""The collection end to end: ansible-playbook with eight forks runs the example playbook against
eight gateway-sim instances on loopback, and each run is checked against what the simulators
stored.

The steps build on one another (the fleet's state carries over), so they run in order:
first write, read back as facts, idempotent second run, check mode with another configuration,
one host with a wrong password.

Environment: EZCONFIG_CLI and GATEWAY_SIM, the programs from the build.
"""

import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

# No __pycache__ folder in the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sim_fleet import SimFleet  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
# The folder that holds ansible_collections/ezconfig/gateway, and the examples beside it.
COLLECTIONS = os.path.abspath(os.path.join(HERE, *['..'] * 7))
SITE = os.path.join(COLLECTIONS, 'examples', 'site.yml')
FACTS = os.path.join(HERE, 'save_facts.yml')
HOSTS = 8
PASSWORD = 'admin'
# Distinct strings that must never show in Ansible's output.
WRONG_PASSWORD = 'Wr0ng-Pa55-4711'
NEW_PSTN_SECRET = 'Pstn-Secret-B-9073'

# The second configuration: other gatekeepers, dialling number and PSTN password.
SETTINGS_B = {
    'gateway_settings': {
        'pstn': {'dialing': '0800999000', 'password': NEW_PSTN_SECRET},
        'voip': {
            'protocol': 'h323',
            'h323': {'id': '{{ inventory_hostname }}', 'gatekeeper1': '198.51.100.20',
                     'gatekeeper2': '', 'area_code': '040'},
        },
    }
}

RECAP = re.compile(r'^(\S+)\s+:\s+ok=(\d+)\s+changed=(\d+)\s+unreachable=(\d+)\s+failed=(\d+)',
                   re.M)


def phone_numbers(index):
    return {'0/%d' % port: '6%d%02d' % (index, port + 1) for port in range(4)}


def recap(output):
    """Per host: (ok, changed, unreachable, failed) from the PLAY RECAP."""
    return {m.group(1): tuple(int(m.group(i)) for i in range(2, 6))
            for m in RECAP.finditer(output)}


class FleetTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.playbook = shutil.which('ansible-playbook')
        if not cls.playbook:
            raise AssertionError('no ansible-playbook: install ansible-core (scripts/setup does)')
        cls.cli = os.environ['EZCONFIG_CLI']
        cls.tmp = tempfile.mkdtemp(prefix='ansible-fleet-')
        cls.fleet = SimFleet(os.environ['GATEWAY_SIM'], HOSTS, cls.tmp,
                             ['--reboot-seconds', '1'])
        cls.hosts = {}
        for i, sim in enumerate(cls.fleet.sims, start=1):
            cls.hosts[sim.name] = {'gateway_tcp': sim.address, 'phone_numbers': phone_numbers(i)}
        cls.inventory = cls.write_json('inventory.yml', {'gateways': {'hosts': cls.hosts}})
        cls.settings_b = cls.write_json('settings_b.yml', SETTINGS_B)
        # The example's group settings for the test's own playbooks too (site.yml finds them
        # beside itself).
        shutil.copytree(os.path.join(os.path.dirname(SITE), 'group_vars'),
                        os.path.join(cls.tmp, 'group_vars'))
        cls.facts_dir = os.path.join(cls.tmp, 'facts')
        home = os.path.join(cls.tmp, 'home')
        os.makedirs(home)
        cls.env = dict(os.environ, HOME=home, GATEWAY_PASSWORD=PASSWORD,
                       ANSIBLE_COLLECTIONS_PATH=COLLECTIONS, ANSIBLE_FORKS=str(HOSTS),
                       ANSIBLE_CONFIG=os.path.join(cls.tmp, 'none.cfg'),
                       ANSIBLE_NOCOLOR='1', ANSIBLE_RETRY_FILES_ENABLED='0', ANSIBLE_PIPELINING='1',
                       ANSIBLE_LOCAL_TEMP=os.path.join(cls.tmp, 'ansible-tmp'))

    @classmethod
    def tearDownClass(cls):
        cls.fleet.stop()
        if os.environ.get('EZ_KEEP_TMP'):
            print('kept', cls.tmp)
        else:
            shutil.rmtree(cls.tmp, ignore_errors=True)

    @classmethod
    def write_json(cls, name, document):
        # JSON is YAML: Ansible reads these as inventory and variable files.
        path = os.path.join(cls.tmp, name)
        with open(path, 'w') as handle:
            json.dump(document, handle, indent=1)
        return path

    def run_playbook(self, playbook, *args, inventory=None, env=None):
        started = time.monotonic()
        command = [self.playbook, '-i', inventory or self.inventory, playbook,
                   '-e', 'ezconfig_cli=' + self.cli] + list(args)
        process = subprocess.run(command, env=dict(self.env, **(env or {})),
                                 stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                 stderr=subprocess.STDOUT, timeout=110)
        output = process.stdout.decode('utf-8', 'replace')
        print('\n  ansible-playbook %s: %.1f s' % (' '.join(args[:1]), time.monotonic() - started),
              file=sys.stderr)
        summary = recap(output)
        self.assertEqual(len(summary), HOSTS, output)
        return process.returncode, output, summary

    def assert_recap(self, output, summary, changed, failed=()):
        for host, (ok, host_changed, unreachable, host_failed) in summary.items():
            with self.subTest(host=host):
                self.assertEqual(unreachable, 0, output)
                self.assertEqual(host_failed, 1 if host in failed else 0, output)
                self.assertEqual(host_changed, 0 if host in failed else changed, output)

    def reboots(self):
        return {sim.name: sim.log_text().count('rebooting for') for sim in self.fleet.sims}

    def test_1_first_run_writes_and_restarts_every_gateway(self):
        rc, output, summary = self.run_playbook(SITE)
        self.assertEqual(rc, 0, output)
        # The configuration task and its restart handler on each of the eight.
        self.assert_recap(output, summary, changed=2)
        self.assertEqual(set(self.reboots().values()), {1}, output)
        for i, sim in enumerate(self.fleet.sims, start=1):
            state = sim.state_bytes().decode()
            for number in phone_numbers(i).values():
                self.assertIn('destination-pattern %s\n' % number, state)
            self.assertIn('h323-id %s' % sim.name, state)

    def test_2_facts_return_what_was_written(self):
        rc, output, _ = self.run_playbook(FACTS, env={
            'ANSIBLE_CALLBACKS_ENABLED': 'ansible.builtin.tree',
            'ANSIBLE_CALLBACK_TREE_DIR': self.facts_dir})
        self.assertEqual(rc, 0, output)
        for i, sim in enumerate(self.fleet.sims, start=1):
            with self.subTest(host=sim.name):
                with open(os.path.join(self.facts_dir, sim.name)) as handle:
                    facts = json.load(handle)['ansible_facts']['ezconfig_gateway']
                ports = {p['port']: p['number'] for p in facts['voip']['ports']}
                self.assertEqual(ports, phone_numbers(i))
                h323 = facts['voip']['h323']
                self.assertEqual((h323['id'], h323['gatekeeper1'], h323['gatekeeper2'],
                                  h323['area_code']),
                                 (sim.name, '198.51.100.10', '198.51.100.11', '030'))
                self.assertEqual(facts['pstn']['dialing'], '0800123456')
                self.assertEqual(facts['services']['telnet']['enabled'], False)
                # Secrets masked, the device's own kept.
                self.assertEqual(facts['pstn']['password'], '***')
                self.assertEqual(facts['voip']['h323']['password'], '***')

    def test_3_second_run_changes_nothing(self):
        before = self.fleet.digests()
        rc, output, summary = self.run_playbook(SITE)
        self.assertEqual(rc, 0, output)
        self.assert_recap(output, summary, changed=0)
        self.assertEqual(self.fleet.digests(), before)
        self.assertEqual(set(self.reboots().values()), {1})

    def test_4_check_mode_reports_changes_and_writes_nothing(self):
        before = {sim.name: sim.state_bytes() for sim in self.fleet.sims}
        rc, output, summary = self.run_playbook(SITE, '--check', '--diff',
                                                '-e', '@' + self.settings_b)
        self.assertEqual(rc, 0, output)
        # The write that would happen, and its restart (not sent in check mode).
        self.assert_recap(output, summary, changed=2)
        for sim in self.fleet.sims:
            self.assertEqual(sim.state_bytes(), before[sim.name], sim.name)
        self.assertEqual(set(self.reboots().values()), {1})
        # The diff shows the new values and masks the new secret.
        self.assertEqual(output.count('+        "dialing": "0800999000"'), HOSTS, output)
        self.assertEqual(output.count('+            "gatekeeper1": "198.51.100.20"'), HOSTS)
        self.assertEqual(output.count('+        "password": "*** (changed)"'), HOSTS)
        self.assertNotIn(NEW_PSTN_SECRET, output)

    def test_5_wrong_password_fails_that_host_only(self):
        refused = self.fleet.sims[4]
        hosts = json.loads(json.dumps(self.hosts))
        hosts[refused.name]['gateway_password'] = WRONG_PASSWORD
        inventory = self.write_json('inventory_wrong.yml', {'gateways': {'hosts': hosts}})
        before = self.fleet.digests()
        rc, output, summary = self.run_playbook(SITE, '-e', '@' + self.settings_b,
                                                inventory=inventory)
        self.assertEqual(rc, 2, output)  # some host failed
        self.assert_recap(output, summary, changed=2, failed={refused.name})
        self.assertRegex(output, r'fatal: \[%s\]: FAILED! .*login refused' % refused.name)
        self.assertNotIn(WRONG_PASSWORD, output)
        self.assertNotIn(NEW_PSTN_SECRET, output)
        after = self.fleet.digests()
        for sim in self.fleet.sims:
            with self.subTest(host=sim.name):
                if sim is refused:
                    self.assertEqual(after[sim.name], before[sim.name])
                else:
                    self.assertNotEqual(after[sim.name], before[sim.name])
                    state = sim.state_bytes().decode()
                    self.assertIn('198.51.100.20', state)
                    # The secret did reach the device, though no output showed it.
                    self.assertIn(NEW_PSTN_SECRET, state)


if __name__ == '__main__':
    unittest.main(verbosity=2)
