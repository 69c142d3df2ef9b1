// The message centres: one table serves the centre menu (38 rows in six
// groups, "<" + name + ">" + number) and the mail gateway's region lookup
// (the 17 centres of the first group belong to eight regions).
//
// The names and numbers are this project's own example values.
#pragma once

#include <cstdint>

#include "ByteText.h"

namespace applogic {

struct MessageCentre {
    uint8_t group;       // 1 to 6; a separator goes between groups in the menu
    const char* name;    // Shift-JIS, shown between "<" and ">"
    const char* number;  // the centre's telephone number
    const char* region;  // the mail gateway's region ("" outside the first group)
};

inline constexpr int32_t kMessageCentreCount = 38;
inline constexpr int32_t kMessageCentreGroups = 6;

// Centre `index` (0-based, menu order).
const MessageCentre& messageCentre(int32_t index);

// The menu row of centre `index`: "<" + name + ">" + number.
int32_t messageCentreMenuRow(int32_t index, uint8_t* out, int32_t capacity);
inline constexpr int32_t kMessageCentreMenuRowCapacity = 64;

// The region of a centre number: the region of the first-group centre with
// that number (spaces and "-" ignored on both sides), or empty.
Bytes mailRegion(Bytes centreNumber);

// The gateway address for a centre number: "phs@gw" + region + ".example.jp".
int32_t gatewayAddress(Bytes centreNumber, uint8_t* out, int32_t capacity);
inline constexpr int32_t kGatewayAddressCapacity = 40;

}  // namespace applogic
