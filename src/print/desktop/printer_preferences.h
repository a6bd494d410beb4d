#pragma once
#include <string>

// The Print window's Preferences: the settings of `printer` that reach its jobs, and nothing else
// (paper and orientation are the job's own, A4 portrait). Copies and collation always; sides,
// colour and quality as far as the printer takes them. OK keeps the choices for the jobs to come.
void ShowPrinterPreferences(const std::string& printer);
