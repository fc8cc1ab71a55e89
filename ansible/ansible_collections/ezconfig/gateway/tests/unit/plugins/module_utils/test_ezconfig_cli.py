"""The collection's shared helper without Ansible: how it reads the CLI's difference lines and
builds a diff's before and after from them, which passwords of a configuration it masks, and the
configuration file it hands over. How the modules call the CLI: test_modules.py."""

import json
import os
import stat
import sys
import tempfile
import textwrap
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
# No __pycache__ folders in the source tree (one would land in the collection's package).
sys.dont_write_bytecode = True
COLLECTION = os.path.abspath(os.path.join(HERE, '..', '..', '..', '..'))
sys.path.insert(0, os.path.join(COLLECTION, 'plugins', 'module_utils'))
import ezconfig_cli as cli  # noqa: E402

SECRET = 'Pstn-Secret-317'

# A stand-in CLI that prints the password it found in its environment.
ECHO_CLI = textwrap.dedent('''\
    #!%s
    import os
    print(os.environ.get("EZCONFIG_PASSWORD"))
    ''') % sys.executable


class RunCliTest(unittest.TestCase):
    def test_an_empty_password_is_still_set(self):
        # Otherwise a password left in the caller's environment would be used instead.
        with tempfile.TemporaryDirectory() as directory:
            echo = os.path.join(directory, 'ezconfig-cli')
            with open(echo, 'w') as handle:
                handle.write(ECHO_CLI)
            os.chmod(echo, 0o755)
            os.environ[cli.PASSWORD_VARIABLE] = 'inherited'
            try:
                result = cli.run_cli(echo, ['read'], dict(tcp='127.0.0.1', password=''))
            finally:
                del os.environ[cli.PASSWORD_VARIABLE]
        self.assertEqual(result.stdout, '\n')


class DifferenceTest(unittest.TestCase):
    def test_parse_difference(self):
        cases = [
            ('pstn.dialing: "0171" -> "0172"', ('pstn.dialing', '0171', '0172')),
            ('voip.ports[2].number: "203" -> "5550"', ('voip.ports[2].number', '203', '5550')),
            ('services.http.port: 80 -> null', ('services.http.port', 80, None)),
            ('lan.cable_modem: false -> true', ('lan.cable_modem', False, True)),
            ('pstn.password: secret changed (not shown)',
             ('pstn.password', '(secret)', '(secret)')),
            ('lan.pppoe.password: "" -> (secret)', ('lan.pppoe.password', '', '(secret)')),
            ('auto_upgrade.password: (secret) -> ""', ('auto_upgrade.password', '(secret)', '')),
            ('voip.ports[4].number: (absent) -> "9"', ('voip.ports[4].number', '(absent)', '9')),
            ('ezconfig-cli: written and read back', None),
            ('', None),
        ]
        for line, parsed in cases:
            with self.subTest(line=line):
                self.assertEqual(cli.parse_difference(line), parsed)

    def test_diff_of_the_printed_lines_keeps_secrets_masked(self):
        lines = ['pstn.password: secret changed (not shown)',
                 'pstn.dialing: "0171" -> "0999"',
                 'lan.pppoe.password: "" -> (secret)',
                 'auto_upgrade.password: (secret) -> ""',
                 'voip.ports[1].number: "202" -> "5550"',
                 'voip.ports[4].number: (absent) -> "9"',
                 'voip.ports[0].number: "201" -> (absent)',
                 'a line of another kind']
        before, after = cli.diff_of(lines)
        self.assertEqual(before, {'pstn': {'dialing': '0171', 'password': '***'},
                                  'lan': {'pppoe': {'password': ''}},
                                  'auto_upgrade': {'password': '***'},
                                  'voip': {'ports[1]': {'number': '202'},
                                           'ports[0]': {'number': '201'}}})
        self.assertEqual(after, {'pstn': {'dialing': '0999', 'password': '*** (changed)'},
                                 'lan': {'pppoe': {'password': '***'}},
                                 'auto_upgrade': {'password': ''},
                                 'voip': {'ports[1]': {'number': '5550'},
                                          'ports[4]': {'number': '9'}}})


