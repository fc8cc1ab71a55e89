"""The collection's shared helper without Ansible: how it calls ezconfig-cli (the password in the
environment only), how it reads the CLI's difference lines and builds the masked "after" of a
diff, and the configuration file it hands over."""

import json
import os
import stat
import sys
import tempfile
import textwrap
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(HERE)), 'ansible',
                                'ansible_collections', 'ezconfig', 'gateway', 'plugins',
                                'module_utils'))
import ezconfig_cli as cli  # noqa: E402

SECRET = 'Pw-in-env-only-317'

# A stand-in CLI that prints what it was given: arguments, environment, standard input.
ECHO_CLI = textwrap.dedent('''\
    #!%s
    import json, os, sys
    print(json.dumps({"argv": sys.argv[1:], "password": os.environ.get("EZCONFIG_PASSWORD"),
                      "lc_all": os.environ.get("LC_ALL"), "stdin": sys.stdin.read()}))
    sys.stderr.write("ezconfig-cli: first message\\n\\nezconfig-cli: second\\n")
    sys.exit(int(os.environ.get("ECHO_EXIT", "0")))
    ''') % sys.executable


class RunCliTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.cli = os.path.join(self.dir.name, 'ezconfig-cli')
        with open(self.cli, 'w') as handle:
            handle.write(ECHO_CLI)
        os.chmod(self.cli, 0o755)

    def tearDown(self):
        self.dir.cleanup()

    def test_password_travels_in_the_environment_only(self):
        params = dict(tcp='127.0.0.1:5140', serial=None, user='tech', password=SECRET,
                      log='/tmp/t.log')
        result = cli.run_cli(self.cli, ['write', 'f.json', '--yes'], params)
        seen = json.loads(result.stdout)
        self.assertEqual(seen['password'], SECRET)
        self.assertEqual(seen['argv'], ['write', 'f.json', '--yes', '--tcp', '127.0.0.1:5140',
                                        '--user', 'tech', '--log', '/tmp/t.log'])
        self.assertNotIn(SECRET, ' '.join(result.argv))
        # Standard input is closed, so the CLI can never sit at a prompt.
        self.assertEqual(seen['stdin'], '')
        self.assertEqual(seen['lc_all'], 'C.UTF-8')

    def test_an_empty_password_is_still_set(self):
        # Otherwise a password left in the caller's environment would be used instead.
        os.environ[cli.PASSWORD_VARIABLE] = 'inherited'
        try:
            result = cli.run_cli(self.cli, ['read'], dict(tcp='127.0.0.1', password=''))
        finally:
            del os.environ[cli.PASSWORD_VARIABLE]
        self.assertEqual(json.loads(result.stdout)['password'], '')

    def test_failure_names_the_exit_code_and_the_cli_messages(self):
        cases = [(4, 'ezconfig-cli exit 4 (login refused): first message; second'),
                 (1, 'ezconfig-cli exit 1 (differences found, or a written value the device '
                     'does not hold): first message; second'),
                 (9, 'ezconfig-cli exit 9 (unexpected exit code): first message; second')]
        for code, message in cases:
            with self.subTest(code=code):
                os.environ['ECHO_EXIT'] = str(code)
                try:
                    result = cli.run_cli(self.cli, ['read'], dict(serial='/dev/ttyS0',
                                                                  password='x'))
                finally:
                    del os.environ['ECHO_EXIT']
                self.assertEqual(result.rc, code)
                self.assertEqual(result.failure_message(), message)
                self.assertEqual(result.messages, ['first message', 'second'])

    def test_resolve_cli(self):
        self.assertEqual(cli.resolve_cli(self.cli), self.cli)
        self.assertIsNone(cli.resolve_cli(os.path.join(self.dir.name, 'missing')))
        self.assertIsNone(cli.resolve_cli('no-such-ezconfig-cli-here'))


class ConnectionArgvTest(unittest.TestCase):
    def test_cases(self):
        cases = [
            (dict(tcp='10.0.0.1:514', user='admin'), ['--tcp', '10.0.0.1:514', '--user', 'admin']),
            (dict(serial='/dev/ttyUSB0', user=None), ['--serial', '/dev/ttyUSB0']),
            (dict(tcp='10.0.0.1', log='/var/log/gw.log'),
             ['--tcp', '10.0.0.1', '--log', '/var/log/gw.log']),
        ]
        for params, argv in cases:
            with self.subTest(params=params):
                self.assertEqual(cli.connection_argv(dict(params, password='pw')), argv)


