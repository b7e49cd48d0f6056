#pragma once

#include <cstdint>

// 1 between the link's handshake and its loss; the controller's guarded setters and several page
// buttons do nothing while it is 0. Read and written on the GUI thread only.
inline uint8_t linkConnected = 0;
