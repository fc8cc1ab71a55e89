#!/usr/bin/env python3
"""Stands in for ezconfig-cli in the modules' tests. Records every call (arguments, the password
it found in its environment, standard input, the configuration file it was given) as a JSON line
in $FAKE_CLI_LOG, and answers by the port of --tcp:

  5001  the device already holds the file       5002  the file changes two members
  5004  login refused (exit 4)                  5005  model refused (exit 5)
  5011  written, not verified (exit 1)          5016  the device did not confirm (exit 6)
"""
import json
import os
import sys

DEVICE = {'format': 1, 'pstn': {'dialing': '1', 'password': 'device-secret'},
          'voip': {'ports': [{'port': '0/0', 'number': '201'}]}}


def option(argv, name):
    return argv[argv.index(name) + 1] if name in argv else None


def main():
    argv = sys.argv[1:]
    command = argv[0]
    record = {'argv': argv, 'password': os.environ.get('EZCONFIG_PASSWORD'),
              'stdin': sys.stdin.read()}
    if command == 'write':
        record['file'] = argv[1]
        with open(argv[1]) as handle:
            record['config'] = json.load(handle)
    with open(os.environ['FAKE_CLI_LOG'], 'a') as log:
        log.write(json.dumps(record) + '\n')

    port = (option(argv, '--tcp') or ':0').rsplit(':', 1)[1]
    target = option(argv, '--tcp') or option(argv, '--serial')
    if port == '5004':
        sys.stderr.write('ezconfig-cli: login refused by %s (ID or password is not correct)\n'
                         % target)
        return 4
    if port == '5005':
        sys.stderr.write('ezconfig-cli: %s is a model this tool does not configure (XR100)\n'
                         % target)
        return 5
    if command == 'read':
        document = json.loads(json.dumps(DEVICE))
        if '--redact' in argv:
            document['pstn']['password'] = '***'
        print(json.dumps(document, indent=2))
        return 0
    if command == 'restart':
        if '--wait' in argv:
            print('model: ZQ520-4S\nversion: 2.31.7')
        return 0
    # write
    if port == '5001':
        sys.stderr.write('ezconfig-cli: %s already holds this configuration; nothing written\n'
                         % target)
        return 0
    print('pstn.password: secret changed (not shown)\npstn.dialing: "1" -> "2"')
    if '--dry-run' in argv:
        return 0
    backup_dir = option(argv, '--backup-dir')
    if backup_dir:
        stored = os.path.join(backup_dir, '127.0.0.1-20261209T063117Z.json')
        with open(stored, 'w') as handle:
            json.dump(DEVICE, handle)
        sys.stderr.write('ezconfig-cli: device configuration stored in %s\n' % stored)
    if port == '5011':
        sys.stderr.write('ezconfig-cli: pstn.dialing: did not take; the device holds "1", '
                         'the file says "2"\n')
        return 1
    if port == '5016':
        sys.stderr.write('ezconfig-cli: %s did not confirm the write\n' % target)
        return 6
    sys.stderr.write('ezconfig-cli: written and read back: %s holds the file\'s '
                     'configuration\n' % target)
    return 0


if __name__ == '__main__':
    sys.exit(main())
