#pragma once

#include <QByteArray>

// Pairs the 128-byte chunks of a record into the 256-byte blocks the export reads: an odd chunk
// waits for the even one after it. A lost chunk (empty) empties the pair, so a block is never
// made of pieces of two blocks.
class BlackBoxChunkAssembler
{
public:
    // True when chunk subIndex (from 1) ends a block, which is then in *block; it is shorter than
    // a block when a chunk of it was lost.
    bool add(int subIndex, const QByteArray &data, QByteArray *block)
    {
        if (data.isEmpty())
            chunkPair.clear();
        if (subIndex % 2 == 1) {
            chunkPair = data;
            return false;
        }
        chunkPair.append(data);
        *block = chunkPair;
        return true;
    }
    void reset() { chunkPair.clear(); }

private:
    QByteArray chunkPair;
};
