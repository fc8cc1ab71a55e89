"""The modules' documentation as Ansible reads it: Ansible's own module validator (the one
`ansible-test sanity --test validate-modules` runs, called directly: ansible-test would first
download pip into a virtual environment) over every module, its options checked against the
arguments the code declares; and ansible-doc, which must render each module with its doc
fragment and list every value a task returns."""

import glob
import json
import os
import shutil
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
COLLECTION = os.path.abspath(os.path.join(HERE, '..', '..'))
COLLECTIONS = os.path.abspath(os.path.join(COLLECTION, '..', '..', '..'))
MODULES = sorted(os.path.basename(p)[:-3]
                 for p in glob.glob(os.path.join(COLLECTION, 'plugins', 'modules', '*.py')))
# What each module's code puts into a task's result, besides Ansible's own keys.
RETURNS = {
    'gateway_config': {'changed', 'differences', 'diff', 'result', 'written', 'verified',
                       'rolled_back', 'backup_file', 'messages', 'rc', 'exit_code', 'cmd', 'msg'},
    'gateway_facts': {'ansible_facts', 'changed', 'messages', 'rc', 'cmd', 'msg'},
    'gateway_restart': {'changed', 'model', 'version', 'messages', 'rc', 'cmd', 'msg'},
}


def ansible_python():
    """The Python that runs Ansible (the validator imports ansible and voluptuous)."""
    doc = shutil.which('ansible-doc')
    if not doc:
        raise AssertionError('no ansible-doc: install ansible-core (scripts/setup does)')
    with open(doc) as handle:
        first = handle.readline()
    return first[2:].split()[0] if first.startswith('#!') else sys.executable


class DocsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.env = dict(os.environ, ANSIBLE_COLLECTIONS_PATH=COLLECTIONS, PYTHONPATH=COLLECTIONS,
                       PYTHONDONTWRITEBYTECODE='1', ANSIBLE_NOCOLOR='1')

    def test_modules_pass_ansibles_validator(self):
        python = ansible_python()
        found = subprocess.run([python, '-c', 'import ansible_test; print(ansible_test.__file__)'],
                               stdout=subprocess.PIPE, check=True)
        validator = os.path.join(os.path.dirname(found.stdout.decode().strip()), '_util',
                                 'controller', 'sanity', 'validate-modules', 'validate.py')
        with open(os.path.join(COLLECTION, 'galaxy.yml')) as handle:
            version = [line.split(':', 1)[1].strip() for line in handle
                       if line.startswith('version:')][0]
        process = subprocess.run(
            [python, validator, '--format', 'plain', '--arg-spec',
             '--collection', 'ansible_collections/ezconfig/gateway',
             '--collection-version', version]
            + [os.path.join('plugins', 'modules', m + '.py') for m in MODULES],
            cwd=COLLECTION, env=self.env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
            timeout=120)
        output = process.stdout.decode('utf-8', 'replace')
        self.assertEqual(output.strip(), '', output)
        self.assertEqual(process.returncode, 0, output)

    def test_every_returned_value_is_documented(self):
        self.assertEqual(sorted(MODULES), sorted(RETURNS))
        process = subprocess.run(
            ['ansible-doc', '--json'] + ['ezconfig.gateway.' + m for m in MODULES],
            env=self.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=120)
        self.assertEqual(process.returncode, 0, process.stderr.decode())
        docs = json.loads(process.stdout)
        for module in MODULES:
            with self.subTest(module=module):
                doc = docs['ezconfig.gateway.' + module]
                self.assertEqual(set(doc['return']), RETURNS[module])
                # The connection options come from the doc fragment.
                self.assertLessEqual({'tcp', 'serial', 'user', 'password', 'cli_path', 'log'},
                                     set(doc['doc']['options']))
                self.assertIn('check_mode', doc['doc']['attributes'])
                self.assertIn('diff_mode', doc['doc']['attributes'])


if __name__ == '__main__':
    sys.dont_write_bytecode = True
    unittest.main(verbosity=2)
