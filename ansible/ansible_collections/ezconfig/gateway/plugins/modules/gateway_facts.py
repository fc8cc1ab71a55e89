#!/usr/bin/python
# The gateway's configuration as facts, read with `ezconfig-cli read --redact`.

DOCUMENTATION = r'''
---
module: gateway_facts
short_description: Read a gateway's configuration into facts
description:
  - Reads the whole configuration of one gateway with C(ezconfig-cli read --redact) and returns
    it as the fact C(ezconfig_gateway), in the JSON format of docs/config-format.md, every
    password as C(***).
options:
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
author: ezconfig developers
'''

EXAMPLES = r'''
- ezconfig.gateway.gateway_facts:
    tcp: 192.0.2.10
    password: "{{ gateway_password }}"
- ansible.builtin.debug:
    var: ezconfig_gateway.voip.ports
'''

RETURN = r'''
ansible_facts:
  description: C(ezconfig_gateway), the configuration with every password masked.
  type: dict
  returned: success
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.ezconfig.gateway.plugins.module_utils.ezconfig_cli import (
    CONNECTION_ARGS, CONNECTION_EXCLUSIVE, CONNECTION_REQUIRED_ONE_OF, parse_json, resolve_cli,
    run_cli)


def main():
    module = AnsibleModule(
        argument_spec=dict(CONNECTION_ARGS),
        mutually_exclusive=CONNECTION_EXCLUSIVE,
        required_one_of=CONNECTION_REQUIRED_ONE_OF,
        supports_check_mode=True,
    )
    cli = resolve_cli(module.params['cli_path'])
    if not cli:
        module.fail_json(msg='ezconfig-cli not found: %s' % module.params['cli_path'])
    result = run_cli(cli, ['read', '--redact'], module.params)
    if result.rc != 0:
        module.fail_json(msg=result.failure_message(), **result.as_result())
    try:
        configuration = parse_json(result)
    except ValueError as error:
        module.fail_json(msg='ezconfig-cli read printed no JSON: %s' % error, **result.as_result())
    module.exit_json(changed=False, ansible_facts=dict(ezconfig_gateway=configuration),
                     **result.as_result())


if __name__ == '__main__':
    main()
