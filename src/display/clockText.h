#pragma once

#include <cstdint>
#include <string>

namespace veltrona {

// Whole seconds as "hh:mm:ss"; hours have at least two digits and are never
// cut. Zero or negative gives "00:00:00".
std::string clockText(std::int32_t seconds);

}  // namespace veltrona
