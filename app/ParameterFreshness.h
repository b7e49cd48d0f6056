#pragma once

#include "app/ParameterFile.h"

#include <bitset>

// Which parameter groups hold values this aircraft confirmed since the last handshake: read back
// from it, or acknowledged after a write. Only then may they be exported; before the read-back
// has finished, or when a group's read went unanswered, the store still holds old or zero values.
class ParameterFreshness
{
public:
    void clear() { m_confirmed.reset(); }
    void confirm(uint8_t command)
    {
        const int group = ParameterFile::groupOfCommand(command);
        if (group >= 0)
            m_confirmed.set(size_t(group));
    }
    bool isConfirmed(int group) const { return m_confirmed.test(size_t(group)); }

private:
    std::bitset<ParameterFile::kGroupCount> m_confirmed;
};
