#!/usr/bin/python
# GNU General Public License v3.0+ (see https://www.gnu.org/licenses/gpl-3.0.txt)
# The gateway's configuration as facts, read with `ezconfig-cli read --redact`. With a local
# connection the action plugin of the same name does the work in Ansible's worker.

DOCUMENTATION = r'''
---
module: gateway_facts
short_description: Read a gateway's configuration into facts
description:
  - Reads the whole configuration of one gateway with C(ezconfig-cli read --redact) and returns
    it as the fact C(ezconfig_gateway), in the JSON format of docs/config-format.md, every
    password as C(***).
  - The same configuration always reads as the same JSON, so a file written from it changes
    only when the gateway's configuration does.
extends_documentation_fragment:
  - ezconfig.gateway.connection
attributes:
  check_mode:
    description: Reads in check mode as well; reading changes nothing.
    support: full
  diff_mode:
    description: Nothing to show; a read changes nothing.
    support: N/A
  facts:
    description: Sets the fact C(ezconfig_gateway).
    support: full
  action:
    description: Runs as an action plugin in Ansible's worker on the control machine.
    support: full
author: ezconfig developers (@ezconfig)
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
  description: The facts set.
  type: dict
  returned: success
  contains:
    ezconfig_gateway:
      description: The configuration (format 1) with every password that is set as C(***).
      type: dict
      returned: success
changed:
  description: Always false; a read changes nothing.
  type: bool
  returned: always
messages:
  description: The CLI's messages, without the program's name.
  type: list
  elements: str
  returned: when the CLI ran
rc:
  description: The CLI's exit code.
  type: int
  returned: when the CLI ran
cmd:
  description: The CLI's command line (without the password, which never is on it).
  type: list
  elements: str
  returned: when the CLI ran
msg:
  description: On failure, the CLI's exit code, what it means and the CLI's own message.
  type: str
  returned: on failure
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.ezconfig.gateway.plugins.module_utils.ezconfig_cli import (
    CONNECTION_ARGS, CONNECTION_EXCLUSIVE, CONNECTION_REQUIRED_ONE_OF, read_facts)


def main():
    module = AnsibleModule(
        argument_spec=CONNECTION_ARGS,
        mutually_exclusive=CONNECTION_EXCLUSIVE,
        required_one_of=CONNECTION_REQUIRED_ONE_OF,
        supports_check_mode=True,
    )
    values = read_facts(module.params)
    if values.pop('failed', False):
        module.fail_json(**values)
    module.exit_json(**values)


if __name__ == '__main__':
    main()
