#pragma once

#include <QByteArray>
#include <QString>

// The aircraft's modules, indexed 0 to 9 as on the wire, with the version the simulated aircraft
// carries (0.0 when the module is not fitted) and the version the simulated firmware service
// offers. The service writes versions as major.minor without padding, the way the program shows
// the aircraft's versions, so "equal" reads equal on both sides.
struct ModuleInfo
{
    const char *name;
    quint8 fittedMajor;
    quint8 fittedMinor;
    quint8 offeredMajor;
    quint8 offeredMinor;
    int imageSize;
};

class ModuleTable
{
public:
    static constexpr int kCount = 10;
    static const ModuleInfo &module(int index); // index clamped to 0..9
    static int indexOf(const QString &name);    // -1 when unknown
    static QString offeredVersion(int index);
    // The image the service offers for a module: a small header naming it, then deterministic
    // pseudo-random bytes, imageSize bytes in all.
    static QByteArray image(int index);
};
