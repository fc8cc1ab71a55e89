# GNU General Public License v3.0+ (see https://www.gnu.org/licenses/gpl-3.0.txt)
# gateway_restart in Ansible's worker (the documentation is the module's).

from ansible_collections.ezconfig.gateway.plugins.module_utils.ezconfig_cli import (
    CONNECTION_EXCLUSIVE, CONNECTION_REQUIRED_ONE_OF, RESTART_ARGS, restart)
from ansible_collections.ezconfig.gateway.plugins.plugin_utils.gateway_action import (
    GatewayAction)


class ActionModule(GatewayAction):
    MODULE = 'ezconfig.gateway.gateway_restart'
    ARGUMENT_SPEC = RESTART_ARGS
    MUTUALLY_EXCLUSIVE = CONNECTION_EXCLUSIVE
    REQUIRED_ONE_OF = CONNECTION_REQUIRED_ONE_OF

    def perform(self, params, check_mode, diff):
        return restart(params, check_mode)
