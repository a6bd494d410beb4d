#pragma once
#include <string>

#include "platform/printer_device.h"

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
// Opens the PDF file that SetPdfOutput names (platform/printer_device.h) as the device, laid out by
// `settings` alone: the record's choices (copies, sides, colour) are a printer's, not a file's.
int OpenPdfDevice(const std::string& settings);
// Keeps `record` as the session's record: the choices made under Preferences.
void KeepPrinterSettings(const PrinterSettingsRecord& record);
// Ends the page and the document on the current device; 1 when that succeeded.
int EndPrinterDocument();

const std::string& CurrentPrinterName();
int CurrentPrinterDevice();
const PrinterSettingsRecord& CurrentPrinterSettings();
// Back to the start of the session: no printer, no device, no record. For tests.
void ResetPrinterState();
