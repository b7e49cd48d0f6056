#pragma once

#include <cstdint>

// Conversions between the values a page shows and the store's wire encodings.
namespace ParamConversions {

// value x scale with the fraction dropped (toward zero). A decimal the user typed is taken as
// typed: 4.35 V is 435, not the 434 that 4.35 * 100 = 434.99999999999994 would give; 12.999 V is
// still 1299.
int32_t truncateScaled(double value, int scale);

uint16_t voltsToWire(double volts);           // LV1, LV2, voltCalib: volts x 100
uint16_t sprayValueToWire(double value);      // sprayWidth, workSpeed: (value + 0.005) x 100
double wireToVolts(uint16_t wire);            // shown as value / 100
uint8_t wheelbaseToCode(int millimetres);     // Uav_wid = wheelbase / 250
int codeToWheelbase(uint8_t code);            // shown as code x 250
uint8_t frameTypeCode(int row, int column);   // Uav_Type = 3 (row - 1) + (column - 1)
uint8_t receiverOptionToCode(int option);     // Contrl_type = 3 - option
int receiverCodeToOption(uint8_t code);       // the page shows 3 - code
uint8_t toggleChannelReverse(uint8_t mask, int channel); // channel 1..8 flips bit channel - 1

// Cells of a pack from its live voltage in 0.01 V (4.2 V a cell); at 25.20 V or more the count
// cannot be told, and the previous value is kept.
uint8_t batteryCellsFromVoltage(uint16_t centivolts, uint8_t previous);

} // namespace ParamConversions
