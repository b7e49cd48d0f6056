#pragma once

#include <QStringList>

#include <array>

// Names and fixed texts shared by the configuration, update and page code.

// This program's own version, shown in the main window and compared with the software service.
inline constexpr char CurrentVersion[] = "1.55";

inline constexpr char ConfigFileName[] = "firmware.ini";
inline constexpr char TranslationFileName[] = "R7Assistant.qm";

// Help folders below the program's folder; each holds files of the same names.
inline constexpr char HelpFolderChinese[] = "/Introduction/zh_CN/";
inline constexpr char HelpFolderEnglish[] = "/Introduction/en_US/";

// Modules of the aircraft; the index is the module id of the firmware transfer.
inline constexpr std::array<const char *, 10> ModuleNames{
    "FCU", "IMU", "GMU", "LIU", "OSD", "DLU", "PMU", "IMUEX", "DGPS", "DCU"};

inline QStringList moduleNames()
{
    QStringList names;
    for (const char *name : ModuleNames)
        names << QString::fromLatin1(name);
    return names;
}

// Member names of one module's entry in the online firmware catalogue.
namespace FirmwareJsonKey {
inline constexpr char Version[] = "version";
inline constexpr char ReleaseNote[] = "releaseNote";
inline constexpr char EngReleaseNote[] = "eng_releaseNote";
inline constexpr char ReleaseDate[] = "releaseDate";
inline constexpr char Url[] = "url";
} // namespace FirmwareJsonKey
