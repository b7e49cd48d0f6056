#include "blackbox/BlackBoxDownloadState.h"

BlackBoxDownloadState &blackBoxDownloadState()
{
    static BlackBoxDownloadState state;
    return state;
}
