#pragma once
#include <string>

#include "platform/download.h"

// The transfer over Qt's network service, through the system's proxy settings. The windows keep
// repainting while it waits, and nothing the user does in them is acted upon.
DownloadResult DownloadToFile(const std::string& url, const std::string& fileName,
                              const DownloadLimits& limits = {});
