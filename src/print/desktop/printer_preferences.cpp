#include "print/desktop/printer_preferences.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <algorithm>
#include <vector>

#include "platform/dialogs.h"
#include "platform/printer_device.h"
#include "platform/qt/controls.h"
#include "platform/qt/program_window.h"
#include "print/print_window.h"
#include "print/printer_connection.h"

namespace {

constexpr int Width = 330;
constexpr int Height = 250;

struct Entry {
    const char* text;
    std::int16_t code;
};

constexpr Entry SidesEntries[] = {
    {"One-sided", 1}, {"Two-sided, long edge", 2}, {"Two-sided, short edge", 3}};
constexpr Entry ColourEntries[] = {{"Black and white", 1}, {"Colour", 2}};
constexpr Entry QualityEntries[] = {
    {"Draft", QualityDraft}, {"Normal", QualityMedium}, {"High", QualityHigh}};

// A drop-down list of the entries the printer offers, showing `current` (else the first); a
// list with nothing to choose between is disabled.
template <std::size_t N>
QComboBox* AddChoice(int control, int y, const std::string& label, const Entry (&entries)[N],
                     const std::vector<std::int16_t>& offered, std::int16_t current) {
    AddLabel(PreferencesWindowNumber, PreferencesLabelControl, 16, y + 3, 90, 20, label);
    QComboBox* choice = AddSelector(PreferencesWindowNumber, control, 110, y, Width - 126, 24);
    for (const Entry& entry : entries) {
        if (std::find(offered.begin(), offered.end(), entry.code) == offered.end()) continue;
        choice->addItem(ToDisplay(entry.text), entry.code);
        if (entry.code == current) choice->setCurrentIndex(choice->count() - 1);
    }
    choice->setEnabled(choice->count() > 1);
    return choice;
}

std::int16_t Chosen(const QComboBox* choice) {
    return static_cast<std::int16_t>(choice->currentData().toInt());
}

}  // namespace

void ShowPrinterPreferences(const std::string& printer) {
    const PrinterOffers offers = SpoolerPrinterOffers(printer);
    PrinterSettingsRecord record = CurrentPrinterSettings();
    // A setting the session has not chosen yet shows as the printer has it.
    const auto value = [&](std::uint16_t flag, std::int16_t PrinterSettingsRecord::*field) {
        return (record.fields & flag) ? record.*field : offers.defaults.*field;
    };
    if (!OpenDialogWindow(PreferencesWindowNumber, "Preferences", Width, Height, "")) return;
    AddLabel(PreferencesWindowNumber, PreferencesLabelControl, 16, 12, Width - 32, 20,
             "Printer: " + printer);

    AddLabel(PreferencesWindowNumber, PreferencesLabelControl, 16, 45, 90, 20, "Copies:");
    auto* copies = new QSpinBox;
    copies->setParent(ProgramWindowById(PreferencesWindowNumber)->Content());
    PlaceControl(copies, CopiesControl, 110, 42, 70, 24);
    copies->setRange(1, 999);
    copies->setValue(std::max<int>(1, value(SettingCopies, &PrinterSettingsRecord::copies)));
    QCheckBox* collate =
        AddCheckBox(PreferencesWindowNumber, CollateControl, 200, 42, Width - 216, 24, "Collate");
    collate->setChecked(value(SettingCollate, &PrinterSettingsRecord::collate) != 0);
    // Collation is sent with more than one copy only.
    const auto followCopies = [collate](int count) { collate->setEnabled(count > 1); };
    QObject::connect(copies, &QSpinBox::valueChanged, collate, followCopies);
    followCopies(copies->value());

    QComboBox* sides = AddChoice(
        SidesControl, 76, "Sides:", SidesEntries,
        offers.twoSided ? std::vector<std::int16_t>{1, 2, 3} : std::vector<std::int16_t>{1},
        value(SettingDuplex, &PrinterSettingsRecord::duplex));
    QComboBox* colour = AddChoice(ColourControl, 108, "Colour:", ColourEntries,
                                  offers.colour ? std::vector<std::int16_t>{1, 2}
                                                : std::vector<std::int16_t>{offers.defaults.color},
                                  value(SettingColor, &PrinterSettingsRecord::color));
    QComboBox* quality =
        AddChoice(QualityControl, 140, "Quality:", QualityEntries, offers.qualities,
                  value(SettingPrintQuality, &PrinterSettingsRecord::printQuality));
    AddLabel(PreferencesWindowNumber, PreferencesLabelControl, 16, 175, Width - 32, 20,
             "Paper: A4, portrait");
    AddButton(PreferencesWindowNumber, PreferencesOkControl, Width - 163, Height - 29, 75, 22,
              "OK");
    AddButton(PreferencesWindowNumber, PreferencesCancelControl, Width - 82, Height - 29, 75, 22,
              "Cancel");
    AddShortcut(PreferencesWindowNumber, QKeySequence(Qt::Key_Escape), PreferencesCancelControl);
    copies->setFocus();

    for (;;) {
        const int command = WaitDialogEvent().command;
        if (command == CloseBoxCommand || command == PreferencesCancelControl) break;
        if (command != PreferencesOkControl) continue;
        record.copies = static_cast<std::int16_t>(copies->value());
        record.collate = collate->isChecked() ? 1 : 0;
        record.duplex = Chosen(sides);
        record.color = Chosen(colour);
        record.fields |= SettingCopies | SettingCollate | SettingDuplex | SettingColor;
        if (quality->count() > 0) {
            record.printQuality = Chosen(quality);
            record.fields |= SettingPrintQuality;
        }
        KeepPrinterSettings(record);
        break;
    }
    CloseDialogWindow();
}