class DifferenceTest(unittest.TestCase):
    def test_parse_difference(self):
        cases = [
            ('pstn.dialing: "0171" -> "0172"', ('pstn.dialing', '0171', '0172')),
            ('voip.ports[2].number: "203" -> "5550"', ('voip.ports[2].number', '203', '5550')),
            ('services.http.port: 80 -> null', ('services.http.port', 80, None)),
            ('lan.cable_modem: false -> true', ('lan.cable_modem', False, True)),
            ('pstn.password: secret changed (not shown)', ('pstn.password', '(secret)', '(secret)')),
            ('lan.pppoe.password: "" -> (secret)', ('lan.pppoe.password', '', '(secret)')),
            ('auto_upgrade.password: (secret) -> ""', ('auto_upgrade.password', '(secret)', '')),
            ('voip.ports[4].number: (absent) -> "9"', ('voip.ports[4].number', '(absent)', '9')),
            ('ezconfig-cli: written and read back', None),
            ('', None),
        ]
        for line, parsed in cases:
            with self.subTest(line=line):
                self.assertEqual(cli.parse_difference(line), parsed)

    def test_masked_after_applies_the_differences_and_keeps_secrets_masked(self):
        before = {'format': 1,
                  'pstn': {'dialing': '0171', 'password': '***'},
                  'lan': {'pppoe': {'password': ''}},
                  'auto_upgrade': {'password': '***'},
                  'voip': {'ports': [{'port': '0/0', 'number': '201'},
                                     {'port': '0/1', 'number': '202'}]}}
        lines = ['pstn.password: secret changed (not shown)',
                 'pstn.dialing: "0171" -> "0999"',
                 'lan.pppoe.password: "" -> (secret)',
                 'auto_upgrade.password: (secret) -> ""',
                 'voip.ports[1].number: "202" -> "5550"',
                 # Lines that do not fit the document change nothing.
                 'voip.ports[7].number: "1" -> "2"',
                 'voip.nothing.here: "1" -> "2"',
                 'voip.ports[0].number: "201" -> (absent)',
                 'a line of another kind']
        after = cli.masked_after(before, lines)
        self.assertEqual(after, {'format': 1,
                                 'pstn': {'dialing': '0999', 'password': '*** (changed)'},
                                 'lan': {'pppoe': {'password': '***'}},
                                 'auto_upgrade': {'password': ''},
                                 'voip': {'ports': [{'port': '0/0', 'number': '201'},
                                                    {'port': '0/1', 'number': '5550'}]}})
        # `before` is what the diff shows on its left: untouched.
        self.assertEqual(before['voip']['ports'][1]['number'], '202')
        self.assertEqual(before['pstn']['password'], '***')


class ConfigFileTest(unittest.TestCase):
    def test_written_for_its_owner_only_with_format(self):
        cases = [({'pstn': {'password': SECRET}}, {'pstn': {'password': SECRET}, 'format': 1}),
                 ({'format': 2}, {'format': 2})]
        with tempfile.TemporaryDirectory() as directory:
            for config, expected in cases:
                with self.subTest(config=config):
                    given = json.loads(json.dumps(config))
                    path = cli.write_config_file(config, directory)
                    self.assertEqual(stat.S_IMODE(os.stat(path).st_mode), 0o600)
                    with open(path) as handle:
                        self.assertEqual(json.load(handle), expected)
                    # The caller's dictionary is left as it was.
                    self.assertEqual(config, given)

    def test_config_secrets(self):
        cases = [
            ({}, set()),
            ({'pstn': {'password': 'a', 'login': 'not-a-secret'}, 'lan': {'pppoe': {'password': ''}},
              'voip': {'h323': {'password': 'b'}, 'sip': {'password': 'c'}},
              'auto_upgrade': {'password': 'd', 'id': 'e'}}, {'a', 'b', 'c', 'd'}),
            # Shapes the CLI will refuse still must not break the masking.
            ({'pstn': 'x', 'voip': {'h323': None}, 'auto_upgrade': {'password': 7}}, set()),
        ]
        for config, secrets in cases:
            with self.subTest(config=config):
                self.assertEqual(cli.config_secrets(config), secrets)

    def test_backup_file_from_the_messages(self):
        result = cli.CliResult([], 0, '', 'ezconfig-cli: device configuration stored in '
                               '/b/127.0.0.1-20261209T063117Z.json\nezconfig-cli: written\n')
        self.assertEqual(cli.backup_file(result), '/b/127.0.0.1-20261209T063117Z.json')
        self.assertIsNone(cli.backup_file(cli.CliResult([], 0, '', 'ezconfig-cli: written\n')))


if __name__ == '__main__':
    unittest.main(verbosity=2)
