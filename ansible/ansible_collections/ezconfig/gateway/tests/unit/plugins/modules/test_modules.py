"""The three modules against a stand-in CLI (fake_cli.py): module_cases.yml asserts what they
report for each outcome (run by their action plugins, as with a local connection); this test runs
it and checks how the CLI was called: the password only ever in its environment, never in its
arguments nor in Ansible's output; check mode never writes; diff mode logs in once; the
configuration file handed over is removed again. The module files themselves, as they run on a
host the connection leads to, answer as the action plugins do."""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
MODULES = os.path.abspath(os.path.join(HERE, '..', '..', '..', '..', 'plugins', 'modules'))
# The folder that holds ansible_collections/ezconfig/gateway.
COLLECTIONS = os.path.abspath(os.path.join(HERE, *['..'] * 7))
PASSWORD = 'Login-Pw-8841'
NEW_SECRET = 'New-Pstn-Secret-5530'


class ModulesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        playbook = shutil.which('ansible-playbook')
        if not playbook:
            raise AssertionError('no ansible-playbook: install ansible-core (scripts/setup does)')
        cls.tmp = tempfile.mkdtemp(prefix='ansible-modules-')
        log = os.path.join(cls.tmp, 'calls.jsonl')
        with open(os.path.join(cls.tmp, 'config.json'), 'w') as handle:
            json.dump({'format': 1, 'pstn': {'dialing': '2'}}, handle)
        env = dict(os.environ, HOME=cls.tmp, FAKE_CLI_LOG=log,
                   ANSIBLE_COLLECTIONS_PATH=COLLECTIONS, ANSIBLE_NOCOLOR='1',
                   ANSIBLE_CONFIG=os.path.join(cls.tmp, 'none.cfg'),
                   ANSIBLE_LOCALHOST_WARNING='0', ANSIBLE_INVENTORY_UNPARSED_WARNING='0',
                   ANSIBLE_LOCAL_TEMP=os.path.join(cls.tmp, 'ansible-tmp'))
        extra = {'fake_cli': os.path.join(HERE, 'fake_cli.py'), 'work_dir': cls.tmp,
                 'gw_password': PASSWORD, 'new_secret': NEW_SECRET,
                 'ansible_connection': 'local',
                 'ansible_python_interpreter': '{{ ansible_playbook_python }}'}
        process = subprocess.run(
            [playbook, '-i', 'localhost,', os.path.join(HERE, 'module_cases.yml'), '-v',
             '-e', json.dumps(extra)],
            env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
            timeout=120)
        cls.env = env
        cls.rc = process.returncode
        cls.output = process.stdout.decode('utf-8', 'replace')
        if not os.path.exists(log):
            raise AssertionError('the fake CLI was never called:\n' + cls.output)
        with open(log) as handle:
            cls.calls = [json.loads(line) for line in handle]

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def test_every_case_holds(self):
        self.assertEqual(self.rc, 0, self.output)

    def test_password_in_the_environment_only(self):
        self.assertGreaterEqual(len(self.calls), 9)
        for call in self.calls:
            with self.subTest(argv=call['argv']):
                self.assertEqual(call['password'], PASSWORD)
                self.assertEqual(call['stdin'], '')
                self.assertFalse([a for a in call['argv'] if PASSWORD in a or NEW_SECRET in a])
        self.assertNotIn(PASSWORD, self.output)
        self.assertNotIn(NEW_SECRET, self.output)

    def test_check_mode_writes_nothing(self):
        writes = [c['argv'] for c in self.calls if c['argv'][0] == 'write']
        dry = [argv for argv in writes if '--dry-run' in argv]
        self.assertEqual(len(dry), 2)
        self.assertNotIn('--yes', dry[0])
        self.assertNotIn('--backup-dir', dry[0])
        for argv in writes:
            self.assertTrue(('--dry-run' in argv) != ('--yes' in argv), argv)
            # The result comes as JSON, never from the CLI's English on stderr.
            self.assertIn('--json', argv)
        rollback_off = [argv for argv in writes if '--no-rollback' in argv]
        self.assertEqual(len(rollback_off), 1)
        self.assertIn('127.0.0.1:5002', rollback_off[0])
        # The check-mode restart sent nothing: one restart call, the real one.
        restarts = [c['argv'] for c in self.calls if c['argv'][0] == 'restart']
        self.assertEqual(restarts, [['restart', '--wait', '--tcp', '127.0.0.1:5001',
                                     '--user', 'admin']])

    def test_configuration_file_handed_over_and_removed(self):
        writes = [c for c in self.calls if c['argv'][0] == 'write']
        given = [c for c in writes if c['file'] == os.path.join(self.tmp, 'config.json')]
        made = [c for c in writes if c not in given]
        self.assertEqual(len(given), 1)
        self.assertTrue(os.path.exists(given[0]['file']))
        for call in made:
            self.assertEqual(call['config'], {'format': 1,
                                              'pstn': {'dialing': '2', 'password': NEW_SECRET}})
            self.assertFalse(os.path.exists(call['file']), call['file'])

    def test_diff_mode_logs_in_once(self):
        # The check-mode preview with --diff: its before and after come from the dry run.
        preview = [c['argv'] for c in self.calls if '127.0.0.1:5002' in c['argv']
                   and '--dry-run' in c['argv']]
        self.assertEqual(len(preview), 1)
        reads = [c['argv'] for c in self.calls if c['argv'][0] == 'read']
        self.assertEqual(reads, [['read', '--redact', '--serial', '/dev/ttyGW0',
                                  '--user', 'admin']])

    def run_module(self, name, args):
        """A module file as Ansible runs it on another host: its arguments in a file."""
        path = os.path.join(self.tmp, 'args.json')
        with open(path, 'w') as handle:
            json.dump({'ANSIBLE_MODULE_ARGS': args}, handle)
        env = dict(self.env, PYTHONPATH=COLLECTIONS, PYTHONDONTWRITEBYTECODE='1')
        process = subprocess.run([self.python(), os.path.join(MODULES, name + '.py'), path],
                                 env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                 timeout=60)
        return json.loads(process.stdout)

    @staticmethod
    def python():
        """The Python that runs Ansible."""
        with open(shutil.which('ansible-playbook')) as handle:
            first = handle.readline()
        return first[2:].split()[0] if first.startswith('#!') else sys.executable

    def test_module_files_answer_as_the_action_plugins(self):
        gateway = {'password': PASSWORD, 'cli_path': os.path.join(HERE, 'fake_cli.py')}
        change = {'pstn': {'dialing': '2', 'password': NEW_SECRET}}
        cases = [
            ('gateway_config', dict(gateway, tcp='127.0.0.1:5002', config=change,
                                    _ansible_check_mode=True, _ansible_diff=True),
             {'changed': True, 'result': 'would-change',
              'diff': {'before': {'pstn': {'password': '***', 'dialing': '1'}},
                       'after': {'pstn': {'password': '*** (changed)', 'dialing': '2'}},
                       'before_header': 'device', 'after_header': 'after the write'}}),
            ('gateway_config', dict(gateway, tcp='127.0.0.1:5004', config=change),
             {'failed': True, 'changed': False, 'exit_code': 4, 'rc': 4}),
            ('gateway_facts', dict(gateway, tcp='127.0.0.1:5001'),
             {'changed': False,
              'ansible_facts': {'ezconfig_gateway': {
                  'format': 1, 'pstn': {'dialing': '1', 'password': '***'},
                  'voip': {'ports': [{'port': '0/0', 'number': '201'}]}}}}),
            ('gateway_restart', dict(gateway, tcp='127.0.0.1:5001', wait=True),
             {'changed': True, 'model': 'ZQ520-4S', 'version': '2.31.7', 'rc': 0}),
        ]
        for name, args, expected in cases:
            with self.subTest(module=name, tcp=args['tcp']):
                result = self.run_module(name, args)
                self.assertEqual({k: result.get(k) for k in expected}, expected, result)
                self.assertNotIn(PASSWORD, json.dumps(result))
                self.assertNotIn(NEW_SECRET, json.dumps(result))


if __name__ == '__main__':
    unittest.main(verbosity=2)
