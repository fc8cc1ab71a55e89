#!/usr/bin/python
# Reboots a gateway with `ezconfig-cli restart`.

DOCUMENTATION = r'''
---
module: gateway_restart
short_description: Restart a gateway
description:
  - Tells one gateway to reboot (C(ezconfig-cli restart)); a gateway applies a written
    configuration after a restart.
  - With I(wait), waits (up to 90 s) until it answers again and logs in once more.
options:
  wait:
    description: Wait until the gateway is back and return its model and version.
    type: bool
    default: false
  tcp:
    description: The gateway's console over TCP, C(HOST[:PORT]).
    type: str
  serial:
    description: The serial port of the gateway's console.
    type: str
  user:
    description: Login ID.
    type: str
    default: admin
  password:
    description: Login password, handed to the CLI in its environment.
    type: str
    required: true
  cli_path:
    description: The C(ezconfig-cli) program.
    type: path
    default: ezconfig-cli
  log:
    description: Append a transcript of the session to this file (passwords shown as C(***)).
    type: path
notes:
  - Always reports C(changed); in check mode nothing is sent.
author: ezconfig developers
'''

EXAMPLES = r'''
- ezconfig.gateway.gateway_restart:
    tcp: 192.0.2.10
    password: "{{ gateway_password }}"
    wait: true
'''

RETURN = r'''
model:
  description: The model the gateway reported after coming back.
  type: str
  returned: with I(wait)
version:
  description: The software version the gateway reported after coming back.
  type: str
  returned: with I(wait)
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.ezconfig.gateway.plugins.module_utils.ezconfig_cli import (
    CONNECTION_ARGS, CONNECTION_EXCLUSIVE, CONNECTION_REQUIRED_ONE_OF, resolve_cli, run_cli)


def main():
    options = dict(CONNECTION_ARGS)
    options.update(wait=dict(type='bool', default=False))
    module = AnsibleModule(
        argument_spec=options,
        mutually_exclusive=CONNECTION_EXCLUSIVE,
        required_one_of=CONNECTION_REQUIRED_ONE_OF,
        supports_check_mode=True,
    )
    if module.check_mode:
        module.exit_json(changed=True)
    cli = resolve_cli(module.params['cli_path'])
    if not cli:
        module.fail_json(msg='ezconfig-cli not found: %s' % module.params['cli_path'])
    command = ['restart'] + (['--wait'] if module.params['wait'] else [])
    result = run_cli(cli, command, module.params)
    values = result.as_result()
    if result.rc != 0:
        module.fail_json(msg=result.failure_message(), **values)
    # With --wait the CLI prints "model: NAME" and "version: TEXT".
    for line in result.stdout_lines:
        key, _, value = line.partition(': ')
        if key in ('model', 'version'):
            values[key] = value
    module.exit_json(changed=True, **values)


if __name__ == '__main__':
    main()
