// The program's string table: every user-visible text by its numeric id, in UTF-8. The ids are
// those of the original resource script, so messages and captions are looked up, not spelled
// out, in the code. Read-only; any thread.
#pragma once

#include <string>

namespace phonomir {

namespace StringId {
inline constexpr int VersionInformation = 3001;  // system menu item: About box
inline constexpr int Tone = 3006;                // generator pages 3006 .. 3009
inline constexpr int Start = 3010;
inline constexpr int Stop = 3011;
inline constexpr int Spectrum = 3012;            // analyzer displays 3012 .. 3015
inline constexpr int Correlation = 3015;
inline constexpr int NeedInAndOut = 3510;        // calibration messages 3510 .. 3587
inline constexpr int TitleMissing = 3511;        // archive dialogs 3511 .. 3544 and 4107
inline constexpr int DataChangedSave = 3513;
inline constexpr int CantWriteData = 3514;
inline constexpr int SelectFolder = 3518;
inline constexpr int AskMakeFolder = 3519;
inline constexpr int SelectData = 3520;
inline constexpr int DeleteCalibration = 3523;
inline constexpr int SaveNewCalibration = 3524;
inline constexpr int SelectCalibration = 3525;
inline constexpr int ChangeCalibration = 3526;
inline constexpr int InputMicrophoneInfo = 3527;
inline constexpr int CantUseMixer = 3528;
inline constexpr int AskChangeFolder = 3534;
inline constexpr int FrequencyNotPositive = 3536;
inline constexpr int AskDeleteData = 3539;
inline constexpr int AskSaveData = 3544;
inline constexpr int TooManyPoints = 3587;
inline constexpr int GraphFont = 4001;
inline constexpr int FrequencyTitle = 4002;
inline constexpr int LevelTitle = 4003;
inline constexpr int LagTitle = 4010;
inline constexpr int NoSmoothing = 4013;
inline constexpr int AWeighting = 4014;          // 4014 .. 4016: A, B, C
inline constexpr int FlatWeighting = 4017;
inline constexpr int InputWave = 4019;
inline constexpr int LanguageTag = 4012;         // "JPN" or "ENG": decides the language code
inline constexpr int OnlineUpdate = 4020;        // system menu item
inline constexpr int AskDeleteFolder = 4107;
inline constexpr int UpdateLibraryMissing = 4246;
inline constexpr int UpdateExportMissing = 4247;
inline constexpr int InputTitle = 4270;          // Preset dialogs 4270 .. 4273
inline constexpr int SelectItem = 4271;
inline constexpr int SaveOverItem = 4272;
inline constexpr int DeleteItem = 4273;
inline constexpr int CantImportFile = 4301;      // "%s" file, "%s" reason
inline constexpr int CantWriteFile = 4302;
}  // namespace StringId

// The entry, or the empty string when the id is not in the table.
std::string loadString(int id);

// 1 when the language tag (string 4012) is "JPN", 2 when it is "ENG", else 0.
int languageCodeFor(const std::string& languageTag);
int languageCode();

}  // namespace phonomir
