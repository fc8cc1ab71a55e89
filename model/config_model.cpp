#include "model/config_model.h"

ConfigModel::ConfigModel(QObject* parent) : QObject(parent) {
  // The containers the radios sit in make them exclusive.
  joinRadios("GB_PSTN", {&RB_All_up, &RB_Dial_up});
  joinRadios("GroupBox1", {&RB_PSTN_DHCP, &RB_PSTN_PPPoE});
  joinRadios("P_PC", {&RB_DHCP, &RB_PPPoE, &RB_IP});

  // The form's start state: the two fixed services and the upgrade account stay locked until
  // automatic upgrade is switched on.
  for (Field* locked : std::initializer_list<Field*>{
           &CK_service_h323, &ED_service_h323, &CK_service_sip, &ED_service_sip, &L_server_url,
           &ED_server_URL, &L_auto_ID, &ED_auto_upgrade_ID, &L_auto_password,
           &ED_auto_upgrade_password}) {
    locked->setInitialEnabled(false);
  }
  SG_VoIP_Phone_number.setCell(0, 0, QStringLiteral("Port"));
  SG_VoIP_Phone_number.setCell(1, 0, QStringLiteral("Type"));
  SG_VoIP_Phone_number.setCell(2, 0, QStringLiteral("Phone number"));

  // Last, as the form connects its handlers only after loading: the start values run nothing.
  connectHandlers();
}

ConfigModel::~ConfigModel() = default;

Field* ConfigModel::field(const QString& objectName) const {
  for (Field* f : fields_) {
    if (f->objectName() == objectName) return f;
  }
  return nullptr;
}

void ConfigModel::registerField(Field* field) {
  fields_.append(field);
}

void ConfigModel::fieldChanged(Field* field) {
  emit changed(field);
}

void ConfigModel::joinRadios(const char* container, const QList<RadioField*>& radios) {
  for (RadioField* radio : radios) {
    radio->container_ = QString::fromLatin1(container);
    for (RadioField* other : radios) {
      if (other != radio) radio->siblings_.push_back(other);
    }
  }
}

void ConfigModel::connectHandlers() {
  RG_Network_type.handler_ = [this] { RG_Network_typeClick(); };
  RG_Protocol.handler_ = [this] { RG_ProtocolClick(); };
  RB_DHCP.handler_ = [this] { RB_DHCPClick(); };
  RB_PPPoE.handler_ = [this] { RB_PPPoEClick(); };
  RB_IP.handler_ = [this] { RB_IPClick(); };
  RB_All_up.handler_ = [this] { RB_All_upClick(); };
  RB_Dial_up.handler_ = [this] { RB_Dial_upClick(); };
  RB_PSTN_DHCP.handler_ = [this] { RB_PSTN_DHCPClick(); };
  RB_PSTN_PPPoE.handler_ = [this] { RB_PSTN_PPPoEClick(); };
  CK_auto_upgrade.handler_ = [this] { CK_auto_upgradeClick(); };
  CB_Local_PC.handler_ = [this] { CB_Local_PCClick(); };
}
