#pragma once
// The exit codes of ezconfig-cli. Scripts and the Ansible modules rely on them: never renumber.
enum ExitCode : int {
  kExitDone = 0,
  // Differences found (diff), or a write that the read-back could not confirm.
  kExitDifferent = 1,
  // Usage error, bad file, failed Save check, or a write not confirmed by the operator.
  kExitUsage = 2,
  kExitLinkFailure = 3,
  kExitLoginRefused = 4,
  kExitModelRefused = 5,
  // The device reported an error or did not confirm the write (write --no-rollback, status).
  kExitDeviceError = 6,
  // write: the write failed, and a read-back shows the device holding its previous configuration.
  kExitNotWritten = 7,
  // write: the write failed or did not take; the previous configuration was written back and the
  // read-back shows it.
  kExitRolledBack = 8,
  // write: the device holds neither configuration for certain; the backup file is named.
  kExitRollbackFailed = 9,
};
