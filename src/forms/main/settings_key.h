// Where the main window keeps its settings between runs, and the names of the values.
#pragma once

#include <string>

inline const std::string settingsKey = "HKEY_CURRENT_USER\\Software\\Hollowcrest\\Quillmere";

namespace settingName {
inline const std::string Startup = "Startup";
inline const std::string Top = "Top";
inline const std::string Left = "Left";
inline const std::string SpacesToUse = "SpacesToUse";
inline const std::string OperationClip = "OperationClip";
inline const std::string OperationSingle = "OperationSingle";
inline const std::string OperationMultiple = "OperationMultiple";
inline const std::string FixedTABS = "FixedTABS";
inline const std::string FixedSpaces = "FixedSpaces";
inline const std::string LastExtension = "LastExtension";
inline const std::string SourceS = "SourceS";
inline const std::string DestinationS = "DestinationS";
inline const std::string SourceM = "SourceM";
inline const std::string DestinationM = "DestinationM";
} // namespace settingName
