# GNU General Public License v3.0+ (see https://www.gnu.org/licenses/gpl-3.0.txt)
# The options every module of the collection takes to reach one gateway, and what they share
# in how they run.


class ModuleDocFragment(object):
    DOCUMENTATION = r'''
options:
  tcp:
    description:
      - The gateway's console over TCP, C(HOST[:PORT]) (a dotted address; port 514 by default).
      - One of I(tcp) and I(serial) is required.
    type: str
  serial:
    description: The serial port of the gateway's console (9600 8N1).
    type: str
  user:
    description: Login ID.
    type: str
    default: admin
  password:
    description:
      - Login password. Handed to C(ezconfig-cli) in its environment (C(EZCONFIG_PASSWORD)),
        never on its command line, where other users could read it.
    type: str
    required: true
  cli_path:
    description: The C(ezconfig-cli) program, looked up on C(PATH) unless it is a path.
    type: path
    default: ezconfig-cli
  log:
    description: Append a transcript of the session to this file (passwords shown as C(***)).
    type: path
notes:
  - With C(ansible_connection=local) the task runs in Ansible's own worker process on the
    control machine, which starts C(ezconfig-cli) directly; no module process is started per
    host. With any other connection the module runs on that host, and C(ezconfig-cli) must be
    there.
  - A task's C(timeout) keyword ends C(ezconfig-cli) when it is reached, also in the middle of a
    write. Give a write the time of a whole write with its read-back and a rollback (a write
    at 9600 baud takes about 5 seconds, a rollback as long again), with ample margin.
'''
