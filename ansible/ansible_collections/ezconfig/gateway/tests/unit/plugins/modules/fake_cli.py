#!/usr/bin/env python3
"""Stands in for ezconfig-cli in the modules' tests. Records every call (arguments, the password
it found in its environment, standard input, the configuration file it was given) as a JSON line
in $FAKE_CLI_LOG, and answers by the port of --tcp:

  5001  the device already holds the file       5002  the file changes two members
  5004  login refused (exit 4)                  5005  model refused (exit 5)
  5011  written, not verified (exit 1)          5016  the device did not confirm (exit 6)
  5013  confirmed, not read back (exit 3)       5017  not written, device unchanged (exit 7)
  5018  rolled back (exit 8)                    5019  rollback failed (exit 9)

`write --json` answers with the JSON result only; its stderr then says nothing the modules may
rely on, so that a module still reading stderr fails its case.
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
    refusals = {'5004': (4, 'login refused by %s (ID or password is not correct)' % target),
                '5005': (5, '%s is a model this tool does not configure (XR100)' % target)}
    if port in refusals:
        rc, message = refusals[port]
        if command == 'write' and '--json' in argv:
            print(json.dumps(dict(result='not-read', changed=False, written=False,
                                  verified=False, rolled_back=False, differences=[],
                                  device_messages=[], messages=[message], backup_file=None,
                                  exit_code=rc)))
        else:
            sys.stderr.write('ezconfig-cli: %s\n' % message)
        return rc
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
    differences = [{'path': 'pstn.password', 'before': '(secret)', 'after': '(secret)'},
                   {'path': 'pstn.dialing', 'before': '1', 'after': '2'}]
    outcome = dict(result='written', changed=True, written=True, verified=True,
                   rolled_back=False, differences=differences, device_messages=[], messages=[],
                   backup_file=None, exit_code=0)
    messages = outcome['messages']

    def answer(rc, **values):
        outcome.update(values, exit_code=rc)
        if '--json' in argv:
            print(json.dumps(outcome, indent=2))
            sys.stderr.write('ezconfig-cli: (stderr holds nothing a module may rely on)\n')
        else:
            for line in messages:
                sys.stderr.write('ezconfig-cli: %s\n' % line)
        return rc

    if port == '5001':
        messages.append('%s already holds this configuration; nothing written' % target)
        return answer(0, result='unchanged', changed=False, written=False, differences=[])
    if '--json' not in argv:
        print('pstn.password: secret changed (not shown)\npstn.dialing: "1" -> "2"')
    if '--dry-run' in argv:
        return answer(1, result='would-change', written=False, verified=False)
    backup_dir = option(argv, '--backup-dir')
    if backup_dir:
        stored = os.path.join(backup_dir, '127.0.0.1-20261209T063117Z.json')
        with open(stored, 'w') as handle:
            json.dump(DEVICE, handle)
        messages.append('device configuration stored in %s' % stored)
        outcome['backup_file'] = stored
    if port == '5011':
        messages.append('pstn.dialing: did not take; the device holds "1", the file says "2"')
        return answer(1, result='not-verified', verified=False)
    if port == '5016':
        messages.append('%s did not confirm the write' % target)
        # Without a read-back nobody knows: it counts as a change.
        return answer(6, result='device-error', written=False, verified=False)
    if port == '5013':
        messages.append('the device confirmed the write, but it could not be read back')
        return answer(3, result='not-verified', verified=False)
    if port == '5017':
        messages.append('not written: %s holds its previous configuration (read back)' % target)
        return answer(7, result='not-written', changed=False, written=False, verified=False)
    if port == '5018':
        stored = '/home/op/.local/share/ezconfig-cli/backups/127.0.0.1-20261209T063117Z.json'
        messages.append('rolled back: %s holds its previous configuration again (read back)'
                        % target)
        return answer(8, result='rolled-back', verified=False, rolled_back=True,
                      backup_file=outcome['backup_file'] or stored)
    if port == '5019':
        stored = '/home/op/.local/share/ezconfig-cli/backups/127.0.0.1-20261209T063117Z.json'
        messages.append('ROLLBACK FAILED: what %s holds is unknown' % target)
        return answer(9, result='rollback-failed', verified=False, backup_file=stored)
    messages.append('written and read back: %s holds the file\'s configuration' % target)
    return answer(0)


if __name__ == '__main__':
    sys.exit(main())