class WriteResultTest(unittest.TestCase):
    RESULT = {'result': 'rolled-back', 'changed': True, 'written': True, 'verified': False,
              'rolled_back': True, 'differences': [], 'device_messages': [], 'messages': [],
              'backup_file': '/b.json', 'exit_code': 8}

    def parse(self, stdout):
        return cli.parse_write_result(cli.CliResult(['ezconfig-cli'], 8, stdout, ''))

    def test_parse_write_result(self):
        self.assertEqual(self.parse(json.dumps(self.RESULT)), self.RESULT)
        incomplete = dict(self.RESULT)
        del incomplete['rolled_back']
        # No result at all (a usage error), another shape, a member missing: the module then
        # falls back to the exit code and stderr.
        for stdout in ('', 'pstn.dialing: "1" -> "2"', '[1]', json.dumps(incomplete)):
            with self.subTest(stdout=stdout):
                with self.assertRaises(ValueError):
                    self.parse(stdout)

    def test_difference_lines_read_back_as_the_cli_prints_them(self):
        cases = [
            ({'path': 'pstn.dialing', 'before': '0171', 'after': '0999'},
             'pstn.dialing: "0171" -> "0999"'),
            ({'path': 'services.http.port', 'before': 80, 'after': None},
             'services.http.port: 80 -> null'),
            ({'path': 'lan.cable_modem', 'before': False, 'after': True},
             'lan.cable_modem: false -> true'),
            ({'path': 'pstn.password', 'before': '(secret)', 'after': '(secret)'},
             'pstn.password: secret changed (not shown)'),
            ({'path': 'lan.pppoe.password', 'before': '', 'after': '(secret)'},
             'lan.pppoe.password: "" -> (secret)'),
        ]
        for difference, line in cases:
            with self.subTest(line=line):
                self.assertEqual(cli.difference_line(difference), line)
                self.assertEqual(cli.parse_difference(line),
                                 (difference['path'], difference['before'], difference['after']))

    def test_diff_of_the_json_differences(self):
        differences = [{'path': 'pstn.dialing', 'before': '0171', 'after': '0999'},
                       {'path': 'pstn.password', 'before': '(secret)', 'after': '(secret)'},
                       {'path': 'services.http.port', 'before': 80, 'after': None},
                       {'path': None, 'before': 1, 'after': 2}]
        self.assertEqual(cli.diff_of(differences),
                         ({'pstn': {'dialing': '0171', 'password': '***'},
                           'services': {'http': {'port': 80}}},
                          {'pstn': {'dialing': '0999', 'password': '*** (changed)'},
                           'services': {'http': {'port': None}}}))
        self.assertEqual(cli.diff_of([]), ({}, {}))


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
            ({'pstn': {'password': 'a', 'login': 'not-a-secret'},
              'lan': {'pppoe': {'password': ''}},
              'voip': {'h323': {'password': 'b'}, 'sip': {'password': 'c'}},
              'auto_upgrade': {'password': 'd', 'id': 'e'}}, {'a', 'b', 'c', 'd'}),
            # Shapes the CLI will refuse still must not break the masking.
            ({'pstn': 'x', 'voip': {'h323': None}, 'auto_upgrade': {'password': 7}}, set()),
        ]
        for config, secrets in cases:
            with self.subTest(config=config):
                self.assertEqual(cli.config_secrets(config), secrets)

    def test_without_masked_secrets(self):
        cases = [
            # What a history file holds: set passwords masked, empty ones empty.
            ({'format': 1, 'pstn': {'password': '***', 'dialing': '1'},
              'lan': {'pppoe': {'password': '', 'id': 'x'}},
              'voip': {'h323': {'password': '***'}, 'sip': {'password': SECRET}},
              'auto_upgrade': {'password': '***', 'id': '***'}},
             {'format': 1, 'pstn': {'dialing': '1'}, 'lan': {'pppoe': {'password': '', 'id': 'x'}},
              'voip': {'h323': {}, 'sip': {'password': SECRET}},
              # Only passwords: an ID of three stars is a value like any other.
              'auto_upgrade': {'id': '***'}}),
            ({}, {}),
            ({'pstn': 'x', 'voip': None}, {'pstn': 'x', 'voip': None}),
        ]
        for config, expected in cases:
            with self.subTest(config=config):
                given = json.loads(json.dumps(config))
                self.assertEqual(cli.without_masked_secrets(config), expected)
                self.assertEqual(config, given)


if __name__ == '__main__':
    unittest.main(verbosity=2)
