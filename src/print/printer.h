#pragma once
#include <string>

#include "platform/printer.h"

// The connection to the printer: one current printer at a time, with the session's page-setup
// record. Opening another printer releases the previous device; the record stays.

std::string DefaultPrinterName();
// Fills the printer-name list from the spooler; 1 when it was filled, 0 otherwise.
int EnumeratePrinters();
int PrinterCount();
// The name at a 0-based index, "" outside the list.
std::string PrinterName(int index);

// Opens `name` ("" for the default printer) and lays the record, with `settings` applied, onto a
// new device. Gives the device's handle, or 0 when the printer or its device cannot be had.
int OpenPrinterDevice(const std::string& name, const std::string& settings);
// The printer's own settings dialog for the current printer; its choices stay in the record.
const PrinterSettingsRecord& ShowPrinterProperties();
// Ends the page and the document on the current device; 1 when that succeeded.
int EndPrinterDocument();

const std::string& CurrentPrinterName();
int CurrentPrinterDevice();
const PrinterSettingsRecord& CurrentPrinterSettings();
// Back to the start of the session: no printer, no device, no record. For tests.
void ResetPrinterState();
