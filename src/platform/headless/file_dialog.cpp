#include "platform/file_dialog.h"

// Nothing is shown headless: a call without a preset answer is a cancelled dialog.

std::string ChooseFile(const std::string& title, const std::string& defaultName,
                       const std::string& defaultExtension, const std::string& filter) {
    return TakePresetFile({title, defaultName, defaultExtension, filter, false}).value_or("");
}

std::string ChooseSaveFile(const std::string& title, const std::string& defaultName,
                           const std::string& defaultExtension, const std::string& filter) {
    return TakePresetFile({title, defaultName, defaultExtension, filter, true}).value_or("");
}
