#pragma once

#include "support/FrameBytes.h"

#include <QByteArray>
#include <QRandomGenerator>

// What the aircraft sends in a busy minute: telemetry bursts, black-box chunks and parameter
// replies of every length, none of them holding a sync pair (those are the extractor's slow path
// and rare on the wire). Deterministic for a given size.
inline QByteArray streamOfFrames(int bytes)
{
    static const uint8_t kTypes[] = {0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x4B,
                                     0xE5, 0xE5, 0xE5, 0x02, 0x0A, 0x0C, 0x10, 0x1C, 0xC1};
    QRandomGenerator random(2026);
    QByteArray stream;
    stream.reserve(bytes + 300);
    for (int i = 0; stream.size() < bytes; ++i) {
        const uint8_t type = kTypes[i % int(sizeof kTypes)];
        const int length = type == 0xE5 ? 132 : int(random.bounded(1, 40));
        QByteArray payload(length, Qt::Uninitialized);
        for (char &c : payload)
            c = char(random.bounded(256));
        QByteArray frame = FrameBytes::reply(type, payload);
        if (frame.indexOf(FrameBytes::hex("EB 90"), 1) >= 0)
            continue;
        stream.append(frame);
    }
    return stream;
}
