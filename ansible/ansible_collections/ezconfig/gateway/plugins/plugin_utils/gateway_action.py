# GNU General Public License v3.0+ (see https://www.gnu.org/licenses/gpl-3.0.txt)
# What the collection's action plugins share: with a local connection they run the task in
# Ansible's worker process, which starts ezconfig-cli itself. A module started per host costs a
# Python interpreter and Ansible's module machinery (about a third of a CPU-second), some thirty
# times what the CLI's own work over loopback costs; a fleet of gateways is bound by exactly that.

from ansible.module_utils.common.arg_spec import ArgumentSpecValidator
from ansible.module_utils.common.parameters import remove_values
from ansible.plugins.action import ActionBase

# The connection plugins under which the worker is on the host the task is for.
LOCAL_CONNECTIONS = ('local', 'ansible.builtin.local')


class GatewayAction(ActionBase):
    """One module's task. Subclasses name the module, its options and what it does."""

    TRANSFERS_FILES = False
    MODULE = None
    ARGUMENT_SPEC = None
    MUTUALLY_EXCLUSIVE = ()
    REQUIRED_ONE_OF = ()

    def perform(self, params, check_mode, diff):
        raise NotImplementedError

    def secrets(self, params):
        """Values besides the no_log options that must not show in the result."""
        return set()

    def run(self, tmp=None, task_vars=None):
        result = super(GatewayAction, self).run(tmp, task_vars)
        if self._connection.transport not in LOCAL_CONNECTIONS:
            # ezconfig-cli lives on that host: the module runs there.
            result.update(self._execute_module(module_name=self.MODULE, task_vars=task_vars))
            return result

        validator = ArgumentSpecValidator(self.ARGUMENT_SPEC,
                                          mutually_exclusive=list(self.MUTUALLY_EXCLUSIVE),
                                          required_one_of=list(self.REQUIRED_ONE_OF))
        validated = validator.validate(self._task.args)
        no_log = set(validated._no_log_values)
        if validated.error_messages:
            result.update(failed=True, changed=False,
                          msg='; '.join(validated.error_messages))
            return remove_values(result, no_log)
        params = validated.validated_parameters
        no_log.update(self.secrets(params))
        values = self.perform(params, self._play_context.check_mode, self._play_context.diff)
        result.update(values)
        # As AnsibleModule does for a module: no password leaves in what the task returns.
        return remove_values(result, no_log)
