#!/usr/bin/python
# GNU General Public License v3.0+ (see https://www.gnu.org/licenses/gpl-3.0.txt)
# Puts a configuration on one gateway with `ezconfig-cli write`. With a local connection the
# action plugin of the same name does the work in Ansible's worker; this file holds the
# documentation and runs where the connection leads otherwise.

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
  - One login per gateway, also in check mode and diff mode.
extends_documentation_fragment:
  - ezconfig.gateway.connection
options:
  config:
    description: The configuration as a dictionary; C(format) may be left out.
    type: dict
  src:
    description: Or a configuration file on the host the task runs on.
    type: path
  backup:
    description: Keep the device's configuration in I(backup_dir) before writing.
    type: bool
    default: false
  backup_dir:
    description: Folder for I(backup) (created when missing); the file holds the passwords.
    type: path
    default: ~/gateway-backups
  rollback:
    description:
      - When the write fails or does not take, write the device's previous configuration back
        and read it back. C(false) leaves the device as the failed write left it.
    type: bool
    default: true
  keep_masked_secrets:
    description:
      - Leave out of the write every password that reads C(***) (a file printed with
        C(ezconfig-cli read --redact) or written from M(ezconfig.gateway.gateway_facts), as a
        history of configurations keeps them), so that the gateway keeps its own.
      - C(false) hands such a file to the CLI as it is, which refuses it (a masked password
        cannot be written).
    type: bool
    default: false
attributes:
  check_mode:
    description: Reads the device and tells whether a write would happen (C(write --dry-run)).
    support: full
  diff_mode:
    description:
      - Shows the members the write changes, before and after, every password as C(***) and
        one that changes as C(*** (changed)); taken from the write's own result, so it costs no
        read of its own.
    support: full
  action:
    description: Runs as an action plugin in Ansible's worker on the control machine.
    support: full
author: ezconfig developers (@ezconfig)
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

- name: Put back what a gateway held, from a file of its history (its masked passwords left
    out, so the gateway keeps its own)
  ezconfig.gateway.gateway_config:
    tcp: 192.0.2.10
    password: "{{ gateway_password }}"
    src: /srv/gateway-history/gw-reception.json
    keep_masked_secrets: true
'''

RETURN = r'''
changed:
  description:
    - The device took a write (it confirmed one, or a read-back shows one, also when it was then
      rolled back). In check mode, a write would change something.
  type: bool
  returned: always
differences:
  description: One line per member the write changes, as C(ezconfig-cli write) prints them.
  type: list
  elements: str
  returned: always
  sample:
    - 'pstn.dialing: "0800123456" -> "0800999000"'
    - 'pstn.password: secret changed (not shown)'
diff:
  description:
    - In diff mode, the members the write changes, before and after, nested by their path
      (C(voip.ports[1].number) under C(voip) and C(ports[1])); passwords masked.
  type: dict
  returned: in diff mode, when the CLI got that far
  contains:
    before:
      description: The device's values.
      type: dict
    after:
      description: The values after the write.
      type: dict
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
  description: The file holding the device's configuration before the write (with passwords).
  type: str
  returned: when a backup was stored
messages:
  description: The CLI's messages, without the program's name.
  type: list
  elements: str
  returned: when the CLI ran
rc:
  description:
    - The CLI's exit code; not returned for a check-mode run whose dry run said "would change"
      (exit code 1), which Ansible would take for a failure. I(exit_code) has it then.
  type: int
  returned: when the CLI ran, but for that check-mode case
exit_code:
  description: The CLI's exit code, from its JSON result.
  type: int
  returned: when the CLI got that far
cmd:
  description:
    - The CLI's command line (without the password, which never is on it). The configuration
      file it names is a temporary one, removed again, unless I(src) was given.
  type: list
  elements: str
  returned: when the CLI ran
msg:
  description: On failure, the CLI's exit code, what it means and the CLI's own message.
  type: str
  returned: on failure
  sample: "ezconfig-cli exit 4 (login refused): login refused by 192.0.2.21:514"
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.ezconfig.gateway.plugins.module_utils.ezconfig_cli import (
    CONFIG_ARGS, CONFIG_EXCLUSIVE, CONFIG_REQUIRED_ONE_OF, config_secrets, configure)


def main():
    module = AnsibleModule(
        argument_spec=CONFIG_ARGS,
        mutually_exclusive=CONFIG_EXCLUSIVE,
        required_one_of=CONFIG_REQUIRED_ONE_OF,
        supports_check_mode=True,
    )
    if module.params['config']:
        # The passwords inside config are not options of their own, so no_log misses them.
        module.no_log_values.update(config_secrets(module.params['config']))
    values = configure(module.params, module.check_mode, module._diff)
    if values.pop('failed', False):
        module.fail_json(**values)
    module.exit_json(**values)


if __name__ == '__main__':
    main()
