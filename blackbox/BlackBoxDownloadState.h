#pragma once

#include "app/SharedValue.h"

#include <cstdint>

// State of the black-box download shared by the link's reply handlers (link thread) and the
// download sequencing (GUI thread).
struct BlackBoxDownloadState
{
    SharedValue<bool> downloadActive;
    SharedValue<uint16_t> totalIndex;      // records reported; also the newest record's number
    SharedValue<uint16_t> currentIndex;    // record being fetched, counting down
    SharedValue<uint16_t> subMaxIndex;     // 128-byte chunks of the current record
    SharedValue<uint16_t> currentSubIndex; // chunk being fetched, from 1

    struct RecordDate
    {
        SharedValue<uint16_t> year;
        SharedValue<uint8_t> month, day, hour, minute, second;
    } recordDate; // start time of the current record, from the 0xE3 reply
};

BlackBoxDownloadState &blackBoxDownloadState();
