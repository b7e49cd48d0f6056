// A parameter file's bytes through the import: whatever it holds, each group stores into the
// store, and what export then writes reads back as the same settings.
#include "app/AircraftParams.h"
#include "app/ParameterFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto document = ParameterFile::decode(bytes);
    if (!document)
        return 0;
    AircraftParams params;
    for (int group = 0; group < ParameterFile::kGroupCount; ++group)
        ParameterFile::storeGroup(params, *document, group);
    const QByteArray exported = ParameterFile::encode(params);
    const auto again = ParameterFile::decode(exported);
    if (!again)
        std::abort();
    AircraftParams reread;
    for (int group = 0; group < ParameterFile::kGroupCount; ++group)
        ParameterFile::storeGroup(reread, *again, group);
    if (ParameterFile::encode(reread) != exported)
        std::abort(); // the file lost or changed a setting on its way back
    return 0;
}
