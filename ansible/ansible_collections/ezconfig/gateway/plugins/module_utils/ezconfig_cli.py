# GNU General Public License v3.0+ (see https://www.gnu.org/licenses/gpl-3.0.txt)
# Running ezconfig-cli for the collection: the options every module shares, the password handed
# over in the environment (never in the process's arguments, which other users can read), the
# CLI's answers turned into Python values, and what each module's task does, for the module files
# and the action plugins alike.
#
# Standard library only, and no Ansible import, so that the same code runs in a plain unittest.

import copy
import json
import os
import re
import shutil
import subprocess
import tempfile

# The options every module takes to reach one gateway.
CONNECTION_ARGS = dict(
    tcp=dict(type='str'),
    serial=dict(type='str'),
    user=dict(type='str', default='admin'),
    password=dict(type='str', required=True, no_log=True),
    cli_path=dict(type='path', default='ezconfig-cli'),
    log=dict(type='path'),
)
CONNECTION_EXCLUSIVE = [('tcp', 'serial')]
CONNECTION_REQUIRED_ONE_OF = [('tcp', 'serial')]

# gateway_config's options and gateway_restart's, beside the connection's.
CONFIG_ARGS = dict(
    CONNECTION_ARGS,
    config=dict(type='dict'),
    src=dict(type='path'),
    backup=dict(type='bool', default=False),
    backup_dir=dict(type='path', default='~/gateway-backups'),
    rollback=dict(type='bool', default=True),
    keep_masked_secrets=dict(type='bool', default=False),
)
CONFIG_EXCLUSIVE = CONNECTION_EXCLUSIVE + [('config', 'src')]
CONFIG_REQUIRED_ONE_OF = CONNECTION_REQUIRED_ONE_OF + [('config', 'src')]
RESTART_ARGS = dict(CONNECTION_ARGS, wait=dict(type='bool', default=False))

# What ezconfig-cli's exit codes mean (cli/exit_codes.h; they are never renumbered).
EXIT_MEANINGS = {
    0: 'done',
    1: 'differences found, or a written value the device does not hold',
    2: 'usage error, bad configuration file or failed Save check',
    3: 'link failure',
    4: 'login refused',
    5: 'model refused',
    6: 'the device reported an error or did not confirm the write',
    7: 'the write failed; the device holds its previous configuration',
    8: 'the write failed or did not take; the previous configuration was written back',
    9: 'the rollback failed; what the device holds is unknown',
}

PASSWORD_VARIABLE = 'EZCONFIG_PASSWORD'
REDACTED = '***'
SECRET_SHOWN = '(secret)'
_MESSAGE_PREFIX = 'ezconfig-cli: '


class CliResult(object):
    def __init__(self, argv, rc, stdout, stderr):
        self.argv = argv
        self.rc = rc
        self.stdout = stdout
        self.stderr = stderr

    @property
    def messages(self):
        """The CLI's messages on stderr, one per line, without the program's name."""
        lines = []
        for line in self.stderr.splitlines():
            line = line.strip()
            if line.startswith(_MESSAGE_PREFIX):
                line = line[len(_MESSAGE_PREFIX):]
            if line:
                lines.append(line)
        return lines

    @property
    def stdout_lines(self):
        return [line for line in self.stdout.splitlines() if line.strip()]

    def failure_message(self, messages=None):
        """One line for Ansible's msg: the exit code's meaning and the CLI's own words (those of
        its JSON result when given)."""
        meaning = EXIT_MEANINGS.get(self.rc, 'unexpected exit code')
        if self.rc < 0:
            meaning = 'ended by signal %d' % -self.rc
        text = '; '.join(self.messages if messages is None else messages) or 'no message'
        return 'ezconfig-cli exit %d (%s): %s' % (self.rc, meaning, text)

    def as_result(self):
        """What a module returns about the call besides its own values."""
        return dict(rc=self.rc, messages=self.messages, cmd=self.argv)


def resolve_cli(cli_path):
    """The CLI's full path: as given when it names a file, otherwise looked up on PATH."""
    if os.sep in cli_path:
        return cli_path if os.access(cli_path, os.X_OK) else None
    return shutil.which(cli_path)


def connection_argv(params):
    """The options that reach the gateway; the password is not among them."""
    argv = []
    if params.get('tcp'):
        argv += ['--tcp', params['tcp']]
    if params.get('serial'):
        argv += ['--serial', params['serial']]
    if params.get('user'):
        argv += ['--user', params['user']]
    if params.get('log'):
        argv += ['--log', params['log']]
    return argv


def run_cli(cli, command, params, timeout=None):
    """Runs `cli command... connection options`, the password in the environment only.

    Standard input is closed: the CLI then never waits on a prompt (it refuses instead)."""
    argv = [cli] + list(command) + connection_argv(params)
    env = dict(os.environ)
    env[PASSWORD_VARIABLE] = params.get('password') or ''
    # Qt complains about a non-UTF-8 locale on stderr, which would land in the messages.
    env['LC_ALL'] = 'C.UTF-8'
    process = subprocess.run(argv, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, env=env, timeout=timeout)
    return CliResult(argv, process.returncode,
                     process.stdout.decode('utf-8', 'replace'),
                     process.stderr.decode('utf-8', 'replace'))


