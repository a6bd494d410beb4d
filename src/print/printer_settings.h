#pragma once
#include <string>
#include <string_view>

#include "platform/printer_device.h"

// A job's settings text: items "KEY=value" joined by ",", keys in any letter case, values decimal,
// hexadecimal after "$" or binary after "%". The job sets only the keys it names; whatever else
// the record holds (choices made under Preferences) stays.
void ApplyPrinterSettings(const std::string& settings, PrinterSettingsRecord& record);

// A settings value; text that is not a number reads as 0.
long long ReadSettingsValue(std::string_view text);

// What a job asks for when its caller gives no settings: A4, portrait.
inline constexpr const char* DefaultPrinterSettingsText = "PAPERSIZE=9,ORIENTATION=1";
