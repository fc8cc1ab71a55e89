#include "model/save_checks.h"

#include "model/address_check.h"
#include "model/config_model.h"
#include "model/configuration_checks.h"
#include "model/split_values.h"

namespace {

bool pstnComplete(const ConfigModel& m) {
  return !m.ED_PSTN_login.text().isEmpty() && !m.ED_PSTN_password.text().isEmpty() &&
         !m.ED_PSTN_dialing.text().isEmpty();
}

// Only the account that PPPoE towards the local PC hands out needs checking; without a local PC
// the LAN page may stay empty.
bool lanComplete(const ConfigModel& m) {
  if (!(m.CB_Local_PC.isChecked() && m.RB_PSTN_PPPoE.isChecked())) return true;
  return !m.ED_PPPoE_ID.text().isEmpty() && !m.ED_PPPoE_Password.text().isEmpty();
}

// The dotted-address test; a missing middle group leaves a note for the debug log. A server the
// device holds by a name the field cannot show is the device's own and goes back unchanged.
bool addressComplete(const AddressField& field, QStringList& notes) {
  if (field.hasHiddenOriginal()) return true;
  const AddressCompleteness result = addressCompleteness(field.text());
  if (result == AddressCompleteness::MiddleGroupMissing) notes << middleGroupMissingNote();
  return result == AddressCompleteness::Complete;
}

bool voipComplete(const ConfigModel& m, QStringList& notes) {
  switch (m.RG_Protocol.itemIndex()) {
    case 0:
      return true;
    case 1:
      return addressComplete(m.ED_SIP_Server_1, notes) && !m.ED_SIP_Username.text().isEmpty();
    case 2:
      return addressComplete(m.ED_MGCP_CallAgent_1, notes);
    default:
      return false;
  }
}

// The first problem the configuration's checks find, as the window shows it: the field's caption
// and the problem, on the field's page.
SaveCheckResult configurationCheck(const ConfigModel& m, const QStringList& notes) {
  const GatewayConfiguration configuration = m.configuration();
  const QList<ConfigurationProblem> problems =
      checkConfiguration(configuration, m.deviceOwnAddresses());
  SaveCheckResult result;
  result.debugNotes = notes;
  if (problems.isEmpty()) return result;
  const ConfigurationProblem& problem = problems.first();
  result.ok = false;
  result.path = problem.path;
  if (const ConfigMember* member = configMember(problem.path)) {
    result.field = member->field;
    result.page = member->page;
    result.caption = member->caption;
  } else {
    // A voice port's number, in the phone-number table.
    const int index = portIndexOf(problem.path);
    result.field = QStringLiteral("SG_VoIP_Phone_number");
    result.page = QStringLiteral("Tab_VoIP");
    result.caption =
        QStringLiteral("Phone number of port %1").arg(configuration.voip.ports.value(index).port);
  }
  result.message = result.caption + QStringLiteral(": ") + problem.message;
  return result;
}

SaveCheckResult missing(const char* page, const char* key, const QStringList& notes) {
  SaveCheckResult result;
  result.ok = false;
  result.page = QLatin1String(page);
  result.messageKey = QLatin1String(key);
  result.message = result.messageKey;
  result.debugNotes = notes;
  return result;
}

}  // namespace

SaveCheckResult checkForSave(ConfigModel& m) {
  if (m.CB_Local_PC.isChecked()) m.CB_Local_PCClick();

  QStringList notes;
  const bool lanOk = lanComplete(m);
  const bool voipOk = voipComplete(m, notes);
  const bool pstnOk = pstnComplete(m);
  if (!lanOk) return missing("Tab_LAN", "Please setup PPPoE contents", notes);
  if (!voipOk) return missing("Tab_VoIP", "Please setup VoIP contents", notes);
  if (!pstnOk) return missing("Tab_PSTN", "Please setup PSTN contents", notes);

  // A value the device would split at a blank (or break at a line end) is refused whole rather
  // than written as something else.
  const SplitValue split = firstSplitValue(m);
  if (!split.field.isEmpty()) {
    SaveCheckResult result;
    result.ok = false;
    result.page = split.page;
    result.field = split.field;
    result.caption = split.caption;
    result.message = split.message;
    result.debugNotes = notes;
    return result;
  }

  return configurationCheck(m, notes);
}