def parse_json(result):
    """The JSON document a command printed; ValueError when stdout holds none."""
    return json.loads(result.stdout)


def write_config_file(config, directory=None):
    """Writes the configuration to a new file readable by its owner only (it holds passwords).

    "format" may be left out of the module's config; the file needs it."""
    document = dict(config)
    document.setdefault('format', 1)
    fd, path = tempfile.mkstemp(prefix='ezconfig-', suffix='.json', dir=directory)
    with os.fdopen(fd, 'w') as handle:
        json.dump(document, handle, indent=2)
    return path


# The configuration's passwords (docs/config-format.schema.json: "secret").
SECRET_PATHS = (('pstn', 'password'), ('lan', 'pppoe', 'password'), ('voip', 'h323', 'password'),
                ('voip', 'sip', 'password'), ('auto_upgrade', 'password'))


def without_masked_secrets(config):
    """The configuration without the passwords that read "***" (a file printed with
    `read --redact`, or gateway_facts): left out, the gateway keeps its own."""
    config = copy.deepcopy(config)
    for path in SECRET_PATHS:
        node = config
        for step in path[:-1]:
            node = node.get(step) if isinstance(node, dict) else None
        if isinstance(node, dict) and node.get(path[-1]) == REDACTED:
            del node[path[-1]]
    return config


def read_config_file(path):
    """The JSON document of a configuration file; ValueError when it holds none."""
    with open(path) as handle:
        return json.load(handle)


def config_secrets(config):
    """The passwords a configuration holds, for Ansible to mask wherever they would show
    (the module's arguments are echoed back in its result)."""
    secrets = set()
    for path in SECRET_PATHS:
        node = config
        for step in path:
            node = node.get(step) if isinstance(node, dict) else None
        if isinstance(node, str) and node:
            secrets.add(node)
    return secrets


# The members of `write --json`'s result the modules rely on (docs/cli.md).
WRITE_RESULT_KEYS = ('result', 'changed', 'written', 'verified', 'rolled_back', 'differences',
                     'device_messages', 'messages', 'backup_file', 'exit_code')


def parse_write_result(result):
    """The JSON object `write --json` printed; ValueError when there is none (the CLI ended
    before it could say, e.g. on a usage error) or it lacks a member."""
    document = json.loads(result.stdout)
    if not isinstance(document, dict):
        raise ValueError('not a JSON object')
    missing = [key for key in WRITE_RESULT_KEYS if key not in document]
    if missing:
        raise ValueError('missing ' + ', '.join(missing))
    return document


def _shown(value):
    if value == SECRET_SHOWN:
        return value
    return json.dumps(value, separators=(',', ':'), ensure_ascii=False)


def difference_line(difference):
    """One difference of the JSON result as the CLI prints it:
    `path: BEFORE -> AFTER`, or `path: secret changed (not shown)`."""
    before, after = difference['before'], difference['after']
    if before == SECRET_SHOWN and after == SECRET_SHOWN:
        return '%s: %s' % (difference['path'], _SECRET_CHANGED)
    return '%s: %s -> %s' % (difference['path'], _shown(before), _shown(after))


# One line of the differences `write` and `diff` print: `path: BEFORE -> AFTER`, each value as
# compact JSON, or `path: secret changed (not shown)`. Values never hold a blank (the device
# splits its command lines at blanks), so " -> " cannot occur inside one.
_DIFFERENCE = re.compile(r'^(?P<path>[A-Za-z0-9_.\[\]/]+): (?P<rest>.*)$')
_SECRET_CHANGED = 'secret changed (not shown)'


def _value(text):
    if text in ('(absent)', '(secret)'):
        return text
    try:
        return json.loads(text)
    except ValueError:
        return text


def parse_difference(line):
    """(path, before, after) of one difference line, or None for anything else.

    A secret's values come back as "(secret)", "" or, when both sides hide one,
    before and after "(secret)"."""
    match = _DIFFERENCE.match(line.strip())
    if not match:
        return None
    rest = match.group('rest')
    if rest == _SECRET_CHANGED:
        return match.group('path'), '(secret)', '(secret)'
    if ' -> ' not in rest:
        return None
    before, after = rest.split(' -> ', 1)
    return match.group('path'), _value(before), _value(after)


def _shown_in_diff(value, other):
    """A value as the diff shows it: a secret masked, one replaced by another secret marked."""
    if value == SECRET_SHOWN:
        return REDACTED + ' (changed)' if other == SECRET_SHOWN else REDACTED
    return value


