#pragma once

#include <QString>

#include <optional>

// A module's firmware version as the aircraft stores it: a major and a minor number, one byte
// each. The catalogue writes it as text ("3.00"); the aircraft reports the numbers, which the page
// shows without padding ("3.0"), so versions are compared as numbers, never as text.
struct FirmwareVersion
{
    int major = 0;
    int minor = 0;

    bool operator==(const FirmwareVersion &other) const
    {
        return major == other.major && minor == other.minor;
    }
    bool operator!=(const FirmwareVersion &other) const { return !(*this == other); }
};

// "major.minor[.more]" in decimal; a part that is not a number counts as 0. Nothing when the text
// has no dot (or is empty), or when a number does not fit the byte the aircraft is sent.
std::optional<FirmwareVersion> parseFirmwareVersion(const QString &text);

// Both texts name the same version. A text that is not a version equals nothing.
bool sameFirmwareVersion(const QString &a, const QString &b);
