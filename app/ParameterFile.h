#pragma once

// The parameter file (".lum"): a big-endian 32-bit length, then the Base64 text of a compact JSON
// object whose members are the eleven settings below, all integers. Export writes what the store
// holds; import stores the members a file has, group by group, each group then sent to the
// aircraft with its own write command.

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

struct AircraftParams;

namespace ParameterFile {

inline constexpr char kSuffix[] = "lum";
inline constexpr char kDefaultName[] = "para.lum";
// Export writes about 350 bytes; anything far larger is not a parameter file, and import reads no
// more than this (plus one byte, to see that there is more).
inline constexpr qint64 kMaxFileBytes = 64 * 1024;

// One group of settings travels in one write command; import sends them in this order.
struct Group
{
    uint8_t command;     // the write command and the reply that confirms it
    const char *keys[3]; // its members in the file (unused entries are null)
    const char *name;    // what the user calls it, marked for translation (KivGuiController)
};
inline constexpr int kGroupCount = 7;
const std::array<Group, kGroupCount> &groups();
// Index of the group written by command, or -1.
int groupOfCommand(uint8_t command);

// The file's bytes for the store's values.
QByteArray encode(const AircraftParams &params);

// The document of a file's bytes: the four length bytes are optional, and bytes outside the Base64
// alphabet are skipped. Nothing when the text is not JSON, not an object, an object with none of
// the eleven members (such a file holds nothing to import), or one with a whole number that its
// field cannot hold (258 for a byte would reach the aircraft as 2).
std::optional<QJsonObject> decode(const QByteArray &bytes);

// Stores the members of one group that the document holds (a value that is not a whole number
// stores 0; only the field's width is kept). Missing members leave their fields as they are.
void storeGroup(AircraftParams &params, const QJsonObject &document, int group);

} // namespace ParameterFile
