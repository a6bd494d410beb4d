#pragma once

// Numbers of the main window, its controls and its commands. Menus, buttons and shortcuts that do
// the same thing share one number.
inline constexpr int MainWindowNumber = 1;

inline constexpr int CountCaptionControl = 60;
inline constexpr int LevelSelectorControl = 110;
inline constexpr int MatchSelectorControl = 112;
inline constexpr int CategorySelectorControl = 114;
inline constexpr int FormatSelectorControl = 115;
inline constexpr int AustralianSelectorControl = 116;
inline constexpr int FindControl = 117;
inline constexpr int BookListControl = 130;

inline constexpr int DetailsCommand = 100;  // a double-click or Return on a row of the book list
inline constexpr int PrintCommand = 101;
inline constexpr int UpdateCommand = 143;
inline constexpr int ServerUpdateCommand = 144;
inline constexpr int CompareCommand = 151;
inline constexpr int ExportCommand = 152;
inline constexpr int ReviewCommand = 153;
inline constexpr int HelpCommand = 155;
inline constexpr int AboutCommand = 156;
inline constexpr int FindCommand = 157;  // Ctrl+F: to the Find field
inline constexpr int OpenDataFolderCommand = 158;
inline constexpr int RemoveRowsCommand = 190;
inline constexpr int CloseCommand = 199;
inline constexpr int NewBooksCommand = 1108;
