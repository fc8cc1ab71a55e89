# GNU General Public License v3.0+ (see https://www.gnu.org/licenses/gpl-3.0.txt)
# gateway_config in Ansible's worker (the documentation is the module's).

from ansible_collections.ezconfig.gateway.plugins.module_utils.ezconfig_cli import (
    CONFIG_ARGS, CONFIG_EXCLUSIVE, CONFIG_REQUIRED_ONE_OF, config_secrets, configure)
from ansible_collections.ezconfig.gateway.plugins.plugin_utils.gateway_action import (
    GatewayAction)


class ActionModule(GatewayAction):
    MODULE = 'ezconfig.gateway.gateway_config'
    ARGUMENT_SPEC = CONFIG_ARGS
    MUTUALLY_EXCLUSIVE = CONFIG_EXCLUSIVE
    REQUIRED_ONE_OF = CONFIG_REQUIRED_ONE_OF

    def secrets(self, params):
        # The passwords inside config are not options of their own.
        return config_secrets(params['config'] or {})

    def perform(self, params, check_mode, diff):
        return configure(params, check_mode, diff)
