#!/usr/bin/python
# GNU General Public License v3.0+ (see https://www.gnu.org/licenses/gpl-3.0.txt)
# Reboots a gateway with `ezconfig-cli restart`. With a local connection the action plugin of
# the same name does the work in Ansible's worker.

DOCUMENTATION = r'''
---
module: gateway_restart
short_description: Restart a gateway
description:
  - Tells one gateway to reboot (C(ezconfig-cli restart)); a gateway applies a written
    configuration after a restart.
  - With I(wait), waits (up to 90 s) until it answers again and logs in once more.
extends_documentation_fragment:
  - ezconfig.gateway.connection
options:
  wait:
    description: Wait until the gateway is back and return its model and version.
    type: bool
    default: false
attributes:
  check_mode:
    description: Reports C(changed) and sends nothing.
    support: full
  diff_mode:
    description: Nothing to show.
    support: none
  action:
    description: Runs as an action plugin in Ansible's worker on the control machine.
    support: full
notes:
  - Always reports C(changed); in check mode nothing is sent.
author: ezconfig developers (@ezconfig)
'''

EXAMPLES = r'''
- ezconfig.gateway.gateway_restart:
    tcp: 192.0.2.10
    password: "{{ gateway_password }}"
    wait: true
'''

RETURN = r'''
changed:
  description: True when the restart was sent (or, in check mode, would be).
  type: bool
  returned: always
model:
  description: The model the gateway reported after coming back.
  type: str
  returned: with I(wait)
  sample: ZQ520-4S
version:
  description: The software version the gateway reported after coming back.
  type: str
  returned: with I(wait)
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
    CONNECTION_EXCLUSIVE, CONNECTION_REQUIRED_ONE_OF, RESTART_ARGS, restart)


def main():
    module = AnsibleModule(
        argument_spec=RESTART_ARGS,
        mutually_exclusive=CONNECTION_EXCLUSIVE,
        required_one_of=CONNECTION_REQUIRED_ONE_OF,
        supports_check_mode=True,
    )
    values = restart(module.params, module.check_mode)
    if values.pop('failed', False):
        module.fail_json(**values)
    module.exit_json(**values)


if __name__ == '__main__':
    main()
