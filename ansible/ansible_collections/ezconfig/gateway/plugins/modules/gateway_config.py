#!/usr/bin/python
# Puts a configuration on one gateway with `ezconfig-cli write`.

DOCUMENTATION = r'''
---
module: gateway_config
short_description: Put a configuration on a gateway
description:
  - Writes a configuration (the JSON format of C(ezconfig-cli), docs/config-format.md) to one
    gateway with C(ezconfig-cli write --json), which reads the device first, writes only when what
    the device holds differs, reads back what it wrote, and writes the previous configuration back
    when the write failed or did not take.
  - Members the configuration leaves out keep the device's values.
  - Runs where the module runs; use C(ansible_connection=local) and reach the gateway from there.
options:
  tcp:
    description:
      - The gateway's console over TCP, C(HOST[:PORT]) (a dotted address; port 514 by default).
    type: str
  serial:
    description: The serial port of the gateway's console (9600 8N1).
    type: str
  user:
    description: Login ID.
    type: str
    default: admin
  password:
    description: Login password. Handed to the CLI in its environment, never on its command line.
    type: str
    required: true
  config:
    description: The configuration as a dictionary; C(format) may be left out.
    type: dict
  src:
    description: A configuration file on the host the module runs on.
    type: path
  backup:
    description: Keep the device's configuration in I(backup_dir) before writing.
    type: bool
    default: false
  backup_dir:
    description: Folder for I(backup) (created when missing); the file holds the passwords.
    type: path
    default: ~/gateway-backups
  cli_path:
    description: The C(ezconfig-cli) program.
    type: path
    default: ezconfig-cli
  log:
    description: Append a transcript of the session to this file (passwords shown as C(***)).
    type: path
  rollback:
    description:
      - When the write fails or does not take, write the device's previous configuration back
        and read it back. C(false) leaves the device as the failed write left it.
    type: bool
    default: true
notes:
  - Check mode reads the device and tells whether a write would happen; nothing is written.
  - Diff mode shows the device's configuration before and after, every password as C(***).
author: ezconfig developers
'''

EXAMPLES = r'''
- name: Phone numbers and gatekeepers
  ezconfig.gateway.gateway_config:
    tcp: 192.0.2.10
    password: "{{ gateway_password }}"
    config:
      voip:
        h323: {gatekeeper1: 198.51.100.1}
        ports:
          - {port: "0/0", number: "5101"}
'''

RETURN = r'''
differences:
  description: One line per member the write changes, as C(ezconfig-cli write) prints them.
  type: list
  elements: str
  returned: always
result:
  description:
    - How the write ended, from C(write --json) (docs/cli.md), e.g. C(written), C(unchanged),
      C(would-change), C(not-written), C(rolled-back), C(rollback-failed).
  type: str
  returned: when the CLI got that far
written:
  description: The device confirmed the write.
  type: bool
  returned: when the CLI got that far
verified:
  description: A read-back shows the device holding the configuration.
  type: bool
  returned: when the CLI got that far
rolled_back:
  description: The write failed, and the previous configuration was written back and read back.
  type: bool
  returned: when the CLI got that far
backup_file:
  description: The file holding the device's configuration before the write.
  type: str
  returned: when a backup was stored
messages:
  description: The CLI's messages.
  type: list
  elements: str
  returned: always
rc:
  description:
    - The CLI's exit code; not returned for a check-mode run whose dry run said "would change"
      (exit code 1), which Ansible would take for a failure. I(exit_code) has it then.
  type: int
  returned: mostly
exit_code:
  description: The CLI's exit code, from its JSON result.
  type: int
  returned: when the CLI got that far
'''

import os

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.ezconfig.gateway.plugins.module_utils.ezconfig_cli import (
    CONNECTION_ARGS, CONNECTION_EXCLUSIVE, CONNECTION_REQUIRED_ONE_OF, config_secrets,
    difference_line, masked_after, parse_json, parse_write_result, resolve_cli, run_cli,
    write_config_file)

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


def main():
    options = dict(CONNECTION_ARGS)
    options.update(
        config=dict(type='dict'),
        src=dict(type='path'),
        backup=dict(type='bool', default=False),
        backup_dir=dict(type='path', default='~/gateway-backups'),
        rollback=dict(type='bool', default=True),
    )
    module = AnsibleModule(
        argument_spec=options,
        mutually_exclusive=CONNECTION_EXCLUSIVE + [('config', 'src')],
        required_one_of=CONNECTION_REQUIRED_ONE_OF + [('config', 'src')],
        supports_check_mode=True,
    )
    params = module.params
    if params['config']:
        # The passwords inside config are not options of their own, so no_log misses them.
        module.no_log_values.update(config_secrets(params['config']))
    cli = resolve_cli(params['cli_path'])
    if not cli:
        module.fail_json(msg='ezconfig-cli not found: %s' % params['cli_path'])
    if params['src'] and not os.path.isfile(params['src']):
        module.fail_json(msg='src: no such file: %s' % params['src'])

    backup_dir = None
    if params['backup'] and not module.check_mode:
        backup_dir = params['backup_dir']
        try:
            os.makedirs(backup_dir, mode=0o700, exist_ok=True)
        except OSError as error:
            module.fail_json(msg='backup_dir: %s' % error)

    before = None
    if module._diff:
        read = run_cli(cli, ['read', '--redact'], params)
        if read.rc != 0:
            module.fail_json(msg=read.failure_message(), **read.as_result())
        before = parse_json(read)

    path = params['src'] or write_config_file(params['config'])
    try:
        result = run_cli(cli, write_command(path, module.check_mode, backup_dir,
                                            params['rollback']), params)
    finally:
        if not params['src']:
            os.unlink(path)

    values = result.as_result()
    try:
        outcome = parse_write_result(result)
    except ValueError:
        # Ended before it could say (a usage error): its stderr is all there is.
        values['differences'] = []
        values['changed'] = False
        module.fail_json(msg=result.failure_message(), **values)

    differences = outcome['differences']
    values['messages'] = outcome['messages']
    values['differences'] = [difference_line(d) for d in differences]
    for key in ('result', 'written', 'verified', 'rolled_back'):
        values[key] = outcome[key]
    # A write the device took is a change, also when it could not be verified or was undone.
    values['changed'] = bool(outcome['changed'])
    if outcome['backup_file']:
        values['backup_file'] = outcome['backup_file']
    if before is not None:
        after = masked_after(before, differences) if values['changed'] else before
        values['diff'] = dict(before=before, after=after,
                              before_header='device', after_header='after the write')
    values['exit_code'] = outcome['exit_code']
    if module.check_mode and result.rc == DRY_RUN_WOULD_CHANGE:
        # Ansible fails a task whose rc is not 0; here 1 only says what a write would do.
        del values['rc']
    elif result.rc != 0:
        module.fail_json(msg=result.failure_message(outcome['messages']), **values)
    module.exit_json(**values)


if __name__ == '__main__':
    main()
