#pragma once
// The MQTT bridge's settings from serve's command line.
#include <QString>
#include <optional>

#include "HubCommandLine.h"
#include "hub/MqttService.h"
#include "hub/Store.h"

namespace tavelo::hub {

// Nothing with `error` empty when --mqtt is not given; nothing with `error` set when the
// settings are refused (a bad URL, an unreadable password file, an unknown --mqtt-as user).
std::optional<MqttSettings> MqttSettingsFrom(const HubCommandLine& line, Store& store,
                                             QString& error);

}  // namespace tavelo::hub