def diff_of(differences):
    """Ansible's before and after of a write, built from its differences alone (the JSON
    result's objects, or the lines the CLI prints): only the members that change, nested by
    their path (`voip.ports[1].number` under `voip`, then `ports[1]`), secrets masked.

    The write's result already holds them, so diff mode needs no read of its own."""
    before, after = {}, {}
    for difference in differences:
        if isinstance(difference, dict):
            parsed = (difference.get('path'), difference.get('before'), difference.get('after'))
        else:
            parsed = parse_difference(difference)
        if parsed is None or not isinstance(parsed[0], str):
            continue
        path, old, new = parsed
        shown = ((before, REDACTED if old == SECRET_SHOWN else old),
                 (after, _shown_in_diff(new, old)))
        steps = path.split('.')
        for side, value in shown:
            if value == '(absent)':
                continue
            node = side
            for step in steps[:-1]:
                node = node.setdefault(step, {})
            node[steps[-1]] = value
    return before, after


def _fail(msg, values):
    values['failed'] = True
    values['msg'] = msg
    return values


# --dry-run says "would change" with exit code 1, as diff does.
DRY_RUN_WOULD_CHANGE = 1


def write_command(path, check_mode, backup_dir, rollback):
    command = ['write', path, '--json']
    if check_mode:
        command.append('--dry-run')
    else:
        command.append('--yes')
        if backup_dir:
            command += ['--backup-dir', backup_dir]
        if not rollback:
            command.append('--no-rollback')
    return command


# What each task does, for the modules (on the host they run on) and the action plugins (in
# Ansible's own worker on the control machine) alike. Each takes the validated options and
# returns the task's result; a failed one holds failed and msg.

def configure(params, check_mode=False, diff=False):
    """gateway_config: one `write --json` (a dry run in check mode)."""
    cli = resolve_cli(params['cli_path'])
    if not cli:
        return _fail('ezconfig-cli not found: %s' % params['cli_path'], dict(changed=False))
    if params.get('src') and not os.path.isfile(params['src']):
        return _fail('src: no such file: %s' % params['src'], dict(changed=False))

    backup_dir = None
    if params.get('backup') and not check_mode:
        backup_dir = params['backup_dir']
        try:
            os.makedirs(backup_dir, mode=0o700, exist_ok=True)
        except OSError as error:
            return _fail('backup_dir: %s' % error, dict(changed=False))

    config = params.get('config')
    if params.get('keep_masked_secrets'):
        if params.get('src'):
            try:
                config = read_config_file(params['src'])
            except (OSError, ValueError) as error:
                return _fail('src: %s' % error, dict(changed=False))
            params = dict(params, src=None)
        config = without_masked_secrets(config)
    path = params.get('src') or write_config_file(config)
    try:
        result = run_cli(cli, write_command(path, check_mode, backup_dir,
                                            params.get('rollback', True)), params)
    finally:
        if not params.get('src'):
            os.unlink(path)

    values = result.as_result()
    try:
        outcome = parse_write_result(result)
    except ValueError:
        # Ended before it could say (a usage error): its stderr is all there is.
        values['differences'] = []
        values['changed'] = False
        return _fail(result.failure_message(), values)

    differences = outcome['differences']
    values['messages'] = outcome['messages']
    values['differences'] = [difference_line(d) for d in differences]
    for key in ('result', 'written', 'verified', 'rolled_back'):
        values[key] = outcome[key]
    # A write the device took is a change, also when it could not be verified or was undone.
    values['changed'] = bool(outcome['changed'])
    if outcome['backup_file']:
        values['backup_file'] = outcome['backup_file']
    if diff:
        before, after = diff_of(differences) if values['changed'] else ({}, {})
        values['diff'] = dict(before=before, after=after,
                              before_header='device', after_header='after the write')
    values['exit_code'] = outcome['exit_code']
    if check_mode and result.rc == DRY_RUN_WOULD_CHANGE:
        # Ansible fails a task whose rc is not 0; here 1 only says what a write would do.
        del values['rc']
    elif result.rc != 0:
        return _fail(result.failure_message(outcome['messages']), values)
    return values


def read_facts(params):
    """gateway_facts: one `read --redact`."""
    cli = resolve_cli(params['cli_path'])
    if not cli:
        return _fail('ezconfig-cli not found: %s' % params['cli_path'], dict(changed=False))
    result = run_cli(cli, ['read', '--redact'], params)
    values = result.as_result()
    values['changed'] = False
    if result.rc != 0:
        return _fail(result.failure_message(), values)
    try:
        configuration = parse_json(result)
    except ValueError as error:
        return _fail('ezconfig-cli read printed no JSON: %s' % error, values)
    values['ansible_facts'] = dict(ezconfig_gateway=configuration)
    return values


def restart(params, check_mode=False):
    """gateway_restart: `restart`, with `--wait` until it answers again."""
    if check_mode:
        return dict(changed=True)
    cli = resolve_cli(params['cli_path'])
    if not cli:
        return _fail('ezconfig-cli not found: %s' % params['cli_path'], dict(changed=False))
    command = ['restart'] + (['--wait'] if params.get('wait') else [])
    result = run_cli(cli, command, params)
    values = result.as_result()
    if result.rc != 0:
        return _fail(result.failure_message(), values)
    values['changed'] = True
    # With --wait the CLI prints "model: NAME" and "version: TEXT".
    for line in result.stdout_lines:
        key, _, value = line.partition(': ')
        if key in ('model', 'version'):
            values[key] = value
    return values
